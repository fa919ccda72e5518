// The container's storage files: any bytes either parse as a control or form
// document or are refused; what parses formats back to text that parses to
// the same thing.
#include "platform/afx/ControlStorage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (auto form = ParseStoredForm(text, &error)) {
        std::string once = FormatStoredForm(*form);
        auto again = ParseStoredForm(once, &error);
        if (!again || FormatStoredForm(*again) != once)
            std::abort();
    } else if (error.empty()) {
        std::abort(); // a refusal always says why
    }
    if (auto control = ParseStoredControl(text, &error)) {
        std::string once = FormatStoredControl(*control);
        auto again = ParseStoredControl(once, &error);
        if (!again || FormatStoredControl(*again) != once)
            std::abort();
    }
    return 0;
}
