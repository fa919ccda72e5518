// Feeds arbitrary bytes to the icon file reader and to the resource
// compiler's check of icon files: they must refuse or read, never read out of
// bounds; an icon that is read has a sane size and can be destroyed.
#include "platform/user/Icon.h"
#include "resources/compiler/RcEmitter.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const bool checked =
        kw::rc::CheckIconFile(std::string(reinterpret_cast<const char*>(data), size), &error);
    if (!checked && error.empty())
        std::abort();
    HICON icon = kw::user::CreateIconFromIconFile(std::span<const std::uint8_t>(data, size));
    if (!icon)
        return 0;
    const SIZE s = kw::user::IconSize(icon);
    if (s.cx <= 0 || s.cy <= 0 || s.cx > 256 || s.cy > 256 || !DestroyIcon(icon))
        std::abort();
    return 0;
}
