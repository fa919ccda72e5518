#pragma once
// CViewmanagerPropPage: the view chooser's page. It has no items: it shows nothing
// and applies nothing, and is there so that a designer's frame has a page
// for the control.
#include "platform/afx/OlePropertyPage.h"

class CViewmanagerPropPage final : public COlePropertyPage {
public:
    static constexpr UINT IDD = 68;
    static constexpr UINT IDS_CAPTION = 200;

    CViewmanagerPropPage();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
