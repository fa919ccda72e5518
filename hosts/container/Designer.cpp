// The panel designer: toolbox, layout, properties, event log and forms.
//
// [SECTION] Toolbox
// [SECTION] Mouse and keys
// [SECTION] Layout
// [SECTION] Properties and methods
// [SECTION] Forms
// [SECTION] Painting
#include "hosts/container/Designer.h"

#include "hosts/container/ClassList.h"
#include "hosts/container/ControlProxy.h"
#include "hosts/container/VariantLua.h"
#include "platform/afx/OleObjectFactory.h"
#include "platform/afx/PropertyFrame.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComLoader.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/registry/Registry.h"
#include "platform/user/MessageBox.h"
#include "platform/user/User.h"
#include "platform/user/VirtualKeys.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace kw::container {

namespace {

CDesigner* g_current = nullptr;

constexpr int kHandle = 5;        // the side of a resize handle
constexpr int kDragThreshold = 3; // a smaller drag is a click
constexpr int kMinSize = 4;       // a control is never resized below this

RECT Normalized(POINT a, POINT b) {
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool Contains(const RECT& rc, POINT p) {
    return p.x >= rc.left && p.x < rc.right && p.y >= rc.top && p.y < rc.bottom;
}

// "name: VT_R8", with a star for a by-reference parameter.
std::string ParamText(const DispParam& p) {
    std::string text =
        std::string(p.name ? p.name : "") + ": " + VarTypeName(VARTYPE(p.vt & ~VT_BYREF));
    if (p.vt & VT_BYREF)
        text += "*";
    return text;
}

// The toolbox bitmap a class registered: "module path, id".
void ReadToolboxBitmap(DesignTool& tool) {
    std::string value;
    if (RegGetStringValue(HKEY_CLASSES_ROOT, "CLSID\\" + tool.clsid + "\\ToolboxBitmap32", "",
                          &value) != ERROR_SUCCESS)
        return;
    const auto comma = value.rfind(',');
    if (comma == std::string::npos)
        return;
    char* end = nullptr;
    const long id = std::strtol(value.c_str() + comma + 1, &end, 10);
    if (end == value.c_str() + comma + 1 || id < 0 || id > 0xFFFF)
        return;
    tool.module = value.substr(0, comma);
    tool.bitmapId = int(id);
}

} // namespace

CDesigner::CDesigner(CContainer& container) : m_container(container) {
    g_current = this;
    m_container.SetEventObserver([this](const std::string& line) { m_log.push_back(line); });
    UpdateTitle();
}

CDesigner::~CDesigner() {
    m_container.SetEventObserver({});
    if (g_current == this)
        g_current = nullptr;
}

CDesigner* CDesigner::Current() {
    return g_current;
}

CControlSite* CDesigner::Site(int id) const {
    CControlSite* site = m_container.FindSite(id);
    return site && site->IsOpen() ? site : nullptr;
}

void CDesigner::Repaint() const {
    InvalidateRect(m_container.Form(), nullptr, TRUE);
}

void CDesigner::ReportError(const std::string& message) const {
    MessageBoxA(m_container.Form(), message.c_str(), "kwcontainer", MB_OK | MB_ICONEXCLAMATION);
}

// [SECTION] Toolbox

const std::vector<DesignTool>& CDesigner::Tools() {
    if (m_toolsRead)
        return m_tools;
    std::string error;
    const auto classes = ListRegisteredClasses(&error);
    if (!classes)
        Fail("design: the registry cannot be read: " + error);
    for (const RegisteredClass& c : *classes) {
        if (!c.isControl || c.progId.empty())
            continue;
        DesignTool tool{c.progId, c.name, c.clsid, -1, {}};
        ReadToolboxBitmap(tool);
        m_tools.push_back(std::move(tool));
    }
    m_toolsRead = true;
    return m_tools;
}

void CDesigner::ChooseTool(const std::string& progId) {
    if (!progId.empty()) {
        const auto& tools = Tools();
        if (std::none_of(tools.begin(), tools.end(),
                         [&](const DesignTool& t) { return t.progId == progId; }))
            Fail("design.tool: \"" + progId + "\" is not a registered control");
    }
    m_tool = progId;
}

// [SECTION] Mouse and keys

void CDesigner::MouseDown(POINT p, bool ctrl) {
    m_drag = Drag::None;
    m_dragStart = m_dragLast = p;
    if (!m_tool.empty()) {
        m_drag = Drag::Insert;
        return;
    }
    // A handle of the one selected control resizes it.
    if (m_selection.size() == 1) {
        if (const CControlSite* site = Site(m_selection.front())) {
            const std::vector<RECT> handles = Handles(site->Rect());
            for (std::size_t i = 0; i < handles.size(); ++i)
                if (Contains(handles[i], p)) {
                    m_drag = Drag::Resize;
                    m_resizeHandle = int(i);
                    m_dragRects = {{site->Id(), site->Rect()}};
                    return;
                }
        }
    }
    const int hit = HitTest(p);
    if (ctrl) {
        if (hit)
            ToggleSelected(hit);
        return;
    }
    if (!hit) {
        Select({});
        return;
    }
    if (std::find(m_selection.begin(), m_selection.end(), hit) == m_selection.end())
        Select({hit});
    m_drag = Drag::Move;
    m_dragRects.clear();
    for (int id : m_selection)
        if (const CControlSite* site = Site(id))
            m_dragRects.emplace_back(id, site->Rect());
}

void CDesigner::MouseMove(POINT p) {
    const int dx = p.x - m_dragStart.x, dy = p.y - m_dragStart.y;
    switch (m_drag) {
    case Drag::Move:
        for (const auto& [id, before] : m_dragRects)
            if (CControlSite* site = Site(id)) {
                RECT rc = before;
                OffsetRect(&rc, dx, dy);
                site->Move(rc);
            }
        break;
    case Drag::Resize:
        if (CControlSite* site = Site(m_dragRects.front().first)) {
            RECT rc = m_dragRects.front().second;
            // Handles clockwise from the top-left: 0 1 2 / 7 . 3 / 6 5 4.
            const int h = m_resizeHandle;
            if (h == 0 || h == 6 || h == 7)
                rc.left = std::min(rc.left + dx, rc.right - kMinSize);
            if (h == 2 || h == 3 || h == 4)
                rc.right = std::max(rc.right + dx, rc.left + kMinSize);
            if (h == 0 || h == 1 || h == 2)
                rc.top = std::min(rc.top + dy, rc.bottom - kMinSize);
            if (h == 4 || h == 5 || h == 6)
                rc.bottom = std::max(rc.bottom + dy, rc.top + kMinSize);
            site->Move(rc);
        }
        break;
    default:
        break;
    }
    m_dragLast = p;
    if (m_drag != Drag::None)
        Repaint();
}

void CDesigner::MouseUp(POINT p) {
    MouseMove(p);
    const Drag drag = m_drag;
    m_drag = Drag::None;
    const bool dragged = std::abs(p.x - m_dragStart.x) >= kDragThreshold ||
                         std::abs(p.y - m_dragStart.y) >= kDragThreshold;
    if (drag == Drag::Insert) {
        const std::string progId = m_tool;
        m_tool.clear();
        const RECT rc = dragged ? Normalized(m_dragStart, p)
                                : RECT{m_dragStart.x, m_dragStart.y, m_dragStart.x, m_dragStart.y};
        try {
            Insert(progId, rc);
        } catch (const ScriptError& e) {
            ReportError(e.what());
        }
        return;
    }
    if ((drag == Drag::Move || drag == Drag::Resize) &&
        (p.x != m_dragStart.x || p.y != m_dragStart.y))
        SetModified(true);
}

void CDesigner::DoubleClick(POINT p) {
    if (const int hit = HitTest(p)) {
        Select({hit});
        OpenProperties(hit);
    }
}

bool CDesigner::Key(UINT vk, bool shift) {
    const int step = shift ? 8 : 1;
    switch (vk) {
    case VK_LEFT:
        MoveSelection(-step, 0);
        return true;
    case VK_RIGHT:
        MoveSelection(step, 0);
        return true;
    case VK_UP:
        MoveSelection(0, -step);
        return true;
    case VK_DOWN:
        MoveSelection(0, step);
        return true;
    case VK_DELETE:
        DeleteSelection();
        return true;
    case VK_RETURN:
        if (m_selection.size() == 1)
            OpenProperties(m_selection.front());
        return true;
    default:
        return false;
    }
}

// [SECTION] Layout

CControlSite& CDesigner::Insert(const std::string& progId, const RECT& rect) {
    InsertOptions options;
    if (rect.right > rect.left && rect.bottom > rect.top) {
        options.rect = rect;
    } else {
        options.x = rect.left;
        options.y = rect.top;
    }
    CControlSite& site = m_container.Insert(progId, options, nullptr, "design.insert");
    m_container.Settle();
    Select({site.Id()});
    SetModified(true);
    return site;
}

void CDesigner::Select(const std::vector<int>& ids) {
    m_selection.clear();
    for (int id : ids)
        if (Site(id) && std::find(m_selection.begin(), m_selection.end(), id) == m_selection.end())
            m_selection.push_back(id);
    Repaint();
}

void CDesigner::ToggleSelected(int id) {
    auto it = std::find(m_selection.begin(), m_selection.end(), id);
    if (it != m_selection.end())
        m_selection.erase(it);
    else if (Site(id))
        m_selection.push_back(id);
    Repaint();
}

std::vector<int> CDesigner::Selection() const {
    std::vector<int> ids;
    for (int id : m_selection)
        if (Site(id))
            ids.push_back(id);
    return ids;
}

void CDesigner::MoveSelection(int dx, int dy) {
    bool moved = false;
    for (int id : Selection()) {
        CControlSite* site = Site(id);
        RECT rc = site->Rect();
        OffsetRect(&rc, dx, dy);
        site->Move(rc);
        moved = true;
    }
    if (moved && (dx || dy)) {
        SetModified(true);
        Repaint();
    }
}

void CDesigner::SetRect(int id, const RECT& rect) {
    CControlSite* site = Site(id);
    if (!site)
        Fail("design.resize: the control is closed");
    if (rect.right - rect.left < kMinSize || rect.bottom - rect.top < kMinSize)
        Fail("design.resize: a control is at least " + std::to_string(kMinSize) + " x " +
             std::to_string(kMinSize) + " pixels");
    site->Move(rect);
    SetModified(true);
    Repaint();
}

void CDesigner::DeleteSelection() {
    const std::vector<int> ids = Selection();
    m_selection.clear();
    for (int id : ids)
        if (CControlSite* site = Site(id)) {
            m_container.Remove(*site);
            site->SetName(""); // its name is free again for a form opened later
        }
    m_container.Settle();
    if (!ids.empty())
        SetModified(true);
    Repaint();
}

int CDesigner::HitTest(POINT p) const {
    const auto& sites = m_container.Sites();
    for (auto it = sites.rbegin(); it != sites.rend(); ++it)
        if ((*it)->IsOpen() && Contains((*it)->Rect(), p))
            return (*it)->Id();
    return 0;
}

std::vector<RECT> CDesigner::Handles(const RECT& rc) {
    const int l = rc.left - kHandle, t = rc.top - kHandle;
    const int cx = (rc.left + rc.right - kHandle) / 2, cy = (rc.top + rc.bottom - kHandle) / 2;
    const int r = rc.right, b = rc.bottom;
    const POINT corners[8] = {{l, t}, {cx, t}, {r, t}, {r, cy}, {r, b}, {cx, b}, {l, b}, {l, cy}};
    std::vector<RECT> handles;
    for (const POINT& c : corners)
        handles.push_back(RECT{c.x, c.y, c.x + kHandle, c.y + kHandle});
    return handles;
}

void CDesigner::SetRunning(bool running) {
    m_running = running;
    if (running)
        m_drag = Drag::None;
    Repaint();
}

// [SECTION] Properties and methods

std::vector<DesignProperty> CDesigner::Properties(int id) const {
    std::vector<DesignProperty> rows;
    const CControlSite* site = Site(id);
    if (!site || !site->DispatchInfo())
        return rows;
    const DispEntry* entry = nullptr;
    for (UINT i = 0; SUCCEEDED(site->DispatchInfo()->GetMemberDesc(i, &entry)); ++i) {
        if (entry->kind != DispKind::Property)
            continue;
        DesignProperty row{entry->name, VarTypeName(entry->type), "", entry->put == nullptr};
        DISPPARAMS none{};
        CComVariant value;
        EXCEPINFO exception{};
        if (SUCCEEDED(site->Dispatch()->Invoke(entry->dispid, IID_NULL, LOCALE_USER_DEFAULT,
                                               DISPATCH_PROPERTYGET, &none, &value, &exception,
                                               nullptr))) {
            try {
                row.value = FormatVariant(value);
            } catch (const ScriptError&) {
                row.value = "(" + VarTypeName(value.vt) + ")";
            }
        }
        ClearExcepInfo(&exception);
        rows.push_back(std::move(row));
    }
    return rows;
}

bool CDesigner::SetProperty(int id, const std::string& name, const std::string& text,
                            std::string* error) {
    CControlSite* site = Site(id);
    if (!site)
        Fail("design.setproperty: the control is closed");
    const char* names[] = {name.c_str()};
    DISPID dispid = DISPID_UNKNOWN;
    HRESULT hr = site->Dispatch()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
    std::string message;
    if (SUCCEEDED(hr)) {
        // The text as the user typed it; the control converts it to the
        // property's type and checks it.
        CComVariant value;
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocStringView(text);
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS params{&value, &putId, 1, 1};
        EXCEPINFO exception{};
        UINT argErr = 0;
        hr = site->Dispatch()->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                      &params, nullptr, &exception, &argErr);
        if (hr == DISP_E_EXCEPTION && !BstrView(exception.bstrDescription).empty())
            message = std::string(BstrView(exception.bstrDescription));
        ClearExcepInfo(&exception);
    }
    m_container.Settle();
    if (SUCCEEDED(hr)) {
        SetModified(true);
        return true;
    }
    if (message.empty()) {
        message = hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW
                      ? "\"" + text + "\" is not a valid value for " + name
                  : hr == DISP_E_UNKNOWNNAME ? site->Name() + " has no property " + name
                                             : name + ": " + HResultText(hr);
    }
    message = site->Name() + "." + name + ": " + message + " (" + HResultText(hr) + ")";
    if (error)
        *error = message;
    ReportError(message);
    return false;
}

std::vector<DesignMethod> CDesigner::Methods(int id) const {
    std::vector<DesignMethod> rows;
    const CControlSite* site = Site(id);
    if (!site || !site->DispatchInfo())
        return rows;
    const DispEntry* entry = nullptr;
    for (UINT i = 0; SUCCEEDED(site->DispatchInfo()->GetMemberDesc(i, &entry)); ++i) {
        if (entry->kind == DispKind::Property)
            continue;
        DesignMethod row{entry->name, entry->type == VT_EMPTY ? "" : VarTypeName(entry->type), {}};
        for (const DispParam& p : entry->params)
            row.params.push_back(ParamText(p));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool CDesigner::OpenProperties(int id) {
    CControlSite* site = Site(id);
    if (!site)
        return false;
    ComPtr<IClassFactory> factory;
    if (FAILED(CoGetClassObject(site->Clsid(), CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(factory.Out()))))
        return false;
    auto* control = dynamic_cast<COleControlFactory*>(factory.Get());
    if (!control || control->GetPropPageIDs().empty())
        return false;
    const std::vector<CLSID>& pages = control->GetPropPageIDs();
    IUnknown* object = site->Dispatch();
    const HRESULT hr =
        OleCreatePropertyFrame(m_container.Form(), 0, 0, site->Name().c_str(), 1, &object,
                               ULONG(pages.size()), pages.data(), 0, 0, nullptr);
    m_container.Settle();
    // What the pages applied changed the form.
    if (SUCCEEDED(hr))
        SetModified(true);
    else
        ReportError(site->Name() + ": none of its property pages can be shown");
    Repaint();
    return SUCCEEDED(hr);
}

// [SECTION] Forms

void CDesigner::CallScriptFunction(const char* name, const std::string& path) {
    lua_State* L = m_container.Lua();
    const int top = lua_gettop(L);
    lua_getglobal(L, name);
    lua_pushlstring(L, path.data(), path.size());
    if (lua_pcall(L, 1, 0, 0) != LUA_OK) {
        std::string message = ErrorText(L, -1);
        lua_settop(L, top);
        throw ScriptError(message);
    }
    lua_settop(L, top);
}

void CDesigner::RemoveAll() {
    m_selection.clear();
    for (const auto& site : m_container.Sites())
        if (site->IsOpen()) {
            m_container.Remove(*site);
            site->SetName("");
        }
    m_container.Settle();
    Repaint();
}

bool CDesigner::New() {
    if (!QueryClose())
        return false;
    RemoveAll();
    m_path.clear();
    SetModified(false);
    return true;
}

bool CDesigner::Open(const std::string& path) {
    if (!QueryClose())
        return false;
    RemoveAll();
    m_path.clear();
    try {
        CallScriptFunction("loadform", path);
    } catch (const ScriptError& e) {
        // What loaded before the failure stays, as an unsaved form.
        SetModified(true);
        ReportError(e.what());
        return false;
    }
    m_path = path;
    SetModified(false);
    return true;
}

bool CDesigner::Save() {
    if (m_path.empty())
        return false;
    return SaveAs(m_path);
}

bool CDesigner::SaveAs(const std::string& path) {
    if (path.empty())
        return false;
    try {
        CallScriptFunction("saveform", path);
    } catch (const ScriptError& e) {
        ReportError(e.what());
        return false;
    }
    m_path = path;
    SetModified(false);
    return true;
}

bool CDesigner::QueryClose() {
    if (!m_modified)
        return true;
    const std::string name =
        m_path.empty() ? "Untitled" : std::filesystem::path(m_path).filename().string();
    const int answer = MessageBoxA(m_container.Form(), ("Save changes to " + name + "?").c_str(),
                                   "kwcontainer", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDYES) {
        if (m_path.empty() && m_askPath)
            return SaveAs(m_askPath());
        return Save();
    }
    return answer == IDNO;
}

void CDesigner::SetModified(bool modified) {
    m_modified = modified;
    UpdateTitle();
}

std::string CDesigner::Title() const {
    const std::string name =
        m_path.empty() ? "Untitled" : std::filesystem::path(m_path).filename().string();
    return name + (m_modified ? "*" : "") + " - kwcontainer design" + (m_running ? " [run]" : "");
}

void CDesigner::UpdateTitle() const {
    SetWindowTextA(m_container.Form(), Title().c_str());
}

void CDesigner::PushControl(int id) const {
    if (CControlSite* site = Site(id))
        PushProxy(m_container.Lua(), *site);
    else
        lua_pushnil(m_container.Lua());
}

// [SECTION] Painting

void CDesigner::PaintSelection(HDC hdc) const {
    if (m_running)
        return;
    const HBRUSH fill = CreateSolidBrush(RGB(0, 0, 128));
    const HBRUSH hollow = CreateSolidBrush(RGB(255, 255, 255));
    const std::vector<int> ids = Selection();
    for (int id : ids) {
        const RECT rc = Site(id)->Rect();
        for (const RECT& h : Handles(rc)) {
            // The first control selected is the one the panes show; only a
            // single selection resizes.
            FillRect(hdc, &h, id == ids.front() ? fill : hollow);
            FrameRect(hdc, &h, fill);
        }
    }
    DeleteObject(fill);
    DeleteObject(hollow);
}

} // namespace kw::container
