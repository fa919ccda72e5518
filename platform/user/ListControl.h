#pragma once
// What the system classes "LISTBOX" and "COMBOBOX" share: a list of texts
// with a selection, scrolled to show its top item, and how it is drawn.
// Used only by the library's own sources.
#include "platform/user/UserTypes.h"

#include <string>
#include <vector>

namespace kw::user::detail {

struct ListItem {
    std::string text;
    ULONG_PTR data{0};
};

// The list itself; a list box or combo box keeps a pointer to it in its
// extra window bytes and frees it with its window.
struct ListModel {
    std::vector<ListItem> items;
    int selection{-1};
    int top{0};        // The first item shown.
    int itemHeight{0}; // 0: the font's height.
    HFONT font{nullptr};
    bool sorted{false};

    int Count() const { return int(items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // The index the text went to; sorted lists keep letter case out of the order.
    int Add(const std::string& text);
    // At `index` (-1: the end); -1 when the index is past the end.
    int Insert(int index, const std::string& text);
    // The number of items left, -1 for a bad index.
    int Delete(int index);
    void Reset();
    // The first item after `start` (wrapping; -1 searches from the top)
    // whose text starts with `prefix`, or equals it when `exact`, letter
    // case ignored; -1 for none.
    int Find(int start, const std::string& prefix, bool exact) const;
};

// The height of one item with the model's font.
int ListItemHeight(const ListModel& model);
// How many whole items a height shows (at least one).
int ListVisibleCount(const ListModel& model, int height);
// Moves `top` so that `index` shows in a list of `visible` items.
void ListScrollTo(ListModel& model, int index, int visible);
// Keeps `top` within the items.
void ListClampTop(ListModel& model, int visible);

// A vertical scroll bar drawn inside the list at its right: an arrow at
// each end and a thumb between.
struct ListScrollBar {
    bool shown{false};
    RECT bar{};
    RECT up{};
    RECT down{};
    RECT thumb{};
};
ListScrollBar ListScrollBarOf(const ListModel& model, RECT client);

// Paints the items of `client` on the brush, the item `highlight` (the
// selection, or the item under the mouse in a dropped list) in the
// highlight colours, with a focus rectangle when `focused`.
void PaintList(HDC hdc, const ListModel& model, RECT client, HBRUSH background, int highlight,
               bool focused, bool enabled);

// Where a click on the scroll bar takes `top`: an arrow by one, the track
// by a page; false when the point is not on the bar.
bool ListScrollBarClick(ListModel& model, RECT client, POINT pt);

// Registers "LISTBOX" and the combo box's dropped list "ComboLBox".
void RegisterListBoxClasses();
// Registers "COMBOBOX".
void RegisterComboBoxClass();
void RegisterUpDownClass();
void RegisterTabControlClass();

} // namespace kw::user::detail
