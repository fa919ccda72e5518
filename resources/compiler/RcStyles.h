#pragma once
#include <optional>
#include <string_view>

namespace kw::rc {

// The platform's value of a window, dialog or control style name.
std::optional<unsigned long> StyleValue(std::string_view name);

} // namespace kw::rc
