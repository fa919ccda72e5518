#include "machine/PageRanges.h"

#include "platform/user/SystemControls.h"
#include "platform/user/User.h"

void SetSpinRange(COlePropertyPage& page, int spinId, PageRange range) {
    SendMessageA(page.GetDlgItem(spinId), UDM_SETRANGE, 0,
                 MAKELONG(WORD(range.upper), WORD(range.lower)));
}

void ValidateChanged(COlePropertyPage& page, CDataExchange* pDX, int id, long value,
                     PageRange range) {
    if (!pDX->m_bSaveAndValidate || !page.IsControlChanged(id))
        return;
    // The value outside a 32-bit int is outside every range here.
    const int v = value < range.lower   ? range.lower - 1
                  : value > range.upper ? range.upper + 1
                                        : int(value);
    DDV_MinMaxInt(pDX, v, range.lower, range.upper);
}
