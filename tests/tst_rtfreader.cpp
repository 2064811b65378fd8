// The reader's text, tables and pictures, and hostile input that must end without a crash.
#include "rtfcharsets.h"
#include "rtfcodec.h"
#include "rtfreader.h"
#include "rtfunits.h"
#include "procmemory.h"
#include "support/fidelitysupport.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <malloc.h>
#include <functional>
#include <limits>
#include <stdexcept>

static QString readText(const QByteArray &rtfData)
{
    QTextDocument doc;
    rtf::read(rtfData, &doc);
    // Raw text keeps no-break spaces and line separators as the reader made them.
    return doc.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

class TestRtfReader : public QObject
{
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void bounds_data();
    void bounds();
    void hostile_data();
    void hostile();
    void undoComesBackWhenReadingFails();
};

void TestRtfReader::text_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, QByteArrayView in, const QString &out) {
        QTest::newRow(name) << in.toByteArray() << out;
    };
    row("uc1 skips one fallback", R"({\rtf1 a\u1046?b})", u"aЖb"_qs);
    row("uc2 skips two hex bytes", R"({\rtf1\uc2 a\u26085\'93\'fab})", u"a日b"_qs);
    row("uc0 skips nothing", R"({\rtf1\uc0 \u1046 x})", u"Жx"_qs);
    row("surrogate pair", R"({\rtf1 \u-10179?\u-8704?})", QString::fromUcs4(U"\U0001F600"));
    row("fcharset overrides ansicpg", R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset238 Arial;}}\f0 \'e8})", u"č"_qs);
    row("fcharset0 is 1252 under a double-byte ansicpg",
        R"({\rtf1\ansi\ansicpg950{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset1 Ming;}}\f0 \'a9 )"
        R"(\f1\'a7\'da})", u"© 我"_qs);
    row("shift-jis pair", R"({\rtf1\ansi\ansicpg932 \'82\'a0})", u"あ"_qs);
    row("unknown code page", R"({\rtf1\ansi\ansicpg0 \'e9})", u"é"_qs);
    row("symbol font", R"({\rtf1{\fonttbl{\f1\fcharset2 Symbol;}}\f1 \'b7})", QString(QChar(0xF0B7)));
    row("bin skips braces", "{\\rtf1 a{\\*\\x\\bin4 }{\\\\}b}", u"ab"_qs);
    row("unknown starred dest", R"({\rtf1 a{\*\foo hidden {x}}b})", u"ab"_qs);
    row("specials", R"({\rtf1 \bullet\lquote\rquote\ldblquote\rdblquote\emdash\endash\~\_\{\}\\})",
        u"•‘’“”—–\u00a0\u2011{}\\"_qs);
    row("tab and line", R"({\rtf1 a\tab b\line c})", u"a\tb\u2028c"_qs);
    row("par and backslash newline", "{\\rtf1 a\\par b\\\nc}", u"a\nb\nc"_qs);
    row("pntext not doubled", R"({\rtf1{\pntext\'b7\tab}{\*\pn\pnlvlblt{\pntxtb\'b7}}x})", u"x"_qs);
    row("extra brace ignored", R"({\rtf1 a}}b)", u"a"_qs);
    row("unbalanced loads", R"({\rtf1 a{\b b)", u"ab"_qs);
    row("text right after number", R"({\rtf1foobar})", u"foobar"_qs);
    row("invalid hex dropped with its two characters", R"({\rtf1 a\'zzb\'4})", u"ab"_qs);
    row("uc skip inside escaped text", R"({\rtf1 x\'e1\u1046\'3fy\'e9})", u"xáЖyé"_qs);
    row("double-byte pair across a line end", "{\\rtf1\\ansi\\ansicpg932 \\'82\r\n\\'a0}", u"あ"_qs);
    // Long enough to be handed on in several pieces, with pairs split between them.
    row("escaped text longer than a piece",
        "{\\rtf1 " + QByteArray("a\\'e1\r\n").repeated(5000) + "}", u"aá"_qs.repeated(5000));
    row("pairs split between pieces", "{\\rtf1\\ansi\\ansicpg932 a" + QByteArray("\\'82\\'a0").repeated(3000) + "}",
        "a" + u"あ"_qs.repeated(3000));
    // More paragraphs than go into the document at once, then a table and a list.
    row("long stretches keep their order",
        "{\\rtf1 " + QByteArray("p\\par ").repeated(20) + "\\trowd\\cellx900 c\\cell\\row "
        + QByteArray("{\\*\\pn\\pnlvlblt}q\\par ").repeated(20) + "end}",
        u"p\n"_qs.repeated(19) + u"p\ufdd0c\ufdd1"_qs + u"q\n"_qs.repeated(20) + u"end"_qs);
    row("nul bytes skipped", QByteArrayView("{\\rtf1 a\0b}\0", 12), u"ab"_qs);
    // A damaged style sheet holding a document of its own keeps the header's font table.
    row("font table nested in a style",
        R"({\rtf1{\fonttbl{\f0\fcharset204 A;}}{\stylesheet{\s0{\fonttbl{\f0\fcharset0 B;}}N;}}\f0 \'c0})", u"А"_qs);
    // A field or picture inside one is kept with the style sheet, not read into the text.
    row("field inside a style",
        R"({\rtf1{\stylesheet{\s1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt L}}N;}}B})", u"B"_qs);
    row("field result inside a style", R"({\rtf1{\stylesheet{\s1{\fldrslt L}N;}}B})", u"B"_qs);
    row("field result inside a style's numbering", R"({\rtf1{\stylesheet{\s1{\pn{\fldrslt L}}N;}}B})", u"B"_qs);
    row("object inside a style", R"({\rtf1{\stylesheet{\s1{\object{\result L}}N;}}B})", u"B"_qs);
    row("plain utf-8", "hola ñ", u"hola ñ"_qs);
    // Plain text goes in by pieces of a megabyte; a line end split between two is one.
    row("plain text, CR LF between pieces", QByteArray((1 << 20) - 1, 'a').append("\r\nb\r\n\0c", 8),
        QString((1 << 20) - 1, u'a') + u"\nb\nc"_qs);
    row("last par is the final mark", R"({\rtf1 a\par})", u"a"_qs);
    row("empty", "", QString());
}

void TestRtfReader::text()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(readText(input), expected);
}

namespace {
// Counts the items Qt marks for layout again as each joins a list.
struct CountingList : QTextList
{
    CountingList(QTextDocument *doc, qint64 *work) : QTextList(doc), work(work) {}
    void blockInserted(const QTextBlock &block) override
    {
        *work += count();
        QTextList::blockInserted(block);
    }
    qint64 *work;
};

// Counts the work of building lists; a refusing one cannot make a list or a table, so reading fails halfway.
struct CountingDocument : QTextDocument
{
    qint64 work = 0;
    bool refusing = false;
    QTextObject *createObject(const QTextFormat &format) override
    {
        if (refusing && (format.isListFormat() || format.isTableFormat()))
            throw std::runtime_error("refused");
        return format.isListFormat() ? new CountingList(this, &work) : QTextDocument::createObject(format);
    }
};

// What reading a shape cost against its bound, and what it shows.
struct Cost { qint64 spent, bound; QString shown; };
using Shape = std::function<Cost()>;
} // namespace
Q_DECLARE_METATYPE(Shape)

// Hands freed heap back so one row's garbage is not counted against the next.
static bool resetPeak()
{
    malloc_trim(0);
    return resetPeakResident();
}

void TestRtfReader::bounds_data()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QString>("shown");
    constexpr int kCount = 20000;
    QTest::newRow("work of a long bullet list") << Shape([] {
        CountingDocument doc;
        rtf::read(R"({\rtf1{\*\listtable{\list{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;}}\listid1}})"
                  R"({\*\listoverridetable{\listoverride\listid1\ls1}})"
                  + QByteArray("\\pard\\ls1 item\\par").repeated(kCount) + "}", &doc);
        int bulleted = 0;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            bulleted += rtf::isBulletList(b.textList());
        return Cost{doc.work, qint64(kCount) * 100, QString::number(bulleted)};
    }) << QString::number(kCount);
    // Tiny nested tables do not make a table of every few bytes; the text still loads.
    QTest::newRow("tables of tiny nested tables") << Shape([] {
        const QByteArray input = "{\\rtf1 " + QByteArray("\\intbl\\itap32 x\\nestcell\\itap1 y\\cell\\row\\pard z\\par")
                                                  .repeated(5000) + '}';
        QTextDocument doc;
        rtf::read(input, &doc);
        int tables = 0;
        QList<QTextFrame *> frames = doc.rootFrame()->childFrames();
        while (!frames.isEmpty()) {
            QTextFrame *f = frames.takeLast();
            tables += qobject_cast<QTextTable *>(f) != nullptr;
            frames += f->childFrames();
        }
        const QString text = doc.toPlainText();
        return Cost{tables, input.size() / 100, u"%1 %2 %3"_qs.arg(text.count(u'x')).arg(text.count(u'y'))
                                                    .arg(text.count(u'z'))};
    }) << u"5000 5000 5000"_qs;
    // Groups nested as deep as the reader goes share the few states they go back to, and
    // what sibling groups saved goes with them.
    QTest::newRow("memory of groups nested to the cap") << Shape([] {
        const int half = rtf::Reader::kMaxDepth / 2;
        QByteArray input = "{\\rtf1 " + QByteArray("{\\i0 {\\i1 ").repeated(half) + "deep"
            + QByteArray(2 * half, '}');
        for (int i = 0; i < 10000; ++i)
            input += "\\li" + QByteArray::number(i) + "{}";
        input += '}';
        QTextDocument doc;
        readText("{\\rtf1 {\\i1 deep}}");   // what any first read sets up is not counted
        if (!resetPeak())
            return Cost{1, 0, u"no peak"_qs};
        const qint64 before = qint64(residentKb()) * 1024;
        rtf::read(input, &doc);
        const qint64 growth = qint64(peakResidentKb()) * 1024 - before;
        return Cost{growth, 4 * input.size(), doc.toPlainText()};
    }) << u"deep"_qs;
    // A long table goes into the document as it is read, not held whole until it ends.
    QTest::newRow("memory of reading a long table") << Shape([] {
        QByteArray body = "{\\rtf1 ", row = "\\trowd";
        for (int c = 1; c <= 10; ++c)
            row += "\\cellx" + QByteArray::number(c * 900);
        for (int r = 0; r < kCount / 10; ++r)
            body += row + QByteArray("\\pard\\intbl cell\\cell ").repeated(10) + "\\row\n";
        body += "\\pard\\par}";
        const qint64 before = resetPeak() ? qint64(residentKb()) * 1024 : 0;
        QTextDocument doc;
        rtf::read(body, &doc);
        const qint64 growth = qint64(peakResidentKb()) * 1024 - before;
        const auto *table = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().value(0));
        return Cost{before > 0 ? growth : std::numeric_limits<qint64>::max(), 13 * body.size(),
                    table ? u"%1x%2"_qs.arg(table->rows()).arg(table->columns()) : QString()};
    }) << u"2000x10"_qs;
    // Code pages with no decoder share the page they fall back to.
    QTest::newRow("code pages held for those without a decoder") << Shape([] {
        QSet<const rtf::CodePage *> pages;
        for (int cp = 2000; cp < 10000; ++cp)
            pages.insert(rtf::CodePage::get(cp));
        return Cost{pages.size(), 2, QString::number(rtf::CodePage::get(7777)->number())};
    }) << QString::number(rtf::kDefaultCodePage);
    // Marks make no formats of their own, however many there are; %1 is the mark's number.
    const std::pair<const char *, QByteArray> marks[] = {
        {"formats of comments with text",
         "{\\*\\atrfstart %1}word{\\*\\atrfend %1}{\\*\\annotation{\\*\\atnref %1} note}, "},
        {"formats of bookmarks", "{\\*\\bkmkstart b%1}word{\\*\\bkmkend b%1} "}};
    for (const auto &[name, mark] : marks)
        QTest::newRow(name) << Shape([mark = mark] {
            QByteArray body = "{\\rtf1\\pard ";
            for (int i = 0; i < kCount; ++i)
                body += QByteArray(mark).replace("%1", QByteArray::number(i));
            QTextDocument doc;
            rtf::read(body + "\\par}", &doc);
            const auto written = rtf::write(&doc).count(mark.left(mark.indexOf(' ')));
            return Cost{doc.allFormats().size(), 50, QString::number(written)};
        }) << QString::number(kCount);
    // Lists alike, each its own list and override, share one list format; each is still
    // written back as a list of its own.
    QTest::newRow("formats of one-item lists") << Shape([] {
        QByteArray lists = "{\\rtf1{\\*\\listtable", overrides, body;
        for (int i = 1; i <= kCount; ++i) {
            const QByteArray n = QByteArray::number(i);
            lists += "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}\\li720}\\listid" + n + '}';
            overrides += "{\\listoverride\\listid" + n + "\\ls" + n + '}';
            body += "\\pard\\ls" + n + " item\\par";
        }
        QTextDocument doc;
        rtf::read(lists + "}{\\*\\listoverridetable" + overrides + '}' + body + '}', &doc);
        const auto written = rtf::write(&doc).count("{\\listoverride\\");
        return Cost{doc.allFormats().size(), kCount + 50, QString::number(written)};
    }) << QString::number(kCount);
    // A run in a font and a colour of its own costs the document what Qt needs for it, about
    // 760 bytes here: the format's properties without room to spare (room for twice as many
    // is 120 bytes more) and the font's name at its size.
    QTest::newRow("heap held per format of its own font and colour") << Shape([] {
        constexpr int n = kCount / 10;
        QByteArray fonts = "{\\rtf1{\\fonttbl", colours = "{\\colortbl;", body;
        for (int i = 0; i < n; ++i) {
            const QByteArray k = QByteArray::number(i);
            fonts += "{\\f" + k + " Font " + k + ";}";
            colours += "\\red" + QByteArray::number(i % 256) + "\\green" + QByteArray::number(i / 256)
                + "\\blue1;";
            body += "{\\f" + k + "\\cf" + QByteArray::number(i + 1) + " run} ";
        }
        const QByteArray input = fonts + "}" + colours + "}" + body + "\\par}";
        readText(input.left(200));
        const size_t before = mallinfo2().uordblks;
        QTextDocument doc;
        rtf::read(input, &doc);
        const qint64 held = qint64(mallinfo2().uordblks) - qint64(before);
        return Cost{held / n, 840, QString::number(rtf::write(&doc).count("\\red"))};
    }) << QString::number(kCount / 10);
    // What a cut file holds is a prefix of what the whole file holds.
    QTest::newRow("cuts of a file that are not a prefix of it") << Shape([] {
        const QByteArray whole = fileBytes(QStringLiteral(RTF_CORPUS_DIR "/tika/testRTFVarious.rtf"));
        const QString full = readText(whole);
        QStringList cuts;
        for (qsizetype n = 0; n < whole.size(); n += 10) {
            const QString text = readText(whole.left(n)).trimmed();
            if (!full.startsWith(text.left(std::max<qsizetype>(0, text.size() - 40))))
                cuts << QString::number(n);
        }
        return Cost{cuts.size(), 0, whole.isEmpty() ? u"no file"_qs : cuts.join(u' ')};
    }) << QString();
}

void TestRtfReader::bounds()
{
    QFETCH(Shape, shape);
    const Cost cost = shape();
    QCOMPARE_LE(cost.spent, cost.bound);
    QTEST(cost.shown, "shown");
}

void TestRtfReader::hostile_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");   // null: any text will do
    QTest::newRow("100000 nested groups")
        << "{\\rtf1 " + QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + "}"
        << QStringLiteral("deep");
    QTest::newRow("bin past the end") << QByteArray("{\\rtf1 a\\bin2147483647 xyz}") << QStringLiteral("a");
    QTest::newRow("32-letter word") << "{\\rtf1 a\\" + QByteArray(32, 'q') + " b}" << QStringLiteral("ab");
    QTest::newRow("1000-letter word") << "{\\rtf1 a\\" + QByteArray(1000, 'q') + "1 b}" << QStringLiteral("ab");
    QTest::newRow("100-digit parameter")
        << "{\\rtf1 a\\fs" + QByteArray(100, '9') + " b\\u" + QByteArray(100, '9') + "?}"
        << QString();
    QTest::newRow("50 MB of braces") << "{\\rtf1 " + QByteArray(50 * 1024 * 1024, '{') << QString();
    QTest::newRow("50 MB of closing braces") << "{\\rtf1 a" + QByteArray(50 * 1024 * 1024, '}') << QStringLiteral("a");
    QTest::newRow("braces closed past the cap")
        << "{\\rtf1 " + QByteArray(20000, '{') + "a" + QByteArray(30000, '}') + "b" << QStringLiteral("a");
    QTest::newRow("50 MB of bold") << "{\\rtf1 " + QByteArray("\\b").repeated(25 * 1024 * 1024) << QString();
    // Without the RTF header these are plain text, which is kept as it is.
    for (const char *shape : {"{", "}", "\\b"}) {
        const QByteArray text = QByteArray(shape).repeated(32 * 1024 * 1024 / qstrlen(shape));
        QTest::newRow(qPrintable(u"32 MB of "_qs + QLatin1String(shape) + u" alone"_qs)) << text << QString();
    }
    QRandomGenerator random(4711);
    QByteArray bytes(1 << 20, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    // Style bases resolved again at the end of every sheet would take a quarter of an hour.
    QByteArray sheets = "{\\rtf1 ";
    for (int i = 1; i <= 200000; ++i)
        sheets += "{\\stylesheet{\\s" + QByteArray::number(i) + "\\sbasedon" + QByteArray::number(i - 1) + " S;}}";
    QTest::newRow("200000 style sheets") << sheets + "\\s200000 x}" << QStringLiteral("x");
    // Each run once looked over its whole paragraph for the nearest letter: minutes of work.
    const QByteArray digits = QByteArray(20, '1');
    QTest::newRow("100000 runs of digits in complex script")
        << "{\\rtf1 " + ("{\\afs30 " + digits + "}{\\afs28 " + digits + "}").repeated(50000) + "}"
        << QString(2000000, u'1');
    QTest::newRow("random bytes") << bytes << QString();
    QTest::newRow("random bytes as rtf") << "{\\rtf1 " + bytes << QString();
}

// Each shape ends, and takes no more memory than a few times the file.
void TestRtfReader::hostile()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QVERIFY(resetPeak());
    const qint64 before = qint64(residentKb()) * 1024;
    QTextDocument doc;
    rtf::read(input, &doc);
    const qint64 growth = qint64(peakResidentKb()) * 1024 - before;
    QVERIFY2(before > 0 && growth < 3 * input.size() + (16 << 20),
             qPrintable(u"%1 MB more for %2 MB"_qs.arg(growth >> 20).arg(input.size() >> 20)));
    if (!expected.isNull())
        QCOMPARE(doc.toPlainText(), expected);
    QVERIFY(doc.characterCount() <= input.size() + 1);
}

// Reading turns undo off for its own edits; a failure on the way must not leave it off.
void TestRtfReader::undoComesBackWhenReadingFails()
{
    CountingDocument doc;
    doc.refusing = true;
    QVERIFY(doc.isUndoRedoEnabled());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, rtf::read("{\\rtf1 a\\par\\trowd\\cellx1000 b\\cell\\row}", &doc));
    QVERIFY(doc.isUndoRedoEnabled());
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
