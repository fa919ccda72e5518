#pragma once
// CPolPropPage: the Polarity's state word (left click toggles, on, upright
// picture) and the control's size in pixels. The size is the control
// object's own, reached in process or through its ControlPointer.
#include "platform/afx/OlePropertyPage.h"
#include "platform/afx/SpinButtonCtrl.h"
#include "platform/user/SystemControls.h"

class CPolCtrl;

class CPolPropPage final : public COlePropertyPage {
public:
    CPolPropPage();

    static constexpr UINT IDD = 78;
    static constexpr UINT IDS_CAPTION = 195;
    static constexpr int IDC_TOGGLE = 301;
    static constexpr int IDC_OFF = 230; // the group: Off, On
    static constexpr int IDC_ON = 231;
    static constexpr int IDC_VERTICAL = 302;
    static constexpr int IDC_WIDTH = 270;
    static constexpr int IDC_HEIGHT = 271;
    static constexpr int IDC_WIDTH_SPIN = 250;
    static constexpr int IDC_HEIGHT_SPIN = 251;

    static constexpr int kMinWidth = 10;
    static constexpr int kMaxWidth = 400;
    static constexpr int kMinHeight = 10;
    static constexpr int kMaxHeight = 200;

    int m_toggle{BST_UNCHECKED};
    int m_state{0}; // 0 Off, 1 On
    int m_vertical{BST_UNCHECKED};
    int m_width{0}; // 0 x 0 when no Polarity control is reachable
    int m_height{0};

    // The Polarity control behind a selected object: the object itself when
    // it lives in this process, else the one its ControlPointer leads to;
    // null for anything else.
    static CPolCtrl* ControlOf(IDispatch* object);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void ApplySize(CDataExchange* pDX);

    CSpinButtonCtrl m_widthSpin;
    CSpinButtonCtrl m_heightSpin;
};
