#pragma once
// Properties of one object of a property page, by name. The page framework
// reads from the first object and writes one value to every object; a page
// that changes part of a packed word, or that writes a value only where an
// object lacks one, reads and writes each object on its own.
#include "platform/afx/CString.h"
#include "platform/afx/OleDispatchDriver.h"

#include <optional>

namespace kw::pages {

inline DISPID DispIdOf(IDispatch* object, LPCSTR name) {
    DISPID id = DISPID_UNKNOWN;
    if (!object || FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
        return DISPID_UNKNOWN;
    return id;
}

template <class T> std::optional<T> GetObjectProperty(IDispatch* object, LPCSTR name, VARTYPE vt) {
    const DISPID id = DispIdOf(object, name);
    if (id == DISPID_UNKNOWN)
        return std::nullopt;
    T value{};
    COleDispatchDriver driver(object, FALSE);
    if (FAILED(driver.GetProperty(id, vt, &value)))
        return std::nullopt;
    return value;
}

template <class T>
bool SetObjectProperty(IDispatch* object, LPCSTR name, VARTYPE vt, const T& value) {
    const DISPID id = DispIdOf(object, name);
    if (id == DISPID_UNKNOWN)
        return false;
    COleDispatchDriver driver(object, FALSE);
    return SUCCEEDED(driver.SetProperty(id, vt, &value));
}

} // namespace kw::pages
