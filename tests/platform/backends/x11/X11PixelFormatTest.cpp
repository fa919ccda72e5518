// Surface pixels in the formats a TrueColor visual may have.
#include "platform/backends/x11/X11PixelFormat.h"

#include <gtest/gtest.h>

namespace {

using kw::x11::PixelFormat;

TEST(X11PixelFormat, ConvertsToAnyChannelLayout) {
    const PixelFormat rgb(0xFF0000, 0x00FF00, 0x0000FF);
    EXPECT_TRUE(rgb.IsIdentity());
    EXPECT_EQ(rgb.FromSurface(0x123456), 0x123456ul);

    const PixelFormat bgr(0x0000FF, 0x00FF00, 0xFF0000);
    EXPECT_FALSE(bgr.IsIdentity());
    EXPECT_EQ(bgr.FromSurface(0x123456), 0x563412ul);

    // 16-bit 5-6-5: the top bits of each channel.
    const PixelFormat rgb565(0xF800, 0x07E0, 0x001F);
    EXPECT_EQ(rgb565.FromSurface(0xFF8040), 0xFC08ul);
    EXPECT_EQ(rgb565.FromSurface(0xFFFFFF), 0xFFFFul);

    // 10-bit channels: full white stays full (within the scaling's last bits).
    const PixelFormat deep(0x3FF00000, 0x000FFC00, 0x000003FF);
    EXPECT_EQ(deep.FromSurface(0xFF0000), 0x3FC00000ul);
    EXPECT_EQ(deep.FromSurface(0x000000), 0ul);
}

} // namespace
