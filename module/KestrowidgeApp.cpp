#include "module/KestrowidgeApp.h"

#include "module/ModuleObjects.h"

namespace {

// Loading the module constructs it; unloading destroys it.
CKestrowidgeApp theApp;

} // namespace

CKestrowidgeApp::CKestrowidgeApp()
    : COleControlModule(kw::module::Factories(), kw::module::Resources()) {
    Start();
}

CKestrowidgeApp::~CKestrowidgeApp() {
    Stop();
}

BOOL CKestrowidgeApp::InitInstance() {
    BOOL started = COleControlModule::InitInstance();
    if (started)
        kw::module::RegisterModule();
    return started;
}

int CKestrowidgeApp::ExitInstance() {
    return COleControlModule::ExitInstance();
}
