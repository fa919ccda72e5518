#pragma once
// Packed state words on property pages. Several items of a page (check
// boxes, a radio group) stand for bits of one short property (Flags, Mode).
// The page shows the first object's word; applying writes into each
// object's own word only the bits of the items the user changed, so that
// the bits other pages, clicks or the host set stay as they are, and a
// multi-selection keeps each object's own state.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/SystemControls.h"

// Sets the `mask` bits of the short property `propName` of every object of
// `page` as they stand in `bits` and keeps the rest of each word; a word is
// written only when it changes. The writes wait for the end of the applying
// exchange `pDX` and are dropped when it is refused. Nothing happens for an
// empty mask.
void ApplyPackedBits(COlePropertyPage* page, CDataExchange* pDX, LPCSTR propName, SHORT mask,
                     SHORT bits);

// The bit of a check box's state (BST_CHECKED sets it).
inline SHORT CheckBit(int check, SHORT bit) {
    return check == BST_CHECKED ? bit : SHORT(0);
}
// A check box's state from a bit of a word.
inline int BitCheck(SHORT word, SHORT bit) {
    return (word & bit) ? BST_CHECKED : BST_UNCHECKED;
}
