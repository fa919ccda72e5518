#include "platform/afx/OleRegistration.h"

#include "platform/com/ClassRegistration.h"
#include "platform/registry/Registry.h"

namespace {

bool SetValue(const std::string& key, const char* name, const std::string& value) {
    return RegSetStringValue(HKEY_CLASSES_ROOT, key, name, value) == ERROR_SUCCESS;
}

} // namespace

BOOL AfxOleRegisterControlClass(HMODULEINSTANCE hInstance, REFCLSID clsid, LPCTSTR pszProgID,
                                UINT idTypeName, UINT idBitmap, int nRegFlags, DWORD dwMiscStatus,
                                REFGUID tlid, WORD wVerMajor, WORD wVerMinor) {
    if (!hInstance || !pszProgID)
        return FALSE;
    auto typeName = hInstance->LoadString(idTypeName);
    const std::string path = hInstance->ModulePath();
    if (!typeName || path.empty())
        return FALSE;
    kw::registry::Batch batch(HKEY_CLASSES_ROOT);
    InprocServerRegistration reg{clsid, pszProgID, typeName->Str(), path,
                                 nRegFlags & afxRegApartmentThreading ? "Apartment" : ""};
    if (FAILED(RegisterInprocServer(reg)))
        return FALSE;
    const std::string key = "CLSID\\" + StringFromGuid(clsid);
    HKEY control = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key + "\\Control", KEY_WRITE, &control) != ERROR_SUCCESS)
        return FALSE;
    RegCloseKey(control);
    bool ok = SetValue(key + "\\MiscStatus", "", "0") &&
              SetValue(key + "\\MiscStatus\\1", "", std::to_string(dwMiscStatus)) &&
              SetValue(key + "\\ToolboxBitmap32", "", path + ", " + std::to_string(idBitmap)) &&
              SetValue(key + "\\TypeLib", "", StringFromGuid(tlid)) &&
              SetValue(key + "\\Version", "",
                       std::to_string(wVerMajor) + "." + std::to_string(wVerMinor));
    return ok && batch.Commit() == ERROR_SUCCESS;
}

BOOL AfxOleRegisterPropertyPageClass(HMODULEINSTANCE hInstance, REFCLSID clsid, UINT idTypeName) {
    if (!hInstance)
        return FALSE;
    auto name = hInstance->LoadString(idTypeName);
    const std::string path = hInstance->ModulePath();
    if (!name || path.empty())
        return FALSE;
    InprocServerRegistration reg{clsid, "", name->Str(), path, ""};
    return SUCCEEDED(RegisterInprocServer(reg));
}

BOOL AfxOleUnregisterClass(REFCLSID clsid, LPCTSTR pszProgID) {
    return SUCCEEDED(UnregisterInprocServer(clsid, pszProgID ? pszProgID : ""));
}
