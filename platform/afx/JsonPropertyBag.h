#pragma once
// A property bag over a JSON object: the container's storage of one
// control's properties. Numbers, strings and booleans map to variants;
// values JSON cannot hold (infinities, not-a-number) are kept as the
// strings "Infinity", "-Infinity" and "NaN" and read back as numbers.
#include "platform/com/ComObject.h"
#include "platform/com/PropertyBag.h"

#include <nlohmann/json.hpp>

class CJsonPropertyBag final : public CComObjectRoot<IPropertyBag, IID_IPropertyBag> {
public:
    CJsonPropertyBag() : m_values(nlohmann::json::object()) {}
    // A value that is not an object starts an empty bag.
    explicit CJsonPropertyBag(nlohmann::json values);

    // Names match exactly (persistence names are case-sensitive). Objects,
    // arrays and null are not property values: E_FAIL.
    STDMETHOD(Read)(const char* pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) override;
    // Scalars only; anything else gives E_INVALIDARG and writes nothing.
    STDMETHOD(Write)(const char* pszPropName, VARIANT* pVar) override;

    const nlohmann::json& Values() const { return m_values; }

private:
    nlohmann::json m_values;
};
