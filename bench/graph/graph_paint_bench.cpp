// One paint of the history graph with a full ring, into an image, at the
// design size (a 200-pixel plot) and with a 2,000-pixel plot; beside it the
// floor: QPainter drawing only the same two polylines into the same image.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <cmath>
#include <sstream>
#include <vector>

#include "mainwindow/frm_main.h"
#include "platform/qt/qt_canvas.h"
#include "platform/sim/sim_system.h"

namespace {

constexpr double kTwipsPerPixel = 15;

// A main window on a simulated machine, its ring full of wavy samples, its
// graph `plotWidth` pixels wide.
struct Graph {
    std::ostringstream out;
    qx::sim::SimSystem system{out, [] { return std::int64_t{0}; }};
    qx::ModMemory memory{system};
    qx::FrmMain form{system, memory};
    QImage image;

    explicit Graph(int plotWidth) {
        const int clientWidth = plotWidth + 29 + 8;  // left edge 29, margin 8
        form.picHist.setWidth((clientWidth + 4) * kTwipsPerPixel);
        form.picHist.setHeight((101 + 4) * kTwipsPerPixel);
        for (int i = 0; i < qx::kHistorySlots; ++i) {
            form.FreeHistory[i] = 0.5f + 0.4f * static_cast<float>(std::sin(i / 17.0));
            form.IdleHistory[i] = 0.5f + 0.45f * static_cast<float>(std::cos(i / 5.0));
        }
        form.HistoryIndex = 1234;
        image = QImage(clientWidth, 101, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
    }

    // The two point lists a paint draws, taken from a recorded paint.
    std::vector<QPoint> memoryPoints, processorPoints;
    void takePoints() {
        struct Recorder final : qx::ui::Canvas {
            std::vector<std::vector<QPoint>> lists;
            void line(int, int, int, int, const qx::ui::Pen&) override {}
            void rect(int, int, int, int, const qx::ui::Pen&) override {}
            void polyline(const qx::ui::Point* p, int n, const qx::ui::Pen&) override {
                std::vector<QPoint> list;
                for (int i = 0; i < n; ++i) list.emplace_back(p[i].x, p[i].y);
                lists.push_back(std::move(list));
            }
        } recorder;
        form.picHist_Paint(recorder);
        memoryPoints = recorder.lists.at(0);
        processorPoints = recorder.lists.at(1);
    }
};

void BM_Paint(benchmark::State& state) {
    Graph graph(static_cast<int>(state.range(0)));
    const QPalette palette;
    std::vector<QPoint> scratch;
    for (auto _ : state) {
        QPainter painter(&graph.image);
        qx::qt::QtCanvas canvas(painter, palette, scratch);
        graph.form.picHist_Paint(canvas);
    }
    graph.takePoints();
    state.counters["points"] = static_cast<double>(graph.memoryPoints.size());
}

void BM_PolylinesOnly(benchmark::State& state) {
    Graph graph(static_cast<int>(state.range(0)));
    graph.takePoints();
    const QPalette palette;
    const QPen memoryPen = qx::qt::QtCanvas::toQPen({0x00C000, 1, 0}, palette);
    const QPen processorPen = qx::qt::QtCanvas::toQPen({0x00C0C0, 1, 0}, palette);
    for (auto _ : state) {
        QPainter painter(&graph.image);
        painter.setPen(memoryPen);
        painter.drawPolyline(graph.memoryPoints.data(), static_cast<int>(graph.memoryPoints.size()));
        painter.setPen(processorPen);
        painter.drawPolyline(graph.processorPoints.data(),
                             static_cast<int>(graph.processorPoints.size()));
    }
    state.counters["points"] = static_cast<double>(graph.memoryPoints.size());
}


BENCHMARK(BM_Paint)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PolylinesOnly)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // Images need a GUI application for fonts and pens; no screen is used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
