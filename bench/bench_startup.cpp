// Start-up: from constructing the main window to its first paint with Documento 1 open,
// against a bare QMainWindow shown the same way (the floor).

#include "frmmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {
class FirstPaint : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

template <typename Window>
void showUntilPainted(benchmark::State &state)
{
    for (auto _ : state) {
        FirstPaint watch;
        auto window = std::make_unique<Window>();
        window->installEventFilter(&watch);
        window->show();
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        window->hide();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

void BM_BareMainWindow(benchmark::State &state) { showUntilPainted<QMainWindow>(state); }
void BM_EditorStartup(benchmark::State &state) { showUntilPainted<frmMain>(state); }

double meanMs(void (*fn)(benchmark::State &), const char *name)
{
    // One timed pass outside the framework gives the ratio printed at the end.
    constexpr int runs = 20;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        FirstPaint watch;
        std::unique_ptr<QWidget> window;
        if (fn == &BM_BareMainWindow)
            window = std::make_unique<QMainWindow>();
        else
            window = std::make_unique<frmMain>();
        window->installEventFilter(&watch);
        window->show();
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const double ms = timer.nsecsElapsed() / 1e6 / runs;
    std::printf("%-22s %8.2f ms per start\n", name, ms);
    return ms;
}
} // namespace

BENCHMARK(BM_BareMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorStartup)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double floor = meanMs(&BM_BareMainWindow, "bare QMainWindow");
    const double editor = meanMs(&BM_EditorStartup, "frmMain + Documento 1");
    std::printf("start-up / floor = %.1fx (goal: under 150 ms, measured %.1f ms)\n",
                editor / floor, editor);
    benchmark::Shutdown();
    return 0;
}
