// The module's class tables seen through its factories, in process.
#include "module/ClassTable.h"
#include "module/Guids.h"
#include "module/ModuleObjects.h"

#include <gtest/gtest.h>

TEST(ModuleTables, PageListsHaveTheirSizesAndOrder) {
    using namespace kw::ids;
    const struct {
        CLSID clsid;
        std::size_t pages;
    } cases[] = {{CLSID_BmpButton1, 5}, {CLSID_ColorStatic, 3}, {CLSID_SpinEdit, 4},
                 {CLSID_BmpButton2, 4}, {CLSID_Led, 1},         {CLSID_LineView, 1}};
    for (const auto& c : cases) {
        COleControlFactory* factory = kw::module::ControlFactory(c.clsid);
        ASSERT_NE(factory, nullptr);
        EXPECT_EQ(factory->GetPropPageIDs().size(), c.pages) << StringFromGuid(c.clsid);
    }
    const auto& pages = kw::module::ControlFactory(CLSID_BmpButton1)->GetPropPageIDs();
    EXPECT_EQ(pages[0], CLSID_BmpButton1PropPage1);
    EXPECT_EQ(pages[1], CLSID_BmpButton1PropPage2);
    EXPECT_EQ(pages[2], kw::module::CLSID_StockFontPage);
    EXPECT_EQ(pages[4], kw::module::CLSID_StockPicturePage);
    // Built once and kept.
    EXPECT_EQ(&kw::module::ControlFactory(CLSID_BmpButton1)->GetPropPageIDs(), &pages);
}

TEST(ModuleTables, ThirtyTwoFactoriesWithDistinctIdentifiers) {
    const auto& factories = kw::module::Factories().Factories();
    ASSERT_EQ(factories.size(), 32u);
    for (std::size_t i = 0; i < factories.size(); ++i)
        for (std::size_t j = i + 1; j < factories.size(); ++j)
            EXPECT_NE(factories[i]->GetClassID(), factories[j]->GetClassID());
    EXPECT_EQ(kw::module::Controls().size(), 14u);
    EXPECT_EQ(kw::module::Pages().size(), 18u);
}
