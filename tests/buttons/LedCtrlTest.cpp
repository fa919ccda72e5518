// The lamp in a headless host: created through its factory, embedded in a
// window, driven by name, saved and loaded, watched over virtual time.
#include "buttons/LedCtrl.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"
#include "platform/afx/JsonPropertyBag.h"
#include "platform/backends/headless/HeadlessSession.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/User.h"
#include "tests/support/GreyHost.h"
#include "tests/support/LateBound.h"
#include "tests/support/TestEventSink.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kHostGrey = kGreyHostPixel; // what the host paints behind the lamp
constexpr std::uint32_t kRedLit = 0xFF0000;
constexpr std::uint32_t kRedDark = 0x800000;
constexpr std::uint32_t kGreenLit = 0x00FF00;
constexpr std::uint32_t kGrey = 0x808080;

class LedTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_host = CreateGreyHost("host", 100, 100);
        m_led = Create();
    }
    void TearDown() override {
        for (auto& led : m_extra)
            Close(led);
        Close(m_led);
    }

    ComPtr<IDispatch> Create(RECT pos = RECT{10, 10, 22, 22}) {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_Led,
                                       IID_IClassFactory, factory.OutVoid()),
                  S_OK);
        ComPtr<IDispatch> led;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, led.OutVoid()), S_OK);
        ComPtr<IPersistPropertyBag> persist;
        EXPECT_EQ(led.As(IID_IPersistPropertyBag, &persist), S_OK);
        EXPECT_EQ(persist->InitNew(), S_OK);
        ComPtr<IOleObject> ole;
        EXPECT_EQ(led.As(IID_IOleObject, &ole), S_OK);
        EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &pos), S_OK);
        session.Pump();
        return led;
    }
    void Close(ComPtr<IDispatch>& led) {
        ComPtr<IOleObject> ole;
        if (led && SUCCEEDED(led.As(IID_IOleObject, &ole)))
            ole->Close(0);
        led.Reset();
    }
    CLedCtrl* Object(const ComPtr<IDispatch>& led) {
        return static_cast<CLedCtrl*>(static_cast<COleControl*>(
            static_cast<CDispatchObject*>(static_cast<IDispatch*>(led.Get()))));
    }
    HRESULT Call(const ComPtr<IDispatch>& d, const char* name, WORD flags,
                 std::vector<CComVariant> args = {}, VARIANT* result = nullptr) {
        return CallByName(d.Get(), name, flags, std::move(args), result);
    }
    void Put(const ComPtr<IDispatch>& d, const char* name, SHORT value) {
        ASSERT_EQ(Call(d, name, DISPATCH_PROPERTYPUT, {CComVariant::I2(value)}), S_OK) << name;
    }
    void Method(const ComPtr<IDispatch>& d, const char* name, SHORT value) {
        ASSERT_EQ(Call(d, name, DISPATCH_METHOD, {CComVariant::I2(value)}), S_OK) << name;
    }
    SHORT Get(const ComPtr<IDispatch>& d, const char* name) {
        CComVariant result;
        EXPECT_EQ(Call(d, name, DISPATCH_PROPERTYGET, {}, &result), S_OK) << name;
        return result.iVal;
    }
    // The lamp's body colour: the middle of its 13 x 13 cell.
    std::uint32_t Centre() {
        session.Pump();
        return session.Pixels(m_host).Pixel(10 + 6, 10 + 6);
    }

    kw::headless::HeadlessSession session;
    HWND m_host = nullptr;
    ComPtr<IDispatch> m_led;
    std::vector<ComPtr<IDispatch>> m_extra;
};

} // namespace

TEST_F(LedTest, AFreshLampIsRedRoundAndDarkAtItsInitialSize) {
    EXPECT_EQ(Get(m_led, "Color"), 0);
    EXPECT_EQ(Get(m_led, "shape"), 0);
    EXPECT_EQ(Get(m_led, "MODE"), 0);
    int cx = 0, cy = 0;
    Object(m_led)->GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 12);
    EXPECT_EQ(cy, 12);
    EXPECT_EQ(Centre(), kRedDark);
}

TEST_F(LedTest, TheTwelvePixelLampDrawsItsCellFromTheCornerClipped) {
    Put(m_led, "Mode", 1);
    session.Pump();
    auto pixels = session.Pixels(m_host);
    // The round lamp's rim and transparent corners: the corner pixel shows
    // the host; the lamp's column 12 and row 12 are cut off, so the host's
    // grey shows at x = 22 and y = 22.
    EXPECT_EQ(pixels.Pixel(10, 10), kHostGrey);
    EXPECT_EQ(pixels.Pixel(16, 16), kRedLit);
    EXPECT_EQ(pixels.Pixel(14, 13), 0xFFFFFF) << "the light spot at (4, 3) of the cell";
    EXPECT_EQ(pixels.Pixel(21, 16), 0xFFFFFF) << "the light lower-right rim at cell column 11";
    EXPECT_EQ(pixels.Pixel(22, 16), kHostGrey) << "cell column 12 is clipped";
}

TEST_F(LedTest, PropertiesRedrawAndMarkModifiedMethodsOnlyRedraw) {
    CLedCtrl* led = Object(m_led);
    led->SetModifiedFlag(FALSE);
    Method(m_led, "SetColor", 1);
    Method(m_led, "SetShape", 1);
    Method(m_led, "SetMode", 1);
    EXPECT_FALSE(led->IsModified());
    EXPECT_EQ(Centre(), kGreenLit);
    Put(m_led, "Color", 1); // the same value still counts
    EXPECT_TRUE(led->IsModified());
    led->SetModifiedFlag(FALSE);
    Put(m_led, "Mode", 4); // the property stores 4 and does not flash
    EXPECT_TRUE(led->IsModified());
    EXPECT_EQ(Get(m_led, "Mode"), 4);
    session.Advance(1000);
    EXPECT_EQ(Get(m_led, "Mode"), 4);
}

TEST_F(LedTest, BlinkingAlternatesEveryHalfSecond) {
    Method(m_led, "SetMode", 3);
    std::uint32_t first = Centre();
    EXPECT_EQ(first, kRedDark);
    for (int i = 1; i <= 6; ++i) {
        session.Advance(500);
        EXPECT_EQ(Centre(), i % 2 ? kRedLit : kRedDark) << "after " << 500 * i << " ms";
    }
}

TEST_F(LedTest, ASecondFlashRestartsThePulse) {
    Method(m_led, "SetMode", 4);
    EXPECT_EQ(Get(m_led, "Mode"), 1);
    EXPECT_EQ(Centre(), kRedLit);
    session.Advance(200);
    Method(m_led, "SetMode", 4); // within the pulse: it starts again
    session.Advance(299);
    EXPECT_EQ(Centre(), kRedLit);
    session.Advance(1);
    EXPECT_EQ(Get(m_led, "Mode"), 0);
    EXPECT_EQ(Centre(), kRedDark);
}

TEST_F(LedTest, AFlashAskedForBeforeTheWindowRunsOnceTheWindowExists) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(AfxDllGetClassObject(kw::module::Factories(), kw::ids::CLSID_Led, IID_IClassFactory,
                                   factory.OutVoid()),
              S_OK);
    ComPtr<IDispatch> led;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, led.OutVoid()), S_OK);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(led.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->InitNew(), S_OK);
    Method(led, "SetMode", 4);
    EXPECT_EQ(Get(led, "Mode"), 1);
    session.Advance(1000); // no window: nothing may run meanwhile
    EXPECT_EQ(Get(led, "Mode"), 1);

    ComPtr<IOleObject> ole;
    ASSERT_EQ(led.As(IID_IOleObject, &ole), S_OK);
    RECT pos{40, 10, 52, 22};
    ASSERT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, m_host, &pos), S_OK);
    session.Pump();
    EXPECT_EQ(session.Pixels(m_host).Pixel(40 + 6, 10 + 6), kRedLit);
    session.Advance(300);
    EXPECT_EQ(Get(led, "Mode"), 0) << "the flash ran with the window and ended";
    EXPECT_EQ(session.Pixels(m_host).Pixel(40 + 6, 10 + 6), kRedDark);
    m_extra.push_back(led);
}

TEST_F(LedTest, ANewShapeShowsTheHostBackgroundWhereTheOldOneWas) {
    ComPtr<IDispatch> fresh = Create(RECT{40, 10, 53, 23});
    m_extra.push_back(fresh);
    ComPtr<IDispatch> changed = Create(RECT{60, 10, 73, 23});
    m_extra.push_back(changed);
    Method(changed, "SetShape", 1);
    session.Pump();
    Method(changed, "SetShape", 0);
    session.Pump();
    const auto pixels = session.Pixels(m_host);
    int differing = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
            differing += pixels.Pixel(40 + x, 10 + y) != pixels.Pixel(60 + x, 10 + y);
    EXPECT_EQ(differing, 0) << "the square lamp's corners must not stay around the round one";
    EXPECT_EQ(pixels.Pixel(60, 10), kHostGrey);
}

TEST_F(LedTest, ADisabledLampShowsTheUnavailableCellThenBlinksWhenEnabled) {
    ASSERT_EQ(Call(m_led, "Enabled", DISPATCH_PROPERTYPUT, {CComVariant::Bool(false)}), S_OK);
    Method(m_led, "SetMode", 3);
    EXPECT_EQ(Centre(), kGrey);
    session.Advance(1000);
    EXPECT_EQ(Centre(), kGrey);
    ASSERT_EQ(Call(m_led, "Enabled", DISPATCH_PROPERTYPUT, {CComVariant::Bool(true)}), S_OK);
    EXPECT_EQ(Centre(), kRedDark); // the blink starts with this drawing
    session.Advance(500);
    EXPECT_EQ(Centre(), kRedLit);
}

TEST_F(LedTest, ValuesOutsideTheirRangesDrawNothing) {
    // Drawn through IViewObject into a bitmap filled with a marker colour:
    // a lamp that draws nothing leaves every marker pixel in place.
    constexpr COLORREF kMarker = RGB(1, 2, 3);
    auto markerPixels = [&]() {
        ComPtr<IViewObject> view;
        EXPECT_EQ(m_led.As(IID_IViewObject, &view), S_OK);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 12, 12);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, 12, 12};
        HBRUSH marker = CreateSolidBrush(kMarker);
        FillRect(dc, &all, marker);
        DeleteObject(marker);
        EXPECT_EQ(view->Draw(DVASPECT_CONTENT, dc, &all), S_OK);
        int count = 0;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x)
                count += GetPixel(dc, x, y) == kMarker;
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return count;
    };
    Put(m_led, "Mode", 1);
    const int inRange = markerPixels();
    EXPECT_LT(inRange, 144 - 60) << "a lit round lamp covers most of its cell";
    for (auto [name, value] : {std::pair{"Color", SHORT(4)},
                               {"Color", SHORT(-1)},
                               {"Shape", SHORT(2)},
                               {"Mode", SHORT(7)},
                               {"Mode", SHORT(4)}}) {
        Put(m_led, "Color", 0);
        Put(m_led, "Shape", 0);
        Put(m_led, "Mode", 1);
        Put(m_led, name, value);
        EXPECT_EQ(markerPixels(), 144) << name << " = " << value;
    }
}

TEST_F(LedTest, ALampSavedByNameLoadsAgain) {
    Put(m_led, "Color", 2);
    Put(m_led, "Shape", 1);
    Put(m_led, "Mode", 2);
    auto bag = ComPtr<CJsonPropertyBag>::Attach(new CJsonPropertyBag);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(m_led.As(IID_IPersistPropertyBag, &persist), S_OK);
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(bag->Values()["Color"], 2);
    EXPECT_EQ(bag->Values()["Shape"], 1);
    EXPECT_EQ(bag->Values()["Mode"], 2);

    m_extra.push_back(Create(RECT{40, 10, 52, 22}));
    ComPtr<IPersistPropertyBag> second;
    ASSERT_EQ(m_extra[0].As(IID_IPersistPropertyBag, &second), S_OK);
    ASSERT_EQ(second->Load(bag.Get(), nullptr), S_OK);
    EXPECT_EQ(Get(m_extra[0], "Color"), 2);
    EXPECT_EQ(Get(m_extra[0], "Shape"), 1);
    EXPECT_EQ(Get(m_extra[0], "Mode"), 2);
    session.Pump();
    EXPECT_EQ(session.Pixels(m_host).Pixel(40 + 6, 10 + 6), kGrey);
}

namespace {

// Counts every event that reaches it.
class CCountingSink final : public TestEventSink {
public:
    int events = 0;
    STDMETHOD(Invoke)
    (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        ++events;
        return S_OK;
    }
};

} // namespace

TEST_F(LedTest, AClickedLampFiresNoEvent) {
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(m_led.As(IID_IConnectionPointContainer, &container), S_OK);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(kw::ids::IID_DLedEvents, point.Out()), S_OK);
    CCountingSink sink;
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    session.MouseMove(15, 15);
    session.Click();
    EXPECT_EQ(sink.events, 0);
    point->Unadvise(cookie);
}
