#pragma once
// CLineViewCtrl: a three-dimensional viewer on OpenGL. The host compiles its
// own drawing into the control's display list between BeginList and
// EndList; the viewer paints it in wireframe, shaded or hidden-line mode
// with an axis indicator in the lower-left corner, and offers a text font as
// 96 display lists.
//
// Its sources, by concern: LineViewCtrl.cpp (tables, construction, modes),
// LineViewContext.cpp (the rendering context and the window's life),
// LineViewPaint.cpp (the paint), LineViewCamera.cpp (projection, model
// rotation and axis indicator), LineViewNavigation.cpp (mouse, wheel and
// fit), LineViewLists.cpp (display list and fonts). The arithmetic of the
// camera is in ViewCamera.h.
#include "platform/afx/OleControl.h"
#include "platform/gl/Wgl.h"
#include "views3d/LineViewCameraProbe.h"
#include "views3d/ViewCamera.h"

class CLineViewCtrl final : public COleControl, public ILineViewCamera {
public:
    CLineViewCtrl();
    ~CLineViewCtrl() override;

    // [SECTION] Dispatch members
    void BeginList();
    void EndList();
    float GetPointSize();
    void EnableLight(BOOL enable);
    void CreateFont(BOOL bitmap);
    LONG GetFontList();
    void EnableHiddenLine(BOOL enable);
    void Set2DMode(BOOL enable);
    void SetInitialFit(float left, float right, float top, float bottom, float zo, float zu);
    void Fit();

    // [SECTION] State, for hosts in the same process and for tests
    HGLRC RenderingContext() const { return m_hrc; }
    GLuint DisplayList() const { return m_list; }
    bool IsListOpen() const { return m_listDc != nullptr; }
    const float* ViewAngles() const { return m_viewAngles; }

    // The world rectangle shown, in view coordinates.
    using ViewWindow = kw::views3d::ViewWindow;
    const ViewWindow& CurrentView() const { return m_view; }
    const ViewWindow& HomeView() const { return m_home; }

    // [SECTION] IUnknown, and the camera's read-only probe
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return COleControl::AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return COleControl::Release(); }
    STDMETHOD(GetViewWindow)(double window[4]) override;
    STDMETHOD(GetViewAngles)(float angles[3]) override;

    static constexpr const char* kNoOpenGlText = "May be you do not install OpenGL!";
    static constexpr const char* kNoPixelFormatText = "Can not set pixel format for OpenGL!";
    static constexpr const char* kErrorCaption = "Error!";

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void OnDestroy() override;
    void DoPropExchange(CPropExchange* pPX) override;

    // [SECTION] Mouse (LineViewNavigation.cpp)
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnMButtonDblClk(UINT flags, CPoint point) override;
    void OnMButtonDown(UINT flags, CPoint point) override;
    void OnMButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnCaptureChanged(CWnd* wnd) override;

private:
    // [SECTION] Context (LineViewContext.cpp)
    bool CreateRenderingContext();
    void ReleaseRenderingContext();

    // [SECTION] Paint (LineViewPaint.cpp)
    void RenderScene(const CRect& client);
    void ApplyLightsAndMaterial();
    void CallListInMode();
    void PaintWithoutContext(CDC* dc, const CRect& rc);

    // [SECTION] Camera (LineViewCamera.cpp)
    void SetupProjection(const CRect& rc);
    void SetupModelView(const CRect& rc);
    void ApplyModelRotation();
    void DrawAxisIndicator(const CRect& client);
    float PointSizeFor(const CRect& rc) const;
    kw::views3d::CameraSetup Camera() const;

    // [SECTION] Navigation (LineViewNavigation.cpp)
    void Pan(CPoint from, CPoint to);
    void Redraw();
    void StartNavigating();
    void StopNavigating();

    // [SECTION] Drag preview (LineViewPreview.cpp)
    void PreparePreview();
    bool CompilePreview();

    // Rendering context and display lists.
    HGLRC m_hrc{nullptr};
    HDC m_listDc{nullptr};
    GLuint m_list{0};
    GLuint m_fontBase{0};

    // Display modes.
    BOOL m_light{FALSE};
    BOOL m_hiddenLine{FALSE};
    BOOL m_2d{FALSE};

    // Camera: an orthographic view of the view window from the eye.
    double m_fovy{40};
    double m_near{1.0};
    double m_far{10000.0};
    ViewWindow m_home{};
    ViewWindow m_view{};
    float m_eye[3]{0, 0, 100};
    float m_centre[3]{0, 0, 0};
    float m_up[3]{0, 1, 0};
    float m_viewAngles[3]{290, 0, 300};
    float m_pointSize{0};
    bool m_pointSizeComputed{false};

    // Mouse navigation: the last points of the left and middle buttons, and
    // the rotation drag of the middle button.
    CPoint m_leftAnchor;
    CPoint m_middleAnchor;
    kw::views3d::RotationDrag m_drag;

    // While a button drags the view, a large list is drawn from a coarse
    // preview list, made once per list content at the first drag.
    enum class PreviewState { Unknown, NotNeeded, Ready };
    bool m_navigating{false};
    GLuint m_preview{0};
    PreviewState m_previewState{PreviewState::Unknown};
    std::size_t m_feedbackFloats{std::size_t(1) << 22};

    // The host's box for fitting.
    kw::views3d::FitBox m_fitBox;
};

// The LineView's interfaces, for its factory and the type library.
const DispTable& LineViewDispatchTable();
const DispTable& LineViewEventTable();
