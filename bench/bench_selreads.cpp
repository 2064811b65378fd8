// Reading the selection's state after select-all, against a floor that only walks the
// document's blocks and counts their fragments. Prints ratio = reads / floor per size.
#include "richtextbox.h"
#include "rtfcodec.h"
#include "rtfgen.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <map>
#include <memory>

namespace {

std::map<int, std::unique_ptr<RichTextBox>> boxes;
std::map<int, double> floorNs, dragFloorNs;

RichTextBox &boxFor(int paragraphs)
{
    auto &box = boxes[paragraphs];
    if (!box) {
        static QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc%1.rtf").arg(paragraphs));
        rtfgen::benchDocument(path, paragraphs);
        box = std::make_unique<RichTextBox>();
        box->LoadFile(path);
        box->selectAll();
    }
    return *box;
}

void BM_Floor(benchmark::State &state)
{
    const QTextDocument *doc = boxFor(int(state.range(0))).document();
    for (auto _ : state) {
        long fragments = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                ++fragments;
        benchmark::DoNotOptimize(fragments);
    }
}

// A document edit between iterations, so that every read scans afresh.
void touch(RichTextBox &box)
{
    QTextCursor c(box.document());
    c.insertText(QStringLiteral("x"));
    c.deletePreviousChar();
}

void BM_FourReads(benchmark::State &state)
{
    RichTextBox &box = boxFor(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        touch(box);
        box.selectAll();
        state.ResumeTiming();
        benchmark::DoNotOptimize(box.SelBold());
        benchmark::DoNotOptimize(box.SelItalic());
        benchmark::DoNotOptimize(box.SelUnderline());
        benchmark::DoNotOptimize(box.SelAlignment());
    }
}

// What a selection change reads: six reads by name, as the toolbar feedback does them.
void BM_SelChangeReads(benchmark::State &state)
{
    RichTextBox &box = boxFor(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        touch(box);
        box.selectAll();
        state.ResumeTiming();
        for (const char *name : {"SelBold", "SelItalic", "SelUnderline", "SelAlignment", "SelAlignment", "SelAlignment"})
            benchmark::DoNotOptimize(box.get(QLatin1String(name)));
    }
}

// A drag: the selection grows a paragraph at a time; after every step, look reads the
// selection. The step and its floor differ only in look.
template <typename Look>
void dragSteps(benchmark::State &state, Look look)
{
    RichTextBox &box = boxFor(int(state.range(0)));
    QTextCursor c(box.document());
    for (auto _ : state) {
        if (c.atEnd()) {
            state.PauseTiming();
            c.setPosition(0);
            state.ResumeTiming();
        }
        c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        box.setTextCursor(c);
        look(box, c);
    }
}

// The floor of a drag step: walking the fragments of the one paragraph the step added,
// the least a read that reuses what it scanned before has to look at.
void BM_DragFloor(benchmark::State &state)
{
    dragSteps(state, [](RichTextBox &, const QTextCursor &c) {
        const QTextBlock added = c.block().previous();
        long fragments = 0;
        for (auto it = added.begin(); !it.atEnd(); ++it)
            ++fragments;
        benchmark::DoNotOptimize(fragments);
    });
}

void BM_DragStep(benchmark::State &state)
{
    dragSteps(state, [](RichTextBox &box, const QTextCursor &) {
        for (const char *name : {"SelBold", "SelItalic", "SelUnderline", "SelAlignment"})
            benchmark::DoNotOptimize(box.get(QLatin1String(name)));
    });
}

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const std::string name = run.benchmark_name();
            const int n = std::stoi(name.substr(name.rfind('/') + 1));
            // Runs report in their own units; compare in seconds.
            const double ns = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            // A drag step is compared with the drag's own floor, the rest with the walk
            // of the whole document.
            const bool drag = name.rfind("BM_Drag", 0) == 0;
            std::map<int, double> &floor = drag ? dragFloorNs : floorNs;
            if (name.rfind("BM_Floor", 0) == 0 || name.rfind("BM_DragFloor", 0) == 0)
                floor[n] = ns;
            else if (floor.count(n))
                std::printf("  ratio %s = %.2f x floor\n", name.c_str(), ns / floor[n]);
        }
    }
};

} // namespace

BENCHMARK(BM_Floor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FourReads)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelChangeReads)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragFloor)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    boxes.clear();
    return 0;
}
