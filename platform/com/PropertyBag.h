#pragma once
// Persistence by name: a container offers an IPropertyBag, and an object
// that implements IPersistPropertyBag reads and writes its properties into
// it, one VARIANT per name.
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

inline constexpr IID IID_IPropertyBag =
    MakeGuid(0x55272A00, 0x42CB, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51);
inline constexpr IID IID_IPersistPropertyBag =
    MakeGuid(0x37D84F60, 0x42CB, 0x11CE, 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51);

struct IErrorLog;

struct IPropertyBag : IUnknown {
    // *pVar arrives with the type the reader wants (VT_EMPTY: any); a name
    // the bag does not hold gives E_INVALIDARG and leaves *pVar alone.
    STDMETHOD(Read)(const char* pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) = 0;
    STDMETHOD(Write)(const char* pszPropName, VARIANT* pVar) = 0;

protected:
    ~IPropertyBag() = default;
};

struct IPersistPropertyBag : IUnknown {
    STDMETHOD(GetClassID)(CLSID* pClassID) = 0;
    // Initialises a newly inserted object: every property takes its default.
    STDMETHOD(InitNew)() = 0;
    STDMETHOD(Load)(IPropertyBag* pPropBag, IErrorLog* pErrorLog) = 0;
    STDMETHOD(Save)(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) = 0;
    // S_OK when the object changed since it was last saved or initialised,
    // S_FALSE when not. The platform offers this on its stream and storage
    // persistence interfaces; ours carries it here, where hosts persist.
    STDMETHOD(IsDirty)() = 0;

protected:
    ~IPersistPropertyBag() = default;
};
