// Coercion from arbitrary strings to every scalar type, and back to text.
#include "platform/com/Variant.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CComVariant text =
        CComVariant::Str(std::string_view(reinterpret_cast<const char*>(data), size));
    static const VARTYPE targets[] = {VT_I2,   VT_I4,    VT_UI2,  VT_UI1,   VT_R4,       VT_R8,
                                      VT_BOOL, VT_ERROR, VT_NULL, VT_EMPTY, VT_DISPATCH, VT_BSTR};
    for (VARTYPE vt : targets) {
        CComVariant out;
        HRESULT hr = VariantChangeType(&out, &text, 0, vt);
        if (FAILED(hr)) {
            if (out.vt != VT_EMPTY)
                std::abort(); // a failed conversion must leave the target alone
            continue;
        }
        if (out.vt != vt)
            std::abort();
        // A number read from text must print and read back to the same value.
        if (vt == VT_R8 && std::isfinite(out.dblVal)) {
            CComVariant printed, reread;
            if (FAILED(VariantChangeType(&printed, &out, 0, VT_BSTR)) ||
                FAILED(VariantChangeType(&reread, &printed, 0, VT_R8)))
                std::abort();
            double a = out.dblVal, b = reread.dblVal;
            if (std::fabs(a - b) > 1e-14 * std::fabs(a) + 1e-300)
                std::abort();
        }
    }
    return 0;
}
