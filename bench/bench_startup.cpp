// Start-up: from constructing the main window to its first paint with Documento 1 open,
// against a bare QMainWindow shown the same way (the floor).

#include "frmmain.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

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

std::map<std::string, double> msPerStart;   // by benchmark, from its own timed iterations

// Only construction, show and first paint are timed; the teardown that makes room for the
// next iteration is not.
template <typename Window>
void showUntilPainted(benchmark::State &state, const char *name)
{
    using Clock = std::chrono::steady_clock;
    double total = 0;
    for (auto _ : state) {
        FirstPaint watch;
        const Clock::time_point start = Clock::now();
        auto window = std::make_unique<Window>();
        window->installEventFilter(&watch);
        window->show();
        while (!watch.painted)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
        window->hide();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    msPerStart[name] = total * 1e3 / double(state.iterations());
}

void BM_BareMainWindow(benchmark::State &state) { showUntilPainted<QMainWindow>(state, "floor"); }
void BM_EditorStartup(benchmark::State &state) { showUntilPainted<frmMain>(state, "editor"); }
} // namespace

BENCHMARK(BM_BareMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorStartup)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double floor = msPerStart["floor"];
    const double editor = msPerStart["editor"];
    std::printf("bare QMainWindow       %8.2f ms per start\n", floor);
    std::printf("frmMain + Documento 1  %8.2f ms per start\n", editor);
    std::printf("start-up / floor = %.1fx (goal: under 150 ms, measured %.1f ms)\n",
                editor / floor, editor);
    benchmark::Shutdown();
    return 0;
}
