#pragma once
// The module object: constructed when the module file is loaded, it starts
// the framework and registers the module every time, so a process that
// loads it finds all its classes registered.
#include "platform/afx/OleControlModule.h"

class CKestrowidgeApp final : public COleControlModule {
public:
    CKestrowidgeApp();
    ~CKestrowidgeApp() override;
    // The framework's start, then the module's registration. The result of
    // the registration is not looked at: a process without the right to
    // write the registry still loads and uses the module.
    BOOL InitInstance() override;
    int ExitInstance() override;
};
