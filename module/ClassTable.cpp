#include "module/ClassTable.h"

#include "buttons/ColorStaticCtrl.h"
#include "buttons/ColorStaticPropPage.h"
#include "buttons/BmpButton1Ctrl.h"
#include "buttons/BmpButton1PropPage1.h"
#include "buttons/BmpButton1PropPage2.h"
#include "buttons/BmpButton2Ctrl.h"
#include "buttons/BmpButton2PropPage1.h"
#include "buttons/LedCtrl.h"
#include "buttons/LedPropPage.h"
#include "machine/CurveCtrl.h"
#include "machine/DigitCtrl.h"
#include "machine/PosCtrl.h"
#include "buttons/PolCtrl.h"
#include "buttons/PolPropPage.h"
#include "buttons/SwitchCtrl.h"
#include "buttons/SwitchPropPage.h"
#include "machine/AccelerationCtrl.h"
#include "machine/AccelerationPropPage.h"
#include "machine/CurvePropPage.h"
#include "machine/DigitPropPage.h"
#include "machine/PosPropPage.h"
#include "module/Guids.h"
#include "spinedit/SpinEditCtrl.h"
#include "spinedit/SpinEditPropPage1.h"
#include "spinedit/SpinEditPropPage2.h"
#include "spinedit/SpinEditPropPage3.h"
#include "spinedit/SpinEditPropPage4.h"
#include "views3d/SelectQubeCtrl.h"
#include "views3d/ViewmanagerCtrl.h"
#include "views3d/LineViewCtrl.h"
#include "views3d/LineViewPropPage.h"
#include "views3d/SelectQubePropPage.h"
#include "views3d/ViewmanagerPropPage.h"

#include <deque>
#include <vector>

namespace kw::module {

namespace {

using namespace kw::ids;

constexpr DWORD kMiscStatus = 0x20191;      // the usual control
constexpr DWORD kMiscButton = 0x21191;      // acts like a button
constexpr DWORD kMiscButtonFixed = 0x21190; // ... and does not recompose on resize

const CLSID kSpinEditPages[] = {CLSID_SpinEditPropPage1, CLSID_SpinEditPropPage2,
                                CLSID_SpinEditPropPage3, CLSID_SpinEditPropPage4};
const CLSID kBmpButton1Pages[] = {CLSID_BmpButton1PropPage1, CLSID_BmpButton1PropPage2,
                                  CLSID_StockFontPage, CLSID_StockColorPage,
                                  CLSID_StockPicturePage};
const CLSID kBmpButton2Pages[] = {CLSID_BmpButton2PropPage1, CLSID_StockFontPage,
                                  CLSID_StockColorPage, CLSID_StockPicturePage};
const CLSID kSelectQubePages[] = {CLSID_SelectQubePropPage};
const CLSID kAccelerationPages[] = {CLSID_AccelerationPropPage};
const CLSID kViewmanagerPages[] = {CLSID_ViewmanagerPropPage};
const CLSID kLedPages[] = {CLSID_LedPropPage};
const CLSID kSwitchPages[] = {CLSID_SwitchPropPage};
const CLSID kColorStaticPages[] = {CLSID_ColorStaticPropPage, CLSID_StockFontPage,
                                   CLSID_StockColorPage};
const CLSID kDigitPages[] = {CLSID_DigitPropPage};
const CLSID kPosPages[] = {CLSID_PosPropPage};
const CLSID kPolPages[] = {CLSID_PolPropPage};
const CLSID kCurvePages[] = {CLSID_CurvePropPage};
const CLSID kLineViewPages[] = {CLSID_LineViewPropPage};

const PageClass kPages[] = {
    {"CAccelerationPropPage", CLSID_AccelerationPropPage, "Kestrowidge.AccelerationPropPage.1", 30,
     70, 133, &COlePropertyPage::CreateObject<CAccelerationPropPage>},
    {"CBmpButton1PropPage1", CLSID_BmpButton1PropPage1, "Kestrowidge.BmpButton1PropPage1.1", 25, 55,
     122, &COlePropertyPage::CreateObject<CBmpButton1PropPage1>},
    {"CBmpButton1PropPage2", CLSID_BmpButton1PropPage2, "Kestrowidge.BmpButton1PropPage2.1", 26, 56,
     123, &COlePropertyPage::CreateObject<CBmpButton1PropPage2>},
    {"CBmpButton2PropPage1", CLSID_BmpButton2PropPage1, "Kestrowidge.BmpButton2PropPage.1", 27, 58,
     124, &COlePropertyPage::CreateObject<CBmpButton2PropPage1>},
    {"CColorStaticPropPage", CLSID_ColorStaticPropPage, "Kestrowidge.ColorStaticPropPage.1", 35, 74,
     192, &COlePropertyPage::CreateObject<CColorStaticPropPage>},
    {"CCurvePropPage", CLSID_CurvePropPage, "Kestrowidge.CurvePropPage.1", 14, 79, 208,
     &COlePropertyPage::CreateObject<CCurvePropPage>},
    {"CDigitPropPage", CLSID_DigitPropPage, "Kestrowidge.DigitPropPage.1", 36, 75, 193,
     &COlePropertyPage::CreateObject<CDigitPropPage>},
    {"CLedPropPage", CLSID_LedPropPage, "Kestrowidge.LedPropPage.1", 33, 72, 190,
     &COlePropertyPage::CreateObject<CLedPropPage>},
    {"CLineViewPropPage", CLSID_LineViewPropPage, "Kestrowidge.LineViewPropPage.1", 129, 65, 130,
     &COlePropertyPage::CreateObject<CLineViewPropPage>},
    {"CPolPropPage", CLSID_PolPropPage, "Kestrowidge.PolPropPage.1", 39, 78, 195,
     &COlePropertyPage::CreateObject<CPolPropPage>},
    {"CPosPropPage", CLSID_PosPropPage, "Kestrowidge.PosPropPage.1", 38, 77, 194,
     &COlePropertyPage::CreateObject<CPosPropPage>},
    {"CSelectQubePropPage", CLSID_SelectQubePropPage, "Kestrowidge.SelectQubePropPage.1", 29, 60,
     126, &COlePropertyPage::CreateObject<CSelectQubePropPage>},
    {"CSpinEditPropPage1", CLSID_SpinEditPropPage1, "Kestrowidge.SpinEditPropPage1.1", 23, 51, 120,
     &COlePropertyPage::CreateObject<CSpinEditPropPage1>},
    {"CSpinEditPropPage2", CLSID_SpinEditPropPage2, "Kestrowidge.SpinEditPropPage2.1", 24, 52, 121,
     &COlePropertyPage::CreateObject<CSpinEditPropPage2>},
    {"CSpinEditPropPage3", CLSID_SpinEditPropPage3, "Kestrowidge.SpinEditPropPage3.1", 31, 53, 127,
     &COlePropertyPage::CreateObject<CSpinEditPropPage3>},
    {"CSpinEditPropPage4", CLSID_SpinEditPropPage4, "Kestrowidge.SpinEditPropPage4.1", 37, 76, 131,
     &COlePropertyPage::CreateObject<CSpinEditPropPage4>},
    {"CSwitchPropPage", CLSID_SwitchPropPage, "Kestrowidge.SwitchPropPage.1", 34, 73, 191,
     &COlePropertyPage::CreateObject<CSwitchPropPage>},
    {"CViewmanagerPropPage", CLSID_ViewmanagerPropPage, "Kestrowidge.ViewmanagerPropPage.1", 32, 68,
     200, &COlePropertyPage::CreateObject<CViewmanagerPropPage>},
};

// Built on first use: the module object asks for it while the module's
// statics are still being constructed.
std::span<const ControlClass> ControlTable() {
    static const ControlClass controls[] = {
        {"CSpinEditCtrl", "SpinEdit", CLSID_SpinEdit, IID_DSpinEdit, IID_DSpinEditEvents,
         "Kestrowidge.SpinEditCtrl.1", 1, 11, kMiscStatus, kSpinEditPages, 4,
         &COleControl::CreateObject<CSpinEditCtrl>, &SpinEditDispatchTable(),
         &SpinEditEventTable()},
        {"CBmpButton1Ctrl", "BmpButton1", CLSID_BmpButton1, IID_DBmpButton1, IID_DBmpButton1Events,
         "Kestrowidge.BmpButton1Ctrl.1", 2, 12, kMiscButtonFixed, kBmpButton1Pages, 4,
         &COleControl::CreateObject<CBmpButton1Ctrl>, &BmpButton1DispatchTable(),
         &BmpButton1EventTable()},
        {"CBmpButton2Ctrl", "BmpButton2", CLSID_BmpButton2, IID_DBmpButton2, IID_DBmpButton2Events,
         "Kestrowidge.BmpButton2Ctrl.1", 3, 13, kMiscButton, kBmpButton2Pages, 4,
         &COleControl::CreateObject<CBmpButton2Ctrl>, &BmpButton2DispatchTable(),
         &BmpButton2EventTable()},
        {"CSelectQubeCtrl", "SelectQube", CLSID_SelectQube, IID_DSelectQube, IID_DSelectQubeEvents,
         "Kestrowidge.SelectQubeCtrl.1", 4, 14, kMiscButton, kSelectQubePages, 4,
         &COleControl::CreateObject<CSelectQubeCtrl>, &SelectQubeTypeLibTable(),
         &SelectQubeEventTable()},
        {"CAccelerationCtrl", "Acceleration", CLSID_Acceleration, IID_DAcceleration,
         IID_DAccelerationEvents, "Kestrowidge.AccelerationCtrl.1", 5, 15, kMiscButton,
         kAccelerationPages, 4, &COleControl::CreateObject<CAccelerationCtrl>,
         &AccelerationDispatchTable(), &AccelerationEventTable()},
        {"CViewmanagerCtrl", "Viewmanager", CLSID_Viewmanager, IID_DViewmanager,
         IID_DViewmanagerEvents, "Kestrowidge.ViewmanagerCtrl.1", 6, 16, kMiscButton,
         kViewmanagerPages, 4, &COleControl::CreateObject<CViewmanagerCtrl>,
         &ViewmanagerTypeLibTable(), &ViewmanagerEventTable()},
        {"CLedCtrl", "Led", CLSID_Led, IID_DLed, IID_DLedEvents, "Kestrowidge.LedCtrl.1", 7, 17,
         kMiscStatus, kLedPages, 4, &COleControl::CreateObject<CLedCtrl>, &LedDispatchTable(),
         &LedEventTable()},
        {"CSwitchCtrl", "Switch", CLSID_Switch, IID_DSwitch, IID_DSwitchEvents,
         "Kestrowidge.SwitchCtrl.1", 8, 222, kMiscStatus, kSwitchPages, 4,
         &COleControl::CreateObject<CSwitchCtrl>, &SwitchDispatchTable(), &SwitchEventTable()},
        {"CColorStaticCtrl", "ColorStatic", CLSID_ColorStatic, IID_DColorStatic,
         IID_DColorStaticEvents, "Kestrowidge.ColorStaticCtrl.1", 9, 223, kMiscStatus,
         kColorStaticPages, 3, &COleControl::CreateObject<CColorStaticCtrl>,
         &ColorStaticDispatchTable(), &ColorStaticEventTable()},
        {"CDigitCtrl", "Digit", CLSID_Digit, IID_DDigit, IID_DDigitEvents,
         "Kestrowidge.DigitCtrl.1", 10, 224, kMiscStatus, kDigitPages, 4,
         &COleControl::CreateObject<CDigitCtrl>, &DigitDispatchTable(), &DigitEventTable()},
        {"CPosCtrl", "Pos", CLSID_Pos, IID_DPos, IID_DPosEvents, "Kestrowidge.PosCtrl.1", 11, 226,
         kMiscButton, kPosPages, 4, &COleControl::CreateObject<CPosCtrl>, &PosDispatchTable(),
         &PosEventTable()},
        {"CPolCtrl", "Polarity", CLSID_Polarity, IID_DPolarity, IID_DPolarityEvents,
         "Kestrowidge.PolCtrl.1", 12, 230, kMiscStatus, kPolPages, 4,
         &COleControl::CreateObject<CPolCtrl>, &PolarityTypeLibTable(), &PolarityEventTable()},
        {"CCurveCtrl", "Curve", CLSID_Curve, IID_DCurve, IID_DCurveEvents,
         "Kestrowidge.CurveCtrl.1", 13, 233, kMiscButton, kCurvePages, 4,
         &COleControl::CreateObject<CCurveCtrl>, &CurveDispatchTable(), &CurveEventTable()},
        {"CLineViewCtrl", "LineView", CLSID_LineView, IID_DLineView, IID_DLineViewEvents,
         "Kestrowidge.LineViewCtrl.1", 128, 1, kMiscStatus, kLineViewPages, 4,
         &COleControl::CreateObject<CLineViewCtrl>, &LineViewDispatchTable(),
         &LineViewEventTable()},
    };
    return controls;
}

// The library lists the controls in this order.
constexpr const char* kTypeLibOrder[] = {"SpinEdit", "BmpButton1",   "BmpButton2",  "SelectQube",
                                         "LineView", "Acceleration", "Viewmanager", "Led",
                                         "Switch",   "Polarity",     "ColorStatic", "Digit",
                                         "Pos",      "Curve"};

const ControlClass& ControlNamed(const char* coclass) {
    for (const ControlClass& c : ControlTable())
        if (std::string_view(c.coclass) == coclass)
            return c;
    return ControlTable()[0]; // unreachable: every name above is in the table
}

DispTable MembersOf(const DispTable* table) {
    return table ? *table : DispTable{};
}

// Doc strings and names of the library, kept alive with it.
struct TypeLibraryData {
    std::deque<std::string> strings; // stable addresses for the descriptors
    std::vector<TypeDesc> types;
    TypeLibDesc desc{};

    TypeLibraryData() {
        for (const char* name : kTypeLibOrder) {
            const ControlClass& c = ControlNamed(name);
            // Polarity's interfaces name it in lower case.
            std::string shown = std::string_view(name) == "Polarity" ? "polarity" : name;
            const char* dispatchName = Keep("_D" + std::string(name));
            const char* eventsName = Keep("_D" + std::string(name) + "Events");
            const char* dispatchDoc =
                Keep("Dispatch-Schnittstelle f\xC3\xBCr " + shown + " Control");
            const char* eventsDoc = Keep("Ereignisschnittstelle f\xC3\xBCr " + shown + " Control");
            const char* coclassDoc = Keep(std::string(name) + " Control");
            types.push_back({TKIND_DISPATCH, c.dispatchIid, dispatchName, dispatchDoc,
                             TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE, MembersOf(c.dispatch)});
            types.push_back({TKIND_DISPATCH, c.eventsIid, eventsName, eventsDoc,
                             TYPEFLAG_FDISPATCHABLE, MembersOf(c.events)});
            types.push_back({TKIND_COCLASS,
                             c.clsid,
                             c.coclass,
                             coclassDoc,
                             TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL,
                             {},
                             &c.dispatchIid,
                             &c.eventsIid});
        }
        desc = TypeLibDesc{LIBID_KestrowidgeLib,
                           "KestrowidgeLib",
                           "Kestrowidge ActiveX-Steuerelement-Modul",
                           "Kestrowidge.hlp",
                           1,
                           4,
                           0,
                           types};
    }
    const char* Keep(std::string text) {
        strings.push_back(std::move(text));
        return strings.back().c_str();
    }
};

} // namespace

std::span<const ControlClass> Controls() {
    return ControlTable();
}
std::span<const PageClass> Pages() {
    return kPages;
}

const ControlClass* FindControl(REFCLSID clsid) {
    for (const ControlClass& c : ControlTable())
        if (c.clsid == clsid)
            return &c;
    return nullptr;
}

const TypeLibDesc& TypeLibrary() {
    static const TypeLibraryData data;
    return data.desc;
}

} // namespace kw::module
