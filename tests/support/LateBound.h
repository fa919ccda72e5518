#pragma once
// Late-bound calls by name, as a host's scripting makes them: the name looked
// up with GetIDsOfNames, the arguments in reading order (Invoke takes them
// last first), a property put with its named DISPID_PROPERTYPUT argument.
#include "platform/com/Dispatch.h"
#include "platform/com/Variant.h"

#include <vector>

inline HRESULT CallByName(IDispatch* d, const char* name, WORD flags,
                          std::vector<CComVariant> args = {}, VARIANT* result = nullptr) {
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(d->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)))
        return DISP_E_UNKNOWNNAME;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS p{reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT)
        p.rgdispidNamedArgs = &put, p.cNamedArgs = 1;
    return d->Invoke(id, IID_NULL, 0, flags, &p, result, nullptr, nullptr);
}
