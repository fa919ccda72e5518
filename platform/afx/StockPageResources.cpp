#include "platform/afx/StockPageResources.h"

#include "platform/afx/Dialog.h"
#include "platform/afx/StockPropPage.h"
#include "platform/user/SystemControls.h"
#include "platform/user/WindowStyles.h"

namespace kw::afx {

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT;
constexpr DWORD kList = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kPage = WS_CHILD | DS_SETFONT | DS_CONTROL;

#define KW_PROPERTY_ITEMS                                                                          \
    {"STATIC", "Property &Name:", IDC_STOCK_PROPLABEL, kLabel, 0, 7, 7, 90, 8},                    \
        {"COMBOBOX", "", IDC_STOCK_PROPERTY, kList | WS_GROUP, 0, 7, 17, 90, 80}

const DialogItemTemplate kFontItems[] = {
    KW_PROPERTY_ITEMS,
    {"STATIC", "&Font:", IDC_FONT_FACELABEL, kLabel, 0, 104, 7, 90, 8},
    {"LISTBOX", "", IDC_FONT_FACE,
     kChild | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 104, 17,
     90, 68},
    {"STATIC", "&Size:", IDC_FONT_SIZELABEL, kLabel, 0, 201, 7, 54, 8},
    {"EDIT", "", IDC_FONT_SIZE, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 201, 17, 54,
     12},
    {"BUTTON", "Effects", IDC_FONT_EFFECTS, kGroup, 0, 201, 33, 54, 52},
    {"BUTTON", "&Bold", IDC_FONT_BOLD, kCheck | WS_GROUP, 0, 207, 44, 44, 10},
    {"BUTTON", "&Italic", IDC_FONT_ITALIC, kCheck, 0, 207, 54, 44, 10},
    {"BUTTON", "&Underline", IDC_FONT_UNDERLINE, kCheck, 0, 207, 64, 44, 10},
    {"BUTTON", "Stri&keout", IDC_FONT_STRIKEOUT, kCheck, 0, 207, 74, 44, 10},
    {"BUTTON", "Sample", -1, kGroup, 0, 7, 90, 248, 40},
    {"STATIC", "AaBbYyZz", IDC_STOCK_SAMPLE, kChild | SS_CENTER | SS_NOPREFIX, 0, 13, 101, 236,
     25},
};

// The swatches are one group: Tab reaches the first, the arrows the others.
constexpr DWORD kSwatch = kChild | BS_OWNERDRAW;
#define KW_SWATCH(i, col, row)                                                                     \
    {"BUTTON", "", IDC_COLOR_PALETTE + (i), kSwatch | ((i) == 0 ? WS_TABSTOP | WS_GROUP : 0), 0,    \
     short(104 + (col) * 19), short(17 + (row) * 15), 17, 13}
const DialogItemTemplate kColorItems[] = {
    KW_PROPERTY_ITEMS,
    {"BUTTON", "Sample", -1, kGroup, 0, 7, 33, 90, 50},
    {"STATIC", "Sample", IDC_STOCK_SAMPLE, kChild | SS_CENTER | SS_NOPREFIX, 0, 13, 44, 78, 33},
    {"STATIC", "&Palette:", IDC_COLOR_PALETTELABEL, kLabel, 0, 104, 7, 151, 8},
    KW_SWATCH(0, 0, 0),
    KW_SWATCH(1, 1, 0),
    KW_SWATCH(2, 2, 0),
    KW_SWATCH(3, 3, 0),
    KW_SWATCH(4, 4, 0),
    KW_SWATCH(5, 5, 0),
    KW_SWATCH(6, 6, 0),
    KW_SWATCH(7, 7, 0),
    KW_SWATCH(8, 0, 1),
    KW_SWATCH(9, 1, 1),
    KW_SWATCH(10, 2, 1),
    KW_SWATCH(11, 3, 1),
    KW_SWATCH(12, 4, 1),
    KW_SWATCH(13, 5, 1),
    KW_SWATCH(14, 6, 1),
    KW_SWATCH(15, 7, 1),
    {"STATIC", "S&ystem color:", IDC_COLOR_SYSLABEL, kLabel | WS_GROUP, 0, 104, 52, 151, 8},
    {"COMBOBOX", "", IDC_COLOR_SYSTEM, kList, 0, 104, 62, 151, 120},
};
#undef KW_SWATCH

const DialogItemTemplate kPictureItems[] = {
    KW_PROPERTY_ITEMS,
    {"BUTTON", "&Browse...", IDC_PICTURE_BROWSE, kChild | WS_TABSTOP | WS_GROUP, 0, 7, 36, 60, 14},
    {"BUTTON", "&Clear", IDC_PICTURE_CLEAR, kChild | WS_TABSTOP, 0, 7, 54, 60, 14},
    {"BUTTON", "Preview", -1, kGroup, 0, 104, 7, 151, 82},
    {"BUTTON", "", IDC_STOCK_SAMPLE, kChild | BS_OWNERDRAW, 0, 110, 18, 139, 65},
};
#undef KW_PROPERTY_ITEMS

const DialogTemplate kDialogs[] = {
    {IDD_STOCK_FONT, kPage, 0, 0, 0, 262, 136, "", 8, "MS Shell Dlg", kFontItems},
    {IDD_STOCK_COLOR, kPage, 0, 0, 0, 262, 90, "", 8, "MS Shell Dlg", kColorItems},
    {IDD_STOCK_PICTURE, kPage, 0, 0, 0, 262, 96, "", 8, "MS Shell Dlg", kPictureItems},
};

const StringTableEntry kStrings[] = {
    {IDD_STOCK_FONT, "Font"},
    {IDD_STOCK_COLOR, "Color"},
    {IDD_STOCK_PICTURE, "Picture"},
};

const CModuleResources kResources{&kStrings, kStrings, kDialogs};

} // namespace

HMODULEINSTANCE StockPageResources() {
    return &kResources;
}

} // namespace kw::afx
