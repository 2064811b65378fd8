// Documents written by LibreOffice, AbiWord and pandoc. Each converts an HTML page the test
// writes into RTF; what the reader makes of that RTF must be what the page says, as far as
// the peer carries it. Then the writer saves what was read, and the peer reads both its own
// file and ours into RTF again: it must read the same in each, property by property.
#include "rtfcodec.h"
#include "support/peerprocess.h"
#include "rtfindents.h"
#include "rtfkept.h"
#include "rtfunderline.h"
#include "rtfunits.h"
#include "support/fidelitysupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>

#include <map>
#include <memory>
#include <utility>

namespace {

const QStringList kPeers = {u"soffice"_qs, u"abiword"_qs, u"pandoc"_qs};

// Every word below is found once in the page.
const char kPage[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>prueba</title></head><body>
<h1>Titulo</h1>
<p align="center" style="text-align:center">centrado</p>
<p align="right" style="text-align:right">derecha</p>
<p align="justify" style="text-align:justify">justificado</p>
<p><b>negrita</b> <i>cursiva</i> <u>subrayado</u> normal</p>
<ol type="I"><li>romano<ol type="a"><li>letra</li></ol></li></ol>
<ul><li>bala<ul><li>subbala</li></ul></li></ul>
<ol start="3"><li>tercero</li><li>cuarto</li></ol>
<p dir="rtl" align="right" style="text-align:right">שלום עולם</p>
<p dir="rtl" align="right" style="text-align:right">אות <span style="font-family:'DejaVu Sans Mono'">גופן</span></p>
<p dir="rtl" align="right" style="text-align:right"><b>מודגש</b> <i>נטוי</i> <span style="font-size:20pt">גדול</span> רגיל</p>
<table border="1" cellspacing="0"><tr><td colspan="2">ancha</td><td rowspan="2">alta</td></tr>
<tr><td bgcolor="#ff0000">sombra</td><td>simple</td></tr></table>
<p>entre</p>
<table border="0"><tr><td>sinborde</td><td>otra</td></tr></table>
<p>fin</p>
</body></html>
)";

// A document of what word processors write that Qt shows otherwise: a list paragraph's
// own indents, underline words, a SYMBOL field, Word's runs of Arabic, cell padding and
// hairline borders. Each peer reads it and writes it as it understood it.
const char kItems[] = R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\froman Liberation Serif;}{\f1\fnil Wingdings;}}
{\*\listtable{\list\listtemplateid1{\listlevel\levelnfc23\leveljc0\levelfollow0\levelstartat1
{\leveltext\'01\u8226 ?;}{\levelnumbers;}\fi-360\li720}\listid1}}
{\*\listoverridetable{\listoverride\listid1\listoverridecount0\ls1}}
\pard\plain\ls1\ilvl0\li170\fi-170 propia\par
\pard\plain Linea {\uldb doble} {\uldash rayas} {\ulwave onda} {\uld puntos} {\ulth gruesa} fin\par
\pard\plain Simbolo {\field{\*\fldinst SYMBOL 74 \\f "Wingdings" \\s 14}{\fldrslt }} aqui\par
\pard\plain\rtlpar\qr{\rtlch\fcs1 \ab\af0\afs28\alang1025 \ltrch\fcs0 \b\fs24 \u1587?\u1604?\u1575?\u1605?}
{\rtlch\fcs1 \af0\afs28 \ltrch\fcs0 \fs24  (2016) }{\rtlch\fcs1 \ab\af0\afs28 \ltrch\fcs0 \b\fs24 \u1593?\u1604?\u1610?}\par
\trowd\trgaph30\clbrdrt\brdrs\brdrw1\clbrdrl\brdrs\brdrw5\clbrdrb\brdrs\brdrw1\clbrdrr\brdrs\brdrw5
\clpadfl3\clpadl60\clpadft3\clpadt60\clpadfb3\clpadb60\clpadfr3\clpadr60\cellx1500
\clbrdrt\brdrs\brdrw1\clbrdrl\brdrs\brdrw5\clbrdrb\brdrs\brdrw1\clbrdrr\brdrs\brdrw5
\clpadfl3\clpadl60\clpadft3\clpadt60\clpadfb3\clpadb60\clpadfr3\clpadr60\cellx3000
\pard\plain\intbl Febrero\cell Clientes\cell\row
\pard\plain final\par})";

// What a word looks like, aspect by aspect.
enum Aspect : unsigned {
    Chars = 1, Align = 2, Direction = 4, ListKind = 8, ListFormat = 16, Cell = 32,
    Borders = 64, Shading = 128, Indents = 256, Size = 512, Font = 1024, Underline = 2048,
    Padding = 4096, All = 8191,
};

// A cell's padding and its borders' widths, side by side (top, left, bottom, right), in
// twips: the file's widths where Qt draws a thinner one as a pixel.
QString cellSpacing(const QTextBlock &b)
{
    const QTextTable *table = QTextCursor(b).currentTable();
    if (!table)
        return u"no table"_qs;
    const QTextTableCellFormat f = table->cellAt(b.position()).format().toTableCellFormat();
    const QStringList kept = f.stringProperty(rtf::KeptBorderWidths).split(u' ');
    QStringList padding, widths;
    for (const int side : {0, 1, 2, 3}) {
        static constexpr int kPaddings[] = {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                                            QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding};
        static constexpr int kWidths[] = {QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder,
                                          QTextFormat::TableCellBottomBorder, QTextFormat::TableCellRightBorder};
        padding << QString::number(rtf::pixelsToTwips(f.hasProperty(kPaddings[side])
                                                          ? f.doubleProperty(kPaddings[side])
                                                          : table->format().cellPadding()));
        widths << (kept.value(side).toInt() > 0 ? kept.value(side)
                                                 : QString::number(rtf::pixelsToTwips(f.doubleProperty(kWidths[side]))));
    }
    return u"padding %1 borders %2"_qs.arg(padding.join(u' '), widths.join(u' '));
}

QString listKind(const QTextBlock &b)
{
    const QTextList *list = b.textList();
    if (!list)
        return u"none"_qs;
    const bool bullet = rtf::isBulletList(list);
    return (bullet ? u"bullet "_qs : u"numbered "_qs) + QString::number(list->format().indent());
}

QString describeAspect(const QTextDocument &doc, const QTextBlock &b, const QString &word,
                       unsigned aspect)
{
    const QString cell = describeCell(b);
    switch (aspect) {
    case Chars: {
        const QTextCharFormat f = charAt(b, int(doc.find(word).selectionStart() - b.position()));
        return u"%1%2%3"_qs.arg(f.fontWeight() >= QFont::DemiBold ? u"b" : u"-")
            .arg(f.fontItalic() ? u"i" : u"-").arg(f.fontUnderline() ? u"u" : u"-");
    }
    case Align: return visualSide(b);
    case Direction:
        return b.blockFormat().layoutDirection() == Qt::RightToLeft ? u"rtl"_qs : u"ltr"_qs;
    case ListKind: return listKind(b);
    case ListFormat: {   // style, level and start
        const QStringList parts = describeList(b).split(u' ');
        return parts.size() < 4 ? parts.join(u' ') : QStringList{parts[0], parts[1], parts[3]}.join(u' ');
    }
    case Size:
        return QString::number(charAt(b, int(doc.find(word).selectionStart() - b.position()))
                                   .fontPointSize());
    case Font: {
        const QTextCharFormat f = charAt(b, int(doc.find(word).selectionStart() - b.position()));
        return f.fontFamilies().toStringList().value(0, u"default"_qs);
    }
    case Indents: {
        const rtf::Indents i = rtf::paragraphIndents(b);
        return u"%1/%2"_qs.arg(i.left).arg(i.first);
    }
    case Underline: {
        const QTextCharFormat f = charAt(b, int(doc.find(word).selectionStart() - b.position()));
        return QString::fromLatin1(rtf::underlineWord(f).data(), qsizetype(rtf::underlineWord(f).size()));
    }
    case Padding: return cellSpacing(b);
    case Cell: return cell.startsWith(u"no") ? cell : cell.section(u' ', 0, 1);
    case Borders:
        if (cell.startsWith(u"no")) return cell;
        return cell.contains(u"solid") ? u"bordered"_qs : u"unbordered"_qs;
    default:   // Shading
        return cell.contains(u"shading") ? cell.section(u' ', -1) : u"none"_qs;
    }
}

// The aspects asked for, each as "name value", joined by "; ".
QString describe(const QTextDocument &doc, const QString &word, unsigned aspects)
{
    const QTextBlock b = blockWith(doc, word);
    if (!b.isValid())
        return u"missing"_qs;
    static const char *const kNames[] = {"chars", "align", "direction", "list", "format",
                                         "cell", "borders", "shading", "indents", "size", "font",
                                         "underline", "padding"};
    QStringList out;
    for (unsigned i = 0, a = 1; a < All; ++i, a <<= 1)
        if (aspects & a)
            out << QLatin1String(kNames[i]) + u' ' + describeAspect(doc, b, word, a);
    return out.join(u"; "_qs);
}

// What the page says of a word, aspect by aspect.
struct Probe { const char *word; std::pair<unsigned, const char *> expect[3]; };

const Probe kProbes[] = {
    {"Titulo", {{Chars, "b--"}, {ListKind, "none"}}}, {"centrado", {{Align, "center"}}},
    {"derecha", {{Align, "right"}}}, {"justificado", {{Align, "justify"}}},
    {"negrita", {{Chars, "b--"}}}, {"cursiva", {{Chars, "-i-"}}},
    {"subrayado", {{Chars, "--u"}}}, {"normal", {{Chars, "---"}, {ListKind, "none"}}},
    {"romano", {{ListKind, "numbered 1"}, {ListFormat, "upper-roman 1 1"}}},
    {"letra", {{ListKind, "numbered 2"}, {ListFormat, "lower-alpha 2 1"}}},
    {"bala", {{ListKind, "bullet 1"}}}, {"subbala", {{ListKind, "bullet 2"}}},
    {"tercero", {{ListKind, "numbered 1"}, {ListFormat, "decimal 1 3"}}},
    {"שלום", {{Align, "right"}, {Direction, "rtl"}}},
    {"מודגש", {{Chars, "b--"}, {Size, "12"}}}, {"נטוי", {{Chars, "-i-"}}},
    {"גדול", {{Chars, "---"}, {Size, "20"}}}, {"גופן", {{Font, "DejaVu Sans Mono"}}},
    {"ancha", {{Cell, "0,0 1x2"}, {Borders, "bordered"}}},
    {"alta", {{Cell, "0,2 2x1"}, {Borders, "bordered"}}},
    {"sombra", {{Cell, "1,0 1x1"}, {Borders, "bordered"}, {Shading, "#ff0000"}}},
    {"simple", {{Cell, "1,1 1x1"}, {Borders, "bordered"}, {Shading, "none"}}},
    {"sinborde", {{Cell, "0,0 1x1"}, {Borders, "unbordered"}}},
    {"fin", {{Cell, "no table"}, {Align, "left"}}},
};

const Probe kItemProbes[] = {
    {"propia", {{Indents, "170/-170"}}},
    {"doble", {{Underline, "uldb"}}}, {"rayas", {{Underline, "uldash"}}},
    {"onda", {{Underline, "ulwave"}}}, {"puntos", {{Underline, "uld"}}},
    {"gruesa", {{Underline, "ulth"}, {Chars, "--u"}}},
    {"Simbolo", {{Font, "Liberation Serif"}}}, {"J", {{Font, "Wingdings"}}},
    {"سلام", {{Size, "14"}}}, {"(2016)", {{Size, "14"}}}, {"علي", {{Size, "14"}}},
    // LibreOffice keeps no border thinner than 2 twips.
    {"Febrero", {{Padding, "padding 60 60 60 60 borders 2 5 2 5"}}},
    {"final", {{Cell, "no table"}}},
};

// What each peer's conversion of the page cannot carry, and why.
struct Blind { const char *peer; unsigned aspects; const char *why; };
const Blind kBlind[] = {
    {"abiword", ListFormat, "AbiWord's HTML import numbers every ordered list 1, 2, 3"},
    {"abiword", Direction, "AbiWord's HTML import drops dir=\"rtl\""},
    {"abiword", Borders | Shading, "AbiWord's HTML import draws every table's grid and drops bgcolor"},
    {"pandoc", Align | Direction | Size | Font,
     "pandoc's document model has no alignment, direction, fonts or font sizes"},
    {"pandoc", ListKind | ListFormat, "pandoc's RTF writer writes list markers as text"},
    {"pandoc", Borders | Shading, "pandoc's RTF writer writes no borders or shading"},
    {"pandoc", Cell, "pandoc's RTF writer writes no merged cells"},
};

// What each peer's conversion of the items cannot carry, and why.
const Blind kItemsBlind[] = {
    {"abiword", Indents, "AbiWord's RTF writer puts each list item it read inside \\listtext"},
    {"abiword", Underline, "AbiWord draws and writes one kind of underline"},
    {"abiword", Size, "AbiWord has no size of its own for right-to-left script (\\afs)"},
    {"abiword", Padding, "AbiWord writes its own \\trgaph7 and table borders for any table"},
    {"abiword", Font, "AbiWord drops SYMBOL fields"},
    {"pandoc", Indents | Underline | Size | Font | Padding,
     "pandoc's document model has no indents, underline kinds, sizes, fonts or cell padding"},
};

// Words a peer loses when it writes any RTF it read, its own included, so that the two
// readings cannot be compared.
bool lostOnRewrite(const QString &peer, const Probe &p)
{
    // AbiWord 3.0's RTF writer puts each list item it read from RTF inside \listtext.
    // LibreOffice reads the "J" in Wingdings it wrote back as U+F04A, the font's private code.
    return (peer == u"abiword" && (p.expect[0].first & (ListKind | ListFormat)))
        || (peer == u"soffice" && qstrcmp(p.word, "J") == 0);
}

template<size_t N>
bool carried(const Blind (&blind)[N], const QString &peer, unsigned aspect)
{
    for (const Blind &b : blind)
        if (peer == QLatin1String(b.peer) && (b.aspects & aspect))
            return false;
    return true;
}

} // namespace

class TestRtfPeers : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void peerWrote_data();
    void peerWrote();
    void peerReadsBack_data();
    void peerReadsBack();

private:
    // By peer: what we read of its file, and of its second reading of its file and of ours.
    struct Readings {
        std::map<QString, std::unique_ptr<QTextDocument>> read, peerAgain, oursAgain;
    };
    void run(const QString &program, const QStringList &args);
    QString toRtf(const QString &peer, const QStringList &inputs, const QString &outDir);
    std::unique_ptr<QTextDocument> load(const QString &path);
    void readThrough(const QString &peer, const QString &input, const QString &dir, Readings &out);

    QTemporaryDir m_dir;
    Readings m_page, m_items;
};

void TestRtfPeers::run(const QString &program, const QStringList &args)
{
    runPeer(m_dir.path(), program, args);
}

// Converts every input to RTF in as few runs as the peer allows; the outputs' paths.
QString TestRtfPeers::toRtf(const QString &peer, const QStringList &inputs, const QString &outDir)
{
    const QString program = QStandardPaths::findExecutable(peer);
    QDir(m_dir.path()).mkpath(outDir);
    if (peer == u"soffice") {
        const QString profile = u"-env:UserInstallation=file://"_qs + m_dir.filePath(u"lo-profile"_qs);
        QStringList args{profile, u"--headless"_qs};
        if (inputs.first().endsWith(u".html"))
            args << u"--infilter=HTML (StarWriter)"_qs;   // Writer, not Writer/Web
        run(program, args + QStringList{u"--convert-to"_qs, u"rtf"_qs, u"--outdir"_qs, outDir} + inputs);
    }
    for (const QString &in : inputs) {
        const QString out = outDir + u'/' + QFileInfo(in).completeBaseName() + u".rtf"_qs;
        if (peer == u"abiword")
            run(program, {u"--to=rtf"_qs, u"-o"_qs, out, in});
        else if (peer == u"pandoc")
            run(program, {u"-s"_qs, u"-t"_qs, u"rtf"_qs, u"-o"_qs, out, in});
    }
    return outDir;
}

std::unique_ptr<QTextDocument> TestRtfPeers::load(const QString &path)
{
    auto doc = std::make_unique<QTextDocument>();
    rtf::readFile(m_dir.filePath(path), doc.get());
    return doc;
}

// The peer converts input to RTF in dir; we read that, save it, and the peer converts its
// file and ours again.
void TestRtfPeers::readThrough(const QString &peer, const QString &input, const QString &dir,
                               Readings &out)
{
    const QString name = QFileInfo(input).completeBaseName();
    const QString first = toRtf(peer, {input}, dir);
    out.read[peer] = load(first + u'/' + name + u".rtf"_qs);
    QVERIFY2(!out.read[peer]->isEmpty(), qPrintable(peer));
    QFile::copy(m_dir.filePath(first + u'/' + name + u".rtf"_qs), m_dir.filePath(dir + u"/peer.rtf"_qs));
    rtf::writeFile(m_dir.filePath(dir + u"/ours.rtf"_qs), out.read[peer].get());
    const QString again = toRtf(peer, {dir + u"/peer.rtf"_qs, dir + u"/ours.rtf"_qs}, dir + u"/again"_qs);
    out.peerAgain[peer] = load(again + u"/peer.rtf"_qs);
    out.oursAgain[peer] = load(again + u"/ours.rtf"_qs);
}

void TestRtfPeers::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const auto &[name, content] : {std::pair{"page.html", kPage}, {"items.rtf", kItems}}) {
        QFile file(m_dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    for (const QString &peer : kPeers) {
        // Set-up installs the three; a test that cannot run must not pass.
        QVERIFY2(!QStandardPaths::findExecutable(peer).isEmpty(), qPrintable(peer + u" missing"_qs));
        readThrough(peer, u"page.html"_qs, peer, m_page);
        readThrough(peer, u"items.rtf"_qs, peer + u"/items"_qs, m_items);
    }
}

// The page's probes and the items', each with what the peers cannot carry of it.
template<typename Add>
void forEachProbe(Add add)
{
    for (const QString &peer : kPeers) {
        for (const Probe &p : kProbes)
            add(peer, u"page"_qs, p, [&](unsigned a) { return carried(kBlind, peer, a); });
        for (const Probe &p : kItemProbes)
            add(peer, u"items"_qs, p, [&](unsigned a) { return carried(kItemsBlind, peer, a); });
    }
}

void TestRtfPeers::peerWrote_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("word");
    QTest::addColumn<uint>("aspect");
    QTest::addColumn<QString>("expected");
    forEachProbe([](const QString &peer, const QString &document, const Probe &p, auto carries) {
        for (const auto &[aspect, expected] : p.expect)
            if (aspect && carries(aspect))
                QTest::addRow("%s %s %s %u", qPrintable(peer), qPrintable(document), p.word, aspect)
                    << peer << document << QString::fromUtf8(p.word) << uint(aspect)
                    << QString::fromUtf8(expected);
    });
}

// The reader shows what the peer wrote of the page, and of the items as it read them.
void TestRtfPeers::peerWrote()
{
    QFETCH(QString, peer);
    QFETCH(QString, document);
    QFETCH(QString, word);
    QFETCH(uint, aspect);
    const QTextDocument &read = *(document == u"page" ? m_page : m_items).read.at(peer);
    const QTextBlock b = blockWith(read, word);
    QVERIFY2(b.isValid(), qPrintable(word));
    QTEST(describeAspect(read, b, word, aspect), "expected");
}

void TestRtfPeers::peerReadsBack_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("word");
    QTest::addColumn<uint>("aspects");
    forEachProbe([](const QString &peer, const QString &document, const Probe &p, auto carries) {
        // The page's words are compared in every aspect, the items' in those the peer carries.
        unsigned aspects = All;
        if (document == u"items") {
            aspects = 0;
            for (const auto &[aspect, expected] : p.expect)
                if (aspect && carries(aspect))
                    aspects |= aspect;
        }
        if (aspects && !lostOnRewrite(peer, p))
            QTest::addRow("%s %s %s", qPrintable(peer), qPrintable(document), p.word)
                << peer << document << QString::fromUtf8(p.word) << uint(aspects);
    });
}

// The peer reads from our file what it read from its own.
void TestRtfPeers::peerReadsBack()
{
    QFETCH(QString, peer);
    QFETCH(QString, document);
    QFETCH(QString, word);
    QFETCH(uint, aspects);
    const Readings &r = document == u"page" ? m_page : m_items;
    const QString own = describe(*r.peerAgain.at(peer), word, aspects);
    QVERIFY2(own != u"missing", "the peer gives its own file back");
    QCOMPARE(describe(*r.oursAgain.at(peer), word, aspects), own);
}

QTEST_MAIN(TestRtfPeers)
#include "tst_rtfpeers.moc"
