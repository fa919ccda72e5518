// What an edit shows: where its text lies, how far it is scrolled, and how it
// is painted.
//
// [SECTION] Measuring
// [SECTION] Layout and scrolling
// [SECTION] Painting
//
// The text runs on one line inside the client area less a 1-pixel margin
// at each side, vertically centred. Character advances add up (the raster
// does not kern), so a run of text drawn from its own start lands on the
// same pixels as when drawn within the whole line; the selection relies on
// that.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/user/EditControl.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <array>

namespace kw::user::detail {

namespace {

constexpr int kMargin = 1;

DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
}

// [SECTION] Measuring

// The advance of every caret position of `text` and the height of a line.
// Each byte value is measured once: a long text costs no more calls than
// its alphabet has letters.
void Measure(HFONT font, const std::string& text, std::vector<int>* offsets, int* height) {
    offsets->assign(text.size() + 1, 0);
    *height = 0;
    const HDC hdc = GetDC(nullptr);
    if (!hdc)
        return;
    const HGDIOBJ old = SelectObject(hdc, font);
    TEXTMETRIC tm{};
    if (GetTextMetrics(hdc, &tm))
        *height = tm.tmHeight;
    std::array<int, 256> advance;
    advance.fill(-1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        int& width = advance[static_cast<unsigned char>(text[i])];
        if (width < 0) {
            SIZE size{};
            width = GetTextExtentPoint32(hdc, &text[i], 1, &size) ? int(size.cx) : 0;
        }
        (*offsets)[i + 1] = (*offsets)[i] + width;
    }
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
}

int FormatWidth(const EditLayout& layout) {
    return int(layout.format.right - layout.format.left);
}

} // namespace

// [SECTION] Layout and scrolling

EditLayout LayoutEdit(HWND hwnd, const EditState& state) {
    EditLayout layout;
    const std::string text = EditText(hwnd);
    Measure(EditFont(state), text, &layout.offsets, &layout.height);
    RECT client{};
    GetClientRect(hwnd, &client);
    layout.format = RECT{client.left + kMargin, client.top,
                         std::max(client.left + kMargin, client.right - kMargin), client.bottom};
    layout.top = std::max(0, int(client.bottom - client.top - layout.height) / 2);

    const DWORD style = Style(hwnd);
    const int room = FormatWidth(layout);
    const int width = layout.offsets.back();
    if (width <= room) {
        // Text that fits is aligned and never scrolled.
        const int align = (style & ES_RIGHT)    ? room - width
                          : (style & ES_CENTER) ? (room - width) / 2
                                                : 0;
        layout.origin = int(layout.format.left) + align;
        return layout;
    }
    const int first = (style & ES_AUTOHSCROLL) ? std::clamp(state.first, 0, layout.Length()) : 0;
    layout.origin = int(layout.format.left) - layout.offsets[std::size_t(first)];
    return layout;
}

int CaretFromX(const EditLayout& layout, int x) {
    const std::vector<int>& offsets = layout.offsets;
    const int along = x - layout.origin;
    const auto next = std::lower_bound(offsets.begin(), offsets.end(), along);
    if (next == offsets.begin())
        return 0;
    if (next == offsets.end())
        return layout.Length();
    const auto previous = next - 1;
    // A point in the left half of a character is before it.
    const int index = int(next - offsets.begin());
    return along - *previous < *next - along ? index - 1 : index;
}

int CharacterFromX(const EditLayout& layout, int x) {
    if (layout.Length() == 0)
        return 0;
    const std::vector<int>& offsets = layout.offsets;
    const auto after = std::upper_bound(offsets.begin(), offsets.end(), x - layout.origin);
    return std::clamp(int(after - offsets.begin()) - 1, 0, layout.Length() - 1);
}

void ScrollToCaret(HWND hwnd, EditState& state) {
    if (!(Style(hwnd) & ES_AUTOHSCROLL)) {
        state.first = 0;
        return;
    }
    const EditLayout layout = LayoutEdit(hwnd, state);
    const std::vector<int>& at = layout.offsets;
    const int room = FormatWidth(layout);
    const int caret = std::clamp(state.caret, 0, layout.Length());
    int first = std::clamp(state.first, 0, layout.Length());
    // Text hidden on the left comes back while the end leaves room for it.
    while (first > 0 && at.back() - at[std::size_t(first - 1)] <= room)
        --first;
    if (caret < first) {
        // Going left, a quarter of the width shows what lies before the
        // caret, so the user keeps his bearings.
        first = caret;
        while (first > 0 && at[std::size_t(caret)] - at[std::size_t(first - 1)] <= room / 4)
            --first;
    }
    while (first < caret && at[std::size_t(caret)] - at[std::size_t(first)] > room)
        ++first;
    state.first = first;
}

bool FitsWithoutScrolling(HWND hwnd, const EditState& state, const std::string& text) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const int room = std::max(0, int(client.right - client.left) - 2 * kMargin);
    std::vector<int> offsets;
    int height = 0;
    Measure(EditFont(state), text, &offsets, &height);
    return offsets.back() <= room;
}

// [SECTION] Painting

namespace {

// Enabled edits take their colours from WM_CTLCOLOREDIT; disabled and
// read-only ones, which take no typing, look like statics.
HBRUSH Background(HWND hwnd, HDC hdc) {
    const UINT msg = (!IsWindowEnabled(hwnd) || (Style(hwnd) & ES_READONLY)) ? WM_CTLCOLORSTATIC
                                                                             : WM_CTLCOLOREDIT;
    const HWND parent = GetParent(hwnd);
    LRESULT brush = 0;
    if (parent)
        brush = SendMessageA(parent, msg, reinterpret_cast<WPARAM>(hdc),
                             reinterpret_cast<LPARAM>(hwnd));
    // A parent that leaves the message alone gets the system's colours.
    if (!brush || GetObjectType(reinterpret_cast<HGDIOBJ>(brush)) != OBJ_BRUSH)
        brush = DefWindowProcA(IsWindow(parent) ? parent : hwnd, msg, reinterpret_cast<WPARAM>(hdc),
                               reinterpret_cast<LPARAM>(hwnd));
    return reinterpret_cast<HBRUSH>(brush);
}

// Draws the characters [from, to) that reach into the formatting rectangle.
void DrawRun(HDC hdc, const EditLayout& layout, const std::string& text, int from, int to) {
    while (from < to && layout.X(from + 1) <= layout.format.left)
        ++from;
    while (to > from && layout.X(to - 1) >= layout.format.right)
        --to;
    if (from < to)
        TextOut(hdc, layout.X(from), layout.top, text.data() + from, to - from);
}

void PaintText(HWND hwnd, HDC hdc, const EditState& state, const EditLayout& layout) {
    const std::string text = EditText(hwnd);
    const int saved = SaveDC(hdc);
    IntersectClipRect(hdc, layout.format.left, layout.format.top, layout.format.right,
                      layout.format.bottom);
    SetBkMode(hdc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawRun(hdc, layout, text, 0, layout.Length());

    const bool focused = state.flags & kEditFocused;
    if (state.HasSelection() && (focused || (Style(hwnd) & ES_NOHIDESEL))) {
        const RECT band{layout.X(state.SelStart()), layout.top, layout.X(state.SelEnd()),
                        layout.top + layout.height};
        FillRect(hdc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        DrawRun(hdc, layout, text, state.SelStart(), state.SelEnd());
    }
    RestoreDC(hdc, saved);
}

} // namespace

void PaintEdit(HWND hwnd, HDC hdc) {
    const int saved = SaveDC(hdc);
    SelectObject(hdc, EditFont(LoadEditState(hwnd)));
    const HBRUSH background = Background(hwnd, hdc);
    if (!IsWindow(hwnd)) {
        RestoreDC(hdc, saved);
        return;
    }
    // Read after the parent had its say: it may have changed the edit.
    const EditState state = LoadEditState(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, background);
    const EditLayout layout = LayoutEdit(hwnd, state);
    PaintText(hwnd, hdc, state, layout);
    // A steady caret, inverted as the platform's is, so that it shows on
    // the selection too. It may sit in the right margin, after the text.
    if (state.flags & kEditFocused) {
        const int x = layout.X(state.caret);
        const RECT caret{x, layout.top, x + 1, layout.top + layout.height};
        InvertRect(hdc, &caret);
    }
    RestoreDC(hdc, saved);
}

} // namespace kw::user::detail
