#pragma once
// CSpinEditPage: what the four SpinEdit pages share, and the helpers for
// the unit-configuration string (UnitText) that pages 2 and 3 rewrite.
//
// Several switches live packed in one short property (Flags, Units and the
// two unit masks). A page shows the first object's bits, but applies bit by
// bit and object by object: each object's own word is read, only the bits
// whose check box the user changed take the box's state, and the word is
// written only when it changed. Bits no page owns, and bits that differ
// between several selected controls, survive an apply untouched.
#include "platform/afx/OlePropertyPage.h"
#include "platform/afx/SpinButtonCtrl.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

class COleControl;

namespace kw::spinedit {

// The control's dispatch identifiers the pages use directly.
enum : DISPID {
    kDispUnits = 7,
    kDispDefaultUnit = 8,
    kDispUnitText = 12,
    kDispUnitsMaskMM = 13,
    kDispUnitsMaskINCH = 14,
    kDispFlags = 16,
    kDispControlPointer = 18,
};

// The decimals the configuration string gives unit `letter`: the digit two
// places after the key "x$", 0 to 8; 0 when the key is missing or the
// character is no such digit.
int UnitDecimals(std::string_view text, char letter);
// Removes the first entry of three characters that starts with the key of
// `letter` (a shorter rest after the key is removed as far as it goes).
void RemoveUnitEntry(std::string& text, char letter);
// The first entry of three characters starting with the key of `letter`,
// empty when there is none.
std::string UnitEntry(std::string_view text, char letter);
// The names of the eight host units. The scan stops at the first ':' that is
// at the start or not preceded by a digit 1 to 8, or that has no ';' after
// it.
std::array<std::string, 8> HostUnitNames(std::string_view text);
// Whether a text can stand as a host unit's name: it may hold none of the
// characters that delimit the string's entries.
bool IsValidUnitName(std::string_view name);

// `word` with the bits of `mask` set or cleared.
constexpr short WithBits(short word, WORD mask, bool set) {
    return short(set ? (WORD(word) | mask) : (WORD(word) & ~mask));
}

} // namespace kw::spinedit

class CSpinEditPage : public COlePropertyPage {
protected:
    using COlePropertyPage::COlePropertyPage;

    // A click on any spin button applies the page at once.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The bit a check box gives one object: the box's state where the user
    // changed the box, the object's own bit otherwise.
    bool BitFromBox(int id, int box, short word, WORD mask) const {
        return IsControlChanged(id) ? box == BST_CHECKED : (WORD(word) & mask) != 0;
    }
    // `word` with the box's bit (inverted: set while the box is clear).
    short PackBox(short word, int id, int box, WORD mask, bool inverted = false) const;

    // In an applying exchange that was not refused: when the exchange ends
    // (after its other writes), reads each object's short property `dispid`,
    // passes it through `update` and writes the result if it differs.
    // `update` runs then, so what it refers to must live until then.
    void UpdateEachShort(CDataExchange* pDX, DISPID dispid,
                         const std::function<short(IDispatch* object, short old)>& update);
    // The same for a text property; `always` writes it even unchanged.
    void
    UpdateEachText(CDataExchange* pDX, DISPID dispid, bool always,
                   const std::function<CString(IDispatch* object, const CString& old)>& update);
    // A short or text property of one object (0 or empty when unreadable).
    static short ReadShort(IDispatch* object, DISPID dispid);
    static CString ReadText(IDispatch* object, DISPID dispid);

    // The selection of drop-down list 240 ("Default Unit:"): the user's
    // choice, or for objects whose DefaultUnit lies outside the list, 0.
    void ShowDefaultUnit(int comboId);
    void ApplyDefaultUnit(CDataExchange* pDX, int comboId);

    void EnableItem(int id, bool enable);
    bool IsChecked(int id) const;
};

// The control the first object stands for, reached through its
// ControlPointer; null when it is not a live control of this process.
COleControl* SpinEditPageControl(COlePropertyPage& page);
