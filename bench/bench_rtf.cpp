// Load and save of generated documents by the RTF codec, next to two floors measured in
// the same run: building the same document directly through QTextCursor, and a plain
// byte scan of the file. Whole-process load against `unrtf --text` and peak memory are
// measured by running this program again as a child (--child-load / --child-text).
#include "rtfcodec.h"
#include "benchchild.h"
#include "rtfgen.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

QTemporaryDir *workDir = nullptr;
std::string selfProgram;
std::map<std::string, double> seconds;   // mean seconds per run, by "what/paragraphs"
std::map<int, qint64> written;           // bytes written by one save, by paragraphs

const int kSizes[] = {1000, 10000, 100000};

QString documentFor(int paragraphs)
{
    static std::map<int, QString> made;
    auto it = made.find(paragraphs);
    if (it != made.end())
        return it->second;
    const QString out = workDir->filePath(QStringLiteral("p%1.rtf").arg(paragraphs));
    made[paragraphs] = rtfgen::benchDocument(out, paragraphs);
    return out;
}

std::string key(const char *what, int paragraphs)
{
    return std::string(what) + "/" + std::to_string(paragraphs);
}

template<typename Step>
void timed(benchmark::State &state, const char *what, Step step)
{
    const int n = int(state.range(0));
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        step();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    seconds[key(what, n)] = total / double(state.iterations());
}

// What a direct build needs: each block's formats, its list and its fragments.
struct BlockCopy
{
    QTextBlockFormat block;
    QTextCharFormat blockChar;
    int list = -1;
    std::vector<std::pair<QString, QTextCharFormat>> fragments;
};
struct DocumentCopy
{
    std::vector<BlockCopy> blocks;
    std::vector<QTextListFormat> lists;
};

DocumentCopy copyOf(const QTextDocument &doc)
{
    DocumentCopy copy;
    std::map<const QTextList *, int> lists;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        BlockCopy c{b.blockFormat(), b.charFormat(), -1, {}};
        c.block.setObjectIndex(-1);   // list membership points into the source document
        if (const QTextList *l = b.textList()) {
            auto [it, added] = lists.emplace(l, int(copy.lists.size()));
            if (added)
                copy.lists.push_back(l->format());
            c.list = it->second;
        }
        for (auto f = b.begin(); !f.atEnd(); ++f)
            c.fragments.emplace_back(f.fragment().text(), f.fragment().charFormat());
        copy.blocks.push_back(std::move(c));
    }
    return copy;
}

// The floor for loading: the same blocks, fragments and lists, inserted the fastest way
// QTextCursor allows (one edit block, no undo), with nothing to parse.
void buildDirectly(const DocumentCopy &copy, QTextDocument *doc)
{
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    std::vector<QTextList *> lists(copy.lists.size(), nullptr);
    bool first = true;
    for (const BlockCopy &b : copy.blocks) {
        if (first) {
            cursor.setBlockFormat(b.block);
            cursor.setBlockCharFormat(b.blockChar);
            first = false;
        } else {
            cursor.insertBlock(b.block, b.blockChar);
        }
        for (const auto &[text, format] : b.fragments)
            cursor.insertText(text, format);
        if (b.list >= 0) {
            QTextList *&list = lists[size_t(b.list)];
            if (list)
                list->add(cursor.block());
            else
                list = cursor.createList(copy.lists[size_t(b.list)]);
        }
    }
    cursor.endEditBlock();
}

// One timed step of each: a load from the file, and the floor's direct build.
void loadOnce(const QString &path)
{
    QTextDocument doc;
    rtf::readFile(path, &doc);
    benchmark::DoNotOptimize(doc.blockCount());
}

void buildOnce(const DocumentCopy &copy)
{
    QTextDocument doc;
    buildDirectly(copy, &doc);
    benchmark::DoNotOptimize(doc.blockCount());
}

void BM_Load(benchmark::State &state)
{
    const QString path = documentFor(int(state.range(0)));
    // The floor keeps the document it copies alive while it runs; so does the load, so
    // that both run on a heap in the same state. Without it glibc gave the load's memory
    // back to the system after each run and the load paid for getting it back.
    QTextDocument kept;
    rtf::readFile(path, &kept);
    timed(state, "load", [&] { loadOnce(path); });
}

void BM_CursorFloor(benchmark::State &state)
{
    QTextDocument loaded;
    rtf::readFile(documentFor(int(state.range(0))), &loaded);
    const DocumentCopy copy = copyOf(loaded);
    timed(state, "cursor", [&] { buildOnce(copy); });
}

// Two steps in turns, each timed on its own: on a shared machine whose speed drifts, the
// ratio of the two is then taken over the same stretch of time.
template<typename First, typename Second>
void timedInTurn(benchmark::State &state, const char *firstKey, First first,
                 const char *secondKey, Second second)
{
    double a = 0, b = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        first();
        const auto mid = std::chrono::steady_clock::now();
        second();
        const auto end = std::chrono::steady_clock::now();
        a += std::chrono::duration<double>(mid - start).count();
        b += std::chrono::duration<double>(end - mid).count();
    }
    const int n = int(state.range(0));
    seconds[key(firstKey, n)] = a / double(state.iterations());
    seconds[key(secondKey, n)] = b / double(state.iterations());
}

// The load and its floor, in turn.
void BM_LoadAndFloorInTurn(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QString path = documentFor(n);
    QTextDocument loaded;
    rtf::readFile(path, &loaded);
    const DocumentCopy copy = copyOf(loaded);
    timedInTurn(state, "turn-load", [&] { loadOnce(path); }, "turn-cursor",
                [&] { buildOnce(copy); });
}

// The same document with what the editor keeps without showing it: properties, page
// set-up, a stylesheet, headers and footers, and in the text a footnote and a bookmark in
// every tenth paragraph, a page break in every fiftieth, a new section in every thousandth.
QString documentWithKeptParts(int paragraphs)
{
    const QString out = workDir->filePath(QStringLiteral("k%1.rtf").arg(paragraphs));
    if (QFileInfo::exists(out))
        return out;
    QFile in(documentFor(paragraphs));
    if (!in.open(QIODevice::ReadOnly))
        return out;
    QByteArray rtf = in.readAll();
    rtf.insert(rtf.indexOf("\\pard"),
               "{\\stylesheet{\\s0 Normal;}{\\s1\\b Titulo;}}{\\info{\\title Informe}{\\author Ana}}"
               "\\paperw11906\\paperh16838\\margl1134\\margr1134\\sectd\\cols1"
               "{\\header\\pard\\qc Cabecera\\par}{\\footer\\pard P\\'e1gina "
               "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}\n");
    QByteArray body;
    body.reserve(rtf.size() + paragraphs * 16);
    int n = 0;
    qsizetype from = 0;
    for (qsizetype at = rtf.indexOf("\\par\n"); at >= 0; at = rtf.indexOf("\\par\n", from), ++n) {
        body.append(rtf.constData() + from, at - from);
        if (n % 10 == 3)
            body.append("{\\super\\chftn}{\\footnote\\pard\\plain\\fs20 Nota al pie.}");
        if (n % 10 == 7)
            body.append("{\\*\\bkmkstart m" + QByteArray::number(n) + "}x{\\*\\bkmkend m"
                        + QByteArray::number(n) + "}");
        body.append("\\par\n");
        if (n % 50 == 49)
            body.append("\\page ");
        if (n % 1000 == 999)
            body.append("\\sect\\sectd\\sbknone\\cols2 ");
        from = at + 5;
    }
    body.append(rtf.constData() + from, rtf.size() - from);
    QFile file(out);
    if (file.open(QIODevice::WriteOnly))
        file.write(body);
    return out;
}

// Loads of the document without and with kept parts, in turn.
void BM_KeptPartsInTurn(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QString plain = documentFor(n), kept = documentWithKeptParts(n);
    QTextDocument alive;
    rtf::readFile(kept, &alive);
    timedInTurn(state, "plain-load", [&] { loadOnce(plain); }, "kept-load",
                [&] { loadOnce(kept); });
}

void BM_ByteScan(benchmark::State &state)
{
    const QString path = documentFor(int(state.range(0)));
    timed(state, "scan", [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray data = file.readAll();
        qsizetype specials = 0;
        for (const char c : data)
            specials += c == '\\' || c == '{' || c == '}';
        benchmark::DoNotOptimize(specials);
    });
}

void BM_Save(benchmark::State &state)
{
    const int n = int(state.range(0));
    QTextDocument doc;
    rtf::readFile(documentFor(n), &doc);
    const QString out = workDir->filePath(QStringLiteral("saved%1.rtf").arg(n));
    timed(state, "save", [&] { rtf::writeFile(out, &doc); });
    written[n] = QFileInfo(out).size();
}

int childMain(const char *mode, const char *path, const char *peakFile)
{
    static int argc = 1;
    static char name[] = "bench_rtf";
    static char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QTextDocument doc;
    try {
        rtf::readFile(QString::fromLocal8Bit(path), &doc);
    } catch (...) {
        return 1;
    }
    if (std::strcmp(mode, "--child-text") == 0) {
        const QByteArray text = doc.toPlainText().toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    }
    if (peakFile) {
        QFile out(QString::fromLocal8Bit(peakFile));
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        out.write(QByteArray::number(qlonglong(peakResidentKb())));
    }
    return 0;
}

void reportInProcess()
{
    std::printf("\nIn process (mean of the runs above):\n");
    std::printf("%10s %10s %10s %10s %10s %12s %12s %10s\n", "paragraphs", "load ms",
                "cursor ms", "scan ms", "save ms", "load/cursor", "load/scan", "save MB/s");
    for (const int n : kSizes) {
        const double load = seconds[key("load", n)], cursor = seconds[key("cursor", n)];
        const double scan = seconds[key("scan", n)], save = seconds[key("save", n)];
        if (load <= 0 || cursor <= 0 || scan <= 0 || save <= 0)
            continue;
        std::printf("%10d %10.1f %10.1f %10.2f %10.1f %12.2f %12.1f %10.1f\n", n, load * 1e3,
                    cursor * 1e3, scan * 1e3, save * 1e3, load / cursor, load / scan,
                    double(written[n]) / save / 1e6);
    }
    const double small = seconds[key("load", 1000)], big = seconds[key("load", 100000)];
    if (small > 0 && big > 0)
        std::printf("Growth of load from 1,000 to 100,000 paragraphs: %.1fx (linear: 100x)\n",
                    big / small);
    std::printf("\nLoad and floor in turn (mean of the runs above):\n");
    std::printf("%10s %10s %10s %12s\n", "paragraphs", "load ms", "cursor ms", "load/cursor");
    for (const int n : kSizes) {
        const double load = seconds[key("turn-load", n)];
        const double cursor = seconds[key("turn-cursor", n)];
        if (load > 0 && cursor > 0)
            std::printf("%10d %10.1f %10.1f %12.2f\n", n, load * 1e3, cursor * 1e3,
                        load / cursor);
    }
    std::printf("\nThe same document without and with kept parts, in turn:\n");
    std::printf("%10s %12s %12s %12s\n", "paragraphs", "without ms", "with ms", "with/without");
    for (const int n : kSizes) {
        const double without = seconds[key("plain-load", n)], with = seconds[key("kept-load", n)];
        if (without > 0 && with > 0)
            std::printf("%10d %12.1f %12.1f %12.3f\n", n, without * 1e3, with * 1e3,
                        with / without);
    }
}

void reportWholeProcess()
{
    const bool haveUnrtf = !QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty();
    std::printf("\nWhole process (one run each):\n");
    std::printf("%10s %10s %12s %10s %14s %12s %12s\n", "paragraphs", "file MB", "load+text s",
                "unrtf s", "unrtf/ours", "peak MB", "peak/file");
    for (const int n : kSizes) {
        const std::string path = documentFor(n).toStdString();
        const double fileMb = double(QFileInfo(QString::fromStdString(path)).size()) / 1e6;
        const ChildRun text = runChild({selfProgram, "--child-text", path});
        const QString peakFile = workDir->filePath(QStringLiteral("peak"));
        const ChildRun load =
            runChild({selfProgram, "--child-load", path, peakFile.toStdString()}, peakFile);
        const ChildRun unrtf = haveUnrtf ? runChild({"unrtf", "--text", path}) : ChildRun();
        const double peakMb = double(load.peakKb) * 1024 / 1e6;
        std::printf("%10d %10.1f %12.2f ", n, fileMb, text.seconds);
        if (unrtf.seconds > 0)
            std::printf("%10.2f %14.2f ", unrtf.seconds, unrtf.seconds / text.seconds);
        else
            std::printf("%10s %14s ", "-", "-");
        std::printf("%12.1f %12.2f\n", peakMb, peakMb / fileMb);
    }
    if (!haveUnrtf)
        std::printf("unrtf is not installed: the comparison was skipped.\n");
}

} // namespace

BENCHMARK(BM_ByteScan)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndFloorInTurn)->Arg(1000)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeptPartsInTurn)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 3 && std::strncmp(argv[1], "--child-", 8) == 0)
        return childMain(argv[1], argv[2], argc > 3 ? argv[3] : nullptr);
    selfProgram = selfPath();
    if (selfProgram.empty())
        selfProgram = argv[0];
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    workDir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::fflush(stdout);
    reportInProcess();
    reportWholeProcess();
    return 0;
}
