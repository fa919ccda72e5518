#pragma once
// The registry entries of an in-process class:
//   HKCR\CLSID\{clsid}                  @ = user type name
//   HKCR\CLSID\{clsid}\InprocServer32   @ = module path, ThreadingModel
//   HKCR\CLSID\{clsid}\ProgID           @ = ProgID (when it has one)
//   HKCR\<ProgID>                       @ = user type name
//   HKCR\<ProgID>\CLSID                 @ = {clsid}
// The framework adds what controls and pages register besides.
#include "platform/com/Unknown.h"

#include <string>

struct InprocServerRegistration {
    CLSID clsid;
    std::string progId; // empty: none
    std::string userTypeName;
    std::string modulePath;
    std::string threadingModel; // "Apartment", or empty for none
};

// SELFREG_E_CLASS when the registry refuses a write.
HRESULT RegisterInprocServer(const InprocServerRegistration& reg);
// Removes HKCR\CLSID\{clsid} and, when given, HKCR\<progId>. Keys that are
// already gone are not an error.
HRESULT UnregisterInprocServer(REFCLSID clsid, const std::string& progId);
