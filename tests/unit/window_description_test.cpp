// The window's description: controls bottom to top (frames, then labels,
// then the rest, then those asked to lie on top; what a picture box holds
// right after it), placed from their containers' corners in whole device
// pixels, colours as 0xRRGGBB.
#include <gtest/gtest.h>

#include "platform/ui/window_description.h"

namespace qx::ui {
namespace {

struct Shelf : Form {
    Shelf() : Form("frmShelf") { setClientSize(3600, 1800); }
    Control frame{*this, "fra", Kind::Frame, nullptr, 120, 120, 3000, 1500};
    Control bar{*this, "bar", Kind::PictureBox, &frame, 120, 600, 2700, 255};
    Control share{*this, "share", Kind::PictureBox, &bar, 300, 0, 900, 255};
    Control marker{*this, "marker", Kind::PictureBox, &bar, 150, 0, 300, 255};
    Control figure{*this, "figure", Kind::Label, &frame, 120, 240, 600, 255};
    Control hidden{*this, "hidden", Kind::Label, &frame, 120, 900, 600, 255};
};

TEST(WindowDescription, ListsWhatIsShownBottomToTopInDevicePixels) {
    Shelf form;
    form.show();
    form.bar.setBackColor(0x0000FF);
    form.share.setBackColor(0x00FF00);
    form.share.border = false;
    form.marker.setBackColor(0x00C000);
    form.marker.border = false;
    form.marker.stackOnTop = true;
    form.hidden.setVisible(false);
    for (Control* c : {&form.frame, &form.figure}) c->setBackColor(0x102030);
    form.figure.setCaption("1,024 MB");
    ScreenView view{.shown = true, .clientLeft = 100, .clientTop = 50, .scale = 2, .twipsPerPixel = 15, .rgb = {}, .textWidth = {}, .fontShare = {}};
    const std::string text = DescribeWindow(form, view, {{&form.bar, {0x0000C0, 0x00C0C0}}});
    EXPECT_EQ(text,
              "window frmShelf shown=1 mapped=1 x=100 y=50 width=480 height=240 outer=0,0,0,0 scale=2.000000 twips=15.000000 back=0f0000\n"
              "control fra frame in=- x=16 y=16 width=400 height=200 back=302010 border=0 transparent=0 caption=0 picture=0 text=-1 pens=-\n"
              "control figure label in=- x=32 y=48 width=80 height=34 back=302010 border=0 transparent=0 caption=1 picture=0 text=-1 pens=-\n"
              "control bar picture in=- x=32 y=96 width=360 height=34 back=ff0000 border=4 transparent=0 caption=0 picture=0 text=-1 pens=c00000,c0c000\n"
              "control share picture in=bar x=76 y=100 width=120 height=34 back=00ff00 border=0 transparent=0 caption=0 picture=0 text=-1 pens=-\n"
              "control marker picture in=bar x=56 y=100 width=40 height=34 back=00c000 border=0 transparent=0 caption=0 picture=0 text=-1 pens=-\n");
}

}  // namespace
}  // namespace qx::ui
