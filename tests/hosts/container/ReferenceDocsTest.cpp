// docs/controls.md is what the module's type library says today: a change
// of a dispatch or event table without `scripts/docs` fails here.
#include "ContainerTestSupport.h"

namespace kw::container::test {
namespace {

TEST_F(ContainerTest, TheControlsReferenceInTheTreeIsCurrent) {
    const RunResult run =
        Command(std::string(KW_REGSVR_PATH) + " --reference " + KW_MODULE_PATH);
    ASSERT_EQ(run.status, 0) << run.Transcript();
    EXPECT_NE(run.out.find("## Led\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("| `m_nLedColor` | 1 | property | `short` |"), std::string::npos);
    const std::string inTree = ReadAll(std::string(KW_DOCS_DIR) + "/controls.md");
    EXPECT_TRUE(run.out == inTree)
        << "docs/controls.md is stale: run scripts/docs and commit the result";
}

} // namespace
} // namespace kw::container::test
