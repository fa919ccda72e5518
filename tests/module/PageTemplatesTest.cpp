// The dialog templates of the module's pages: each page finds its template
// and caption, and every item lies inside its dialog with an id of its own,
// so that nothing a page shows is cut off or answers for another item.
#include "module/ClassTable.h"
#include "module/ModuleObjects.h"
#include "platform/user/WindowStyles.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace {

const CModuleResources& Resources() {
    return *kw::module::Resources();
}

bool IsLabelId(int id) {
    return id == -1 || id == 0xFFFF || id == 0;
}

} // namespace

TEST(PageTemplates, EveryPageHasAChildDialogAndACaption) {
    ASSERT_EQ(kw::module::Pages().size(), 18u);
    for (const kw::module::PageClass& page : kw::module::Pages()) {
        SCOPED_TRACE(page.className);
        const DialogTemplate* dialog = Resources().FindDialog(page.dialogId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->style & WS_CHILD) << "a page lives inside its frame";
        EXPECT_GT(dialog->cx, 0);
        EXPECT_GT(dialog->cy, 0);
        EXPECT_TRUE(Resources().LoadString(page.captionId).has_value());
    }
}

TEST(PageTemplates, ItemsLieInsideTheirDialogWithIdsOfTheirOwn) {
    for (const kw::module::PageClass& page : kw::module::Pages()) {
        SCOPED_TRACE(page.className);
        const DialogTemplate* dialog = Resources().FindDialog(page.dialogId);
        ASSERT_NE(dialog, nullptr);
        std::set<int> ids;
        for (const DialogItemTemplate& item : dialog->items) {
            SCOPED_TRACE(item.id);
            EXPECT_GE(item.x, 0);
            EXPECT_GE(item.y, 0);
            // An up-down control with a buddy is placed by its buddy; a combo
            // box's height includes its dropped list.
            const bool placedByBuddy = std::string_view(item.windowClass) == "msctls_updown32";
            const bool dropsDown = std::string_view(item.windowClass) == "COMBOBOX";
            if (!placedByBuddy) {
                EXPECT_LE(item.x + item.cx, dialog->cx);
                if (!dropsDown) {
                    EXPECT_LE(item.y + item.cy, dialog->cy);
                }
            }
            if (!IsLabelId(item.id)) {
                EXPECT_TRUE(ids.insert(item.id).second) << "the id is used twice";
            }
        }
    }
}
