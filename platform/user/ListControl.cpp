// The list that list boxes and combo boxes share: its items, its scrolling
// and its painting.
#include "platform/user/ListControl.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Theme.h"
#include "platform/user/Input.h"
#include "platform/user/Paint.h"
#include "platform/user/SystemControls.h"

#include <algorithm>
#include <cctype>

namespace kw::user::detail {

namespace {

std::string Upper(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

} // namespace

int ListModel::Add(const std::string& text) {
    if (!sorted) {
        items.push_back({text, 0});
        return Count() - 1;
    }
    const std::string key = Upper(text);
    const auto at = std::upper_bound(
        items.begin(), items.end(), key,
        [](const std::string& k, const ListItem& item) { return k < Upper(item.text); });
    const int index = int(at - items.begin());
    items.insert(at, {text, 0});
    if (selection >= index)
        ++selection;
    return index;
}

int ListModel::Insert(int index, const std::string& text) {
    if (index < 0)
        index = Count();
    if (index > Count())
        return -1;
    items.insert(items.begin() + index, {text, 0});
    if (selection >= index)
        ++selection;
    return index;
}

int ListModel::Delete(int index) {
    if (!Valid(index))
        return -1;
    items.erase(items.begin() + index);
    if (selection == index)
        selection = -1;
    else if (selection > index)
        --selection;
    top = std::min(top, std::max(0, Count() - 1));
    return Count();
}

void ListModel::Reset() {
    items.clear();
    selection = -1;
    top = 0;
}

int ListModel::Find(int start, const std::string& prefix, bool exact) const {
    const int n = Count();
    const std::string key = Upper(prefix);
    for (int step = 1; step <= n; ++step) {
        const int i = ((start < 0 ? -1 : start) + step) % n;
        const std::string text = Upper(items[std::size_t(i)].text);
        if (exact ? text == key : text.compare(0, key.size(), key) == 0)
            return i;
    }
    return -1;
}

int ListItemHeight(const ListModel& model) {
    if (model.itemHeight > 0)
        return model.itemHeight;
    int height = 13;
    if (HDC hdc = GetDC(nullptr)) {
        HGDIOBJ old = SelectObject(
            hdc, model.font ? model.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
        TEXTMETRIC tm;
        if (GetTextMetrics(hdc, &tm))
            height = std::max<int>(1, tm.tmHeight);
        SelectObject(hdc, old);
        ReleaseDC(nullptr, hdc);
    }
    return height;
}

int ListVisibleCount(const ListModel& model, int height) {
    return std::max(1, height / ListItemHeight(model));
}

void ListClampTop(ListModel& model, int visible) {
    model.top = std::clamp(model.top, 0, std::max(0, model.Count() - visible));
}

void ListScrollTo(ListModel& model, int index, int visible) {
    if (!model.Valid(index))
        return;
    if (index < model.top)
        model.top = index;
    else if (index >= model.top + visible)
        model.top = index - visible + 1;
    ListClampTop(model, visible);
}

ListScrollBar ListScrollBarOf(const ListModel& model, RECT client) {
    ListScrollBar sb;
    const int visible = ListVisibleCount(model, client.bottom - client.top);
    if (model.Count() <= visible)
        return sb;
    sb.shown = true;
    const int width = GetSystemMetrics(SM_CXVSCROLL);
    sb.bar = RECT{client.right - width, client.top, client.right, client.bottom};
    const int arrow = std::min<int>(width, (client.bottom - client.top) / 2);
    sb.up = RECT{sb.bar.left, sb.bar.top, sb.bar.right, sb.bar.top + arrow};
    sb.down = RECT{sb.bar.left, sb.bar.bottom - arrow, sb.bar.right, sb.bar.bottom};
    const int track = int(sb.down.top - sb.up.bottom);
    const int thumbHeight = std::max(8, track * visible / model.Count());
    const int range = std::max(1, model.Count() - visible);
    const int offset = (track - thumbHeight) * model.top / range;
    sb.thumb =
        RECT{sb.bar.left, sb.up.bottom + offset, sb.bar.right, sb.up.bottom + offset + thumbHeight};
    if (track < thumbHeight)
        sb.thumb = RECT{};
    return sb;
}

bool ListScrollBarClick(ListModel& model, RECT client, POINT pt) {
    const ListScrollBar sb = ListScrollBarOf(model, client);
    if (!sb.shown || !PtInRect(&sb.bar, pt))
        return false;
    const int visible = ListVisibleCount(model, client.bottom - client.top);
    if (PtInRect(&sb.up, pt))
        --model.top;
    else if (PtInRect(&sb.down, pt))
        ++model.top;
    else if (pt.y < sb.thumb.top)
        model.top -= visible;
    else if (pt.y >= sb.thumb.bottom)
        model.top += visible;
    ListClampTop(model, visible);
    return true;
}

void PaintList(HDC hdc, const ListModel& model, RECT client, HBRUSH background, int highlight,
               bool focused, bool enabled) {
    const int saved = SaveDC(hdc);
    SelectObject(hdc,
                 model.font ? model.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    const ListScrollBar sb = ListScrollBarOf(model, client);
    RECT itemsArea = client;
    if (sb.shown)
        itemsArea.right = sb.bar.left;
    FillRect(hdc, &itemsArea, background);
    const int height = ListItemHeight(model);
    SetBkMode(hdc, TRANSPARENT);
    const COLORREF text = enabled ? GetTextColor(hdc) : GetSysColor(COLOR_GRAYTEXT);
    for (int i = model.top, y = int(itemsArea.top); i < model.Count() && y < itemsArea.bottom;
         ++i, y += height) {
        RECT row{itemsArea.left, y, itemsArea.right, y + height};
        const bool lit = i == highlight && enabled;
        if (lit)
            FillRect(hdc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, lit ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
        RECT textRc = row;
        textRc.left += 2;
        const std::string& s = model.items[std::size_t(i)].text;
        DrawText(hdc, s.c_str(), int(s.size()), &textRc,
                 DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (i == highlight && focused)
            DrawFocusRect(hdc, &row);
    }
    if (sb.shown) {
        FillRect(hdc, &sb.bar, GetSysColorBrush(COLOR_SCROLLBAR));
        RECT up = sb.up;
        RECT down = sb.down;
        const UINT inactive = enabled ? 0 : DFCS_INACTIVE;
        DrawFrameControl(hdc, &up, DFC_SCROLL, DFCS_SCROLLUP | inactive);
        DrawFrameControl(hdc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | inactive);
        if (sb.thumb.bottom > sb.thumb.top) {
            RECT thumb = sb.thumb;
            DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        }
    }
    RestoreDC(hdc, saved);
}

} // namespace kw::user::detail

namespace kw::user {

void RegisterListAndCommonControls() {
    detail::RegisterListBoxClasses();
    detail::RegisterComboBoxClass();
    detail::RegisterUpDownClass();
    detail::RegisterTabControlClass();
}

} // namespace kw::user
