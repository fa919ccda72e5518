// A small component module for the end-to-end tests: one class with a
// property, a string property, a method with a by-reference argument, a
// method that fails, and an event whose by-reference argument the sink
// answers. It registers and unregisters itself the way product modules do.
#include "platform/com/ClassRegistration.h"
#include "platform/com/ComLoader.h"
#include "platform/com/DispatchAdapters.h"
#include "platform/com/DispatchObject.h"

#include <new>

namespace {

constexpr CLSID CLSID_TestWidget =
    MakeGuid(0x6B1E0C51, 0x3D2A, 0x4F7B, 0x9A, 0x11, 0x52, 0x0E, 0x7C, 0x44, 0x10, 0x01);
constexpr IID IID_DTestWidget =
    MakeGuid(0x6B1E0C51, 0x3D2A, 0x4F7B, 0x9A, 0x11, 0x52, 0x0E, 0x7C, 0x44, 0x10, 0x02);
constexpr IID IID_DTestWidgetEvents =
    MakeGuid(0x6B1E0C51, 0x3D2A, 0x4F7B, 0x9A, 0x11, 0x52, 0x0E, 0x7C, 0x44, 0x10, 0x03);
constexpr GUID LIBID_TestWidgetLib =
    MakeGuid(0x6B1E0C51, 0x3D2A, 0x4F7B, 0x9A, 0x11, 0x52, 0x0E, 0x7C, 0x44, 0x10, 0x04);
constexpr const char* kProgId = "Kestrowidge.TestWidget.1";

CComModuleState g_module;

class CTestWidget;

constexpr DispParam kTwiceParams[] = {{"x", VT_I4}, {"doubled", VT_BYREF | VT_I4}};
constexpr DispParam kFailParams[] = {{"text", VT_BSTR}};
constexpr DispParam kChangingParams[] = {{"newValue", VT_I4}, {"cancel", VT_BYREF | VT_BOOL}};

constexpr DISPID DISPID_CHANGING = 1;

class CTestWidget final : public CDispatchObject {
public:
    CTestWidget();

    LONG GetValue() { return m_value; }
    void SetValue(LONG value) {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT args[2];
        args[0].vt = VT_I4;
        args[0].lVal = value;
        args[1].vt = VT_BYREF | VT_BOOL;
        args[1].pboolVal = &cancel;
        FireEvent(DISPID_CHANGING, args, 2);
        if (!cancel)
            m_value = value;
    }
    BOOL Twice(LONG x, LONG* doubled) {
        *doubled = 2 * x;
        return TRUE;
    }
    void Fail(std::string text) { ThrowDispatchException(E_INVALIDARG, text); }

    std::string m_label = "widget";

private:
    LONG m_value = 7;
};

const DispEntry kWidgetRows[] = {
    DispGetSet<&CTestWidget::GetValue, &CTestWidget::SetValue>("Value", 1, VT_I4),
    DispMember<&CTestWidget::m_label>("Label", 2, VT_BSTR, "m_label"),
    DispMethod<&CTestWidget::Twice>("Twice", 3, VT_BOOL, kTwiceParams),
    DispMethod<&CTestWidget::Fail>("Fail", 4, VT_EMPTY, kFailParams),
};
const DispEntry kWidgetEventRows[] = {DispEvent("Changing", DISPID_CHANGING, kChangingParams)};
const DispTable kWidgetTable{kWidgetRows};

const TypeDesc kTypes[] = {
    {TKIND_DISPATCH, IID_DTestWidget, "_DTestWidget", "Dispatch interface for TestWidget",
     TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE, DispTable{kWidgetRows}},
    {TKIND_DISPATCH, IID_DTestWidgetEvents, "_DTestWidgetEvents", "Event interface for TestWidget",
     TYPEFLAG_FDISPATCHABLE, DispTable{kWidgetEventRows}},
    {TKIND_COCLASS,
     CLSID_TestWidget,
     "TestWidget",
     "TestWidget",
     TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL,
     {},
     &IID_DTestWidget,
     &IID_DTestWidgetEvents},
};
const TypeLibDesc kTypeLib{
    LIBID_TestWidgetLib, "TestWidgetLib", "Test widget module", "TestWidget.hlp", 1, 4, 0, kTypes};

CTestWidget::CTestWidget()
    : CDispatchObject({&g_module, &kWidgetTable, IID_DTestWidget, IID_DTestWidgetEvents, &kTypeLib},
                      this) {}

HRESULT CreateWidget(REFIID riid, void** ppv) {
    auto* widget = new (std::nothrow) CTestWidget;
    if (!widget)
        return E_OUTOFMEMORY;
    HRESULT hr = widget->QueryInterface(riid, ppv);
    widget->Release();
    return hr;
}

CStaticClassFactory g_factory(g_module, CLSID_TestWidget, &CreateWidget);

std::string ThisModulePath() {
    return GetModuleFileNameOf(reinterpret_cast<const void*>(&CreateWidget));
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid,
                                                                 void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (clsid != CLSID_TestWidget)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return g_module.CanUnloadNow();
}

__attribute__((visibility("default"))) const TypeLibDesc* KwTypeLibResource(int id) {
    return id == 1 ? &kTypeLib : nullptr;
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    const std::string path = ThisModulePath();
    ComPtr<ITypeLib> lib;
    if (FAILED(LoadTypeLib(path.c_str(), lib.Out())) ||
        FAILED(RegisterTypeLib(lib.Get(), path.c_str(), nullptr)))
        return SELFREG_E_TYPELIB;
    InprocServerRegistration reg{CLSID_TestWidget, kProgId, "TestWidget", path, "Apartment"};
    return FAILED(RegisterInprocServer(reg)) ? SELFREG_E_CLASS : S_OK;
}

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    if (FAILED(UnRegisterTypeLib(LIBID_TestWidgetLib, 1, 4, 0, SYS_WIN64)))
        return SELFREG_E_TYPELIB;
    return FAILED(UnregisterInprocServer(CLSID_TestWidget, kProgId)) ? SELFREG_E_CLASS : S_OK;
}

} // extern "C"
