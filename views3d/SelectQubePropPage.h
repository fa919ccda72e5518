#pragma once
// CSelectQubePropPage: the point picker's page. The packed `defaultSel`
// shows as three items: the selected point's index (with a spin button),
// the mode (the 3D cube or the 2D square) and the switch that hides the axis
// letters. Applying packs them back.
//
// Each object keeps what the user left alone: only the parts of the word
// whose items were changed are written, into each object's own value, so
// that several pickers edited together keep their own points, and a picker
// without a selected point keeps that state unless a point is entered.
// An index the page writes must name a point wherever it lands: 0 to 26 on
// the cube, 0 to 8 on the square.
#include "platform/afx/OlePropertyPage.h"
#include "platform/afx/SpinButtonCtrl.h"

class CSelectQubePropPage final : public COlePropertyPage {
public:
    static constexpr UINT IDD = 60;
    static constexpr UINT IDS_CAPTION = 126;
    // The dialog's items.
    static constexpr int IDC_SPIN = 250;
    static constexpr int IDC_PRESEL = 270;
    static constexpr int IDC_MODE3D = 230; // "3D (default)", first of the group
    static constexpr int IDC_MODE2D = 231;
    static constexpr int IDC_NOAXISTEXT = 301;

    // The highest point index of each mode.
    static constexpr UINT kLastPoint3D = 26;
    static constexpr UINT kLastPoint2D = 8;

    CSelectQubePropPage();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // Unpacks the shown copy into the index, the mode and the switch.
    void Unpack();
    // `value` with the parts the user changed replaced by the page's.
    SHORT Packed(SHORT value) const;
    // Writes the packed word into every object whose value it changes.
    void WriteEachObject();
    // The highest index the page accepts: 8 when the point lands on a
    // square (the mode chosen, or an object's own when the user left the
    // mode alone), else 26.
    UINT LastPoint();
    // The spin button covers the points LastPoint allows.
    void FitSpinToMode();
    BOOL IsSquareChosen() const;
    BOOL IsModeChanged() const;

    CSpinButtonCtrl m_spin;
    // The first object's `defaultSel`, as the page last showed it.
    SHORT m_defaultSel{0};
    UINT m_point{0};
    int m_mode{0};         // 0: 3D, 1: 2D
    int m_noAxisText{0};   // BST_CHECKED hides the letters
    bool m_noPoint{false}; // the shown value selects no point: the index is empty
    // What the user changed, taken when an apply begins.
    bool m_pointChanged{false};
    bool m_modeChanged{false};
    bool m_switchChanged{false};
};
