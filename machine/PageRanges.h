#pragma once
// Ranges of the number fields of the machine displays' pages: the spin
// button's range and the check of what the user typed.
#include "platform/afx/OlePropertyPage.h"

struct PageRange {
    short lower;
    short upper;
};

// Sets the range of the up-down control `spinId` (the up arrow steps toward
// `upper`).
void SetSpinRange(COlePropertyPage& page, int spinId, PageRange range);

// Refuses the exchange with the range message when the user changed the
// item `id` to a value outside `range`. A value the user did not touch is
// the control's own and is not written back, so it is not checked: a
// control a host set outside the page's ranges (the acceleration display in
// its linear mode has B = 0) can still have its other values edited.
void ValidateChanged(COlePropertyPage& page, CDataExchange* pDX, int id, long value,
                     PageRange range);
