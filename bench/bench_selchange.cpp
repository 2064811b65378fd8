// The toolbar feedback after a selection change, on large generated documents: a
// select-all, and a drag that extends the selection step by step. Each figure is also
// printed as a ratio to a floor measured in the same run (the feedback at a caret in
// a one-line document), and against the budget a user notices (5 ms at 10,000
// paragraphs, 16 ms at 100,000).

#include "frmdocument.h"
#include "frmmain.h"
#include "module1.h"
#include "richtextbox.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCursor>

#include <cstdio>
#include <map>

namespace {

frmMain *window = nullptr;
std::map<int, frmDocument *> documents;
QTemporaryDir scratch;
std::map<std::string, double> perCall;   // seconds per rtfText_SelChange

frmDocument *documentWith(int paragraphs)
{
    auto found = documents.find(paragraphs);
    if (found != documents.end())
        return found->second;
    const QString path = scratch.filePath(QStringLiteral("doc%1.rtf").arg(paragraphs));
    if (paragraphs > 1) {
        QProcess::execute(QStringLiteral("python3"),
                          {QStringLiteral(MAKE_RTF_PY), QStringLiteral("--paragraphs"),
                           QString::number(paragraphs), QStringLiteral("--seed"),
                           QStringLiteral("7"), path});
    }
    window->CreateDocumentWindow();
    frmDocument *doc = window->activeDocument();
    if (paragraphs > 1)
        doc->rtfText->LoadFile(path);
    else
        doc->rtfText->setText(QStringLiteral("una línea"));
    documents[paragraphs] = doc;
    return doc;
}

void select(RichTextBox *text, int from, int to)
{
    QSignalBlocker quiet(text);
    QTextCursor c = text->textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    text->setTextCursor(c);
}

int endOf(RichTextBox *text)
{
    QTextCursor c = text->textCursor();
    c.movePosition(QTextCursor::End);
    return c.position();
}

void record(benchmark::State &state, const std::string &name, double calls)
{
    state.SetItemsProcessed(int64_t(calls));
    state.counters["per_call"] = benchmark::Counter(calls, benchmark::Counter::kIsRate |
                                                               benchmark::Counter::kInvert);
    (void)name;
}

void BM_Floor(benchmark::State &state)
{
    frmDocument *doc = documentWith(1);
    RichTextBox *text = doc->rtfText;
    int flip = 0;
    for (auto _ : state) {
        select(text, 0, (flip ^= 1) ? 0 : 1);
        doc->rtfText_SelChange();
    }
    record(state, "floor", double(state.iterations()));
}

// Select-all from a caret: each iteration is a fresh selection, so nothing is reused.
void BM_SelectAll(benchmark::State &state)
{
    frmDocument *doc = documentWith(int(state.range(0)));
    RichTextBox *text = doc->rtfText;
    const int end = endOf(text);
    for (auto _ : state) {
        select(text, 0, 0);
        doc->rtfText_SelChange();
        select(text, 0, end);
        doc->rtfText_SelChange();
    }
    record(state, "selectall", double(state.iterations()));
}

// A drag from the top to the end in 100 steps, feedback after each step.
void BM_Drag(benchmark::State &state)
{
    frmDocument *doc = documentWith(int(state.range(0)));
    RichTextBox *text = doc->rtfText;
    const int end = endOf(text);
    constexpr int steps = 100;
    for (auto _ : state) {
        select(text, 0, 0);
        doc->rtfText_SelChange();
        for (int i = 1; i <= steps; ++i) {
            select(text, 0, int(qint64(end) * i / steps));
            doc->rtfText_SelChange();
        }
    }
    record(state, "drag", double(state.iterations()) * steps);
}

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const auto it = run.counters.find("per_call");
            if (it != run.counters.end())
                perCall[run.benchmark_name()] = it->second.value;
        }
    }
};

} // namespace

BENCHMARK(BM_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Drag)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    frmMain w;
    window = &w;
    mainForm = &w;
    w.show();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double floor = perCall["BM_Floor"];
    for (const auto &[name, seconds] : perCall) {
        const bool big = name.find("100000") != std::string::npos;
        const double budget = big ? 0.016 : 0.005;
        std::printf("%-24s %10.3f ms/call  %8.1fx floor  %5.2f of budget\n", name.c_str(),
                    seconds * 1e3, floor > 0 ? seconds / floor : 0.0, seconds / budget);
    }
    benchmark::Shutdown();
    return 0;
}
