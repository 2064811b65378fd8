#include "frmdocument.h"
#include "frmmain.h"
#include "module1.h"
#include "richtextbox.h"
#include "rtfcodec.h"
#include "rtfgen.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

QTemporaryDir *workDir = nullptr;
frmMain *window = nullptr;
ScriptedDialogs *dialogs = nullptr;
std::map<std::string, double> seconds;   // mean time per run, by benchmark

QString bigFile()
{
    static const QString path = [] {
        const QString out = workDir->filePath(QStringLiteral("big.rtf"));
        const QByteArray n = qgetenv("BENCH_PARAGRAPHS").isEmpty() ? QByteArray("100000")
                                                                   : qgetenv("BENCH_PARAGRAPHS");
        return rtfgen::benchDocument(out, n.toInt());
    }();
    return path;
}

void record(benchmark::State &state, const char *name, double total)
{
    seconds[name] = total / double(state.iterations());
}

void BM_ReadFileAlone(benchmark::State &state)
{
    const QString path = bigFile();
    double total = 0;
    for (auto _ : state) {
        QTextDocument doc;
        QElapsedTimer t;
        t.start();
        rtf::readFile(path, &doc);
        total += t.nsecsElapsed() / 1e9;
    }
    record(state, "read", total);
}

void BM_OpenCommand(benchmark::State &state)
{
    double total = 0;
    for (auto _ : state) {
        dialogs->answers << DialogAnswer::file(bigFile());
        QElapsedTimer t;
        t.start();
        window->mnuFileOpen_Click();
        total += t.nsecsElapsed() / 1e9;
    }
    record(state, "open", total);
}

void BM_WriteFileAlone(benchmark::State &state)
{
    const QTextDocument *doc = window->activeDocument()->rtfText->document();
    const QString out = workDir->filePath(QStringLiteral("alone.rtf"));
    double total = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        rtf::writeFile(out, doc);
        total += t.nsecsElapsed() / 1e9;
    }
    record(state, "write", total);
}

void BM_SaveAsCommand(benchmark::State &state)
{
    const QString out = workDir->filePath(QStringLiteral("command.rtf"));
    double total = 0;
    for (auto _ : state) {
        dialogs->answers << DialogAnswer::file(out);
        QElapsedTimer t;
        t.start();
        window->mnuFileSaveAs_Click();
        total += t.nsecsElapsed() / 1e9;
    }
    record(state, "save", total);
}

} // namespace

BENCHMARK(BM_ReadFileAlone)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenCommand)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteFileAlone)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveAsCommand)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    workDir = &dir;
    frmMain w;
    mainForm = &w;
    w.show();
    window = &w;
    ScriptedDialogs scripted;
    dialogs = &scripted;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The codec alone is the floor; the commands should add under a tenth to it.
    if (seconds["read"] > 0)
        std::printf("Open / readFile: %.3f\n", seconds["open"] / seconds["read"]);
    if (seconds["write"] > 0)
        std::printf("SaveAs / writeFile: %.3f\n", seconds["save"] / seconds["write"]);
    return 0;
}
