#include "platform/afx/OwnedBits.h"

#include <string>

namespace {

void WriteEach(COlePropertyPage& page, const std::string& name, const COwnedBits& bits) {
    ULONG count = 0;
    IDispatch** objects = page.GetObjectArray(&count);
    for (ULONG i = 0; i < count; ++i) {
        IDispatch* object = objects[i];
        LPCSTR propName = name.c_str();
        DISPID dispid = DISPID_UNKNOWN;
        if (!object ||
            FAILED(object->GetIDsOfNames(IID_NULL, &propName, 1, LOCALE_USER_DEFAULT, &dispid)))
            continue;
        COleDispatchDriver driver(object, FALSE);
        LONG old = 0;
        if (FAILED(driver.GetProperty(dispid, VT_I4, &old)))
            continue;
        const long value = bits.Apply(old);
        if (((value ^ old) & 0xFFFF) == 0)
            continue;
        const SHORT packed = static_cast<SHORT>(value & 0xFFFF);
        // An object that refuses the value keeps its own.
        (void)driver.SetProperty(dispid, VT_I2, &packed);
    }
}

} // namespace

void WriteOwnedBits(COlePropertyPage& page, CDataExchange* pDX, LPCSTR propName,
                    const COwnedBits& bits) {
    if (!propName || bits.Empty())
        return;
    if (pDX && pDX->m_bSaveAndValidate) {
        if (!pDX->Failed())
            pDX->Defer(
                [&page, name = std::string(propName), bits] { WriteEach(page, name, bits); });
        return;
    }
    WriteEach(page, propName, bits);
}
