#pragma once
// The container as a panel designer (kwcontainer --gui --design): a toolbox
// of the registered controls, inserting by click or drag, selection with
// handles, moving, resizing, nudging and deleting, a run mode in which the
// controls get the mouse again, the selected control's properties and
// methods from its type information, an event log, and forms kept in the
// format of saveform and loadform, with a title that marks unsaved changes.
//
// Everything here works on the container's form in form client
// coordinates, the same headless and on a display; the `design` table of a
// script and the window's mouse and keys both end here.
#include "hosts/container/Container.h"

#include <functional>
#include <string>
#include <vector>

namespace kw::container {

struct DesignTool {
    std::string progId;
    std::string name;   // the user type name
    std::string clsid;  // registry form
    int bitmapId{-1};   // the registered toolbox bitmap, -1 for none
    std::string module; // the file that holds it
};

struct DesignProperty {
    std::string name;
    std::string type;  // "VT_R4", ...
    std::string value; // as the event log writes values; empty when unreadable
    bool readOnly{false};
};

struct DesignMethod {
    std::string name;
    std::string result;              // its type, "" for none
    std::vector<std::string> params; // "name: VT_R8", by-reference ones "name: VT_R8*"
};

class CDesigner {
public:
    explicit CDesigner(CContainer& container);
    ~CDesigner();
    CDesigner(const CDesigner&) = delete;
    CDesigner& operator=(const CDesigner&) = delete;

    // The designer of the run, if design mode was started.
    static CDesigner* Current();

    // [SECTION] Toolbox
    const std::vector<DesignTool>& Tools();
    // "" chooses the pointer. A class that is not a registered control
    // throws ScriptError.
    void ChooseTool(const std::string& progId);
    const std::string& Tool() const { return m_tool; }

    // [SECTION] The mouse and the keys on the form (form client coordinates)
    void MouseDown(POINT p, bool ctrl);
    void MouseMove(POINT p);
    void MouseUp(POINT p);
    void DoubleClick(POINT p);
    // Arrows nudge (Shift: by eight), Delete removes, Enter opens the
    // properties. True when the key was the designer's.
    bool Key(UINT vk, bool shift);

    // [SECTION] Layout
    // Inserts a control of `progId` at `rect`, or at its initial size at the
    // rectangle's top-left corner when the rectangle is empty.
    CControlSite& Insert(const std::string& progId, const RECT& rect);
    void Select(const std::vector<int>& ids);
    void ToggleSelected(int id);
    std::vector<int> Selection() const;
    void MoveSelection(int dx, int dy);
    void SetRect(int id, const RECT& rect);
    void DeleteSelection();
    // The control at a point, topmost first; 0 for none.
    int HitTest(POINT p) const;
    // The resize handles of a rectangle: corners and edge middles, clockwise
    // from the top-left, just outside the rectangle.
    static std::vector<RECT> Handles(const RECT& rc);

    bool Running() const { return m_running; }
    void SetRunning(bool running);

    // [SECTION] Properties and methods of a control
    std::vector<DesignProperty> Properties(int id) const;
    // Writes a property from its text through the control's dispatch, so
    // the control's own checks apply. False with `error` set when the
    // control refuses; the designer then shows `error` in a message box.
    bool SetProperty(int id, const std::string& name, const std::string& text, std::string* error);
    std::vector<DesignMethod> Methods(int id) const;
    // The control's property frame; false when it has no pages.
    bool OpenProperties(int id);

    // [SECTION] Event log
    const std::vector<std::string>& EventLog() const { return m_log; }
    void ClearEventLog() { m_log.clear(); }

    // [SECTION] Forms
    // New and Open first ask about unsaved changes; false when the user
    // cancelled (or a save failed).
    bool New();
    bool Open(const std::string& path);
    // Save without a path saves to the form's file; false when it has none.
    bool Save();
    bool SaveAs(const std::string& path);
    // Asks about unsaved changes before the window closes: true to close.
    // Yes on a form without a file asks for one through `askPath` (the
    // window's prompt); without it, or when that is cancelled, nothing is
    // lost and the answer counts as Cancel.
    bool QueryClose();
    void SetPathPrompt(std::function<std::string()> askPath) { m_askPath = std::move(askPath); }
    const std::string& Path() const { return m_path; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    // "Form1.json* - kwcontainer design": the file (or "Untitled") with a
    // star while there are unsaved changes.
    std::string Title() const;

    HWND Form() const { return m_container.Form(); }
    lua_State* Lua() const { return m_container.Lua(); }
    // An open control of the form; null for none.
    CControlSite* SiteOf(int id) const { return Site(id); }
    // Pushes the script's handle on a control.
    void PushControl(int id) const;

    // Draws the selection handles onto the form's device context.
    void PaintSelection(HDC hdc) const;

private:
    enum class Drag { None, Insert, Move, Resize };
    CControlSite* Site(int id) const;
    void Repaint() const;
    void UpdateTitle() const;
    void ReportError(const std::string& message) const;
    // Runs a global function of the script (saveform, loadform) on `path`.
    void CallScriptFunction(const char* name, const std::string& path);
    void RemoveAll();

    CContainer& m_container;
    std::vector<DesignTool> m_tools;
    bool m_toolsRead{false};
    std::string m_tool;
    std::vector<int> m_selection;
    bool m_running{false};
    std::vector<std::string> m_log;
    std::string m_path;
    bool m_modified{false};
    std::function<std::string()> m_askPath;

    Drag m_drag{Drag::None};
    POINT m_dragStart{};
    POINT m_dragLast{};
    int m_resizeHandle{-1};
    std::vector<std::pair<int, RECT>> m_dragRects; // before the drag
};

// The `design` table of a script.
void RegisterDesignFunctions(lua_State* L);
// Starts design mode (once) and gives its designer.
CDesigner& StartDesigner(lua_State* L);
// Ends design mode; before the container closes its controls.
void CloseDesigner();

} // namespace kw::container
