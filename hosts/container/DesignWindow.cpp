// The designer's windows on a display.
//
// [SECTION] Prompt
// [SECTION] Toolbox
// [SECTION] Property list and event log
// [SECTION] The form in design mode
#include "hosts/container/DesignWindow.h"

#include "platform/afx/Dialog.h"
#include "platform/afx/FileDialog.h"
#include "platform/afx/Wnd.h"
#include "platform/base/Windows1252.h"
#include "platform/com/ComLoader.h"
#include "platform/gdi/BmpReader.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/PngWriter.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Theme.h"
#include "platform/user/Input.h"
#include "platform/user/MessageBox.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"
#include "platform/user/VirtualKeys.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

// The bitmap resources of a module file (see module/EntryPoints.cpp).
struct BitmapResource {
    UINT id;
    std::span<const unsigned char> bytes;
};

namespace kw::container {

namespace {

struct DesignWindows {
    CDesigner* designer{nullptr};
    GuiSession* gui{nullptr};
    HWND form{nullptr};
    WNDPROC formProc{nullptr};
    HWND toolbox{nullptr};
    HWND properties{nullptr};
    HWND propertyList{nullptr};
    HWND log{nullptr};
    HWND logList{nullptr};
    std::size_t logShown{0};
    std::vector<HBITMAP> toolBitmaps; // by tool index, null where none
    std::map<std::string, CModuleFile> modules;
    bool capturing{false};
};

DesignWindows& Windows() {
    static DesignWindows windows;
    return windows;
}

constexpr int kToolRow = 22;
constexpr int kIdPropertyList = 100, kIdLogList = 101, kIdOpenFrame = 102, kIdInvoke = 103;

// [SECTION] Prompt

class CPromptDialog : public CDialog {
public:
    CPromptDialog(const DialogTemplate* t, HWND owner, std::string initial)
        : CDialog(t, owner), m_text(std::move(initial)) {}
    const std::string& Text() const { return m_text; }

protected:
    BOOL OnInitDialog() override {
        SetWindowTextA(GetDlgItem(2001), m_text.c_str());
        return TRUE;
    }
    void OnOK() override {
        char buffer[1024]{};
        GetWindowTextA(GetDlgItem(2001), buffer, int(sizeof buffer));
        m_text = buffer;
        CDialog::OnOK();
    }

private:
    std::string m_text;
};

// [SECTION] Toolbox

HBITMAP LoadToolBitmap(const DesignTool& tool) {
    if (tool.bitmapId < 0 || tool.module.empty())
        return nullptr;
    auto& modules = Windows().modules;
    auto it = modules.find(tool.module);
    if (it == modules.end()) {
        CModuleFile file;
        std::string error;
        if (FAILED(file.Open(tool.module, &error)))
            return nullptr;
        it = modules.emplace(tool.module, std::move(file)).first;
    }
    using Fn = const BitmapResource* (*)(int);
    const auto find = reinterpret_cast<Fn>(it->second.Symbol("KwBitmapResource"));
    const BitmapResource* b = find ? find(tool.bitmapId) : nullptr;
    return b ? CreateBitmapFromBmp(b->bytes) : nullptr;
}

void PaintToolbox(HWND hwnd, HDC hdc) {
    DesignWindows& w = Windows();
    const auto& tools = w.designer->Tools();
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(hdc, TRANSPARENT);
    SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    for (std::size_t i = 0; i <= tools.size(); ++i) {
        const int top = int(i) * kToolRow;
        RECT row{0, top, client.right, top + kToolRow};
        const std::string progId = i == 0 ? std::string() : tools[i - 1].progId;
        if (progId == w.designer->Tool())
            DrawEdge(hdc, &row, EDGE_SUNKEN, BF_RECT);
        if (i > 0 && i - 1 < w.toolBitmaps.size() && w.toolBitmaps[i - 1]) {
            const HDC mem = CreateCompatibleDC(hdc);
            const HGDIOBJ old = SelectObject(mem, w.toolBitmaps[i - 1]);
            BitBlt(hdc, 4, top + 3, 16, 15, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        }
        RECT text{26, top, client.right - 2, top + kToolRow};
        const std::string label = i == 0 ? "Pointer" : tools[i - 1].name;
        DrawTextA(hdc, label.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
}

LRESULT ToolboxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DesignWindows& w = Windows();
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC hdc = BeginPaint(hwnd, &ps);
        PaintToolbox(hwnd, hdc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const int row = GET_Y_LPARAM(lParam) / kToolRow;
        const auto& tools = w.designer->Tools();
        if (row >= 0 && std::size_t(row) <= tools.size())
            w.designer->ChooseTool(row == 0 ? std::string() : tools[std::size_t(row) - 1].progId);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_CLOSE:
        return 0; // stays while the form is open
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// [SECTION] Property list and event log

// The control the panes show: the first one selected.
int SelectedControl() {
    const std::vector<int> ids = Windows().designer->Selection();
    return ids.empty() ? 0 : ids.front();
}

void RefreshProperties() {
    DesignWindows& w = Windows();
    if (!w.propertyList)
        return;
    SendMessageA(w.propertyList, LB_RESETCONTENT, 0, 0);
    const int id = SelectedControl();
    if (!id)
        return;
    for (const DesignProperty& p : w.designer->Properties(id)) {
        const std::string line = p.name + " = " + p.value + (p.readOnly ? "  (read-only)" : "");
        SendMessageA(w.propertyList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

void SyncLog() {
    DesignWindows& w = Windows();
    if (!w.logList)
        return;
    const auto& log = w.designer->EventLog();
    if (log.size() < w.logShown)
        w.logShown = 0;
    for (; w.logShown < log.size(); ++w.logShown)
        SendMessageA(w.logList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(log[w.logShown].c_str()));
    const LRESULT count = SendMessageA(w.logList, LB_GETCOUNT, 0, 0);
    if (count > 0)
        SendMessageA(w.logList, LB_SETTOPINDEX, WPARAM(count - 1), 0);
}

void EditProperty(int row) {
    DesignWindows& w = Windows();
    const int id = SelectedControl();
    if (!id || row < 0)
        return;
    const auto properties = w.designer->Properties(id);
    if (std::size_t(row) >= properties.size() || properties[std::size_t(row)].readOnly)
        return;
    const DesignProperty& p = properties[std::size_t(row)];
    std::string value = p.value;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (auto text = PromptText(w.properties, p.name, p.name + " (" + p.type + "):", value)) {
        std::string error;
        w.designer->SetProperty(id, p.name, *text, &error);
        RefreshProperties();
    }
}

// "SetVal(12.5, 1)": the method and its arguments as Lua values; the result
// and the by-reference values are shown.
void InvokeMethod() {
    DesignWindows& w = Windows();
    const int id = SelectedControl();
    if (!id)
        return;
    std::string list;
    for (const DesignMethod& m : w.designer->Methods(id)) {
        list += m.name + "(";
        for (std::size_t i = 0; i < m.params.size(); ++i)
            list += (i ? ", " : "") + m.params[i];
        list += ")\n";
    }
    auto call = PromptText(w.properties, "Invoke", list + "\nCall:", "");
    if (!call || call->empty())
        return;
    const std::size_t open = call->find('(');
    const std::string name = call->substr(0, open);
    const std::string args =
        open == std::string::npos ? "" : call->substr(open + 1, call->rfind(')') - open - 1);
    const std::string code = "local c = ... return design.invoke(c, \"" + name + "\"" +
                             (args.empty() ? "" : ", " + args) + ")";
    lua_State* L = w.designer->Lua();
    const int top = lua_gettop(L);
    std::string shown;
    if (luaL_loadbufferx(L, code.data(), code.size(), "=invoke", "t") == LUA_OK) {
        w.designer->PushControl(id);
        if (lua_pcall(L, 1, LUA_MULTRET, 0) == LUA_OK) {
            for (int i = top + 1; i <= lua_gettop(L); ++i)
                shown += (i == top + 1 ? "Result: " : "\nBy reference: ") +
                         std::string(luaL_tolstring(L, i, nullptr)),
                    lua_pop(L, 1);
        } else {
            shown = ErrorText(L, -1);
        }
    } else {
        shown = ErrorText(L, -1);
    }
    lua_settop(L, top);
    MessageBoxA(w.properties, shown.c_str(), name.c_str(), MB_OK);
    RefreshProperties();
    SyncLog();
}

LRESULT PaneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kIdPropertyList && HIWORD(wParam) == LBN_DBLCLK)
            EditProperty(int(SendMessageA(Windows().propertyList, LB_GETCURSEL, 0, 0)));
        else if (LOWORD(wParam) == kIdOpenFrame && SelectedControl())
            Windows().designer->OpenProperties(SelectedControl()), RefreshProperties();
        else if (LOWORD(wParam) == kIdInvoke)
            InvokeMethod();
        return 0;
    case WM_CLOSE:
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

// [SECTION] The form in design mode

LRESULT DesignFormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DesignWindows& w = Windows();
    if (msg == WM_CLOSE && !w.designer->QueryClose())
        return 0;
    const LRESULT result = CallWindowProcA(w.formProc, hwnd, msg, wParam, lParam);
    if (msg == WM_PAINT) {
        const HDC hdc = GetDC(hwnd);
        w.designer->PaintSelection(hdc);
        ReleaseDC(hwnd, hdc);
    }
    return result;
}

// The log's line after each mouse action: what is selected, and where.
void PrintSelection() {
    std::string line = "design:";
    for (int id : Windows().designer->Selection()) {
        const CControlSite* site = Windows().designer->SiteOf(id);
        const RECT& rc = site->Rect();
        line += " " + site->Name() + " " + std::to_string(rc.left) + "," + std::to_string(rc.top) +
                "," + std::to_string(rc.right - rc.left) + "," + std::to_string(rc.bottom - rc.top);
    }
    std::printf("%s\n", line.c_str());
}

bool InForm(HWND hwnd) {
    const HWND form = Windows().form;
    return hwnd == form || IsChild(form, hwnd);
}

POINT FormPoint(const MSG& msg) {
    POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    MapWindowPoints(msg.hwnd, Windows().form, &p, 1);
    return p;
}

// The form file, through the file dialog: an existing file to open, or a
// name to save under (an existing one confirmed first). Empty when the user
// cancelled.
std::string AskFormPath(bool open) {
    DesignWindows& w = Windows();
    const std::string current =
        Utf8ToAnsi(w.designer->Path().empty() ? "form.json" : w.designer->Path());
    CFileDialog dialog(open, "json", current.c_str(),
                       OFN_HIDEREADONLY | (open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT),
                       "Forms (*.json)|*.json|All files (*.*)|*.*||", CWnd::FromHandle(w.form));
    if (dialog.DoModal() != IDOK)
        return {};
    return AnsiToUtf8(dialog.GetPathName().GetString());
}

void AskPath(bool open) {
    DesignWindows& w = Windows();
    const std::string path = AskFormPath(open);
    if (path.empty())
        return;
    if (open)
        w.designer->Open(path);
    else if (w.designer->SaveAs(path))
        std::printf("design: saved %s\n", path.c_str());
}

bool FilterMessage(const MSG& msg) {
    DesignWindows& w = Windows();
    bool handled = false;
    if (msg.message == WM_KEYDOWN && InForm(msg.hwnd)) {
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        if (msg.wParam == VK_F5) {
            w.designer->SetRunning(!w.designer->Running());
            handled = true;
        } else if (ctrl && msg.wParam == 'N') {
            w.designer->New();
            handled = true;
        } else if (ctrl && msg.wParam == 'O') {
            AskPath(true);
            handled = true;
        } else if (ctrl && msg.wParam == 'S') {
            if (shift || !w.designer->Save())
                AskPath(false);
            handled = true;
        } else if (!w.designer->Running()) {
            handled = w.designer->Key(UINT(msg.wParam), shift);
        }
    } else if (!w.designer->Running() && (InForm(msg.hwnd) || (w.capturing && msg.hwnd))) {
        switch (msg.message) {
        case WM_LBUTTONDOWN:
            SetCapture(w.form);
            w.capturing = true;
            w.designer->MouseDown(FormPoint(msg), (msg.wParam & MK_CONTROL) != 0);
            handled = true;
            break;
        case WM_MOUSEMOVE:
            if (w.capturing)
                w.designer->MouseMove(FormPoint(msg));
            handled = true;
            break;
        case WM_LBUTTONUP:
            if (w.capturing) {
                ReleaseCapture();
                w.capturing = false;
                w.designer->MouseUp(FormPoint(msg));
                PrintSelection();
            }
            handled = true;
            break;
        case WM_LBUTTONDBLCLK:
            w.designer->DoubleClick(FormPoint(msg));
            handled = true;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEWHEEL:
        case WM_CHAR:
            handled = InForm(msg.hwnd);
            break;
        default:
            break;
        }
    }
    if (handled) {
        RefreshProperties();
        if (w.toolbox)
            InvalidateRect(w.toolbox, nullptr, TRUE);
    }
    SyncLog();
    return handled;
}

HWND MakeWindow(const char* cls, WNDPROC proc, const char* title, int x, int y, int cx, int cy) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = cls;
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&wc);
    return CreateWindowExA(0, cls, title, WS_POPUP | WS_CAPTION | WS_VISIBLE, x, y, cx, cy,
                           Windows().form, nullptr, nullptr, nullptr);
}

} // namespace

std::optional<std::string> PromptText(HWND owner, const std::string& caption,
                                      const std::string& label, const std::string& initial) {
    int lines = 1;
    for (char c : label)
        lines += c == '\n';
    const short labelHeight = short(8 * lines);
    const DialogItemTemplate items[] = {
        {"STATIC", label.c_str(), -1, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 7, 7, 186,
         labelHeight},
        {"EDIT", "", 2001, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 7,
         short(10 + labelHeight), 186, 12},
        {"BUTTON", "OK", IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 89,
         short(28 + labelHeight), 50, 14},
        {"BUTTON", "Cancel", IDCANCEL, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 143,
         short(28 + labelHeight), 50, 14},
    };
    const DialogTemplate t{0,
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                           0,
                           0,
                           0,
                           200,
                           short(49 + labelHeight),
                           caption.c_str(),
                           8,
                           "MS Shell Dlg",
                           items};
    CPromptDialog dialog(&t, owner, initial);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.Text();
}

HWND ShowDesignWindow(lua_State* L, GuiSession& gui) {
    if (!Windows().designer)
        AttachDesignWindow(StartDesigner(L), gui);
    return Windows().toolbox;
}

void AttachDesignWindow(CDesigner& designer, GuiSession& gui) {
    if (Windows().gui)
        return;
    CreateDesignWindows(designer);
    Windows().gui = &gui;
    gui.SetMessageFilter(&FilterMessage);
    designer.SetPathPrompt([] { return AskFormPath(false); });
}

void CreateDesignWindows(CDesigner& designer) {
    DesignWindows& w = Windows();
    if (w.designer)
        return;
    w.designer = &designer;
    w.form = designer.Form();
    w.formProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w.form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DesignFormProc)));
    RECT rc;
    GetWindowRect(w.form, &rc);
    const auto& tools = designer.Tools();
    for (const DesignTool& tool : tools)
        w.toolBitmaps.push_back(LoadToolBitmap(tool));
    w.toolbox = MakeWindow("KwDesignToolbox", &ToolboxProc, "Toolbox", rc.right + 8, rc.top, 180,
                           int(tools.size() + 1) * kToolRow + 24);
    w.properties =
        MakeWindow("KwDesignPane", &PaneProc, "Properties", rc.right + 196, rc.top, 260, 330);
    w.propertyList = CreateWindowExA(
        0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 4, 4, 246,
        262, w.properties, reinterpret_cast<HMENU>(std::intptr_t(kIdPropertyList)), nullptr,
        nullptr);
    CreateWindowExA(0, "BUTTON", "Pages...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 4, 272, 80, 24,
                    w.properties, reinterpret_cast<HMENU>(std::intptr_t(kIdOpenFrame)), nullptr,
                    nullptr);
    CreateWindowExA(0, "BUTTON", "Invoke...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 90, 272, 80, 24,
                    w.properties, reinterpret_cast<HMENU>(std::intptr_t(kIdInvoke)), nullptr,
                    nullptr);
    w.log = MakeWindow("KwDesignPane", &PaneProc, "Events", rc.right + 196, rc.top + 340, 260, 200);
    w.logList = CreateWindowExA(
        0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 4, 4, 246, 166, w.log,
        reinterpret_cast<HMENU>(std::intptr_t(kIdLogList)), nullptr, nullptr);
    for (HWND list : {w.propertyList, w.logList})
        SendMessageA(list, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RefreshProperties();
    SyncLog();
}

void DestroyDesignWindows() {
    DesignWindows& w = Windows();
    if (!w.designer)
        return;
    if (w.gui) {
        w.gui->SetMessageFilter({});
        w.designer->SetPathPrompt({});
    }
    if (w.capturing)
        ReleaseCapture();
    if (IsWindow(w.form))
        SetWindowLongPtrA(w.form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.formProc));
    for (HWND hwnd : {w.toolbox, w.properties, w.log})
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    for (HBITMAP bitmap : w.toolBitmaps)
        DeleteObject(bitmap);
    w = DesignWindows{};
}

bool SnapshotDesignWindow(CContainer& container, CDesigner& designer, const std::string& path) {
    CreateDesignWindows(designer);
    DesignWindows& w = Windows();
    RefreshProperties();
    SyncLog();
    InvalidateRect(w.form, nullptr, TRUE);
    container.Settle();
    // The form, then the toolbox, then the property list over the event log.
    const SurfaceBuffer form = container.Session().Pixels(w.form);
    const SurfaceBuffer toolbox = container.Session().Pixels(w.toolbox, true);
    const SurfaceBuffer properties = container.Session().Pixels(w.properties, true);
    const SurfaceBuffer log = container.Session().Pixels(w.log, true);
    constexpr int kGap = 8;
    const int width =
        form.Width() + kGap + toolbox.Width() + kGap + std::max(properties.Width(), log.Width());
    const int height =
        std::max({form.Height(), toolbox.Height(), properties.Height() + kGap + log.Height()});
    SurfaceBuffer out(width, height, 0xFF808080u);
    PixelSurface view = out.View();
    auto place = [&](const SurfaceBuffer& part, int left, int top) {
        for (int y = 0; y < part.Height(); ++y)
            for (int x = 0; x < part.Width(); ++x)
                view.At(left + x, top + y) = part.Pixel(x, y);
    };
    place(form, 0, 0);
    place(toolbox, form.Width() + kGap, 0);
    const int right = form.Width() + kGap + toolbox.Width() + kGap;
    place(properties, right, 0);
    place(log, right, properties.Height() + kGap);
    return form.Width() > 0 && WritePng(view, path);
}

} // namespace kw::container
