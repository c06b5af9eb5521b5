// The pop-up menu as the desktop's menu protocol numbers and describes it,
// and the changes a refresh reports; and clicks a desktop reports one by one.
#include <gtest/gtest.h>

#include "platform/ui/click_repeats.h"
#include "platform/ui/exported_menu.h"

namespace qx::ui {
namespace {

struct PopupForm : Form {
    PopupForm() : Form("frmTest") {}
    MenuItem popup{*this, "mnuPopUp", "PopUp", nullptr};
    MenuItem show{*this, "mnuShow", "&Hide", &popup};
    MenuItem line{*this, "mnuLinea", "-", &popup};
    MenuItem exit{*this, "mnuExit2", "E&xit", &popup};
};

TEST(ExportedMenu, LabelsTurnAccessKeysIntoUnderscores) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Hide", "_Hide"}, {"E&xit", "E_xit"}, {"Save && go", "Save & go"}, {"a_b", "a__b"}, {"end&", "end_"}};
    for (const auto& [caption, label] : cases) EXPECT_EQ(exportedLabel(caption), label) << caption;
}

TEST(ExportedMenu, NumbersEntriesInTreeOrderWithTheirNonDefaultProperties) {
    PopupForm form;
    form.exit.setEnabled(false);
    ExportedMenu menu(form.popup);
    EXPECT_EQ(menu.entry(0)->children, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(menu.entry(1)->properties, (ExportedProperties{{"label", std::string("_Hide")}}));
    EXPECT_EQ(menu.entry(2)->properties, (ExportedProperties{{"type", std::string("separator")}}));
    EXPECT_EQ(menu.entry(3)->properties,
              (ExportedProperties{{"label", std::string("E_xit")}, {"enabled", false}}));
    EXPECT_EQ(menu.entry(4), nullptr);
}

TEST(ExportedMenu, ARefreshReportsWhatChangedAndWhatWentBackToItsDefault) {
    PopupForm form;
    ExportedMenu menu(form.popup);
    EXPECT_FALSE(menu.refresh().any());
    const auto first = menu.revision();

    form.show.setCaption("&Show");
    form.show.setChecked(true);
    ExportedMenu::Changes changes = menu.refresh();
    ASSERT_EQ(changes.updated.size(), 1u);
    EXPECT_EQ(changes.updated[0].first, 1);
    EXPECT_EQ(changes.updated[0].second, (ExportedProperties{{"label", std::string("_Show")},
                                                            {"toggle-state", 1},
                                                            {"toggle-type", std::string("checkmark")}}));
    EXPECT_GT(menu.revision(), first);

    form.show.setChecked(false);
    changes = menu.refresh();
    EXPECT_TRUE(changes.updated.empty());
    ASSERT_EQ(changes.removed.size(), 1u);
    EXPECT_EQ(changes.removed[0].second, (std::vector<std::string>{"toggle-state", "toggle-type"}));
}

TEST(ClickRepeats, FurtherClicksWithinTheDoubleClickTimeOfTheActingOneDoNothing) {
    // Times in ms, double-click time 400: a host's three Activates for one
    // double-click, then a click after the time, then one just inside it.
    ClickRepeats repeats;
    const std::pair<std::int64_t, bool> clicks[] = {{1000, true}, {1150, false}, {1160, false},
                                                    {1400, true}, {1799, false}, {1800, true}};
    for (const auto& [at, acts] : clicks) EXPECT_EQ(repeats.acts(at, 400), acts) << at;
}

}  // namespace
}  // namespace qx::ui
