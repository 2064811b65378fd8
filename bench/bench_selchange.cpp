// The toolbar feedback after a selection change, on large generated documents: a
// select-all, and a drag that extends the selection step by step. Each figure is also
// printed as a ratio to a floor measured in the same run (the feedback at a caret in
// a one-line document), and against the budget a user notices (5 ms at 10,000
// paragraphs, 16 ms at 100,000).

#include "frmdocument.h"
#include "frmmain.h"
#include "module1.h"
#include "richtextbox.h"
#include "rtfgen.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTextCursor>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

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
    if (paragraphs > 1)
        rtfgen::benchDocument(path, paragraphs);
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

using Clock = std::chrono::steady_clock;

// Times one feedback call; the iteration's time is the sum of the calls timed in it.
struct Timed
{
    double seconds = 0;
    long calls = 0;
    void call(frmDocument *doc)
    {
        const Clock::time_point start = Clock::now();
        doc->rtfText_SelChange();
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        ++calls;
    }
};

// Each iteration reports only the time of its timed calls; the figure printed at the end
// is that time divided by the number of calls timed, so every call counts once.
void finish(benchmark::State &state, const std::string &name, const Timed &timed)
{
    state.SetItemsProcessed(timed.calls);
    perCall[name] = timed.calls ? timed.seconds / double(timed.calls) : 0.0;
}

void BM_Floor(benchmark::State &state)
{
    frmDocument *doc = documentWith(1);
    RichTextBox *text = doc->rtfText;
    int flip = 0;
    Timed timed;
    for (auto _ : state) {
        const double before = timed.seconds;
        select(text, 0, (flip ^= 1) ? 0 : 1);
        timed.call(doc);
        state.SetIterationTime(timed.seconds - before);
    }
    finish(state, "floor", timed);
}

// Select-all from a caret. The feedback at the caret before it prepares the iteration and
// is not timed.
void BM_SelectAll(benchmark::State &state)
{
    frmDocument *doc = documentWith(int(state.range(0)));
    RichTextBox *text = doc->rtfText;
    const int end = endOf(text);
    Timed timed;
    for (auto _ : state) {
        const double before = timed.seconds;
        select(text, 0, 0);
        doc->rtfText_SelChange();
        select(text, 0, end);
        timed.call(doc);
        state.SetIterationTime(timed.seconds - before);
    }
    finish(state, "select-all/" + std::to_string(state.range(0)), timed);
}

// A drag from the top to the end in 100 steps: the press at the caret, then feedback after
// each step, 101 calls timed an iteration.
void BM_Drag(benchmark::State &state)
{
    frmDocument *doc = documentWith(int(state.range(0)));
    RichTextBox *text = doc->rtfText;
    const int end = endOf(text);
    constexpr int steps = 100;
    Timed timed;
    for (auto _ : state) {
        const double before = timed.seconds;
        select(text, 0, 0);
        timed.call(doc);
        for (int i = 1; i <= steps; ++i) {
            select(text, 0, int(qint64(end) * i / steps));
            timed.call(doc);
        }
        state.SetIterationTime(timed.seconds - before);
    }
    finish(state, "drag/" + std::to_string(state.range(0)), timed);
}

} // namespace

BENCHMARK(BM_Floor)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SelectAll)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Drag)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    frmMain w;
    window = &w;
    mainForm = &w;
    w.show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    const double floor = perCall["floor"];
    for (const auto &[name, seconds] : perCall) {
        const bool big = name.find("100000") != std::string::npos;
        const double budget = big ? 0.016 : 0.005;
        std::printf("%-24s %10.3f ms/call  %8.1fx floor  %5.2f of budget\n", name.c_str(),
                    seconds * 1e3, floor > 0 ? seconds / floor : 0.0, seconds / budget);
    }
    benchmark::Shutdown();
    return 0;
}
