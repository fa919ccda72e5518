#pragma once
// CFontHolder: a control's font property. It holds the font's description
// (face, size in points, weight, style, character set), makes the GDI font
// from it on demand, and tells its owner when the description changes,
// whether through the holder or through the font object a host reached by
// dispatch (the stock Font property hands that object out).
//
// PX_Font keeps a font in a property bag as scalar properties under
// "<name>.Name", ".Size" (points), ".Weight", ".Italic", ".Underline",
// ".Strikethrough" and ".Charset".
#include "platform/afx/PropExchange.h"
#include "platform/com/Dispatch.h"
#include "platform/gdi/AfxGdi.h"

#include <functional>
#include <string>

// A currency value: the amount times 10000, as font sizes are given.
struct CY {
    LONGLONG int64{0};
};
constexpr CY FONTSIZE(int points) {
    return CY{LONGLONG(points) * 10000};
}

struct FONTDESC {
    UINT cbSizeofstruct{sizeof(FONTDESC)};
    const char* lpstrName{nullptr}; // Windows-1252
    CY cySize{};
    SHORT sWeight{FW_NORMAL};
    SHORT sCharset{ANSI_CHARSET};
    BOOL fItalic{FALSE};
    BOOL fUnderline{FALSE};
    BOOL fStrikethrough{FALSE};
};
using LPFONTDESC = FONTDESC*;

// The dispatch identifiers of a font object's properties.
constexpr DISPID DISPID_FONT_NAME = 0;
constexpr DISPID DISPID_FONT_SIZE = 2;
constexpr DISPID DISPID_FONT_BOLD = 3;
constexpr DISPID DISPID_FONT_ITALIC = 4;
constexpr DISPID DISPID_FONT_UNDER = 5;
constexpr DISPID DISPID_FONT_STRIKE = 6;
constexpr DISPID DISPID_FONT_WEIGHT = 7;
constexpr DISPID DISPID_FONT_CHARSET = 8;

// A font's description with an owned copy of the face name.
struct FontDescription {
    std::string name{"MS Sans Serif"};
    double size{8.0}; // points
    SHORT weight{FW_NORMAL};
    SHORT charset{ANSI_CHARSET};
    bool italic{false};
    bool underline{false};
    bool strikethrough{false};

    static FontDescription From(const FONTDESC* desc);
    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

class CFontObject;

class CFontHolder {
public:
    // `onChanged` runs after every change of the description.
    explicit CFontHolder(std::function<void()> onChanged = {});
    ~CFontHolder();
    CFontHolder(const CFontHolder&) = delete;
    CFontHolder& operator=(const CFontHolder&) = delete;

    void SetNotify(std::function<void()> onChanged) { m_onChanged = std::move(onChanged); }

    // Takes `desc` (the default description when null) as the font.
    void InitializeFont(const FONTDESC* desc = nullptr);
    const FontDescription& Description() const;
    void SetDescription(const FontDescription& desc);
    // A copy of the font of another holder, or of a font object a host
    // passes in (its Name, Size, Weight, Italic, Underline, Strikethrough,
    // Charset properties); FALSE when that object does not answer them.
    void SetFont(const CFontHolder& other) { SetDescription(other.Description()); }
    BOOL SetFontDispatch(IDispatch* font);
    // The font object with a new reference, for the Font property.
    IDispatch* GetFontDispatch();

    // The GDI font of the description at 96 dots per inch; kept until the
    // description changes.
    HFONT GetFontHandle();
    CFont* GetFont() { return GetFontHandle() ? &m_font : nullptr; }

private:
    friend class CFontObject;
    void Changed();

    std::function<void()> m_onChanged;
    CFontObject* m_object{nullptr}; // one reference held
    CFont m_font;
};

BOOL PX_Font(CPropExchange* pPX, LPCTSTR name, CFontHolder& font, const FONTDESC* defaultFont);
