// Reads arbitrary bytes as a hive file. Whatever the reader accepts must be
// written and read back to the same hive, and writing that again must give
// the same text. Traps otherwise.
#include "platform/registry/RegEdit4.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void CheckRoundTrip(std::string_view text, std::string_view rootName) {
    using namespace kw::registry;
    HiveKey hive;
    ParseError error;
    if (!ParseRegEdit4(text, rootName, &hive, &error)) {
        Check(error.line >= 1 && !error.reason.empty());
        return;
    }
    std::string written = WriteRegEdit4(hive, rootName);
    HiveKey again;
    Check(ParseRegEdit4(written, rootName, &again, &error));
    Check(again == hive);
    Check(WriteRegEdit4(again, rootName) == written);
}

} // namespace

// Both hives read the same bytes: a file of the one is foreign to the other.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckRoundTrip(text, "HKEY_CURRENT_USER");
    CheckRoundTrip(text, "HKEY_CLASSES_ROOT");
    return 0;
}
