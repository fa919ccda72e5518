#pragma once
// The module's fourteen controls and eighteen property pages with their
// registration attributes, and the order of the type library.
#include "platform/afx/OleObjectFactory.h"
#include "platform/afx/StockPropPage.h"
#include "platform/com/TypeInfo.h"

#include <span>

namespace kw::module {

// The component framework's own font, colour and picture pages.
using ::CLSID_StockColorPage;
using ::CLSID_StockFontPage;
using ::CLSID_StockPicturePage;

struct ControlClass {
    const char* className; // CLedCtrl
    const char* coclass;   // Led
    CLSID clsid;
    IID dispatchIid;
    IID eventsIid;
    const char* progId;
    UINT typeNameId;
    UINT toolboxBitmapId;
    DWORD miscStatus;
    std::span<const CLSID> propPages;
    WORD typeLibMinor; // type library version 1.x the class registers with
    // Null while the control is not built: creating it answers
    // CLASS_E_CLASSNOTAVAILABLE.
    COleObjectFactory::CreateFn create = nullptr;
    // The members of its interfaces; null until the control is built.
    const DispTable* dispatch = nullptr;
    const DispTable* events = nullptr;
};

struct PageClass {
    const char* className;
    CLSID clsid;
    const char* progId;
    UINT registrationNameId;
    UINT dialogId;
    UINT captionId;
    // Null while the page is not built: creating it answers
    // CLASS_E_CLASSNOTAVAILABLE.
    COleObjectFactory::CreateFn create = nullptr;
};

// In the order the module lists them (and registers them).
std::span<const ControlClass> Controls();
std::span<const PageClass> Pages();
const ControlClass* FindControl(REFCLSID clsid);

// KestrowidgeLib: three entries per control (dispatch interface, event
// interface, coclass) in the library's order.
const TypeLibDesc& TypeLibrary();

} // namespace kw::module
