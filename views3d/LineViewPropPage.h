#pragma once
// CLineViewPropPage: the toolpath viewer's page. It has no items: it shows nothing
// and applies nothing, and is there so that a designer's frame has a page
// for the control.
#include "platform/afx/OlePropertyPage.h"

class CLineViewPropPage final : public COlePropertyPage {
public:
    static constexpr UINT IDD = 65;
    static constexpr UINT IDS_CAPTION = 130;

    CLineViewPropPage();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
