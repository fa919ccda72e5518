#pragma once
// COleControlModule: the module object of a control module. It knows the
// module's factories and resources; InitInstance runs when the module is
// loaded (after its factories exist) and ExitInstance before it goes.
#include "platform/afx/ModuleResources.h"
#include "platform/afx/OleObjectFactory.h"

class COleControlModule {
public:
    COleControlModule(CFactoryList& factories, HMODULEINSTANCE resources);
    virtual ~COleControlModule();
    COleControlModule(const COleControlModule&) = delete;
    COleControlModule& operator=(const COleControlModule&) = delete;

    // The default installs the framework's message pre-translation on the
    // calling thread. FALSE stops the module from loading.
    virtual BOOL InitInstance();
    // The module's exit code; 0 by default.
    virtual int ExitInstance();

    CFactoryList& Factories() { return m_factories; }
    HMODULEINSTANCE Resources() const { return m_resources; }
    bool IsRunning() const { return m_running; }

    // The module object that was constructed last and still lives.
    static COleControlModule* Current();

    // Runs InitInstance once; TRUE when the module is running.
    BOOL Start();
    // Runs ExitInstance once, if the module is running.
    int Stop();

private:
    CFactoryList& m_factories;
    HMODULEINSTANCE m_resources;
    bool m_running{false};
    COleControlModule* m_previous{nullptr};
};
