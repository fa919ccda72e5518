#include "platform/backends/headless/HeadlessPresenter.h"

#include <algorithm>

namespace kw::headless {

void HeadlessPresenter::TopLevelDestroyed(HWND hwnd) {
    std::erase_if(m_presentations, [hwnd](const Presentation& p) { return p.hwnd == hwnd; });
}

void HeadlessPresenter::Present(HWND hwnd, const RECT& rc) {
    // Consecutive presentations of one window merge into one.
    if (!m_presentations.empty() && m_presentations.back().hwnd == hwnd) {
        RECT& last = m_presentations.back().rc;
        UnionRect(&last, &last, &rc);
        return;
    }
    m_presentations.push_back(Presentation{hwnd, rc});
}

} // namespace kw::headless
