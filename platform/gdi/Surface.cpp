#include "platform/gdi/Surface.h"

#include <algorithm>

void SurfaceBuffer::Resize(int width, int height, std::uint32_t fill) {
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_pixels.assign(std::size_t(m_width) * std::size_t(m_height), fill);
}

void SurfaceBuffer::Fill(std::uint32_t pixel) {
    std::fill(m_pixels.begin(), m_pixels.end(), pixel);
}
