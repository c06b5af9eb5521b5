// The real program in-process on the offscreen platform: its window shows
// the machine's memory as /proc/meminfo tells it, its widgets sit where the
// model puts them before and after a resize, and closing it ends the run.
#include <gtest/gtest.h>

#include <QImage>
#include <QLocale>
#include <QPixmap>
#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <new>
#include <sstream>
#include <string>

#include "platform/qt/control_view.h"
#include "platform/qt/label_widget.h"
#include "platform/qt/qt_timer_host.h"
#include "platform/qt/twips.h"
#include "program_fixture.h"

namespace qx::qt {
namespace {

using testing::Program;
using testing::WaitFor;

std::map<std::string, double> ReadMeminfoKb() {
    std::map<std::string, double> values;
    std::ifstream file("/proc/meminfo");
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        std::string key;
        double kb = 0;
        if (in >> key >> kb && !key.empty() && key.back() == ':') values[key.substr(0, key.size() - 1)] = kb;
    }
    return values;
}

bool StrictOvercommit() {
    std::ifstream file("/proc/sys/vm/overcommit_memory");
    int mode = 0;
    return (file >> mode) && mode == 2;
}

// A whole number of megabytes with the user's digit-group separator, as the
// window writes its figures.
std::string Megabytes(double kb) {
    const long long mb = std::llround(kb / 1024);
    std::string digits = std::to_string(mb);
    const std::string separator = QLocale::system().groupSeparator().toStdString();
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out + " MB";
}

double MegabytesIn(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits.empty() ? -1 : std::stod(digits);
}

std::string LabelText(Program& p, const ui::Control& label) {
    auto* w = dynamic_cast<qx::qt::LabelWidget*>(p.widget(label));
    return w ? w->text().toStdString() : std::string("<no label>");
}

QRect Px(double left, double top, double width, double height) {
    return {static_cast<int>(left / 15), static_cast<int>(top / 15), static_cast<int>(width / 15),
            static_cast<int>(height / 15)};
}

TEST(ProgramWindow, ShowsTheFiguresOfProcMeminfoAndSavesAPicture) {
    Program p;
    QtFormWindow* window = p.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());

    // The timer's own ticks fill the labels in.
    ASSERT_TRUE(WaitFor([&] { return LabelText(p, p.main.lblTotalPhysicalShow) != "TOTAL"; }));
    QTest::qWait(300);

    // One more tick between two readings of /proc/meminfo, so the figures can
    // be held against what the kernel said just before and just after.
    const auto before = ReadMeminfoKb();
    p.event([&] { p.main.tmrUpdateMemoryInformation_Timer(); });
    const auto after = ReadMeminfoKb();
    ASSERT_TRUE(before.count("MemTotal") && before.count("MemAvailable"));

    EXPECT_EQ(LabelText(p, p.main.lblTotalPhysicalShow), Megabytes(before.at("MemTotal")));
    const double pageTotal = StrictOvercommit() ? before.at("CommitLimit")
                                                : before.at("MemTotal") + before.at("SwapTotal");
    EXPECT_EQ(LabelText(p, p.main.lblTotalPagefileShow), Megabytes(pageTotal));

    // Free memory moves; the figure lies within what it was around the tick.
    const double freeShown = MegabytesIn(LabelText(p, p.main.lblFreePhysicalShow));
    const double lo = std::min(before.at("MemAvailable"), after.at("MemAvailable")) / 1024;
    const double hi = std::max(before.at("MemAvailable"), after.at("MemAvailable")) / 1024;
    constexpr double kSlackMb = 64;
    EXPECT_GE(freeShown, lo - kSlackMb);
    EXPECT_LE(freeShown, hi + kSlackMb);
    const double usedShown = MegabytesIn(LabelText(p, p.main.lblUsedPhysicalShow));
    EXPECT_NEAR(usedShown + freeShown, MegabytesIn(LabelText(p, p.main.lblTotalPhysicalShow)), 1.0);
    EXPECT_NE(LabelText(p, p.main.lblUsedPhysicalShow).find(" MB"), std::string::npos);

    // The green part is the free share, right-aligned in its bar of 240 pixels.
    const QRect shown = p.widget(p.main.picAvailableRAM)->geometry();
    EXPECT_EQ(shown.right() + 1, 240);
    EXPECT_NEAR(shown.width(), 240 * freeShown / MegabytesIn(LabelText(p, p.main.lblTotalPhysicalShow)), 5);

    const QPixmap picture = window->grab();
    const std::string path = std::string(QX_TEST_ARTIFACT_DIR) + "/quendax-window.png";
    ASSERT_TRUE(picture.save(QString::fromStdString(path), "PNG"));
    std::cout << "screenshot: " << path << std::endl;
    RecordProperty("screenshot", path);

    // The picture shows the bars and the graph in their colours.
    const QImage image = picture.toImage();
    const auto at = [&](const ui::Control& box, int x, int y) {
        auto* outer = p.widget(box);
        const QPoint inWindow = outer->mapTo(window, QPoint(x, y));
        return QColor(image.pixel(inWindow));
    };
    EXPECT_EQ(at(p.main.picAvailableRAM, shown.width() / 2 - 2, 8), QColor(0, 255, 0));
    if (shown.left() > 4) {
        EXPECT_EQ(at(p.main.picUsedPhysical, 3, 8), QColor(255, 0, 0));
    }
    const int histWidth = static_cast<int>(p.main.picHist.scaleWidth());
    const int histHeight = static_cast<int>(p.main.picHist.scaleHeight());
    EXPECT_EQ(at(p.main.picHist, 2 + 2, 2 + histHeight - 2), QColor(0, 0x40, 0));  // background
    EXPECT_EQ(at(p.main.picHist, 2 + histWidth - 8 - 1, 2 + 40), QColor(0, 0x70, 0));  // plot frame
}

TEST(ProgramWindow, WidgetsFollowTheLayoutWhenTheWindowIsResized) {
    Program p;
    QtFormWindow* window = p.window();
    ASSERT_NE(window, nullptr);
    ClientArea* client = window->clientArea();

    // The design client area, 4080 x 4065 twips, as laid out by the resize handler.
    EXPECT_EQ(client->size(), QSize(272, 271));
    EXPECT_EQ(p.widget(p.main.Frame1)->geometry(), Px(120, 120, 3840, 1695));
    EXPECT_EQ(p.widget(p.main.Frame3)->geometry(), Px(120, 1920, 3840, 1770));
    EXPECT_EQ(p.widget(p.main.picUsedPhysical)->geometry(), Px(120, 960, 3600, 255));
    EXPECT_EQ(p.widget(p.main.picUsedPagefile)->geometry(), Px(120, 1320, 3600, 255));
    EXPECT_EQ(p.widget(p.main.picHist)->geometry(), Px(120, 240, 3600, 1410));
    EXPECT_EQ(p.widget(p.main.lblStatus)->geometry().top(), 3810 / 15);
    // The graph is drawn inside the 2-pixel sunken border.
    const ControlView* hist = window->viewOf(p.main.picHist);
    ASSERT_NE(hist, nullptr);
    EXPECT_EQ(hist->pictureClient()->size(), QSize(236, 90));
    EXPECT_EQ(hist->pictureClient()->pos(), QPoint(2, 2));

    // The user makes the window larger: client 400 x 400 pixels.
    const int barHeight = window->height() - client->height();
    window->resize(400, 400 + barHeight);
    ASSERT_TRUE(WaitFor([&] { return client->size() == QSize(400, 400); }));
    ASSERT_TRUE(WaitFor([&] { return p.main.scaleWidth() == 6000 && p.main.scaleHeight() == 6000; }));
    EXPECT_EQ(p.widget(p.main.Frame1)->geometry(), Px(120, 120, 5760, 1695));
    EXPECT_EQ(p.widget(p.main.Frame3)->geometry(), Px(120, 1920, 5760, 3705));
    EXPECT_EQ(p.widget(p.main.picUsedPhysical)->width(), 5520 / 15);
    EXPECT_EQ(p.widget(p.main.picUsedPagefile)->width(), 5520 / 15);
    EXPECT_EQ(p.widget(p.main.picHist)->geometry(), Px(120, 240, 5520, 3345));
    EXPECT_EQ(p.widget(p.main.lblStatus)->geometry().top(), 5745 / 15);
    EXPECT_EQ(hist->pictureClient()->size(), QSize(364, 219));

    // The repaint of the larger graph puts "0%" on its new bottom edge.
    const int bottomEdge = 219 - 8;
    ASSERT_TRUE(WaitFor([&] { return p.widget(p.main.lbGrp0)->geometry().bottom() + 1 == bottomEdge; }))
        << p.widget(p.main.lbGrp0)->geometry().bottom();

    // The model's outer size is the window's frame.
    EXPECT_EQ(p.main.width(), window->frameGeometry().width() * 15);
    EXPECT_EQ(p.main.height(), window->frameGeometry().height() * 15);
}

TEST(ProgramWindow, TheThreeCaptionsShareOneFontSize) {
    Program p;
    auto size = [&](const ui::Control& c) { return static_cast<LabelWidget*>(p.widget(c))->shownFont().pointSizeF(); };
    EXPECT_EQ(size(p.main.lblUsedPhysical), size(p.main.lblTotalPhysical));
    EXPECT_EQ(size(p.main.lblFreePhysical), size(p.main.lblTotalPhysical));
}

TEST(ProgramWindow, ClosingTheWindowEndsTheRunWithStatusZero) {
    Program p;
    ASSERT_NE(p.window(), nullptr);
    p.backend.closeAfter(100);
    EXPECT_EQ(p.backend.exec(), 0);
    EXPECT_TRUE(p.backend.dispatcher().ended());
}

TEST(ProgramWindow, AHandlerRunningOutOfMemoryEndsTheRunCleanly) {
    Program p;
    ASSERT_NE(p.window(), nullptr);
    const QTimer* refresh = p.backend.timers().qtimerOf(p.main.tmrUpdateMemoryInformation);
    ASSERT_NE(refresh, nullptr);
    ASSERT_TRUE(refresh->isActive());
    // The timer's own handler fails: it must not unwind through Qt's frames.
    p.main.tmrUpdateMemoryInformation.onTimer = [] { throw std::bad_alloc(); };
    EXPECT_EQ(p.backend.exec(), 0);
    EXPECT_TRUE(p.backend.dispatcher().ended());
    EXPECT_FALSE(refresh->isActive());
}

TEST(ProgramWindow, StartsCentredOnTheScreenWithTheTitleAndIcon) {
    Program p;
    QtFormWindow* window = p.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quendax"));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_LE(std::abs(window->frameGeometry().center().x() - screen.center().x()), 2);
    EXPECT_LE(std::abs(window->frameGeometry().center().y() - screen.center().y()), 2);
    EXPECT_EQ(p.main.left(), window->frameGeometry().x() * 15);
    EXPECT_EQ(p.main.top(), window->frameGeometry().y() * 15);
}

}  // namespace
}  // namespace qx::qt
