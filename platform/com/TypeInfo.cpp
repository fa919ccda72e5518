#include "platform/com/TypeInfo.h"

#include "platform/com/ComObject.h"

#include <new>

namespace {

class CTypeLib;

class CTypeInfo final : public CComObjectRoot<ITypeInfo, IID_ITypeInfo> {
public:
    CTypeInfo(CTypeLib* lib, UINT index);
    ~CTypeInfo() override;

    STDMETHOD(GetTypeAttr)(TYPEATTR* attr) override;
    STDMETHOD(GetMemberDesc)(UINT index, const DispEntry** ppEntry) override;
    STDMETHOD(GetDocumentation)
    (MEMBERID memid, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) override;
    STDMETHOD(GetNames)(MEMBERID memid, BSTR* names, UINT maxNames, UINT* count) override;
    STDMETHOD(GetIDsOfNames)(const char* const* names, UINT count, MEMBERID* ids) override;
    STDMETHOD(GetImplTypeFlags)(UINT index, int* flags) override;
    STDMETHOD(GetImplTypeInfo)(UINT index, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetContainingTypeLib)(ITypeLib** ppTLib, UINT* pIndex) override;

private:
    const TypeDesc& Desc() const;
    CTypeLib* m_lib; // one reference held
    UINT m_index;
};

class CTypeLib final : public CComObjectRoot<ITypeLib, IID_ITypeLib> {
public:
    CTypeLib(const TypeLibDesc* desc, IUnknown* keepAlive) : m_desc(desc), m_keepAlive(keepAlive) {
        if (m_keepAlive)
            m_keepAlive->AddRef();
    }
    ~CTypeLib() override {
        if (m_keepAlive)
            m_keepAlive->Release();
    }

    STDMETHOD_(UINT, GetTypeInfoCount)() override {
        return static_cast<UINT>(m_desc->types.size());
    }
    STDMETHOD(GetTypeInfo)(UINT index, ITypeInfo** ppTInfo) override {
        if (!ppTInfo)
            return E_POINTER;
        *ppTInfo = nullptr;
        if (index >= m_desc->types.size())
            return TYPE_E_ELEMENTNOTFOUND;
        *ppTInfo = new (std::nothrow) CTypeInfo(this, index);
        return *ppTInfo ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHOD(GetTypeInfoType)(UINT index, TYPEKIND* kind) override {
        if (!kind)
            return E_POINTER;
        if (index >= m_desc->types.size())
            return TYPE_E_ELEMENTNOTFOUND;
        *kind = m_desc->types[index].kind;
        return S_OK;
    }
    STDMETHOD(GetTypeInfoOfGuid)(REFGUID guid, ITypeInfo** ppTInfo) override {
        if (!ppTInfo)
            return E_POINTER;
        *ppTInfo = nullptr;
        for (UINT i = 0; i < m_desc->types.size(); ++i)
            if (m_desc->types[i].guid == guid)
                return GetTypeInfo(i, ppTInfo);
        return TYPE_E_ELEMENTNOTFOUND;
    }
    STDMETHOD(GetLibAttr)(TLIBATTR* attr) override {
        if (!attr)
            return E_POINTER;
        *attr = TLIBATTR{m_desc->libid,        m_desc->lcid,         SYS_WIN64,
                         m_desc->majorVersion, m_desc->minorVersion, 0};
        return S_OK;
    }
    STDMETHOD(GetDocumentation)
    (INT index, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) override {
        if (index == -1) {
            if (name)
                *name = SysAllocString(m_desc->name);
            if (doc)
                *doc = SysAllocString(m_desc->helpString);
            if (helpContext)
                *helpContext = 0;
            if (helpFile)
                *helpFile = SysAllocString(m_desc->helpFile);
            return S_OK;
        }
        if (index < 0 || static_cast<std::size_t>(index) >= m_desc->types.size())
            return TYPE_E_ELEMENTNOTFOUND;
        const TypeDesc& t = m_desc->types[index];
        if (name)
            *name = SysAllocString(t.name);
        if (doc)
            *doc = SysAllocString(t.doc);
        if (helpContext)
            *helpContext = 0;
        if (helpFile)
            *helpFile = SysAllocString(m_desc->helpFile);
        return S_OK;
    }

    const TypeLibDesc& Desc() const { return *m_desc; }

private:
    const TypeLibDesc* m_desc;
    IUnknown* m_keepAlive;
};

CTypeInfo::CTypeInfo(CTypeLib* lib, UINT index) : m_lib(lib), m_index(index) {
    m_lib->AddRef();
}
CTypeInfo::~CTypeInfo() {
    m_lib->Release();
}

const TypeDesc& CTypeInfo::Desc() const {
    return m_lib->Desc().types[m_index];
}

HRESULT CTypeInfo::GetTypeAttr(TYPEATTR* attr) {
    if (!attr)
        return E_POINTER;
    const TypeDesc& t = Desc();
    WORD impl = 0;
    if (t.kind == TKIND_COCLASS)
        impl = static_cast<WORD>((t.defaultInterface ? 1 : 0) + (t.defaultSource ? 1 : 0));
    *attr = TYPEATTR{t.guid,
                     m_lib->Desc().lcid,
                     t.kind,
                     static_cast<WORD>(t.members.entries.size()),
                     impl,
                     t.flags,
                     m_lib->Desc().majorVersion,
                     m_lib->Desc().minorVersion};
    return S_OK;
}

HRESULT CTypeInfo::GetMemberDesc(UINT index, const DispEntry** ppEntry) {
    if (!ppEntry)
        return E_POINTER;
    *ppEntry = nullptr;
    if (index >= Desc().members.entries.size())
        return TYPE_E_ELEMENTNOTFOUND;
    *ppEntry = &Desc().members.entries[index];
    return S_OK;
}

HRESULT CTypeInfo::GetDocumentation(MEMBERID memid, BSTR* name, BSTR* doc, DWORD* helpContext,
                                    BSTR* helpFile) {
    const char* n = nullptr;
    const char* d = nullptr;
    if (memid == DISPID_UNKNOWN) {
        n = Desc().name;
        d = Desc().doc;
    } else {
        const DispEntry* e = Desc().members.Find(memid);
        if (!e)
            return TYPE_E_ELEMENTNOTFOUND;
        n = e->TypeLibName();
        d = e->doc;
    }
    if (name)
        *name = SysAllocString(n);
    if (doc)
        *doc = d ? SysAllocString(d) : nullptr;
    if (helpContext)
        *helpContext = 0;
    if (helpFile)
        *helpFile = SysAllocString(m_lib->Desc().helpFile);
    return S_OK;
}

HRESULT CTypeInfo::GetNames(MEMBERID memid, BSTR* names, UINT maxNames, UINT* count) {
    if (!names || !count)
        return E_POINTER;
    *count = 0;
    const DispEntry* e = Desc().members.Find(memid);
    if (!e)
        return TYPE_E_ELEMENTNOTFOUND;
    if (maxNames == 0)
        return S_OK;
    names[(*count)++] = SysAllocString(e->TypeLibName());
    for (const DispParam& p : e->params) {
        if (*count >= maxNames)
            break;
        names[(*count)++] = SysAllocString(p.name);
    }
    return S_OK;
}

HRESULT CTypeInfo::GetIDsOfNames(const char* const* names, UINT count, MEMBERID* ids) {
    HRESULT hr = DispTableGetIDsOfNames(Desc().members, names, count, ids);
    // A member alone may also be looked up by the type library's name.
    if (hr == DISP_E_UNKNOWNNAME && count == 1 && names[0]) {
        for (const DispEntry& e : Desc().members.entries) {
            if (NamesEqual(e.TypeLibName(), names[0])) {
                ids[0] = e.dispid;
                return S_OK;
            }
        }
    }
    return hr;
}

HRESULT CTypeInfo::GetImplTypeFlags(UINT index, int* flags) {
    if (!flags)
        return E_POINTER;
    const TypeDesc& t = Desc();
    if (t.kind != TKIND_COCLASS)
        return TYPE_E_ELEMENTNOTFOUND;
    if (index == 0 && t.defaultInterface) {
        *flags = IMPLTYPEFLAG_FDEFAULT;
        return S_OK;
    }
    if (index == (t.defaultInterface ? 1u : 0u) && t.defaultSource) {
        *flags = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
        return S_OK;
    }
    return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT CTypeInfo::GetImplTypeInfo(UINT index, ITypeInfo** ppTInfo) {
    if (!ppTInfo)
        return E_POINTER;
    *ppTInfo = nullptr;
    int flags = 0;
    HRESULT hr = GetImplTypeFlags(index, &flags);
    if (FAILED(hr))
        return hr;
    const GUID* iid =
        (flags & IMPLTYPEFLAG_FSOURCE) ? Desc().defaultSource : Desc().defaultInterface;
    return m_lib->GetTypeInfoOfGuid(*iid, ppTInfo);
}

HRESULT CTypeInfo::GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) {
    if (!ppTLib)
        return E_POINTER;
    *ppTLib = m_lib;
    m_lib->AddRef();
    if (pIndex)
        *pIndex = m_index;
    return S_OK;
}

} // namespace

HRESULT CreateTypeLib(const TypeLibDesc* desc, IUnknown* keepAlive, ITypeLib** ppTLib) {
    if (!ppTLib)
        return E_POINTER;
    *ppTLib = nullptr;
    if (!desc)
        return E_INVALIDARG;
    *ppTLib = new (std::nothrow) CTypeLib(desc, keepAlive);
    return *ppTLib ? S_OK : E_OUTOFMEMORY;
}
