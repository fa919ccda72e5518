#pragma once
// The bits a property page owns in a packed 16-bit property (a control's
// Flags or Mode word, whose check boxes and radio buttons are spread over
// one or more pages), and their writing.
//
// A page shows the bits of the first object it edits, but several objects
// may be selected, each with bits of its own. So applying touches only the
// bits of the items the user changed, and it does so object by object: each
// object's property is read again, those bits are set or cleared, every
// other bit is kept, and the property is written only when its low 16 bits
// change. Objects the page leaves alone keep their values, and a setter that
// does more than store (the jog pad rebuilds its layout and relights its
// lamps) runs only where something changed.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

class COwnedBits {
public:
    // Gives the bits in `bits` the value `on`; they become owned.
    void Set(unsigned bits, bool on) {
        m_mask |= bits;
        m_values = on ? (m_values | bits) : (m_values & ~bits);
    }
    // Gives every bit in `mask` its value from `values`.
    void Assign(unsigned mask, unsigned values) {
        m_mask |= mask;
        m_values = (m_values & ~mask) | (values & mask);
    }
    // Sets or clears `bits` as the check box `check` says, when the user
    // changed it; an indeterminate box owns nothing.
    void SetFromCheck(bool changed, int check, unsigned bits) {
        if (changed && check != BST_INDETERMINATE)
            Set(bits, check == BST_CHECKED);
    }
    bool Empty() const { return (m_mask & 0xFFFFu) == 0; }
    // The value `old` takes: the owned bits replaced, every other bit kept.
    long Apply(long old) const {
        return long((static_cast<unsigned long>(old) & ~static_cast<unsigned long>(m_mask)) |
                    (m_values & m_mask));
    }

private:
    unsigned m_mask{0};
    unsigned m_values{0};
};

// Writes `bits` into the property `propName` of every object of `page`, as
// above; an object without the property is skipped. In a saving exchange
// the writes wait for its end and are dropped when it is refused.
void WriteOwnedBits(COlePropertyPage& page, CDataExchange* pDX, LPCSTR propName,
                    const COwnedBits& bits);

// A check box's state from bits of a packed word.
inline int BitCheck(long word, unsigned bit) {
    return (static_cast<unsigned long>(word) & bit) ? BST_CHECKED : BST_UNCHECKED;
}
