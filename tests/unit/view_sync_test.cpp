// The shared change tracking: a backend hears of every property at the
// first sync, later only of what changed, with geometry in whole pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/text_fit.h"
#include "platform/ui/view_sync.h"

namespace qx::ui {
namespace {

struct RecordedControl final : ControlChanges {
    std::vector<std::string> log;
    PixelRect rect;
    void setGeometry(const PixelRect& r) override {
        rect = r;
        log.push_back("geometry " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                      std::to_string(r.width) + "x" + std::to_string(r.height));
    }
    void setVisible(bool v) override { log.push_back(std::string("visible ") + (v ? "1" : "0")); }
    void setEnabled(bool v) override { log.push_back(std::string("enabled ") + (v ? "1" : "0")); }
    void setCaption(const std::string& c) override { log.push_back("caption " + c); }
    void setBackColor(std::uint32_t c) override { log.push_back("back " + std::to_string(c)); }
    void setForeColor(std::uint32_t c) override { log.push_back("fore " + std::to_string(c)); }
    void setBorder(bool b) override { log.push_back(std::string("border ") + (b ? "1" : "0")); }
    void setPicture(const std::string& p) override { log.push_back("picture " + p); }
};

struct RecordedMenu final : MenuChanges {
    std::vector<std::string> log;
    void setCaption(const std::string& c) override { log.push_back("caption " + c); }
    void setChecked(bool v) override { log.push_back(std::string("checked ") + (v ? "1" : "0")); }
    void setEnabled(bool v) override { log.push_back(std::string("enabled ") + (v ? "1" : "0")); }
    void setVisible(bool v) override { log.push_back(std::string("visible ") + (v ? "1" : "0")); }
};

struct RecordedForm final : FormChanges {
    std::vector<std::string> log;
    void setCaption(const std::string& c) override { log.push_back("caption " + c); }
    void setClientSize(int w, int h) override { log.push_back("size " + std::to_string(w) + "x" + std::to_string(h)); }
    void setPosition(int x, int y) override { log.push_back("place " + std::to_string(x) + "," + std::to_string(y)); }
    void setEnabled(bool v) override { log.push_back(std::string("enabled ") + (v ? "1" : "0")); }
    void setWindowState(int s) override { log.push_back("state " + std::to_string(s)); }
    void setVisible(bool v) override { log.push_back(std::string("visible ") + (v ? "1" : "0")); }
};

struct TestForm : Form {
    TestForm() : Form("frmTest") {}
    Control box{*this, "picBox", Kind::PictureBox, nullptr, 120, 240, 3600, 1410};
    Control label{*this, "lblText", Kind::Label, nullptr, 100, 100, 1000, 200};
    Control inner{*this, "lblInner", Kind::Label, &box, 3, 4, 10, 5};
    MenuItem file{*this, "mnuFile", "&File", nullptr};
    MenuItem entry{*this, "mnuEntry", "&Entry", &file};
    MenuItem line{*this, "mnuLine", "-", &file};
};

TEST(ControlSync, TheFirstSyncReportsEveryPropertyThenNothingUntilAChange) {
    TestForm form;
    form.label.setCaption("256 MB");
    ControlSync sync(form.label);
    RecordedControl view;
    sync.sync(view, 15);
    EXPECT_EQ(view.log, (std::vector<std::string>{"geometry 7,7 66x13", "visible 1", "enabled 1", "caption 256 MB",
                                                 "back " + std::to_string(kSysButtonFace),
                                                 "fore " + std::to_string(kSysButtonText), "border 1", "picture "}));
    view.log.clear();
    sync.sync(view, 15);
    EXPECT_TRUE(view.log.empty());
    form.label.setCaption("256 MB");  // the same text: nothing to apply
    sync.sync(view, 15);
    EXPECT_TRUE(view.log.empty());
}

TEST(ControlSync, AWindowMadeWithPlaceVisibilityAndCaptionHearsOfThemAgainOnlyOnAChange) {
    TestForm form;
    form.label.setCaption("256 MB");
    ControlSync sync(form.label);
    sync.creation(15);
    form.label.setCaption("512 MB");
    RecordedControl view;
    sync.sync(view, 15);
    EXPECT_EQ(view.log, (std::vector<std::string>{"enabled 1", "caption 512 MB", "back " + std::to_string(kSysButtonFace),
                                                 "fore " + std::to_string(kSysButtonText), "border 1", "picture "}));
    view.log.clear();
    sync.forget();
    sync.sync(view, 15);
    EXPECT_EQ(view.log.size(), 8u) << "after forget() everything again";
}

TEST(ControlSync, ReportsOnlyWhatChanged) {
    TestForm form;
    ControlSync sync(form.label);
    RecordedControl view;
    sync.sync(view, 15);
    view.log.clear();
    form.label.setCaption("1,024 MB");
    form.label.setForeColor(0xFF);
    form.label.setVisible(false);
    sync.sync(view, 15);
    EXPECT_EQ(view.log, (std::vector<std::string>{"visible 0", "caption 1,024 MB", "fore 255"}));
    view.log.clear();
    form.label.setEnabled(false);
    form.label.setLeft(400);
    sync.sync(view, 15);
    EXPECT_EQ(view.log, (std::vector<std::string>{"geometry 27,7 66x13", "enabled 0"}));
}

TEST(ControlSync, GeometryFollowsTheTwipsPerPixelAndSharesRoundedEdges) {
    TestForm form;
    ControlSync sync(form.box);
    RecordedControl view;
    sync.sync(view, 15);
    EXPECT_EQ(view.rect, (PixelRect{8, 16, 240, 94}));
    view.log.clear();
    sync.sync(view, 12);  // a screen with more pixels to the inch
    EXPECT_EQ(view.log, (std::vector<std::string>{"geometry 10,20 300x118"}));
    // Both ends are rounded: 100..1100 twips at 15 is 7..73, not 7 + 67.
    EXPECT_EQ(ControlSync(form.label).geometry(15), (PixelRect{7, 7, 66, 13}));
}

TEST(ControlSync, AnEdgeHalfwayBetweenTwoPixelsGoesToTheEvenOne) {
    struct Case {
        double twips, twipsPerPixel;
        int pixels;
    };
    for (const Case& c : {Case{22.5, 15, 2}, Case{37.5, 15, 2}, Case{90, 12, 8}, Case{102, 12, 8},
                          Case{3125, 10, 312}, Case{3135, 10, 314}, Case{18.75, 7.5, 2}, Case{-7.5, 15, 0}}) {
        EXPECT_EQ(twipsToPixels(c.twips, c.twipsPerPixel), c.pixels) << c.twips << " twips at " << c.twipsPerPixel;
    }
    TestForm form;
    form.box.setWidth(3005);  // right edge at 3125 twips, 312.5 pixels at 144 dpi
    EXPECT_EQ(ControlSync(form.box).geometry(10), (PixelRect{12, 24, 300, 141}));
}

TEST(ControlSync, InsideAPictureBoxMeasuredInPixelsGeometryIsStillWholePixels) {
    TestForm form;
    form.box.scalePixels = true;
    form.inner.setLeft(3);  // pixels of the box
    form.inner.setTop(4);
    form.inner.setWidth(10);
    form.inner.setHeight(5);
    ControlSync sync(form.inner);
    RecordedControl view;
    sync.sync(view, 15);
    EXPECT_EQ(view.rect, (PixelRect{3, 4, 10, 5}));
}

TEST(ControlSync, ForgetReportsEverythingAgain) {
    TestForm form;
    ControlSync sync(form.box);
    RecordedControl view;
    sync.sync(view, 15);
    const std::size_t all = view.log.size();
    view.log.clear();
    sync.forget();
    sync.sync(view, 15);
    EXPECT_EQ(view.log.size(), all);
}

TEST(ControlSync, ANewPictureIsReported) {
    TestForm form;
    ControlSync sync(form.box);
    RecordedControl view;
    sync.sync(view, 15);
    view.log.clear();
    form.box.setPicture("warning");
    sync.sync(view, 15);
    EXPECT_EQ(view.log, (std::vector<std::string>{"picture warning"}));
}

TEST(MenuSync, ReportsEverythingFirstThenChangesAndNoCaptionForSeparators) {
    TestForm form;
    MenuSync entry(form.entry);
    RecordedMenu view;
    entry.sync(view);
    EXPECT_EQ(view.log, (std::vector<std::string>{"caption &Entry", "checked 0", "enabled 1", "visible 1"}));
    view.log.clear();
    form.entry.setChecked(true);
    entry.sync(view);
    EXPECT_EQ(view.log, (std::vector<std::string>{"checked 1"}));
    view.log.clear();
    entry.sync(view);
    EXPECT_TRUE(view.log.empty());
    // The toolkit flipped the mark itself: forget() puts the model's back.
    entry.forget();
    entry.sync(view);
    EXPECT_EQ(view.log, (std::vector<std::string>{"caption &Entry", "checked 1", "enabled 1", "visible 1"}));

    MenuSync line(form.line);
    RecordedMenu lineView;
    line.sync(lineView);
    EXPECT_EQ(lineView.log, (std::vector<std::string>{"checked 0", "enabled 1", "visible 1"}));
}

// A window its backend centres when first shown takes the model's place
// only after that; a place the window already has, or a new DPI alone, is
// not applied again.
TEST(FormSync, PlacesAWindowCentredAtFirstShowOnlyOnceShownAndNothingTwice) {
    TestForm form;
    form.setCaption("Quendax");
    form.setClientSize(4080, 4065);
    FormSync sync(form, true);
    RecordedForm view;
    sync.sync(view, 15);
    EXPECT_EQ(view.log, (std::vector<std::string>{"caption Quendax", "size 272x271", "enabled 1", "state 0", "visible 0"}));
    view.log.clear();
    form.show();
    sync.sync(view, 15);
    EXPECT_EQ(view.log, (std::vector<std::string>{"visible 1"}));
    view.log.clear();
    form.setBounds(1500, 750, 4200, 4755);  // where the backend centred it
    sync.placeTaken();
    sync.sync(view, 10);
    EXPECT_TRUE(view.log.empty());
    form.setLeft(3000);
    form.setWindowState(kMinimized);
    sync.sync(view, 10);
    EXPECT_EQ(view.log, (std::vector<std::string>{"place 300,75", "state 1"}));
}

// A text too wide for its label is drawn just small enough to fit, never
// below three quarters of the font.
TEST(FontScaleToFit, ShrinksJustEnoughDownToThreeQuarters) {
    const struct { double needed, room, scale; } cases[] = {{60, 60, 1}, {101, 100, 99.0 / 101}, {200, 100, 0.75}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(FontScaleToFit(c.needed, c.room), c.scale) << c.needed;
}

}  // namespace
}  // namespace qx::ui
