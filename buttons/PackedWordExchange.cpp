#include "buttons/PackedWordExchange.h"

#include "platform/afx/OleDispatchDriver.h"

#include <string>

void ApplyPackedBits(COlePropertyPage* page, CDataExchange* pDX, LPCSTR propName, SHORT mask,
                     SHORT bits) {
    if (!page || !pDX || !propName || pDX->Failed() || !pDX->m_bSaveAndValidate || mask == 0)
        return;
    pDX->Defer([page, name = std::string(propName), mask, bits] {
        ULONG count = 0;
        IDispatch** objects = page->GetObjectArray(&count);
        const char* names[] = {name.c_str()};
        for (ULONG i = 0; i < count; ++i) {
            DISPID dispid = DISPID_UNKNOWN;
            if (FAILED(objects[i]->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid)))
                continue;
            COleDispatchDriver driver(objects[i], FALSE);
            SHORT word = 0;
            // An object whose word cannot be read keeps it: a guess would
            // clear the bits this page does not own.
            if (FAILED(driver.GetProperty(dispid, VT_I2, &word)))
                continue;
            const SHORT updated = SHORT((word & ~mask) | (bits & mask));
            if (updated != word)
                driver.SetProperty(dispid, VT_I2, &updated);
        }
    });
}
