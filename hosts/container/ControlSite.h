#pragma once
// One control placed in the container's form: the interfaces the container
// holds on it, its window and place, what its type library says about it,
// and the connection of its events to the script.
#include "platform/com/ConnectionPoint.h"
#include "platform/com/OleInterfaces.h"
#include "platform/com/PropertyBag.h"
#include "platform/com/TypeInfo.h"

#include <map>
#include <string>

namespace kw::container {

class CControlSite {
public:
    CControlSite(int id, std::string name) : m_id(id), m_name(std::move(name)) {}
    ~CControlSite() { Close(); }
    CControlSite(const CControlSite&) = delete;
    CControlSite& operator=(const CControlSite&) = delete;

    // Creates the control by ProgID or CLSID string; the HRESULT of the
    // first step that failed.
    [[nodiscard]] HRESULT Create(const std::string& classText);
    // Places the control in `parent` at `rect` (parent client coordinates)
    // and reads its window, class and type information.
    [[nodiscard]] HRESULT Activate(HWND parent, const RECT& rect);
    // Connects `sink` to the control's event interface; S_FALSE when the
    // control has none.
    [[nodiscard]] HRESULT ConnectEvents(IDispatch* sink);
    // Disconnects, deactivates and releases the control. Idempotent.
    void Close();

    // The control's size as it reports it for a newly inserted control.
    SIZE ExtentPixels() const;
    // Moves the control within the form.
    void Move(const RECT& rect);

    int Id() const { return m_id; }
    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    const std::string& ProgId() const { return m_progId; }
    const CLSID& Clsid() const { return m_clsid; }
    const RECT& Rect() const { return m_rect; }
    HWND Hwnd() const { return m_hwnd; }
    IDispatch* Dispatch() const { return m_dispatch.Get(); }
    IPersistPropertyBag* Persist() const { return m_persist.Get(); }
    IOleObject* Ole() const { return m_ole.Get(); }
    bool IsOpen() const { return static_cast<bool>(m_dispatch); }

    // The type library's view: the dispatch interface and the event
    // interface (either may be missing) and their names.
    ITypeInfo* DispatchInfo() const { return m_dispatchInfo.Get(); }
    ITypeInfo* EventInfo() const { return m_eventInfo.Get(); }
    const std::string& DispatchName() const { return m_dispatchName; }
    const std::string& EventName() const { return m_eventName; }
    // The row of a member or event by DISPID; null when the type library
    // does not describe it.
    const DispEntry* FindMember(DISPID dispid) const;
    const DispEntry* FindEvent(DISPID dispid) const;
    // An event by its name in any letter case.
    const DispEntry* FindEventByName(const std::string& name) const;

    // The script's event handlers: event DISPID to a Lua registry reference.
    std::map<DISPID, int>& Handlers() { return m_handlers; }
    int& ProxyRef() { return m_proxyRef; }

private:
    void ReadTypeInfo();

    int m_id;
    std::string m_name;
    std::string m_progId;
    CLSID m_clsid{};
    RECT m_rect{};
    HWND m_hwnd{nullptr};
    ComPtr<IDispatch> m_dispatch;
    ComPtr<IOleObject> m_ole;
    ComPtr<IPersistPropertyBag> m_persist;
    ComPtr<ITypeInfo> m_dispatchInfo;
    ComPtr<ITypeInfo> m_eventInfo;
    std::string m_dispatchName;
    std::string m_eventName;
    ComPtr<IConnectionPoint> m_eventPoint;
    DWORD m_cookie{0};
    std::map<DISPID, int> m_handlers;
    int m_proxyRef{-2}; // LUA_NOREF
};

} // namespace kw::container
