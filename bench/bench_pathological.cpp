// The codec on pathological shapes (bench/pathologicalshapes.cpp): each is read, and saved
// where that makes sense, at n, 2n and 4n, and the report at the end gives how the time
// grows per doubling (2x is linear, 4x quadratic) and the peak memory that reading the
// largest takes against the file's size. Some shapes also time Enter and a letter at the end
// of the document read, laid out as the editor lays it out. Documents are ListDocuments, as
// the editor's are. The peak is measured in a child process, from
// its resident set before the read. Times are the processor time of the reading thread in its fastest run.
#include "benchchild.h"
#include "pathologicalshapes.h"
#include "rtfcodec.h"
#include "rtflistdocument.h"

#include <QFile>
#include <QGuiApplication>
#include <QAbstractTextDocumentLayout>
#include <QTemporaryDir>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <time.h>

namespace {

using pathological::Shape;
using pathological::shapes;

constexpr int kScales[] = {1, 2, 4};
constexpr double kTargetGrowth = 2.3;
constexpr double kTargetEditGrowth = 1.3;   // an edit at the end costs the same at any length
constexpr double kTargetMemory = 10;

std::map<std::string, double> seconds;   // seconds of the fastest run, by "what/shape/scale"

std::string key(const char *what, const Shape &shape, int scale)
{
    return std::string(what) + "/" + shape.name + "/" + std::to_string(scale);
}

const QByteArray &input(const Shape &shape, int scale)
{
    static std::map<std::string, QByteArray> made;
    QByteArray &data = made[key("input", shape, scale)];
    if (data.isEmpty())
        data = shape.make(shape.n * scale);
    return data;
}

// The fastest run: on a shared machine the others' work only ever adds to a run's time.
template<typename Step>
void timed(benchmark::State &state, const std::string &name, Step step)
{
    // The thread's processor time: on a shared machine the wall clock counts the others.
    const auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    };
    double fastest = 0;
    for (auto _ : state) {
        const double start = now();
        step();
        const double spent = now() - start;
        fastest = fastest > 0 ? std::min(fastest, spent) : spent;
    }
    seconds[name] = fastest;
}

// Enter and a letter at the end of the document, each followed by the layout of what
// changed; a fixed number of times, so that the document grows alike at every size.
void registerEdit(const Shape &shape, int scale, const std::string &name)
{
    benchmark::RegisterBenchmark(("edit/" + name).c_str(), [&shape, scale](benchmark::State &s) {
        rtf::ListDocument doc;
        rtf::read(input(shape, scale), &doc);
        doc.setTextWidth(600);
        benchmark::DoNotOptimize(doc.size());
        QTextCursor end(&doc);
        end.movePosition(QTextCursor::End);
        timed(s, key("edit", shape, scale), [&] {
            end.insertBlock();
            benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
            end.insertText(QStringLiteral("x"));
            benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
        });
    })->Unit(benchmark::kMillisecond)->Iterations(100);
}

void registerShape(const Shape &shape)
{
    for (const int scale : kScales) {
        const std::string name = std::string(shape.name) + "/" + std::to_string(shape.n * scale);
        benchmark::RegisterBenchmark(("read/" + name).c_str(), [&shape, scale](benchmark::State &s) {
            const QByteArray &data = input(shape, scale);
            timed(s, key("read", shape, scale), [&] {
                rtf::ListDocument doc;
                rtf::read(data, &doc);
            });
        })->Unit(benchmark::kMillisecond);
        if (shape.save) {
            benchmark::RegisterBenchmark(("save/" + name).c_str(), [&shape, scale](benchmark::State &s) {
                rtf::ListDocument doc;
                rtf::read(input(shape, scale), &doc);
                timed(s, key("save", shape, scale), [&] { benchmark::DoNotOptimize(rtf::write(&doc)); });
            })->Unit(benchmark::kMillisecond);
        }
        if (shape.edit)
            registerEdit(shape, scale, name);
    }
}

// The child: reads the shape at 4n and writes the growth of its resident set to peakFile.
// A few items of the shape are read first: what a process pays once (the font database,
// the code the read runs, the heap's first arenas) the editor has paid before any file.
int childMain(const char *shapeName, const char *peakFile)
{
    static int argc = 1;
    static char name[] = "bench_pathological";
    static char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    for (const Shape &shape : shapes()) {
        if (std::strcmp(shape.name, shapeName) != 0)
            continue;
        const QByteArray data = shape.make(shape.n * 4);
        {
            rtf::ListDocument once;
            rtf::read(shape.make(8), &once);
        }
        rtf::ListDocument doc;
        const long before = residentKb();
        const long peakBefore = resetPeakResident() ? before : peakResidentKb();
        rtf::read(data, &doc);
        const long grown = std::max(0L, peakResidentKb() - std::max(before, peakBefore));
        QFile out(QString::fromLocal8Bit(peakFile));
        return out.open(QIODevice::WriteOnly) && out.write(QByteArray::number(qlonglong(grown))) > 0
            ? 0 : 1;
    }
    return 1;
}

// Growth per doubling: the geometric mean of the two doublings, and the larger of them.
void growth(const char *what, const Shape &shape, double *mean, double *worst)
{
    const double t1 = seconds[key(what, shape, 1)], t2 = seconds[key(what, shape, 2)];
    const double t4 = seconds[key(what, shape, 4)];
    *mean = *worst = 0;
    if (t1 <= 0 || t2 <= 0 || t4 <= 0)
        return;
    *mean = std::sqrt(t4 / t1);
    *worst = std::max(t2 / t1, t4 / t2);
}

void report(const QString &workDir)
{
    std::printf("\nGrowth per doubling (n, 2n, 4n; mean of the two doublings, the larger in"
                " brackets; linear is 2x) and peak memory of reading 4n:\n");
    std::printf("%-24s %8s %10s %9s %15s %15s %15s %10s %10s  %s\n", "shape", "n", "4n KB",
                "4n rd ms", "read growth", "save growth", "edit growth", "peak MB", "peak/file",
                "verdict");
    const std::string peakFile = (workDir + QStringLiteral("/peak")).toStdString();
    for (const Shape &shape : shapes()) {
        double readMean, readWorst, saveMean = 0, saveWorst = 0, editMean = 0, editWorst = 0;
        growth("read", shape, &readMean, &readWorst);
        if (shape.save)
            growth("save", shape, &saveMean, &saveWorst);
        if (shape.edit)
            growth("edit", shape, &editMean, &editWorst);
        if (readMean <= 0)
            continue;   // filtered out
        const ChildRun child = runChild({selfPath(), "--child-peak", shape.name, peakFile},
                                        QString::fromStdString(peakFile));
        const double fileMb = double(input(shape, 4).size()) / 1e6;
        const double peakMb = double(child.peakKb) * 1024 / 1e6;
        const bool ok = readMean <= kTargetGrowth && saveMean <= kTargetGrowth
            && editMean <= kTargetEditGrowth && child.seconds > 0
            && peakMb <= kTargetMemory * fileMb;
        char save[32] = "-", edit[32] = "-";
        if (shape.save)
            std::snprintf(save, sizeof save, "%.2fx (%.2fx)", saveMean, saveWorst);
        if (shape.edit)
            std::snprintf(edit, sizeof edit, "%.2fx (%.2fx)", editMean, editWorst);
        std::printf("%-24s %8d %10.0f %9.1f %6.2fx (%.2fx) %15s %15s %10.1f %10.2f  %s\n",
                    shape.name, shape.n, fileMb * 1e3, seconds[key("read", shape, 4)] * 1e3,
                    readMean, readWorst, save, edit, peakMb, fileMb > 0 ? peakMb / fileMb : 0.0,
                    ok ? "ok" : "OVER");
    }
    std::printf("Targets: at most %.1fx per doubling, reading and saving, %.1fx editing (1x is"
                " constant); peak under %.0fx the file.\n", kTargetGrowth, kTargetEditGrowth,
                kTargetMemory);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 4 && std::strcmp(argv[1], "--child-peak") == 0)
        return childMain(argv[2], argv[3]);
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    for (const Shape &shape : shapes())
        registerShape(shape);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::fflush(stdout);
    report(dir.path());
    return 0;
}
