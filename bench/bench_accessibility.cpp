// The cost of the accessibility bridge on large documents: Open (the load into the
// control, until the window has handled what the load queued, and the first reading
// around the caret), the background layout that follows it, and a caret move or wheel
// notch followed by a query of the text around the caret, as a screen reader makes while
// it speaks. Each figure is measured with the bridge active and inactive in the same
// run, at 1,000, 10,000 and 100,000 paragraphs, and printed as a ratio of on to off.
//
// The layout figures also give the longest time the event loop did not turn, from the
// start of Open (before the file is read) until the last paragraph is laid out, with the
// bridge off, on, and on with a client in the process asking for the line at the caret
// once a second, as a screen reader does.
//
// Run through bench/run-accessibility.sh, which gives the program an X server, a private
// session bus and the AT-SPI bus with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1.

#include "frmdocument.h"
#include "frmmain.h"
#include "richtextbox.h"
#include "rtfgen.h"
#include "turnmeter.h"

#include <benchmark/benchmark.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

namespace {

frmMain *window = nullptr;
QTemporaryDir scratch;
std::map<std::string, double> seconds;   // per operation, by figure name

// The main window's sizes: a large window, and the 6500 x 6500 twips of a first run, where
// the document window is narrow and a large document lays out much taller.
const QSize windowSizes[] = {QSize(1000, 800), QSize(433, 433)};
int currentSize = 0;

void useWindowSize(int index)
{
    currentSize = index;
    if (window->size() != windowSizes[index]) {
        window->resize(windowSizes[index]);
        QCoreApplication::processEvents();
    }
}


QString documentPath(int paragraphs)
{
    const QString path = scratch.filePath(QStringLiteral("doc%1.rtf").arg(paragraphs));
    if (!QFile::exists(path))
        rtfgen::benchDocument(path, paragraphs);
    return path;
}

// Whether Qt's background layout has reached the last paragraph. A minute is far more
// than any of these documents needs: past it the figure would be wrong, so say so.
bool laidOut(RichTextBox *text, const QElapsedTimer &since)
{
    if (text->document()->lastBlock().layout()->lineCount() > 0)
        return true;
    if (since.elapsed() > 60000)
        qFatal("the document was not laid out within a minute");
    return false;
}

// Runs the event loop until the background layout has reached the last paragraph.
void waitForLayout(RichTextBox *text)
{
    QElapsedTimer since;
    since.start();
    while (!laidOut(text, since))
        QCoreApplication::processEvents();
}

// A control holding the document, laid out: the wheel figures are the notches' own, not
// the steps of the background layout that the longest-wait figure shows.
RichTextBox *loaded(int paragraphs)
{
    static std::map<std::pair<int, int>, RichTextBox *> controls;
    auto found = controls.find({paragraphs, currentSize});
    if (found != controls.end())
        return found->second;
    window->CreateDocumentWindow();
    RichTextBox *text = window->activeDocument()->rtfText;
    text->LoadFile(documentPath(paragraphs));
    waitForLayout(text);
    controls[{paragraphs, currentSize}] = text;
    return text;
}

// Closing only schedules the window's deletion, and no event loop runs here to carry it
// out: without the explicit delivery a closed 100,000-paragraph window would linger and
// weigh on every later figure.
void closeActiveDocument()
{
    window->activeDocument()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// What a screen reader asks after the caret moved: the line around it.
void readAroundCaret(RichTextBox *text)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(text);
    QAccessibleTextInterface *reading = iface ? iface->textInterface() : nullptr;
    if (!reading)
        return;
    int start = 0, end = 0;
    const QString line =
        reading->textAtOffset(reading->cursorPosition(), QAccessible::LineBoundary, &start, &end);
    benchmark::DoNotOptimize(line);
}

std::string sizeName(int index)
{
    return std::to_string(windowSizes[index].width()) + "x" + std::to_string(windowSizes[index].height());
}

// How the bridge is for a figure: off, on, or on with a client in the process reading.
enum Bridge { BridgeOff, BridgeOn, BridgeRead };
const char *const bridgeNames[] = {"off", "on", "reader"};

std::string figure(const char *what, int paragraphs, int bridge, int size = currentSize)
{
    return std::string(what) + "/" + std::to_string(paragraphs) + "/" + bridgeNames[bridge] + "/"
        + sizeName(size);
}

// Ends one timed step: the reading around the caret, the events it queued, and the time
// taken, kept apart for the first step (which may lay the document out) and the rest.
void finishStep(RichTextBox *text, const QElapsedTimer &clock, double &first, double &rest)
{
    readAroundCaret(text);
    QCoreApplication::processEvents();
    const double took = clock.nsecsElapsed() / 1e9;
    if (first < 0)
        first = took;
    else
        rest += took;
}

void note(benchmark::State &state, const std::string &name, double total)
{
    const double each = total / double(state.iterations());
    seconds[name] = each;
    state.counters["ms"] = each * 1000.0;
}

// The first move into a freshly loaded document pays, once, for laying out every
// paragraph up to the caret; the moves after it show what each keystroke or notch costs.
// Both are kept: the first as its own figure, the mean over the others as the figure.
void noteSteady(benchmark::State &state, const std::string &name, double first, double rest)
{
    seconds["first-" + name] = first;
    state.counters["first_ms"] = first * 1000.0;
    const double each = state.iterations() > 1 ? rest / double(state.iterations() - 1) : first;
    seconds[name] = each;
    state.counters["ms"] = each * 1000.0;
}

// Open: the load, the events it queued and, with the bridge on, the reading a screen
// reader makes when the caret lands at the start of the new text. With the bridge off
// nobody reads.
void open(RichTextBox *text, const QString &path, bool bridge)
{
    text->LoadFile(path);
    QCoreApplication::processEvents();
    if (bridge)
        readAroundCaret(text);
}

// A new document window, with the bridge made active or not for what follows.
RichTextBox *newDocument(bool bridge)
{
    window->CreateDocumentWindow();
    QCoreApplication::processEvents();
    QAccessible::setActive(bridge);
    return window->activeDocument()->rtfText;
}

void BM_Open(benchmark::State &state)
{
    useWindowSize(int(state.range(2)));
    const int paragraphs = int(state.range(0));
    const bool bridge = state.range(1) != 0;
    const QString path = documentPath(paragraphs);
    RichTextBox *text = newDocument(bridge);
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        open(text, path, bridge);
        total += clock.nsecsElapsed() / 1e9;
    }
    QAccessible::setActive(true);
    closeActiveDocument();
    note(state, figure("open", paragraphs, bridge), total);
}

// A screen reader in the process: once a second it asks for the line at the caret through
// the control's accessible interface, and notes its slowest answer.
class CaretLineReader
{
public:
    explicit CaretLineReader(RichTextBox *text)
    {
        asker.setInterval(1000);
        QObject::connect(&asker, &QTimer::timeout, text, [this, text] {
            QElapsedTimer took;
            took.start();
            readAroundCaret(text);
            slowest = std::max(slowest, took.nsecsElapsed() / 1e9);
        });
        asker.start();
    }
    double slowest = 0;

private:
    QTimer asker;
};

struct LayoutRun
{
    double took = 0;          // from Open to the last paragraph laid out
    double longestGap = 0;    // the longest time the event loop did not turn meanwhile
    double slowestRead = 0;   // the in-process reader's slowest answer
    double cpuOpening = 0;    // the longest gap in this thread's processor time, in Open
    double cpuLayingOut = 0;  // and in the layout after it
};

// After Open, Qt lays the rest of the document out in the background, a step at a time.
// Open, then the event loop until the layout has reached the last paragraph: the time taken
// and the longest time the window could not answer (the event loop did not turn), from
// before the file is read. `narrow` makes the window 150 px wide and gives it its width
// back just after Open.
LayoutRun openAndLayOut(RichTextBox *text, const QString &path, int bridge, bool narrow)
{
    std::unique_ptr<CaretLineReader> reader;
    if (bridge == BridgeRead)
        reader = std::make_unique<CaretLineReader>(text);
    TurnMeter meter;
    QElapsedTimer clock;
    clock.start();
    open(text, path, bridge != BridgeOff);
    meter.enter(TurnMeter::LayingOut);
    if (narrow) {
        QWidget *doc = window->activeDocument();
        const QSize was = doc->size();
        doc->resize(150, was.height());
        QCoreApplication::processEvents();
        doc->resize(was);
    }
    while (!laidOut(text, clock))
        QCoreApplication::processEvents();
    LayoutRun run;
    run.took = clock.nsecsElapsed() / 1e9;
    run.longestGap = meter.longestGap();
    run.slowestRead = reader ? reader->slowest : 0;
    run.cpuOpening = meter.longestCpuGap(TurnMeter::Opening);
    run.cpuLayingOut = meter.longestCpuGap(TurnMeter::LayingOut);
    return run;
}

void noteLayout(benchmark::State &state, const std::string &name, const LayoutRun &worst,
                double total)
{
    note(state, name, total);
    seconds["longest-" + name] = worst.longestGap;
    state.counters["longest_wait_ms"] = worst.longestGap * 1000.0;
    seconds["cpu-open-" + name] = worst.cpuOpening;
    seconds["cpu-layout-" + name] = worst.cpuLayingOut;
    state.counters["cpu_open_ms"] = worst.cpuOpening * 1000.0;
    state.counters["cpu_layout_ms"] = worst.cpuLayingOut * 1000.0;
    if (worst.slowestRead > 0) {
        seconds["reader-" + name] = worst.slowestRead;
        state.counters["slowest_read_ms"] = worst.slowestRead * 1000.0;
    }
}

// Runs the layout figure's iterations; the longest gap and slowest answer over all of them.
void measureLayouts(benchmark::State &state, RichTextBox *text, const QString &path, int bridge,
                    bool narrow, const std::string &name)
{
    LayoutRun worst;
    double total = 0;
    for (auto _ : state) {
        const LayoutRun run = openAndLayOut(text, path, bridge, narrow);
        total += run.took;
        worst.longestGap = std::max(worst.longestGap, run.longestGap);
        worst.slowestRead = std::max(worst.slowestRead, run.slowestRead);
        worst.cpuOpening = std::max(worst.cpuOpening, run.cpuOpening);
        worst.cpuLayingOut = std::max(worst.cpuLayingOut, run.cpuLayingOut);
    }
    noteLayout(state, name, worst, total);
}

void BM_LayoutAfterOpen(benchmark::State &state)
{
    useWindowSize(int(state.range(2)));
    const int paragraphs = int(state.range(0));
    const int bridge = int(state.range(1));
    const QString path = documentPath(paragraphs);
    RichTextBox *text = newDocument(bridge != BridgeOff);
    measureLayouts(state, text, path, bridge, false, figure("laidout", paragraphs, bridge));
    QAccessible::setActive(true);
    closeActiveDocument();
}

// The document window at the first-run size as the user may have arranged it: the smallest
// a cascade of many windows leaves, maximised, narrowed to 150 px and back after Open, or
// one of many windows cascaded and then tiled; or Documento 1 opened again over the same
// document, laid out, which Open then replaces.
enum Arrangement { Cascaded, Maximised, NarrowedAndBack, Tiled, Reopened };
const char *const arrangementNames[] = {"cascade", "maximised", "narrowed", "tiled", "reopened"};

RichTextBox *arrangedDocument(int arrangement, bool bridge)
{
    newDocument(bridge);
    if (arrangement == Cascaded || arrangement == Tiled) {
        for (int i = 0; i < 11; ++i)
            window->CreateDocumentWindow();
        window->Arrange(0);
        if (arrangement == Tiled)
            window->Arrange(1);
    } else if (arrangement == Maximised) {
        window->activeDocument()->showMaximized();
    }
    QCoreApplication::processEvents();
    RichTextBox *text = window->activeDocument()->rtfText;
    if (arrangement == Reopened) {
        text->LoadFile(documentPath(100000));
        waitForLayout(text);
    }
    return text;
}

void closeAllDocuments()
{
    const QList<frmDocument *> docs = window->documents();
    for (frmDocument *doc : docs)
        doc->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void BM_LayoutArranged(benchmark::State &state)
{
    useWindowSize(1);
    const int arrangement = int(state.range(0));
    const int bridge = int(state.range(1));
    const QString path = documentPath(100000);
    RichTextBox *text = arrangedDocument(arrangement, bridge != BridgeOff);
    measureLayouts(state, text, path, bridge, arrangement == NarrowedAndBack,
                   figure(arrangementNames[arrangement], 100000, bridge));
    QAccessible::setActive(true);
    closeAllDocuments();
}

// Ctrl+End and Page Up in turn, each followed by the reading.
void BM_CaretMove(benchmark::State &state)
{
    useWindowSize(int(state.range(2)));
    const int paragraphs = int(state.range(0));
    const bool bridge = state.range(1) != 0;
    // A document of its own, so that the first move with the bridge on and off both
    // start from a document just opened, that the background layout has not gone through.
    RichTextBox *text = newDocument(bridge);
    open(text, documentPath(paragraphs), bridge);
    bool toEnd = true;
    double first = -1, rest = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (toEnd)
            QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        else
            QTest::keyClick(text, Qt::Key_PageUp);
        finishStep(text, clock, first, rest);
        toEnd = !toEnd;
    }
    QAccessible::setActive(true);
    closeActiveDocument();
    noteSteady(state, figure("caret", paragraphs, bridge), first, rest);
}

void BM_WheelNotch(benchmark::State &state)
{
    useWindowSize(int(state.range(2)));
    const int paragraphs = int(state.range(0));
    const bool bridge = state.range(1) != 0;
    RichTextBox *text = loaded(paragraphs);
    QAccessible::setActive(bridge);
    int direction = -120;
    double first = -1, rest = 0;
    for (auto _ : state) {
        QScrollBar *bar = text->verticalScrollBar();
        if (bar->value() == bar->minimum() || bar->value() == bar->maximum())
            direction = -direction;
        QElapsedTimer clock;
        clock.start();
        const QPointF at(text->viewport()->rect().center());
        QWheelEvent wheel(at, text->viewport()->mapToGlobal(at), QPoint(), QPoint(0, direction),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(text->viewport(), &wheel);
        finishStep(text, clock, first, rest);
    }
    QAccessible::setActive(true);
    noteSteady(state, figure("wheel", paragraphs, bridge), first, rest);
}

void sizes(benchmark::internal::Benchmark *b)
{
    for (int size : {0, 1})
        for (int paragraphs : {1000, 10000, 100000})
            for (int bridge : {0, 1})
                b->Args({paragraphs, bridge, size});
}

void layoutSizes(benchmark::internal::Benchmark *b)
{
    sizes(b);
    for (int size : {0, 1})
        b->Args({100000, BridgeRead, size});
}

BENCHMARK(BM_Open)->Apply(sizes)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LayoutAfterOpen)->Apply(layoutSizes)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LayoutArranged)->ArgsProduct({{Cascaded, Maximised, NarrowedAndBack, Tiled, Reopened},
                                                     {BridgeOff, BridgeOn, BridgeRead}})
    ->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CaretMove)->Apply(sizes)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WheelNotch)->Apply(sizes)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

// The longest time the event loop did not turn from Open to the last paragraph laid out,
// at each size and arrangement, with the bridge off, on, and on with the in-process reader.
void printLongestGaps()
{
    std::printf("\nLongest time the event loop did not turn, from Open to laid out, 100000 "
                "paragraphs, bridge off / on / on with a reader (ms, wall clock; in brackets the "
                "processor time of the window's thread in its longest gap during Open and "
                "during the layout; the reader's slowest answer):\n");
    for (int size : {0, 1}) {
        for (const char *what : {"laidout", "cascade", "maximised", "narrowed", "tiled", "reopened"}) {
            const std::string off = figure(what, 100000, BridgeOff, size);
            if (seconds["longest-" + off] <= 0)
                continue;
            const auto gap = [&](int bridge) {
                return seconds["longest-" + figure(what, 100000, bridge, size)] * 1e3;
            };
            const auto cpu = [&](const char *phase, int bridge) {
                return seconds[std::string(phase) + figure(what, 100000, bridge, size)] * 1e3;
            };
            std::printf("  %-9s %-9s", sizeName(size).c_str(), what);
            for (int bridge : {BridgeOff, BridgeOn, BridgeRead})
                std::printf(" %7.1f (%5.1f %5.1f)", gap(bridge), cpu("cpu-open-", bridge),
                            cpu("cpu-layout-", bridge));
            std::printf("; %6.1f\n", seconds["reader-" + figure(what, 100000, BridgeRead, size)] * 1e3);
        }
    }
}

void printRatios()
{
    for (int size : {0, 1}) {
    currentSize = size;
    std::printf("\nMain window %s, bridge on against off, same run (ms on / ms off = ratio):\n",
                sizeName(size).c_str());
    for (const char *what : {"open", "laidout", "cascade", "maximised", "narrowed", "caret", "wheel"}) {
        for (int paragraphs : {1000, 10000, 100000}) {
            const double on = seconds[figure(what, paragraphs, true)];
            const double off = seconds[figure(what, paragraphs, false)];
            if (off > 0)
                std::printf("  %-5s %6d: %9.2f / %9.2f = %.2f\n", what, paragraphs, on * 1e3,
                            off * 1e3, on / off);
            const double longestOn = seconds["longest-" + figure(what, paragraphs, true)];
            const double longestOff = seconds["longest-" + figure(what, paragraphs, false)];
            if (longestOff > 0)
                std::printf("  %-5s %6d longest wait: %9.2f / %9.2f = %.2f\n", what, paragraphs,
                            longestOn * 1e3, longestOff * 1e3, longestOn / longestOff);
            const double firstOn = seconds["first-" + figure(what, paragraphs, true)];
            const double firstOff = seconds["first-" + figure(what, paragraphs, false)];
            if (firstOff > 0)
                std::printf("  %-5s %6d first: %9.2f / %9.2f = %.2f\n", what, paragraphs,
                            firstOn * 1e3, firstOff * 1e3, firstOn / firstOff);
        }
    }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    frmMain main;
    window = &main;
    main.resize(1000, 800);
    main.show();
    QTest::qWaitForWindowExposed(&main);
    if (!QAccessible::isActive())
        std::fprintf(stderr, "the accessibility bridge is not active; run through "
                             "run-accessibility.sh\n");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printRatios();
    printLongestGaps();
    benchmark::Shutdown();
    return 0;
}
