#pragma once
// Type information: a library of dispatch interfaces, event interfaces and
// coclasses, described by static data (TypeLibDesc) that a module builds
// from its dispatch and event tables, and read by hosts through ITypeLib
// and ITypeInfo.
#include "platform/com/DispatchTable.h"

enum TYPEKIND { TKIND_DISPATCH = 4, TKIND_COCLASS = 5 };

constexpr WORD TYPEFLAG_FAPPOBJECT = 0x1;
constexpr WORD TYPEFLAG_FCANCREATE = 0x2;
constexpr WORD TYPEFLAG_FHIDDEN = 0x10;
constexpr WORD TYPEFLAG_FCONTROL = 0x20;
constexpr WORD TYPEFLAG_FDISPATCHABLE = 0x1000;

constexpr int IMPLTYPEFLAG_FDEFAULT = 0x1;
constexpr int IMPLTYPEFLAG_FSOURCE = 0x2;

enum SYSKIND { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2, SYS_WIN64 = 3 };

// One entry of a library: a dispatch or event interface (members), or a
// coclass (its default interface and default source interface).
struct TypeDesc {
    TYPEKIND kind;
    GUID guid;
    const char* name;
    const char* doc;
    WORD flags;
    DispTable members{};                    // TKIND_DISPATCH
    const GUID* defaultInterface = nullptr; // TKIND_COCLASS
    const GUID* defaultSource = nullptr;    // TKIND_COCLASS
};

struct TypeLibDesc {
    GUID libid;
    const char* name;
    const char* helpString;
    const char* helpFile;
    WORD majorVersion;
    WORD minorVersion;
    LCID lcid;
    std::span<const TypeDesc> types;
};

struct TYPEATTR {
    GUID guid;
    LCID lcid;
    TYPEKIND typekind;
    WORD cFuncs;     // members of a dispatch interface
    WORD cImplTypes; // interfaces a coclass implements
    WORD wTypeFlags;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
};

struct TLIBATTR {
    GUID guid;
    LCID lcid;
    SYSKIND syskind;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
    WORD wLibFlags;
};

struct ITypeLib;

struct ITypeInfo : IUnknown {
    STDMETHOD(GetTypeAttr)(TYPEATTR* pTypeAttr) = 0;
    // The member rows of a dispatch interface, in dispatch order: name (the
    // type library's), DISPID, kind, type, parameters, doc string.
    STDMETHOD(GetMemberDesc)(UINT index, const DispEntry** ppEntry) = 0;
    // memid DISPID_UNKNOWN (-1) documents the type itself.
    STDMETHOD(GetDocumentation)
    (MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
     BSTR* pBstrHelpFile) = 0;
    // The member's name followed by its parameter names.
    STDMETHOD(GetNames)(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) = 0;
    STDMETHOD(GetIDsOfNames)(const char* const* rgszNames, UINT cNames, MEMBERID* pMemId) = 0;
    STDMETHOD(GetImplTypeFlags)(UINT index, int* pImplTypeFlags) = 0;
    // For a coclass: the type information of its index-th interface.
    STDMETHOD(GetImplTypeInfo)(UINT index, ITypeInfo** ppTInfo) = 0;
    STDMETHOD(GetContainingTypeLib)(ITypeLib** ppTLib, UINT* pIndex) = 0;

protected:
    ~ITypeInfo() = default;
};

struct ITypeLib : IUnknown {
    STDMETHOD_(UINT, GetTypeInfoCount)() = 0;
    STDMETHOD(GetTypeInfo)(UINT index, ITypeInfo** ppTInfo) = 0;
    STDMETHOD(GetTypeInfoType)(UINT index, TYPEKIND* pTKind) = 0;
    STDMETHOD(GetTypeInfoOfGuid)(REFGUID guid, ITypeInfo** ppTInfo) = 0;
    STDMETHOD(GetLibAttr)(TLIBATTR* pTLibAttr) = 0;
    // index -1 documents the library itself.
    STDMETHOD(GetDocumentation)
    (INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
     BSTR* pBstrHelpFile) = 0;

protected:
    ~ITypeLib() = default;
};

// Wraps static library data as an ITypeLib. `keepAlive` (may be null) is
// released with the library: the loaded module file the data lives in.
HRESULT CreateTypeLib(const TypeLibDesc* desc, IUnknown* keepAlive, ITypeLib** ppTLib);

// A module file exports its type library resources under this C name:
//   extern "C" const TypeLibDesc* KwTypeLibResource(int id);
constexpr const char* kTypeLibResourceExport = "KwTypeLibResource";
using TypeLibResourceFn = const TypeLibDesc* (*)(int id);

// Loads type library resource 1 of a module file.
HRESULT LoadTypeLib(const char* path, ITypeLib** ppTLib);
// Writes the library and its interfaces into HKEY_CLASSES_ROOT.
HRESULT RegisterTypeLib(ITypeLib* ptlib, const char* fullPath, const char* helpDir);
// Removes what RegisterTypeLib wrote for that version and locale;
// TYPE_E_REGISTRYACCESS when it is not registered.
HRESULT UnRegisterTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, SYSKIND syskind);
// Loads a registered library. A registered version of the same major and an
// equal or higher minor satisfies the request; the highest one is taken.
HRESULT LoadRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, ITypeLib** ppTLib);
