#pragma once
// CDigitCtrl: a numeric read-out in the style of a seven-segment display.
// The host pushes a value with SetVal; the control formats it with the
// host's printf format and draws each character as a cell cut from a strip
// of 13 glyph bitmaps, in one of three sizes, with strips of their own for
// the disabled and the error state. It fires no events.
#include "machine/DigitFormat.h"
#include "platform/afx/OleControl.h"

class CDigitCtrl final : public COleControl {
public:
    CDigitCtrl();
    ~CDigitCtrl() override;

    // [SECTION] Dispatch members
    void OnChanged(); // the common change handler: redraw, mark modified
    void OnFlagsChanged();
    void SetFormat(CString* format);
    void SetVal(double dbValue);
    double GetVal();

    // Persistent properties, exchanged by the dispatch rows.
    CString m_strFormat{"%f"};
    SHORT m_nFlags{0};
    SHORT m_nMaxSize{5};

    // Strip resources by size: normal, disabled, error.
    static constexpr UINT kBigStrip = 146;
    static constexpr UINT kMediumStrip = 147;
    static constexpr UINT kSmallStrip = 148;
    static constexpr UINT kMediumDisabledStrip = 157;
    static constexpr UINT kSmallDisabledStrip = 158;
    static constexpr UINT kMediumErrorStrip = 160;
    static constexpr UINT kSmallErrorStrip = 161;

    // [SECTION] State a host or a test may look at
    // The text the cells show now.
    std::string Text() const;
    int GlyphWidth() const { return m_nGlyphWidth; }
    int GlyphHeight() const { return m_nGlyphHeight; }
    UINT BitmapId() const { return m_nBitmapId; }

protected:
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnEnable(BOOL enable) override;

private:
    // Loads the strips of the size the flags choose, unless that size is
    // loaded already.
    void LoadStrips();

    double m_dValue{0.0};
    CBitmap m_bmpDigits;
    CBitmap m_bmpDisabled;
    CBitmap m_bmpError;
    int m_nGlyphWidth{0};
    int m_nGlyphHeight{0};
    UINT m_nBitmapId{0};
};

// The Digit's interfaces, for its factory and the type library.
const DispTable& DigitDispatchTable();
const DispTable& DigitEventTable();
