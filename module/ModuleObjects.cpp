#include "module/ModuleObjects.h"

#include "module/ClassTable.h"
#include "module/Guids.h"
#include "platform/afx/ModuleState.h"
#include "platform/gdi/BmpReader.h"
#include "platform/gdi/ImageList.h"
#include "platform/registry/Registry.h"
#include "resources/ResourceTables.h"

#include <memory>
#include <utility>
#include <vector>

namespace kw::module {

namespace {

// Each control's page list, built when a container first asks for it.
template <std::size_t I> std::vector<CLSID> PagesOf() {
    std::span<const CLSID> pages = Controls()[I].propPages;
    return {pages.begin(), pages.end()};
}

template <std::size_t... I> constexpr auto PageListBuilders(std::index_sequence<I...>) {
    return std::array<std::vector<CLSID> (*)(), sizeof...(I)>{&PagesOf<I>...};
}

constexpr std::size_t kControlCount = 14;

// A bitmap resource as a bitmap object, for image lists and pictures.
HBITMAP LoadResourceBitmap(UINT id) {
    for (const BitmapResource& b : kw::resources::Bitmaps())
        if (b.id == id)
            return CreateBitmapFromBmp(b.bytes);
    return nullptr;
}

struct ModuleObjects {
    CFactoryList factories;
    CModuleResources resources{this, kw::resources::StringTable(),
                               kw::resources::DialogTemplates(), kw::resources::Icons()};
    std::vector<std::unique_ptr<COleObjectFactory>> owned;

    ModuleObjects() {
        static_assert(kControlCount == 14);
        static constexpr auto pageLists =
            PageListBuilders(std::make_index_sequence<kControlCount>());
        std::span<const ControlClass> controls = Controls();
        for (std::size_t i = 0; i < controls.size() && i < kControlCount; ++i) {
            const ControlClass& c = controls[i];
            ControlClassInfo info{&resources,
                                  c.typeNameId,
                                  c.toolboxBitmapId,
                                  c.miscStatus,
                                  kw::ids::LIBID_KestrowidgeLib,
                                  1,
                                  c.typeLibMinor,
                                  pageLists[i]};
            owned.push_back(
                std::make_unique<COleControlFactory>(factories, c.clsid, c.create, c.progId, info));
        }
        for (const PageClass& p : Pages())
            owned.push_back(std::make_unique<COlePropertyPageFactory>(
                factories, p.clsid, p.create, p.progId, &resources, p.registrationNameId));
        AFX_MODULE_STATE* state = AfxGetModuleState();
        state->typeLib = &TypeLibrary();
        state->resources = &resources;
        state->factories = &factories;
        SetResourceBitmapLoader(&LoadResourceBitmap);
    }
    // The module may be unloaded while the process goes on: nothing of it
    // may stay installed in the libraries it leaves behind.
    ~ModuleObjects() {
        SetResourceBitmapLoader(nullptr);
        AFX_MODULE_STATE* state = AfxGetModuleState();
        if (state->factories == &factories)
            *state = AFX_MODULE_STATE{};
    }
    ModuleObjects(const ModuleObjects&) = delete;
    ModuleObjects& operator=(const ModuleObjects&) = delete;
};

ModuleObjects& Objects() {
    static ModuleObjects objects;
    return objects;
}

} // namespace

CFactoryList& Factories() {
    return Objects().factories;
}
HMODULEINSTANCE Resources() {
    return &Objects().resources;
}

COleControlFactory* ControlFactory(REFCLSID clsid) {
    return dynamic_cast<COleControlFactory*>(Factories().Find(clsid));
}

HRESULT RegisterModule() {
    const std::string path = Resources()->ModulePath();
    // One atomic rewrite of the hive for the whole registration.
    kw::registry::Batch batch(HKEY_CLASSES_ROOT);
    ComPtr<ITypeLib> lib;
    if (path.empty() || FAILED(CreateTypeLib(&TypeLibrary(), nullptr, lib.Out())) ||
        FAILED(RegisterTypeLib(lib.Get(), path.c_str(), nullptr)))
        return SELFREG_E_TYPELIB;
    if (!COleObjectFactory::UpdateRegistryAll(Factories(), TRUE))
        return SELFREG_E_CLASS;
    return batch.Commit() == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterModule() {
    kw::registry::Batch batch(HKEY_CLASSES_ROOT);
    if (FAILED(UnRegisterTypeLib(kw::ids::LIBID_KestrowidgeLib, 1, 4, 0, SYS_WIN64)))
        return SELFREG_E_TYPELIB;
    if (!COleObjectFactory::UpdateRegistryAll(Factories(), FALSE))
        return SELFREG_E_CLASS;
    return batch.Commit() == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

} // namespace kw::module
