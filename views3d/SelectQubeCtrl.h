#pragma once
// CSelectQubeCtrl: the point picker. It draws a box, as an oblique cube (3D
// mode) or as a square seen from above (2D mode), with pick points at the
// corners, edge middles, face centres and the centre: 27 points in 3D mode,
// 9 in 2D mode. A click on a point selects it; the host then reads the
// point's position codes, its offsets inside a region it has set, the
// selection or the point's number in the 3D region numbering.
//
// Its window is a system "BUTTON" with the owner-draw style: the button asks
// for its drawing, and the framework reflects that request back here.
#include "platform/afx/OleControl.h"
#include "views3d/SelectQubeGeometry.h"

class CSelectQubeCtrl final : public COleControl {
public:
    CSelectQubeCtrl();
    ~CSelectQubeCtrl() override;

    // [SECTION] Dispatch members
    void OnDefaultSelChanged();
    void GetOffsets(float* x, float* y, float* z);
    void SetRegion(float left, float right, float top, float bottom, float upper, float lower);
    void GetBezug(SHORT* x, SHORT* y, SHORT* z);
    SHORT GetSel();
    void SetSel(SHORT index);
    SHORT GetReg3DSel();

    // The persistent selection: bits 0-5 the point, bit 6 no axis letters,
    // bit 7 2D mode; negative for no point.
    SHORT m_defaultSel{0};

    static constexpr SHORT kNoAxisText = 0x40;
    static constexpr SHORT kMode2D = 0x80;
    static constexpr SHORT kModeBits = kNoAxisText | kMode2D;

    // The selected point's table index, or -1 when no point of the current
    // table is selected (a negative selection, or one beyond the table).
    int SelectedPoint() const;
    // The hovered point's index, or -1.
    int HoverPoint() const;
    BOOL IsHovering() const { return m_hovering; }
    BOOL Is2D() const { return m_mode2D; }
    const kw::views3d::QubeGeometry& Geometry() const { return m_geometry; }

    // Draws the whole picture into `dc` over `rc` (the item rectangle).
    void DrawItem(CDC* dc, const CRect& rc);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    void OnClick(USHORT button) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnEnable(BOOL enable) override;
    void OnDestroy() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    LRESULT OnOcmDrawItem(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnOcmCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // Takes the mode flags from `m_defaultSel`; a changed mode rebuilds the
    // geometry and drops the cached picture.
    void TakeModeBits();
    void Paint(CDC* dc, const CRect& rc);

    BOOL m_mode2D{FALSE};
    BOOL m_noAxisText{FALSE};
    int m_hover{-1};
    BOOL m_hovering{FALSE};
    CSize m_size{80, 80};
    kw::views3d::QubeGeometry m_geometry;
    // Zeros until the host sets a region, so that offsets read before it
    // are 0.
    kw::views3d::QubeRegion m_region;
    CBitmap m_cache;
    CSize m_cacheSize;
};

// The SelectQube's interfaces, for its factory and the type library. The
// library lists only AboutBox; the other members are reached by DISPID.
const DispTable& SelectQubeDispatchTable();
const DispTable& SelectQubeTypeLibTable();
const DispTable& SelectQubeEventTable();
