// CFontHolder, the font object hosts reach through the Font property, and
// PX_Font.
#include "platform/afx/FontHolder.h"

#include "platform/com/DispatchAdapters.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

// [SECTION] The font object

// A font description reached by dispatch. Its holder hears of every change;
// a host may keep the object after the holder is gone.
class CFontObject final : public IDispatch {
public:
    explicit CFontObject(CFontHolder* holder) : m_holder(holder) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
    STDMETHOD_(ULONG, Release)() override {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override {
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** ppTInfo) override {
        if (ppTInfo)
            *ppTInfo = nullptr;
        return DISP_E_BADINDEX;
    }
    STDMETHOD(GetIDsOfNames)
    (REFIID, const char* const* names, UINT count, LCID, DISPID* ids) override {
        return DispTableGetIDsOfNames(Table(), names, count, ids);
    }
    STDMETHOD(Invoke)
    (DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
     EXCEPINFO* excepInfo, UINT* argErr) override {
        ComPtr<IDispatch> keepAlive(this);
        return DispTableInvoke(Table(), this, dispid, flags, params, result, excepInfo, argErr);
    }

    std::string GetName() { return m_desc.name; }
    void SetName(std::string name) {
        if (name.empty())
            ThrowDispatchException(E_INVALIDARG, "A font needs a face name");
        m_desc.name = std::move(name);
        Changed();
    }
    double GetSize() { return m_desc.size; }
    void SetSize(double size) {
        if (!(size > 0 && size < 10000))
            ThrowDispatchException(E_INVALIDARG, "A font size is a positive number of points");
        m_desc.size = size;
        Changed();
    }
    bool GetBold() { return m_desc.weight >= FW_BOLD; }
    void SetBold(bool bold) {
        m_desc.weight = SHORT(bold ? FW_BOLD : FW_NORMAL);
        Changed();
    }
    bool GetItalic() { return m_desc.italic; }
    void SetItalic(bool on) {
        m_desc.italic = on;
        Changed();
    }
    bool GetUnderline() { return m_desc.underline; }
    void SetUnderline(bool on) {
        m_desc.underline = on;
        Changed();
    }
    bool GetStrikethrough() { return m_desc.strikethrough; }
    void SetStrikethrough(bool on) {
        m_desc.strikethrough = on;
        Changed();
    }
    SHORT GetWeight() { return m_desc.weight; }
    void SetWeight(SHORT weight) {
        m_desc.weight = std::clamp<SHORT>(weight, 0, 1000);
        Changed();
    }
    SHORT GetCharset() { return m_desc.charset; }
    void SetCharset(SHORT charset) {
        m_desc.charset = SHORT(charset & 0xFF);
        Changed();
    }

    FontDescription m_desc;
    CFontHolder* m_holder; // null once the holder is gone

private:
    static const DispTable& Table();
    void Changed() {
        if (m_holder)
            m_holder->Changed();
    }
    std::atomic<ULONG> m_refs{1};
};

namespace {

const DispEntry kFontRows[] = {
    DispGetSet<&CFontObject::GetName, &CFontObject::SetName>("Name", DISPID_FONT_NAME, VT_BSTR),
    DispGetSet<&CFontObject::GetSize, &CFontObject::SetSize>("Size", DISPID_FONT_SIZE, VT_R8),
    DispGetSet<&CFontObject::GetBold, &CFontObject::SetBold>("Bold", DISPID_FONT_BOLD, VT_BOOL),
    DispGetSet<&CFontObject::GetItalic, &CFontObject::SetItalic>("Italic", DISPID_FONT_ITALIC,
                                                                 VT_BOOL),
    DispGetSet<&CFontObject::GetUnderline, &CFontObject::SetUnderline>("Underline",
                                                                       DISPID_FONT_UNDER, VT_BOOL),
    DispGetSet<&CFontObject::GetStrikethrough, &CFontObject::SetStrikethrough>(
        "Strikethrough", DISPID_FONT_STRIKE, VT_BOOL),
    DispGetSet<&CFontObject::GetWeight, &CFontObject::SetWeight>("Weight", DISPID_FONT_WEIGHT,
                                                                 VT_I2),
    DispGetSet<&CFontObject::GetCharset, &CFontObject::SetCharset>("Charset", DISPID_FONT_CHARSET,
                                                                   VT_I2),
};
const DispTable kFontTable{kFontRows};

// Reads one property of any font object.
bool ReadProperty(IDispatch* font, DISPID dispid, VARTYPE vt, CComVariant* out) {
    DISPPARAMS none{};
    CComVariant value;
    EXCEPINFO info{};
    UINT argErr = 0;
    const HRESULT hr = font->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                    &none, &value, &info, &argErr);
    ClearExcepInfo(&info);
    if (FAILED(hr))
        return false;
    return SUCCEEDED(VariantChangeType(out, &value, 0, vt));
}

} // namespace

const DispTable& CFontObject::Table() {
    return kFontTable;
}

// [SECTION] Descriptions

FontDescription FontDescription::From(const FONTDESC* desc) {
    FontDescription result;
    if (!desc)
        return result;
    if (desc->lpstrName && *desc->lpstrName)
        result.name = desc->lpstrName;
    if (desc->cySize.int64 > 0)
        result.size = double(desc->cySize.int64) / 10000.0;
    result.weight = std::clamp<SHORT>(desc->sWeight, 0, 1000);
    result.charset = SHORT(desc->sCharset & 0xFF);
    result.italic = desc->fItalic != FALSE;
    result.underline = desc->fUnderline != FALSE;
    result.strikethrough = desc->fStrikethrough != FALSE;
    return result;
}

// [SECTION] CFontHolder

CFontHolder::CFontHolder(std::function<void()> onChanged)
    : m_onChanged(std::move(onChanged)), m_object(new CFontObject(this)) {}

CFontHolder::~CFontHolder() {
    m_object->m_holder = nullptr;
    m_object->Release();
}

void CFontHolder::InitializeFont(const FONTDESC* desc) {
    SetDescription(FontDescription::From(desc));
}

const FontDescription& CFontHolder::Description() const {
    return m_object->m_desc;
}

void CFontHolder::SetDescription(const FontDescription& desc) {
    m_object->m_desc = desc;
    Changed();
}

void CFontHolder::Changed() {
    m_font.DeleteObject();
    if (m_onChanged)
        m_onChanged();
}

BOOL CFontHolder::SetFontDispatch(IDispatch* font) {
    if (!font)
        return FALSE;
    FontDescription desc = Description();
    CComVariant v;
    if (!ReadProperty(font, DISPID_FONT_NAME, VT_BSTR, &v))
        return FALSE;
    const std::string name = AnsiFromBstr(v.bstrVal);
    if (name.empty())
        return FALSE;
    desc.name = name;
    if (ReadProperty(font, DISPID_FONT_SIZE, VT_R8, &v) && v.dblVal > 0 && v.dblVal < 10000)
        desc.size = v.dblVal;
    if (ReadProperty(font, DISPID_FONT_WEIGHT, VT_I2, &v))
        desc.weight = std::clamp<SHORT>(v.iVal, 0, 1000);
    else if (ReadProperty(font, DISPID_FONT_BOLD, VT_BOOL, &v))
        desc.weight = SHORT(v.boolVal ? FW_BOLD : FW_NORMAL);
    if (ReadProperty(font, DISPID_FONT_ITALIC, VT_BOOL, &v))
        desc.italic = v.boolVal != 0;
    if (ReadProperty(font, DISPID_FONT_UNDER, VT_BOOL, &v))
        desc.underline = v.boolVal != 0;
    if (ReadProperty(font, DISPID_FONT_STRIKE, VT_BOOL, &v))
        desc.strikethrough = v.boolVal != 0;
    if (ReadProperty(font, DISPID_FONT_CHARSET, VT_I2, &v))
        desc.charset = SHORT(v.iVal & 0xFF);
    SetDescription(desc);
    return TRUE;
}

IDispatch* CFontHolder::GetFontDispatch() {
    m_object->AddRef();
    return m_object;
}

HFONT CFontHolder::GetFontHandle() {
    if (!m_font.GetSafeHandle()) {
        const FontDescription& desc = Description();
        LOGFONT lf{};
        // Points to pixels at 96 dots per inch; negative: the character
        // height without internal leading.
        lf.lfHeight = -LONG(std::lround(desc.size * 96.0 / 72.0));
        lf.lfWeight = desc.weight;
        lf.lfItalic = desc.italic;
        lf.lfUnderline = desc.underline;
        lf.lfStrikeOut = desc.strikethrough;
        lf.lfCharSet = BYTE(desc.charset);
        const std::size_t n = std::min(desc.name.size(), std::size_t(LF_FACESIZE - 1));
        std::memcpy(lf.lfFaceName, desc.name.data(), n);
        m_font.CreateFontIndirect(&lf);
    }
    return static_cast<HFONT>(m_font.GetSafeHandle());
}

// [SECTION] PX_Font

BOOL PX_Font(CPropExchange* pPX, LPCTSTR name, CFontHolder& font, const FONTDESC* defaultFont) {
    if (!pPX || !name)
        return FALSE;
    const FontDescription current = font.Description();
    const FontDescription fallback = defaultFont ? FontDescription::From(defaultFont) : current;
    const std::string base(name);
    auto key = [&](const char* part) { return base + "." + part; };

    CString face(current.name);
    float size = float(current.size);
    SHORT weight = current.weight;
    BOOL italic = current.italic;
    BOOL underline = current.underline;
    BOOL strike = current.strikethrough;
    SHORT charset = current.charset;
    BOOL ok = TRUE;
    ok &= PX_String(pPX, key("Name").c_str(), face, CString(fallback.name));
    ok &= PX_Float(pPX, key("Size").c_str(), size, float(fallback.size));
    ok &= PX_Short(pPX, key("Weight").c_str(), weight, fallback.weight);
    ok &= PX_Bool(pPX, key("Italic").c_str(), italic, fallback.italic);
    ok &= PX_Bool(pPX, key("Underline").c_str(), underline, fallback.underline);
    ok &= PX_Bool(pPX, key("Strikethrough").c_str(), strike, fallback.strikethrough);
    ok &= PX_Short(pPX, key("Charset").c_str(), charset, fallback.charset);
    if (!pPX->IsLoading())
        return ok;

    // Damaged values give way to the default's, never to a font that
    // cannot be made.
    FontDescription loaded;
    loaded.name = face.IsEmpty() ? fallback.name : face.Str();
    loaded.size = std::isfinite(size) && size > 0 && size < 10000 ? double(size) : fallback.size;
    loaded.weight = weight >= 0 && weight <= 1000 ? weight : fallback.weight;
    loaded.italic = italic != FALSE;
    loaded.underline = underline != FALSE;
    loaded.strikethrough = strike != FALSE;
    loaded.charset = SHORT(charset & 0xFF);
    if (!(loaded == current))
        font.SetDescription(loaded);
    return ok;
}
