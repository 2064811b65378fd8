// Documents written by LibreOffice, AbiWord and pandoc. Each converts an HTML page the test
// writes into RTF; what the reader makes of that RTF must be what the page says, as far as
// the peer carries it. Then the writer saves what was read, and the peer reads both its own
// file and ours into RTF again: it must read the same in each, property by property.
#include "rtfcodec.h"
#include "support/peerprocess.h"
#include "rtfindents.h"
#include "rtfunits.h"
#include "support/fidelitysupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

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

// What a word looks like, aspect by aspect.
enum Aspect : unsigned {
    Chars = 1, Align = 2, Direction = 4, ListKind = 8, ListFormat = 16, Cell = 32,
    Borders = 64, Shading = 128, Indents = 256, Size = 512, Font = 1024, All = 2047,
};

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
                                         "cell", "borders", "shading", "indents", "size", "font"};
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

// Words a peer loses when it writes any RTF it read, its own included, so that the two
// readings cannot be compared.
bool lostOnRewrite(const QString &peer, const Probe &p)
{
    // AbiWord 3.0's RTF writer puts each list item it read from RTF inside \listtext.
    return peer == u"abiword" && (p.expect[0].first & (ListKind | ListFormat));
}

bool carried(const QString &peer, unsigned aspect)
{
    for (const Blind &b : kBlind)
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
    void run(const QString &program, const QStringList &args);
    QString toRtf(const QString &peer, const QStringList &inputs, const QString &outDir);
    std::unique_ptr<QTextDocument> load(const QString &path);

    QTemporaryDir m_dir;
    // By peer: what we read of its file, and of its second reading of its file and of ours.
    std::map<QString, std::unique_ptr<QTextDocument>> m_read, m_peerAgain, m_oursAgain;
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

void TestRtfPeers::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile page(m_dir.filePath(u"page.html"_qs));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(kPage);
    page.close();
    for (const QString &peer : kPeers) {
        // Set-up installs the three; a test that cannot run must not pass.
        QVERIFY2(!QStandardPaths::findExecutable(peer).isEmpty(), qPrintable(peer + u" missing"_qs));
        const QString first = toRtf(peer, {u"page.html"_qs}, peer);
        m_read[peer] = load(first + u"/page.rtf"_qs);
        QVERIFY2(!m_read[peer]->isEmpty(), qPrintable(peer));
        QFile::copy(m_dir.filePath(first + u"/page.rtf"_qs), m_dir.filePath(peer + u"/peer.rtf"_qs));
        rtf::writeFile(m_dir.filePath(peer + u"/ours.rtf"_qs), m_read[peer].get());
        const QString again = toRtf(peer, {peer + u"/peer.rtf"_qs, peer + u"/ours.rtf"_qs},
                                    peer + u"/again"_qs);
        m_peerAgain[peer] = load(again + u"/peer.rtf"_qs);
        m_oursAgain[peer] = load(again + u"/ours.rtf"_qs);
    }
}

void TestRtfPeers::peerWrote_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QString>("word");
    QTest::addColumn<uint>("aspect");
    QTest::addColumn<QString>("expected");
    for (const QString &peer : kPeers)
        for (const Probe &p : kProbes)
            for (const auto &[aspect, expected] : p.expect)
                if (aspect && carried(peer, aspect))
                    QTest::addRow("%s %s %u", qPrintable(peer), p.word, aspect)
                        << peer << QString::fromUtf8(p.word) << uint(aspect)
                        << QString::fromUtf8(expected);
}

// The reader shows what the peer wrote of the page.
void TestRtfPeers::peerWrote()
{
    QFETCH(QString, peer);
    QFETCH(QString, word);
    QFETCH(uint, aspect);
    const QTextBlock b = blockWith(*m_read.at(peer), word);
    QVERIFY2(b.isValid(), qPrintable(word));
    QTEST(describeAspect(*m_read.at(peer), b, word, aspect), "expected");
}

void TestRtfPeers::peerReadsBack_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QString>("word");
    for (const QString &peer : kPeers)
        for (const Probe &p : kProbes)
            if (!lostOnRewrite(peer, p))
                QTest::addRow("%s %s", qPrintable(peer), p.word) << peer << QString::fromUtf8(p.word);
}

// The peer reads from our file what it read from its own: every aspect, indents too.
void TestRtfPeers::peerReadsBack()
{
    QFETCH(QString, peer);
    QFETCH(QString, word);
    const QString own = describe(*m_peerAgain.at(peer), word, All);
    QVERIFY2(own != u"missing", "the peer gives its own file back");
    QCOMPARE(describe(*m_oursAgain.at(peer), word, All), own);
}

QTEST_MAIN(TestRtfPeers)
#include "tst_rtfpeers.moc"
