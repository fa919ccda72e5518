// A control module for the container's event tests: one control whose
// method fires an event with by-reference parameters and reports the
// answers, the way the SpinEdit asks its host for unit texts, and fires the
// stock Click.
#include "platform/afx/OleControl.h"
#include "platform/afx/OleObjectFactory.h"

namespace {

constexpr CLSID kClsid =
    MakeGuid(0x2A5C0E11, 0x7D41, 0x4C55, 0x8E, 0x21, 0x41, 0x53, 0x4B, 0x45, 0x52, 0x01);
constexpr IID kDispIid =
    MakeGuid(0x2A5C0E11, 0x7D41, 0x4C55, 0x8E, 0x21, 0x41, 0x53, 0x4B, 0x45, 0x52, 0x02);
constexpr IID kEventIid =
    MakeGuid(0x2A5C0E11, 0x7D41, 0x4C55, 0x8E, 0x21, 0x41, 0x53, 0x4B, 0x45, 0x52, 0x03);
constexpr GUID kLibid =
    MakeGuid(0x2A5C0E11, 0x7D41, 0x4C55, 0x8E, 0x21, 0x41, 0x53, 0x4B, 0x45, 0x52, 0x04);
constexpr DISPID kEventAsk = 1;

CFactoryList g_factories;
const StringTableEntry kStrings[] = {{1, "Asker Control"}};
const CModuleResources kResources{&g_factories, kStrings};

class CAskerCtrl final : public COleControl {
public:
    CAskerCtrl();
    // Fires Ask(unit, Text, bHandled) and returns "handled:text".
    CString Ask(SHORT unit) {
        CString text = "mm";
        BOOL handled = FALSE;
        FireEvent(kEventAsk, unit, &text, &handled);
        return CString(handled ? "1:" : "0:") + text;
    }
};

constexpr DispParam kAskParams[] = {{"unit", VT_I2}};
constexpr DispParam kAskEventParams[] = {
    {"unit", VT_I2}, {"Text", VT_BYREF | VT_BSTR}, {"bHandled", VT_BYREF | VT_BOOL}};
const DispEntry kRows[] = {DispMethod<&CAskerCtrl::Ask>("Ask", 1, VT_BSTR, kAskParams)};
const DispEntry kEventRows[] = {DispEvent("Ask", kEventAsk, kAskEventParams),
                                DispStockClickEvent()};
const DispTable kDispatch{kRows};
const DispTable kEvents{kEventRows};
const TypeDesc kTypes[] = {
    {TKIND_DISPATCH, kDispIid, "_DAsker", "Asker", TYPEFLAG_FDISPATCHABLE, kDispatch},
    {TKIND_DISPATCH, kEventIid, "_DAskerEvents", "Asker events", TYPEFLAG_FDISPATCHABLE, kEvents},
    {TKIND_COCLASS,
     kClsid,
     "Asker",
     "Asker Control",
     TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL,
     {},
     &kDispIid,
     &kEventIid},
};
const TypeLibDesc kLib{kLibid, "AskerLib", "Asker test module", "", 1, 0, 0, kTypes};

const COleControlClass& AskerClass() {
    static const COleControlClass cls{kClsid, &kDispatch, &kEvents,    {},
                                      {},     &kLib,      &kResources, &g_factories};
    return cls;
}

CAskerCtrl::CAskerCtrl() : COleControl(AskerClass()) {
    InitializeIIDs(&kDispIid, &kEventIid);
    SetInitialSize(20, 20);
}

COleControlFactory g_factory(g_factories, kClsid, &COleControl::CreateObject<CAskerCtrl>,
                             "Kestrowidge.AskerCtrl.1",
                             {&kResources, 1, 1, 0x20191, kLibid, 1, 0, nullptr});

} // namespace

#define KW_EXPORT extern "C" __attribute__((visibility("default")))

KW_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return AfxDllGetClassObject(g_factories, clsid, riid, ppv);
}
KW_EXPORT HRESULT DllCanUnloadNow() {
    return AfxDllCanUnloadNow(g_factories);
}
KW_EXPORT const TypeLibDesc* KwTypeLibResource(int id) {
    return id == 1 ? &kLib : nullptr;
}
KW_EXPORT HRESULT DllRegisterServer() {
    ComPtr<ITypeLib> lib;
    const std::string path = kResources.ModulePath();
    if (FAILED(CreateTypeLib(&kLib, nullptr, lib.Out())) ||
        FAILED(RegisterTypeLib(lib.Get(), path.c_str(), nullptr)))
        return SELFREG_E_TYPELIB;
    return COleObjectFactory::UpdateRegistryAll(g_factories, TRUE) ? S_OK : SELFREG_E_CLASS;
}
KW_EXPORT HRESULT DllUnregisterServer() {
    if (FAILED(UnRegisterTypeLib(kLibid, 1, 0, 0, SYS_WIN64)))
        return SELFREG_E_TYPELIB;
    return COleObjectFactory::UpdateRegistryAll(g_factories, FALSE) ? S_OK : SELFREG_E_CLASS;
}
