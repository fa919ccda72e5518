#pragma once
// A property bag over a JSON object: the container's storage of one
// control's properties. Numbers, strings and booleans map to variants;
// values JSON cannot hold (infinities, not-a-number) are kept as the
// strings "Infinity", "-Infinity" and "NaN" and read back as numbers.
#include "platform/com/PropertyBag.h"

#include <nlohmann/json.hpp>

#include <atomic>

class CJsonPropertyBag final : public IPropertyBag {
public:
    CJsonPropertyBag() : m_values(nlohmann::json::object()) {}
    // A value that is not an object starts an empty bag.
    explicit CJsonPropertyBag(nlohmann::json values);

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
    STDMETHOD_(ULONG, Release)() override;
    // Names match exactly (persistence names are case-sensitive). Objects,
    // arrays and null are not property values: E_FAIL.
    STDMETHOD(Read)(const char* pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) override;
    // Scalars only; anything else gives E_INVALIDARG and writes nothing.
    STDMETHOD(Write)(const char* pszPropName, VARIANT* pVar) override;

    const nlohmann::json& Values() const { return m_values; }

private:
    std::atomic<ULONG> m_refs{1};
    nlohmann::json m_values;
};
