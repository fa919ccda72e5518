// The control base: a small control made through its factory, embedded in a
// headless window and driven by name through IDispatch, as a host would.
#include "platform/afx/OleControl.h"
#include "platform/afx/ControlPointer.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr CLSID kClsid = MakeGuid(0x4B570001, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);
constexpr IID kDispIid = MakeGuid(0x4B570001, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2);
constexpr IID kEventIid = MakeGuid(0x4B570001, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3);
constexpr GUID kLibid = MakeGuid(0x4B570001, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4);
constexpr DISPID kEventRequest = 1;
constexpr COLORREF kMarker = RGB(0, 0, 255);

CFactoryList g_factories;

class CTestCtrl : public COleControl {
public:
    CTestCtrl() : COleControl(Class()) {
        InitializeIIDs(&kDispIid, &kEventIid);
        SetInitialSize(40, 30);
        m_level = 7; // the constructor's start value, replaced by a reset
    }

    static const COleControlClass& Class();
    static const DispTable& Dispatch();
    static const DispTable& Events();

    void OnLevelChanged() {
        InvalidateControl();
        SetModifiedFlag();
    }
    double GetRatio() { return m_ratio; }
    void SetRatio(double ratio) {
        m_ratio = ratio;
        SetModifiedFlag();
    }
    // Asks the host; the answer comes back through `answer`.
    BOOL Ask(SHORT question, CString* answer) {
        BOOL handled = FALSE;
        FireEvent(kEventRequest, question, answer, &handled);
        return handled;
    }

    void DoPropExchange(CPropExchange* pPX) override {
        ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
        COleControl::DoPropExchange(pPX);
        PX_Short(pPX, "Level", m_level, 3);
        PX_Double(pPX, "Ratio", m_ratio, 0.5);
    }
    void OnDraw(CDC* dc, const CRect& bounds, const CRect&) override {
        ++draws;
        dc->FillSolidRect(&bounds, TranslateColor(GetBackColor()));
        dc->SetPixel(bounds.left + 1, bounds.top + 1, kMarker);
    }
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnClick(USHORT button) override {
        clicks.push_back(button);
        COleControl::OnClick(button);
    }

    SHORT m_level{0};
    double m_ratio{0.5};
    int draws{0};
    std::vector<USHORT> clicks;
};

const DispParam kAskParams[] = {{"question", VT_I2}, {"answer", VT_BYREF | VT_BSTR}};
const DispEntry kRows[] = {
    DispMember<&CTestCtrl::m_level, &CTestCtrl::OnLevelChanged>("Level", 1, VT_I2),
    DispGetSet<&CTestCtrl::GetRatio, &CTestCtrl::SetRatio>("Ratio", 2, VT_R8),
    DispMethod<&CTestCtrl::Ask>("Ask", 3, VT_BOOL, kAskParams),
    DispControlPointer("ControlPointer", 4),
    DispStockBackColor(),
    DispStockFont(),
    DispStockEnabled(),
    DispStockBorderStyle(),
    DispStockAboutBox(),
};
const DispTable kDispatch{kRows};
const DispParam kRequestParams[] = {
    {"question", VT_I2}, {"text", VT_BYREF | VT_BSTR}, {"handled", VT_BYREF | VT_BOOL}};
const DispEntry kEventRows[] = {
    DispStockClickEvent(),
    DispEvent("Request", kEventRequest, kRequestParams),
};
const DispTable kEvents{kEventRows};

const TypeDesc kTypes[] = {
    {TKIND_DISPATCH, kDispIid, "_DTest", "Dispatch interface", 0, kDispatch},
    {TKIND_DISPATCH, kEventIid, "_DTestEvents", "Event interface", 0, kEvents},
    {TKIND_COCLASS,
     kClsid,
     "Test",
     "Test control",
     TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL,
     {},
     &kDispIid,
     &kEventIid},
};
const TypeLibDesc kLib{kLibid, "TestLib", "Test library", nullptr, 1, 4, 0, kTypes};

// An owner-drawn button: the system window asks its owner to draw, and the
// owner's notifications come back to the control.
class CButtonCtrl : public COleControl {
public:
    CButtonCtrl() : COleControl(Class()) { SetInitialSize(30, 20); }
    static const COleControlClass& Class();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override {
        cs.lpszClass = "BUTTON";
        cs.style |= BS_OWNERDRAW;
        return COleControl::PreCreateWindow(cs);
    }
    void OnDraw(CDC* dc, const CRect& bounds, const CRect&) override {
        DoSuperclassPaint(dc, bounds);
    }
    LRESULT OnOcmDrawItem(WPARAM, LPARAM lParam) override {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        ++drawItems;
        CDC dc;
        dc.Attach(dis->hDC);
        dc.FillSolidRect(&dis->rcItem, RGB(200, 0, 0));
        dc.Detach();
        return TRUE;
    }
    LRESULT OnOcmCommand(WPARAM wParam, LPARAM) override {
        if (HIWORD(wParam) == BN_CLICKED)
            ++clicked;
        return 0;
    }
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }

    int drawItems{0};
    int clicked{0};
};

const DispEntry kButtonRows[] = {DispControlPointer("ControlPointer", 1)};
const DispTable kButtonDispatch{kButtonRows};

const COleControlClass& CButtonCtrl::Class() {
    static const COleControlClass cls{kClsid, &kButtonDispatch, nullptr};
    return cls;
}

const COleControlClass& CTestCtrl::Class() {
    static const COleControlClass cls{kClsid, &kDispatch, &kEvents, {},
                                      {},     &kLib,      nullptr,  &g_factories};
    return cls;
}

// [SECTION] Host helpers

DISPID IdOf(IDispatch* disp, const char* name) {
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, disp->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)) << name;
    return id;
}

CComVariant Get(IDispatch* disp, const char* name) {
    DISPPARAMS none{};
    CComVariant result;
    EXCEPINFO info{};
    EXPECT_EQ(S_OK, disp->Invoke(IdOf(disp, name), IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                 &result, &info, nullptr))
        << name;
    ClearExcepInfo(&info);
    return result;
}

HRESULT Put(IDispatch* disp, const char* name, CComVariant value, SCODE* scode = nullptr) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    EXCEPINFO info{};
    const HRESULT hr = disp->Invoke(IdOf(disp, name), IID_NULL, 0, DISPATCH_PROPERTYPUT, &params,
                                    nullptr, &info, nullptr);
    if (scode)
        *scode = info.scode;
    ClearExcepInfo(&info);
    return hr;
}

// Records the events it receives and answers the Request event.
class EventSink final : public TestEventSink {
public:
    EventSink() : TestEventSink(kEventIid) {}
    STDMETHOD(Invoke)
    (DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        fired.push_back(id);
        if (id == kEventRequest && params->cArgs == 3) {
            // Arguments arrive last first.
            VARIANT& handled = params->rgvarg[0];
            VARIANT& text = params->rgvarg[1];
            questions.push_back(params->rgvarg[2].iVal);
            EXPECT_EQ(VT_BYREF | VT_BOOL, handled.vt);
            EXPECT_EQ(VT_BYREF | VT_BSTR, text.vt);
            seenText = AnsiFromBstr(*text.pbstrVal);
            SysFreeString(*text.pbstrVal);
            *text.pbstrVal = BstrFromAnsi("Antwort \xDF");
            *handled.pboolVal = VARIANT_TRUE;
        }
        if (onEvent)
            onEvent(id);
        return S_OK;
    }

    std::vector<DISPID> fired;
    std::vector<SHORT> questions;
    std::string seenText;
    std::function<void(DISPID)> onEvent;
};

class OleControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, "host", WS_OVERLAPPED | WS_VISIBLE,
                                    CRect(0, 0, 200, 150), static_cast<HWND>(nullptr), 0));
    }
    void TearDown() override {
        m_control.Reset();
        m_host.DestroyWindow();
    }

    // A control made by its factory and initialised as a new one.
    ComPtr<IDispatch> Create() {
        ComPtr<IDispatch> disp;
        EXPECT_EQ(S_OK, m_factory.CreateInstance(nullptr, IID_IDispatch, disp.OutVoid()));
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(S_OK, disp.As(IID_IPersistPropertyBag, &persist));
        EXPECT_EQ(S_OK, persist->InitNew());
        return disp;
    }
    static CTestCtrl* Object(IDispatch* disp) {
        return static_cast<CTestCtrl*>(AfxControlFromPointer(Get(disp, "ControlPointer").lVal));
    }
    // Embeds a new control at `pos` in the host window.
    CTestCtrl* Embed(const RECT& pos) {
        m_control = Create();
        ComPtr<IOleObject> ole;
        EXPECT_EQ(S_OK, m_control.As(IID_IOleObject, &ole));
        EXPECT_EQ(S_OK, ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host.m_hWnd, &pos));
        m_session.Pump();
        return Object(m_control.Get());
    }
    void Connect(IDispatch* disp, EventSink* sink) {
        ComPtr<IConnectionPointContainer> cpc;
        ASSERT_EQ(S_OK, ComPtr<IDispatch>(disp).As(IID_IConnectionPointContainer, &cpc));
        ComPtr<IConnectionPoint> cp;
        ASSERT_EQ(S_OK, cpc->FindConnectionPoint(kEventIid, cp.Out()));
        DWORD cookie = 0;
        ASSERT_EQ(S_OK, cp->Advise(sink, &cookie));
    }

    kw::headless::HeadlessSession m_session;
    EventSink m_sink; // outlives the controls it is connected to
    CWnd m_host;
    COleControlFactory m_factory{g_factories, kClsid, &COleControl::CreateObject<CTestCtrl>,
                                 "Test.Ctrl.1",
                                 ControlClassInfo{nullptr, 0, 0, 0, kLibid, 1, 4, nullptr}};
    ComPtr<IDispatch> m_control;
};

} // namespace

// [SECTION] Creation

TEST_F(OleControlTest, FreshControlHasItsDefaultsAndInitialSize) {
    const long before = g_factories.State().Objects();
    ComPtr<IDispatch> disp = Create();
    EXPECT_EQ(before + 1, g_factories.State().Objects());
    EXPECT_EQ(3, Get(disp.Get(), "Level").iVal) << "the reset's default, not the start value 7";
    EXPECT_EQ(0.5, Get(disp.Get(), "Ratio").dblVal);
    EXPECT_EQ(LONG(0x80000005), Get(disp.Get(), "BackColor").lVal);
    EXPECT_EQ(VARIANT_TRUE, Get(disp.Get(), "Enabled").boolVal);
    EXPECT_EQ(0, Get(disp.Get(), "BorderStyle").iVal);
    CTestCtrl* ctrl = Object(disp.Get());
    ASSERT_NE(nullptr, ctrl);
    EXPECT_FALSE(ctrl->IsModified());
    EXPECT_EQ(MAKELONG_VERSION(1, 4), ctrl->GetVersion());
    int cx = 0, cy = 0;
    EXPECT_TRUE(ctrl->GetControlSize(&cx, &cy));
    EXPECT_EQ(40, cx);
    EXPECT_EQ(30, cy);
    ComPtr<IOleObject> ole;
    ASSERT_EQ(S_OK, disp.As(IID_IOleObject, &ole));
    SIZEL extent{};
    EXPECT_EQ(S_OK, ole->GetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(1058, extent.cx) << "40 pixels at 96 dpi in HIMETRIC";
    EXPECT_EQ(794, extent.cy);
    ole.Reset();
    disp.Reset();
    EXPECT_EQ(before, g_factories.State().Objects());
}

TEST_F(OleControlTest, ClassInfoLeadsToTheEventInterface) {
    ComPtr<IDispatch> disp = Create();
    ComPtr<IProvideClassInfo> info;
    ASSERT_EQ(S_OK, disp.As(IID_IProvideClassInfo, &info));
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, info->GetClassInfo(coclass.Out()));
    TYPEATTR attr{};
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attr));
    EXPECT_EQ(TKIND_COCLASS, attr.typekind);
    EXPECT_EQ(kClsid, attr.guid);
}

// [SECTION] Properties

TEST_F(OleControlTest, MemberPropertySetToItsValueStillRedrawsAndMarksModified) {
    CTestCtrl* ctrl = Embed(CRect(10, 10, 50, 40));
    ASSERT_NE(nullptr, ctrl);
    const int draws = ctrl->draws;
    ASSERT_FALSE(ctrl->IsModified());
    ASSERT_EQ(S_OK, Put(m_control.Get(), "Level", CComVariant::I2(3)));
    EXPECT_TRUE(ctrl->IsModified());
    RECT update{};
    EXPECT_TRUE(::GetUpdateRect(ctrl->m_hWnd, &update, FALSE)) << "nothing invalidated";
    m_session.Pump();
    EXPECT_EQ(draws + 1, ctrl->draws);
}

TEST_F(OleControlTest, ControlPointerIsAStableTokenThatCannotBeWritten) {
    ComPtr<IDispatch> a = Create();
    ComPtr<IDispatch> b = Create();
    const LONG tokenA = Get(a.Get(), "ControlPointer").lVal;
    EXPECT_EQ(tokenA, Get(a.Get(), "ControlPointer").lVal);
    EXPECT_NE(tokenA, Get(b.Get(), "ControlPointer").lVal);
    EXPECT_NE(0, tokenA);

    SCODE scode = 0;
    EXPECT_EQ(DISP_E_EXCEPTION, Put(a.Get(), "ControlPointer", CComVariant::I4(1234), &scode));
    EXPECT_EQ(CTL_E_SETNOTSUPPORTED, scode);
    EXPECT_EQ(tokenA, Get(a.Get(), "ControlPointer").lVal);

    // The token leads to the object itself.
    COleControl* object = AfxControlFromPointer(tokenA);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(static_cast<IDispatch*>(object), a.Get());
    a.Reset();
    EXPECT_EQ(nullptr, AfxControlFromPointer(tokenA)) << "a token outlived its control";
}

TEST_F(OleControlTest, StockPropertiesReachTheWindow) {
    CTestCtrl* ctrl = Embed(CRect(10, 10, 50, 40));
    ASSERT_NE(nullptr, ctrl);
    ASSERT_EQ(S_OK, Put(m_control.Get(), "BorderStyle", CComVariant::I2(1)));
    EXPECT_TRUE(ctrl->GetStyle() & WS_BORDER);
    SCODE scode = 0;
    EXPECT_EQ(DISP_E_EXCEPTION, Put(m_control.Get(), "BorderStyle", CComVariant::I2(2), &scode));
    EXPECT_EQ(1, Get(m_control.Get(), "BorderStyle").iVal);

    ASSERT_EQ(S_OK, Put(m_control.Get(), "Enabled", CComVariant::Bool(false)));
    EXPECT_FALSE(::IsWindowEnabled(ctrl->m_hWnd));
    EXPECT_EQ(VARIANT_FALSE, Get(m_control.Get(), "Enabled").boolVal);
}

TEST_F(OleControlTest, TranslateColorResolvesSystemColours) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), COleControl::TranslateColor(0x80000005));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), COleControl::TranslateColor(0x8000000F));
    EXPECT_EQ(COLORREF(0x123456), COleControl::TranslateColor(0x00123456));
    EXPECT_EQ(COLORREF(0x112233), COleControl::TranslateColor(0x02112233));
}

// [SECTION] Persistence

TEST_F(OleControlTest, SavedPropertiesLoadIntoANewControl) {
    ComPtr<IDispatch> disp = Create();
    ASSERT_EQ(S_OK, Put(disp.Get(), "Level", CComVariant::I2(9)));
    ASSERT_EQ(S_OK, Put(disp.Get(), "Ratio", CComVariant::R8(2.25)));
    ASSERT_EQ(S_OK, Put(disp.Get(), "BackColor", CComVariant::I4(0x00336699)));
    ASSERT_EQ(S_OK, Put(disp.Get(), "BorderStyle", CComVariant::I2(1)));
    ComPtr<IDispatch> font(Get(disp.Get(), "Font").pdispVal);
    ASSERT_TRUE(font);
    ASSERT_EQ(S_OK, Put(font.Get(), "Name", CComVariant::Str("Arial")));
    ASSERT_EQ(S_OK, Put(font.Get(), "Size", CComVariant::R8(12)));
    ASSERT_EQ(S_OK, Put(font.Get(), "Bold", CComVariant::Bool(true)));
    CTestCtrl* ctrl = Object(disp.Get());
    ASSERT_TRUE(ctrl->IsModified());

    CJsonPropertyBag bag;
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(S_OK, disp.As(IID_IPersistPropertyBag, &persist));
    ASSERT_EQ(S_OK, persist->Save(&bag, TRUE, FALSE));
    EXPECT_FALSE(ctrl->IsModified()) << "Save with fClearDirty";
    const auto& json = bag.Values();
    EXPECT_EQ("Arial", json.value("Font.Name", ""));
    EXPECT_EQ(700, json.value("Font.Weight", 0));
    EXPECT_EQ(9, json.value("Level", 0));
    EXPECT_FALSE(json.contains("Enabled")) << "a value equal to its default is left out";
    EXPECT_FALSE(json.contains("ControlPointer"));

    ComPtr<IDispatch> copy = Create();
    ComPtr<IPersistPropertyBag> loader;
    ASSERT_EQ(S_OK, copy.As(IID_IPersistPropertyBag, &loader));
    ASSERT_EQ(S_OK, loader->Load(&bag, nullptr));
    EXPECT_EQ(9, Get(copy.Get(), "Level").iVal);
    EXPECT_EQ(2.25, Get(copy.Get(), "Ratio").dblVal);
    EXPECT_EQ(0x00336699, Get(copy.Get(), "BackColor").lVal);
    EXPECT_EQ(1, Get(copy.Get(), "BorderStyle").iVal);
    const FontDescription& loaded = Object(copy.Get())->InternalGetFont().Description();
    EXPECT_EQ("Arial", loaded.name);
    EXPECT_EQ(12.0, loaded.size);
    EXPECT_EQ(FW_BOLD, loaded.weight);
    EXPECT_FALSE(Object(copy.Get())->IsModified());
}

TEST_F(OleControlTest, MissingOrDamagedNamesTakeTheirDefaults) {
    ComPtr<IDispatch> disp = Create();
    ASSERT_EQ(S_OK, Put(disp.Get(), "Level", CComVariant::I2(9)));
    ASSERT_EQ(S_OK, Put(disp.Get(), "BorderStyle", CComVariant::I2(1)));
    CJsonPropertyBag bag(nlohmann::json{
        {"Ratio", 4.5}, {"Unknown", 1}, {"BorderStyle", 7}, {"Font.Size", -3}, {"Font.Name", ""}});
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(S_OK, disp.As(IID_IPersistPropertyBag, &persist));
    ASSERT_EQ(S_OK, persist->Load(&bag, nullptr));
    EXPECT_EQ(3, Get(disp.Get(), "Level").iVal);
    EXPECT_EQ(4.5, Get(disp.Get(), "Ratio").dblVal);
    EXPECT_EQ(0, Get(disp.Get(), "BorderStyle").iVal) << "a border style that does not exist";
    const FontDescription& font = Object(disp.Get())->InternalGetFont().Description();
    EXPECT_EQ("MS Sans Serif", font.name);
    EXPECT_EQ(8.0, font.size);
    EXPECT_EQ(MAKELONG_VERSION(1, 4), Object(disp.Get())->GetVersion());

    // A reset brings everything back.
    ASSERT_EQ(S_OK, Put(disp.Get(), "Ratio", CComVariant::R8(1)));
    ASSERT_EQ(S_OK, persist->InitNew());
    EXPECT_EQ(0.5, Get(disp.Get(), "Ratio").dblVal);
}

// [SECTION] Events

TEST_F(OleControlTest, ClickFiresAfterPressAndReleaseInside) {
    CTestCtrl* ctrl = Embed(CRect(10, 10, 50, 40));
    ASSERT_NE(nullptr, ctrl);
    EventSink& sink = m_sink;
    Connect(m_control.Get(), &sink);
    m_session.MouseMove(ctrl->m_hWnd, 5, 5);
    m_session.Click();
    ASSERT_EQ(1u, sink.fired.size());
    EXPECT_EQ(DISPID_CLICK, sink.fired[0]);

    // Released outside: no click.
    m_session.MouseMove(ctrl->m_hWnd, 5, 5);
    m_session.MouseDown();
    m_session.MouseMove(ctrl->m_hWnd, 60, 5);
    m_session.MouseUp();
    EXPECT_EQ(1u, sink.fired.size());
}

TEST_F(OleControlTest, EveryButtonReportsItsClickButOnlyTheLeftFiresTheEvent) {
    CTestCtrl* ctrl = Embed(CRect(10, 10, 50, 40));
    ASSERT_NE(nullptr, ctrl);
    EventSink& sink = m_sink;
    Connect(m_control.Get(), &sink);
    using kw::user::MouseButton;
    m_session.MouseMove(ctrl->m_hWnd, 5, 5);
    m_session.Click(MouseButton::Right);
    m_session.Click(MouseButton::Middle);
    m_session.Click(MouseButton::Left);
    EXPECT_EQ((std::vector<USHORT>{RIGHT_BUTTON, MIDDLE_BUTTON, LEFT_BUTTON}), ctrl->clicks);
    ASSERT_EQ(1u, sink.fired.size());
    EXPECT_EQ(DISPID_CLICK, sink.fired[0]);
    EXPECT_EQ(nullptr, ::GetCapture());

    // A right press released outside reports nothing; the capture held it.
    m_session.MouseDown(MouseButton::Right);
    EXPECT_EQ(ctrl->m_hWnd, ::GetCapture());
    m_session.MouseMove(ctrl->m_hWnd, 60, 5);
    m_session.MouseUp(MouseButton::Right);
    EXPECT_EQ(3u, ctrl->clicks.size());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(OleControlTest, EventsCarryByReferenceAnswersBack) {
    ComPtr<IDispatch> disp = Create();
    EventSink& sink = m_sink;
    Connect(disp.Get(), &sink);
    BSTR answer = BstrFromAnsi("frage");
    VARIANT args[2]{};
    args[0].vt = VT_BYREF | VT_BSTR; // the last argument first
    args[0].pbstrVal = &answer;
    args[1].vt = VT_I2;
    args[1].iVal = 42;
    DISPPARAMS params{args, nullptr, 2, 0};
    CComVariant result;
    ASSERT_EQ(S_OK, disp->Invoke(IdOf(disp.Get(), "Ask"), IID_NULL, 0, DISPATCH_METHOD, &params,
                                 &result, nullptr, nullptr));
    EXPECT_EQ(VARIANT_TRUE, result.boolVal);
    ASSERT_EQ(1u, sink.questions.size());
    EXPECT_EQ(42, sink.questions[0]);
    EXPECT_EQ("frage", sink.seenText);
    EXPECT_EQ("Antwort \xDF", AnsiFromBstr(answer));
    SysFreeString(answer);
}

TEST_F(OleControlTest, HostMayReleaseTheControlInsideItsClick) {
    CTestCtrl* ctrl = Embed(CRect(10, 10, 50, 40));
    ASSERT_NE(nullptr, ctrl);
    const HWND hwnd = ctrl->m_hWnd;
    const LONG token = Get(m_control.Get(), "ControlPointer").lVal;
    EventSink& sink = m_sink;
    Connect(m_control.Get(), &sink);
    sink.onEvent = [&](DISPID) {
        ComPtr<IOleInPlaceObject> inplace;
        m_control.As(IID_IOleInPlaceObject, &inplace);
        inplace->InPlaceDeactivate();
        inplace.Reset();
        m_control.Reset(); // the host's last reference
    };
    m_session.MouseMove(hwnd, 5, 5);
    m_session.Click();
    m_session.Pump();
    EXPECT_EQ(1u, sink.fired.size());
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(nullptr, AfxControlFromPointer(token));
}

// [SECTION] Drawing

TEST_F(OleControlTest, ViewObjectDrawsWithinItsBoundsWithoutAWindow) {
    ComPtr<IDispatch> disp = Create();
    ASSERT_EQ(S_OK, Put(disp.Get(), "BackColor", CComVariant::I4(0x0000FF00)));
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(60, 60, 1, 32, nullptr));
    CBitmap* old = mem.SelectObject(&bitmap);
    const RECT all{0, 0, 60, 60};
    mem.FillSolidRect(&all, RGB(255, 255, 255));

    ComPtr<IViewObject> view;
    ASSERT_EQ(S_OK, disp.As(IID_IViewObject, &view));
    const RECT bounds{10, 10, 50, 40};
    ASSERT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, mem.m_hDC, &bounds));
    EXPECT_EQ(RGB(0, 255, 0), mem.GetPixel(10, 10));
    EXPECT_EQ(kMarker, mem.GetPixel(11, 11));
    EXPECT_EQ(RGB(0, 255, 0), mem.GetPixel(49, 39));
    EXPECT_EQ(RGB(255, 255, 255), mem.GetPixel(9, 9));
    EXPECT_EQ(RGB(255, 255, 255), mem.GetPixel(50, 40)) << "right and bottom are exclusive";
    EXPECT_EQ(DV_E_DVASPECT, view->Draw(2, mem.m_hDC, &bounds));
    mem.SelectObject(old);

    // Without a window the client area is the last drawing's bounds.
    RECT client{};
    Object(disp.Get())->GetClientRect(&client);
    EXPECT_EQ(CRect(bounds), CRect(client));
}

TEST_F(OleControlTest, WindowShowsWhatOnDrawPaints) {
    CTestCtrl* ctrl = Embed(CRect(10, 10, 50, 40));
    ASSERT_NE(nullptr, ctrl);
    ASSERT_EQ(S_OK, Put(m_control.Get(), "BackColor", CComVariant::I4(0x000000FF)));
    m_session.Pump();
    const SurfaceBuffer pixels = m_session.Pixels(ctrl->m_hWnd);
    EXPECT_EQ(40, pixels.Width());
    EXPECT_EQ(PixelFromColor(RGB(255, 0, 0)), pixels.Pixel(0, 0));
    EXPECT_EQ(PixelFromColor(kMarker), pixels.Pixel(1, 1));
    RECT client{};
    ctrl->GetClientRect(&client);
    EXPECT_EQ(CRect(0, 0, 40, 30), CRect(client));

    ComPtr<IOleInPlaceObject> inplace;
    ASSERT_EQ(S_OK, m_control.As(IID_IOleInPlaceObject, &inplace));
    HWND hwnd = nullptr;
    EXPECT_EQ(S_OK, inplace->GetWindow(&hwnd));
    EXPECT_EQ(ctrl->m_hWnd, hwnd);
    EXPECT_EQ(S_OK, inplace->InPlaceDeactivate());
    EXPECT_EQ(OLE_E_NOT_INPLACEACTIVE, inplace->GetWindow(&hwnd));
    EXPECT_FALSE(::IsWindow(ctrl->m_hWnd));
}

TEST_F(OleControlTest, SubclassedButtonDrawsAndClicksThroughReflection) {
    ComPtr<IOleObject> ole;
    {
        ComPtr<IDispatch> disp;
        ASSERT_EQ(S_OK, COleControl::CreateObject<CButtonCtrl>(IID_IDispatch, disp.OutVoid()));
        ASSERT_EQ(S_OK, disp.As(IID_IOleObject, &ole));
    }
    const RECT pos{20, 20, 50, 40};
    ASSERT_EQ(S_OK, ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host.m_hWnd, &pos));
    m_session.Pump();
    ComPtr<IDispatch> disp;
    ASSERT_EQ(S_OK, ole.As(IID_IDispatch, &disp));
    auto* ctrl =
        static_cast<CButtonCtrl*>(AfxControlFromPointer(Get(disp.Get(), "ControlPointer").lVal));
    ASSERT_NE(nullptr, ctrl);
    EXPECT_TRUE(ctrl->IsSubclassedControl());
    EXPECT_GE(ctrl->drawItems, 1) << "WM_DRAWITEM did not come back as OCM_DRAWITEM";
    const SurfaceBuffer pixels = m_session.Pixels(ctrl->m_hWnd);
    EXPECT_EQ(PixelFromColor(RGB(200, 0, 0)), pixels.Pixel(0, 0));
    EXPECT_EQ(PixelFromColor(RGB(200, 0, 0)), pixels.Pixel(29, 19));

    // The container sees the control at its position, whatever sits between.
    ComPtr<IOleInPlaceObject> inplace;
    ASSERT_EQ(S_OK, ole.As(IID_IOleInPlaceObject, &inplace));
    HWND outer = nullptr;
    ASSERT_EQ(S_OK, inplace->GetWindow(&outer));
    RECT rc{};
    ::GetWindowRect(ctrl->m_hWnd, &rc);
    POINT origin{0, 0};
    ::ClientToScreen(m_host.m_hWnd, &origin);
    EXPECT_EQ(20, rc.left - origin.x);
    EXPECT_EQ(20, rc.top - origin.y);

    m_session.MouseMove(ctrl->m_hWnd, 5, 5);
    m_session.Click();
    EXPECT_EQ(1, ctrl->clicked) << "BN_CLICKED did not come back as OCM_COMMAND";

    // The focus a container gives the window it knows goes on to the control.
    ::SetFocus(m_host.m_hWnd);
    ::SetFocus(outer);
    m_session.Pump();
    EXPECT_EQ(ctrl->m_hWnd, ::GetFocus());

    // Moving keeps the two windows together.
    const RECT moved{60, 30, 100, 60};
    ASSERT_EQ(S_OK, inplace->SetObjectRects(&moved, &moved));
    ::GetWindowRect(ctrl->m_hWnd, &rc);
    EXPECT_EQ(CRect(60, 30, 100, 60), CRect(rc.left - origin.x, rc.top - origin.y,
                                            rc.right - origin.x, rc.bottom - origin.y));
    EXPECT_EQ(S_OK, inplace->InPlaceDeactivate());
    EXPECT_FALSE(::IsWindow(outer));
}
