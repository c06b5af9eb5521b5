// The floors for the idle benchmark: a Qt Widgets program that shows one
// empty window of the main window's size and does nothing else; with
// --repaint, it also repaints a graph-sized box (240 x 94) ten times a
// second, filling it with a plain colour: what the toolkit and the window
// system cost for the readout's rhythm before any drawing of the program's.
// With --text, it shows the readout's three captions instead, in the default
// font: what drawing any text at all costs (the font configuration, the
// shaping and rasterising libraries, a font file) before the program's own.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstring>

namespace {

class PlainBox final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), (++paints_ % 2) ? QColor(0, 64, 0) : QColor(0, 80, 0));
    }

private:
    int paints_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("empty"));
    window.resize(272, 290);
    auto* box = new PlainBox(&window);
    box->setGeometry(16, 144, 240, 94);
    box->setAttribute(Qt::WA_OpaquePaintEvent);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        int top = 16;
        for (const char* caption : {"Total:", "Used:", "Free:"}) {
            (new QLabel(QString::fromLatin1(caption), &window))->setGeometry(16, top, 50, 17);
            top += 24;
        }
    }
    QTimer tick;
    if (argc > 1 && std::strcmp(argv[1], "--repaint") == 0) {
        QObject::connect(&tick, &QTimer::timeout, box, [box] { box->repaint(); });
        tick.start(100);
    }
    window.show();
    return QApplication::exec();
}
