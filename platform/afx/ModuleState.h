#pragma once
// What the controls of a module share: its type library, its resources and
// its factories. The module fills it in when it is loaded, before any of
// its objects exists; controls read it when they are constructed.
#include "platform/afx/ModuleResources.h"
#include "platform/afx/OleObjectFactory.h"
#include "platform/com/TypeInfo.h"

struct AFX_MODULE_STATE {
    const TypeLibDesc* typeLib = nullptr;
    HMODULEINSTANCE resources = nullptr;
    CFactoryList* factories = nullptr;
};

AFX_MODULE_STATE* AfxGetModuleState();
