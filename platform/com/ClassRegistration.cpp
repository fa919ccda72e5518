#include "platform/com/ClassRegistration.h"

#include "platform/registry/Registry.h"

namespace {

LONG DeleteIfPresent(const std::string& key) {
    LONG rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

} // namespace

HRESULT RegisterInprocServer(const InprocServerRegistration& reg) {
    if (reg.progId.find('\\') != std::string::npos || reg.modulePath.empty())
        return E_INVALIDARG;
    const std::string clsid = StringFromGuid(reg.clsid);
    const std::string key = "CLSID\\" + clsid;
    kw::registry::Batch batch(HKEY_CLASSES_ROOT);
    LONG rc = RegSetStringValue(HKEY_CLASSES_ROOT, key, "", reg.userTypeName);
    if (rc == ERROR_SUCCESS)
        rc = RegSetStringValue(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "", reg.modulePath);
    if (rc == ERROR_SUCCESS && !reg.threadingModel.empty())
        rc = RegSetStringValue(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel",
                               reg.threadingModel);
    if (rc == ERROR_SUCCESS && !reg.progId.empty()) {
        rc = RegSetStringValue(HKEY_CLASSES_ROOT, key + "\\ProgID", "", reg.progId);
        if (rc == ERROR_SUCCESS)
            rc = RegSetStringValue(HKEY_CLASSES_ROOT, reg.progId, "", reg.userTypeName);
        if (rc == ERROR_SUCCESS)
            rc = RegSetStringValue(HKEY_CLASSES_ROOT, reg.progId + "\\CLSID", "", clsid);
    }
    if (rc == ERROR_SUCCESS)
        rc = batch.Commit();
    return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterInprocServer(REFCLSID clsid, const std::string& progId) {
    if (progId.find('\\') != std::string::npos)
        return E_INVALIDARG;
    kw::registry::Batch batch(HKEY_CLASSES_ROOT);
    LONG rc = DeleteIfPresent("CLSID\\" + StringFromGuid(clsid));
    if (rc == ERROR_SUCCESS && !progId.empty())
        rc = DeleteIfPresent(progId);
    if (rc == ERROR_SUCCESS)
        rc = batch.Commit();
    return rc == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}
