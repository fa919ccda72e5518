#pragma once
// CSpinEditPropPage4 ("Layout"): the control's size and the widths of its
// parts, over a picture of the layout. The page works on the control object
// itself (through its ControlPointer) for the size.
#include "platform/gdi/AfxGdi.h"
#include "spinedit/SpinEditPage.h"

// Shows a static's bitmap with its light grey pixels left transparent, so
// the dialog's background shows through.
class CTransparentStatic final : public CWnd {
public:
    static constexpr COLORREF kKeyColor = 0x00C0C0C0;

protected:
    void OnPaint() override;
};

class CSpinEditPropPage4 final : public CSpinEditPage {
public:
    CSpinEditPropPage4();

    short m_width{0};
    short m_height{0};
    short m_editHeight{0};
    short m_unitWidth{0};
    short m_spinWidth{0};
    short m_valueWidth{0};
    short m_labelWidth{0};
    int m_label{0};
    int m_spin{0};
    int m_unit{0};
    std::array<CSpinButtonCtrl, 7> m_spins;
    CTransparentStatic m_picture;
    CBitmap m_layout;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    short ValueWidth() const;
    short ItemNumber(int id) const;
    void ShowNumber(int id, short value);
    void ReadItems();
    void EnableItems();

    bool m_live{false};     // the items exist and show the values
    bool m_updating{false}; // the page itself writes an item
};
