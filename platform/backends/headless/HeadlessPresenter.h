#pragma once
// The headless display: top-level windows live only in their memory
// surfaces; the presenter notes what was shown and which cursor is set.
#include "platform/user/Backend.h"

#include <vector>

namespace kw::headless {

class HeadlessPresenter : public kw::user::Presenter {
public:
    struct Presentation {
        HWND hwnd{nullptr};
        RECT rc{}; // Window coordinates of the top-level.
    };

    explicit HeadlessPresenter(SIZE screen) : m_screen(screen) {}

    SIZE ScreenSize() const override { return m_screen; }
    void TopLevelChanged(HWND) override {}
    void TopLevelDestroyed(HWND hwnd) override;
    void Present(HWND hwnd, const RECT& rc) override;
    void CursorChanged(HCURSOR cursor) override { m_cursor = cursor; }

    const std::vector<Presentation>& Presentations() const { return m_presentations; }
    void ClearPresentations() { m_presentations.clear(); }
    HCURSOR Cursor() const { return m_cursor; }

private:
    SIZE m_screen{};
    std::vector<Presentation> m_presentations;
    HCURSOR m_cursor{nullptr};
};

} // namespace kw::headless
