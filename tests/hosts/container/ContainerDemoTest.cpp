// The main job's scripts run to their end: the demo headless with every
// picture it announces written, and the gallery built without a window.
#include "ContainerTestSupport.h"

#include <regex>

namespace kw::container::test {
namespace {

int PngFilesIn(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.path().extension() == ".png" && entry.file_size() > 0)
            ++count;
    return count;
}

TEST_F(ContainerTest, TheDemoRunsToItsEndAndWritesEveryPicture) {
    const RunResult run =
        Container(Quote(std::string(KW_DEMO_DIR) + "/demo.lua") + " " + Quote(Path("pictures")));
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
    std::smatch found;
    ASSERT_TRUE(std::regex_search(run.out, found, std::regex("demo: wrote (\\d+) pictures")))
        << run.Transcript();
    const int announced = std::stoi(found[1]);
    EXPECT_GT(announced, 0);
    EXPECT_EQ(PngFilesIn(Path("pictures")), announced);
}

TEST_F(ContainerTest, TheGalleryBuildsItsFormWithoutAWindow) {
    const RunResult run = Container(Quote(std::string(KW_DEMO_DIR) + "/gallery.lua"));
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("gallery:"), std::string::npos) << run.Transcript();
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
}

} // namespace
} // namespace kw::container::test
