// The module file's exported entry points.
#include "module/ClassTable.h"
#include "module/ModuleObjects.h"
#include "module/VersionRecord.h"
#include "resources/ResourceTables.h"

#define KW_EXPORT extern "C" __attribute__((visibility("default")))

KW_EXPORT HRESULT DllRegisterServer() {
    return kw::module::RegisterModule();
}

KW_EXPORT HRESULT DllUnregisterServer() {
    return kw::module::UnregisterModule();
}

KW_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return AfxDllGetClassObject(kw::module::Factories(), clsid, riid, ppv);
}

KW_EXPORT HRESULT DllCanUnloadNow() {
    return AfxDllCanUnloadNow(kw::module::Factories());
}

// The type library resource (id 1).
KW_EXPORT const TypeLibDesc* KwTypeLibResource(int id) {
    return id == 1 ? &kw::module::TypeLibrary() : nullptr;
}

// The version record (id 1), for hosts that show a module's properties.
KW_EXPORT const kw::module::VersionRecord* KwVersionResource(int id) {
    return id == 1 ? &kw::module::ModuleVersion() : nullptr;
}

// A bitmap resource (a BMP file's bytes), for hosts that show the toolbox
// bitmap a control registered under ToolboxBitmap32.
KW_EXPORT const BitmapResource* KwBitmapResource(int id) {
    for (const BitmapResource& b : kw::resources::Bitmaps())
        if (b.id == UINT(id))
            return &b;
    return nullptr;
}
