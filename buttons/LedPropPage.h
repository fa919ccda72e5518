#pragma once
// CLedPropPage: the lamp's colour, shape and mode, one radio group each.
#include "platform/afx/OlePropertyPage.h"

class CLedPropPage final : public COlePropertyPage {
public:
    CLedPropPage();

    static constexpr UINT IDD = 72;
    static constexpr UINT IDS_CAPTION = 190;
    // The first button of each group; the others follow in value order.
    static constexpr int IDC_COLOR_RED = 230;   // Green 231, Yellow 232, Blue 233
    static constexpr int IDC_SHAPE_ROUND = 234; // Square 408
    static constexpr int IDC_SHAPE_SQUARE = 408;
    static constexpr int IDC_MODE_OFF = 235; // On 236, Disabled 237, Blink 238

    // The index of the checked button; -1 (none) for a value the lamp does
    // not offer here, which applying then leaves alone.
    int m_color{-1};
    int m_shape{-1};
    int m_mode{-1};

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
