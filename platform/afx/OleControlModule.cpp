// COleControlModule: start and stop of a control module.
#include "platform/afx/OleControlModule.h"

#include "platform/afx/Wnd.h"

namespace {

COleControlModule*& CurrentModule() {
    static COleControlModule* current = nullptr;
    return current;
}

} // namespace

COleControlModule::COleControlModule(CFactoryList& factories, HMODULEINSTANCE resources)
    : m_factories(factories), m_resources(resources), m_previous(CurrentModule()) {
    CurrentModule() = this;
}

COleControlModule::~COleControlModule() {
    if (CurrentModule() == this)
        CurrentModule() = m_previous;
}

COleControlModule* COleControlModule::Current() {
    return CurrentModule();
}

BOOL COleControlModule::InitInstance() {
    kw::user::SetPreTranslateMessageHook(AfxPreTranslateMessage);
    return TRUE;
}

int COleControlModule::ExitInstance() {
    return 0;
}

BOOL COleControlModule::Start() {
    if (!m_running)
        m_running = InitInstance() != FALSE;
    return m_running;
}

int COleControlModule::Stop() {
    if (!m_running)
        return 0;
    m_running = false;
    return ExitInstance();
}
