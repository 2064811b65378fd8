// Reading the selection's state after select-all, against a floor that only walks the
// document's blocks and counts their fragments. Prints ratio = reads / floor per size.
#include "richtextbox.h"
#include "rtfcodec.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <map>
#include <memory>

namespace {

std::map<int, std::unique_ptr<RichTextBox>> boxes;
std::map<int, double> floorNs, readNs, changeNs;

RichTextBox &boxFor(int paragraphs)
{
    auto &box = boxes[paragraphs];
    if (!box) {
        static QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc%1.rtf").arg(paragraphs));
        QProcess::execute(QStringLiteral("python3"), {QStringLiteral(MAKE_RTF_PY), QStringLiteral("--paragraphs"),
                                                      QString::number(paragraphs), QStringLiteral("--seed"),
                                                      QStringLiteral("1"), path});
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

// A drag: the selection grows a paragraph at a time and is read after every step.
void BM_DragStep(benchmark::State &state)
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
        for (const char *name : {"SelBold", "SelItalic", "SelUnderline", "SelAlignment"})
            benchmark::DoNotOptimize(box.get(QLatin1String(name)));
    }
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
            if (name.rfind("BM_Floor", 0) == 0)
                floorNs[n] = ns;
            else if (floorNs.count(n))
                std::printf("  ratio %s = %.2f x floor\n", name.c_str(), ns / floorNs[n]);
        }
    }
};

} // namespace

BENCHMARK(BM_Floor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FourReads)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelChangeReads)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
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
