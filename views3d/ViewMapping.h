#pragma once
// CViewMapping: an isotropic map between a world rectangle (y up) and a
// pixel rectangle (y down). The world rectangle is shown as large as fits,
// centred, with the same scale on both axes.

class CViewMapping {
public:
    CViewMapping() { Recompute(); }

    // Either corner order; minima and maxima are taken.
    void SetWorldWindow(double x1, double y1, double x2, double y2);
    void SetPixelRect(double x1, double y1, double x2, double y2);
    void PixelToWorld(double px, double py, double* wx, double* wy) const;
    double ScaleX() const { return m_scaleX; }
    double ScaleY() const { return m_scaleY; }

private:
    void Recompute();

    double m_scaleX{1}, m_offsetX{0}, m_scaleY{-1}, m_offsetY{0};
    double m_wx0{-1}, m_wy0{-1}, m_wx1{1}, m_wy1{1};
    double m_px0{-1}, m_py0{-1}, m_px1{1}, m_py1{1};
};
