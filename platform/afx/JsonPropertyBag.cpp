#include "platform/afx/JsonPropertyBag.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

CJsonPropertyBag::CJsonPropertyBag(nlohmann::json values)
    : m_values(values.is_object() ? std::move(values) : nlohmann::json::object()) {}

namespace {

// The shortest decimal that reads back as the same float, as a double, so
// that 0.3f is stored as 0.3 rather than 0.30000001192092896.
double FloatAsDecimal(float value) {
    char text[32];
    auto [end, ec] = std::to_chars(text, text + sizeof text - 1, value);
    if (ec != std::errc())
        return value;
    *end = '\0';
    return std::strtod(text, nullptr);
}

nlohmann::json NumberOrMarker(double value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    return value;
}

bool SpecialNumber(const std::string& text, double* value) {
    if (text == "NaN")
        *value = std::numeric_limits<double>::quiet_NaN();
    else if (text == "Infinity")
        *value = std::numeric_limits<double>::infinity();
    else if (text == "-Infinity")
        *value = -std::numeric_limits<double>::infinity();
    else
        return false;
    return true;
}

} // namespace

HRESULT CJsonPropertyBag::Read(const char* pszPropName, VARIANT* pVar, IErrorLog*) {
    if (!pszPropName || !pVar)
        return E_POINTER;
    auto it = m_values.find(pszPropName);
    if (it == m_values.end())
        return E_INVALIDARG;
    CComVariant value;
    const nlohmann::json& j = *it;
    VARTYPE wanted = pVar->vt;
    double special = 0;
    if (j.is_boolean()) {
        value = CComVariant::Bool(j.get<bool>());
    } else if (j.is_number_integer() && j.get<long long>() >= std::numeric_limits<LONG>::min() &&
               j.get<long long>() <= std::numeric_limits<LONG>::max()) {
        value = CComVariant::I4(static_cast<LONG>(j.get<long long>()));
    } else if (j.is_number()) {
        value = CComVariant::R8(j.get<double>());
    } else if (j.is_string()) {
        const std::string& text = j.get_ref<const std::string&>();
        if ((wanted == VT_R8 || wanted == VT_R4) && SpecialNumber(text, &special))
            value = CComVariant::R8(special);
        else
            value = CComVariant::Str(text);
    } else {
        return E_FAIL;
    }
    if (wanted == VT_EMPTY || wanted == value.vt) {
        VariantClear(pVar);
        return VariantCopy(pVar, &value);
    }
    CComVariant converted;
    HRESULT hr = VariantChangeType(&converted, &value, 0, wanted);
    if (FAILED(hr))
        return hr;
    VariantClear(pVar);
    return VariantCopy(pVar, &converted);
}

HRESULT CJsonPropertyBag::Write(const char* pszPropName, VARIANT* pVar) {
    if (!pszPropName || !pVar)
        return E_POINTER;
    CComVariant value;
    HRESULT hr = VariantCopyInd(&value, pVar);
    if (FAILED(hr))
        return hr;
    nlohmann::json j;
    switch (value.vt) {
    case VT_I2:
        j = value.iVal;
        break;
    case VT_UI2:
        j = value.uiVal;
        break;
    case VT_UI1:
        j = value.bVal;
        break;
    case VT_I4:
        j = value.lVal;
        break;
    case VT_R4:
        j = NumberOrMarker(FloatAsDecimal(value.fltVal));
        break;
    case VT_R8:
        j = NumberOrMarker(value.dblVal);
        break;
    case VT_BOOL:
        j = value.boolVal != 0;
        break;
    case VT_BSTR:
        j = std::string(BstrView(value.bstrVal));
        break;
    default:
        return E_INVALIDARG;
    }
    m_values[pszPropName] = std::move(j);
    return S_OK;
}
