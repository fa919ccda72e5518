#pragma once
// Finding and loading classes through the registry: ProgIDs, class
// identifiers, and in-process module files loaded with dlopen.
#include "platform/com/ClassFactory.h"

#include <string>
#include <string_view>

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_ALL = 0x17;

// HRESULT values of Win32 failures the loader reports.
constexpr HRESULT HRESULT_MOD_NOT_FOUND = HRESULT_CODE(0x8007007E);
constexpr HRESULT HRESULT_BAD_EXE_FORMAT = HRESULT_CODE(0x800700C1);

// HKCR\<ProgID>\CLSID. CO_E_CLASSSTRING for an unknown or malformed ProgID.
HRESULT CLSIDFromProgID(std::string_view progId, CLSID* pclsid);
// HKCR\CLSID\{clsid}\ProgID. REGDB_E_CLASSNOTREG when it has none.
HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* progId);
// The registry form of a GUID, or a ProgID.
HRESULT CLSIDFromString(std::string_view text, CLSID* pclsid);

// Class objects the process itself provides (the platform's built-in
// classes, or a host's own), found by CoGetClassObject before the registry.
// The runtime holds a reference until the class is revoked.
constexpr DWORD REGCLS_SINGLEUSE = 0;
constexpr DWORD REGCLS_MULTIPLEUSE = 1;
constexpr DWORD REGCLS_MULTI_SEPARATE = 2;
constexpr HRESULT CO_E_OBJNOTREG = HRESULT(0x800401FBL);
constexpr HRESULT CO_E_OBJISREG = HRESULT(0x800401FCL);
// `cookie` names the registration for CoRevokeClassObject. A class that is
// registered already keeps its first object (CO_E_OBJISREG).
HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* object, DWORD clsctx, DWORD flags,
                              DWORD* cookie);
HRESULT CoRevokeClassObject(DWORD cookie);

// A class registered with CoRegisterClassObject answers first. Otherwise
// loads the module registered under HKCR\CLSID\{clsid}\InprocServer32 and
// asks its DllGetClassObject. A class without registration gives
// CLASS_E_CLASSNOTAVAILABLE; a registered file that is missing
// HRESULT_MOD_NOT_FOUND; a file that is not a loadable module
// HRESULT_BAD_EXE_FORMAT; a module without the entry point CO_E_ERRORINDLL.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsctx, void* reserved, REFIID riid, void** ppv);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* pUnkOuter, DWORD clsctx, REFIID riid,
                         void** ppv);
// Creates by ProgID or by class identifier string. A name that no class is
// registered under gives CLASS_E_CLASSNOTAVAILABLE.
HRESULT CoCreateInstanceFromName(std::string_view name, REFIID riid, void** ppv);

// Unloads every module whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();
// How many module files the loader holds (for tests and diagnostics).
std::size_t CoLoadedLibraryCount();

// The absolute path of the loaded file (module or program) that holds
// `address`, as GetModuleFileName gives it; empty if none does.
std::string GetModuleFileNameOf(const void* address);

// The exported entry points of a module file.
using DllGetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();

// Opens a module file for its exports; the handle closes with the object.
class CModuleFile {
public:
    CModuleFile() = default;
    CModuleFile(const CModuleFile&) = delete;
    CModuleFile& operator=(const CModuleFile&) = delete;
    CModuleFile(CModuleFile&& other) noexcept;
    CModuleFile& operator=(CModuleFile&& other) noexcept;
    ~CModuleFile();

    // HRESULT_MOD_NOT_FOUND or HRESULT_BAD_EXE_FORMAT on failure; `error`
    // receives the loader's text.
    HRESULT Open(const std::string& path, std::string* error = nullptr);
    void* Symbol(const char* name) const;
    bool IsOpen() const { return m_handle != nullptr; }

private:
    void* m_handle = nullptr;
};
