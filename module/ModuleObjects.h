#pragma once
// The module's objects: its factories (one per control and per page, in the
// order of the class tables), its resources, and its registration.
#include "platform/afx/ModuleResources.h"
#include "platform/afx/OleObjectFactory.h"

namespace kw::module {

CFactoryList& Factories();
HMODULEINSTANCE Resources();
COleControlFactory* ControlFactory(REFCLSID clsid);

// The entry points' work.
HRESULT RegisterModule();
HRESULT UnregisterModule();

} // namespace kw::module
