#pragma once
// CViewmanagerCtrl: the view chooser. It shows one 52 x 52 picture in the
// middle of the control with hotspots on it: on the isometric level a cube
// whose corners, faces and front corner choose turns, the isometric view or
// the face level; on the face level a square whose dots and arrows choose a
// face view or lead back. The picture highlights the hotspot under the
// cursor, whose description the control reports (SelChanged); a press on a
// hotspot sets ViewIndex, and its release fires Click.
//
// Its window is a system "BUTTON" with the owner-draw style, like the point
// picker's.
#include "platform/afx/OleControl.h"
#include "views3d/ViewmanagerHotspots.h"

class CViewmanagerCtrl final : public COleControl {
public:
    CViewmanagerCtrl();
    ~CViewmanagerCtrl() override;

    void OnViewIndexChanged();

    // The view chosen last: the hotspot index on the isometric level, the
    // hotspot index + 16 on the face level. Not persisted.
    SHORT m_viewIndex{0};

    static constexpr UINT kIsometricStrip = 214;
    static constexpr UINT kFaceStrip = 221;
    static constexpr int kPicture = 52;
    static constexpr int kFaceViewBase = 16;
    static constexpr DISPID kSelChanged = 1;

    BOOL IsIsometricLevel() const { return m_isometric; }
    int PressedIndex() const { return m_pressed; }
    int HoverIndex() const { return m_hover; }
    BOOL IsHovering() const { return m_hovering; }
    const CRect& CentreSquare() const { return m_centre; }
    // The hotspots of the current level.
    std::span<const kw::views3d::Hotspot> Hotspots() const;
    // The picture of the current level's strip that is shown now.
    int PictureIndex() const;

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
    void SetCentre(int cx, int cy);
    void FireSelChanged(int textId);

    BOOL m_isometric{TRUE};
    int m_pressed{0};
    int m_hover{-1};
    BOOL m_hovering{FALSE};
    CRect m_centre;
    CSize m_size{80, 80};
    CImageList m_isometricStrip;
    CImageList m_faceStrip;
    CBitmap m_cache;
    CSize m_cacheSize;
};

// The Viewmanager's interfaces, for its factory and the type library. The
// library lists only AboutBox; ViewIndex is reached by DISPID.
const DispTable& ViewmanagerDispatchTable();
const DispTable& ViewmanagerTypeLibTable();
const DispTable& ViewmanagerEventTable();
