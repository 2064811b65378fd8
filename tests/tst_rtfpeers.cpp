// LibreOffice, AbiWord and pandoc both ways: the reader shows what they wrote; each reads our saves
// as it reads its own files, LibreOffice the kept properties too. A missing one fails, never skips.
#include "rtfcodec.h"
#include "rtfindents.h"
#include "rtfkept.h"
#include "rtfunderline.h"
#include "rtfunits.h"
#include "support/fidelitysupport.h"
#include "support/peerdocuments.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

using namespace peerdocs;

namespace {

const Peer kPeers[] = {Office, Abi, Pandoc};

QString program(Peer peer)
{
    return peer == Office ? u"soffice"_qs : peer == Abi ? u"abiword"_qs : u"pandoc"_qs;
}

// A cell's padding and its borders' widths (top, left, bottom, right), in twips: the file's
// widths where Qt draws a thinner one as a pixel.
QString cellSpacing(const QTextBlock &b)
{
    const QTextTable *table = QTextCursor(b).currentTable();
    if (!table)
        return u"no table"_qs;
    const QTextTableCellFormat f = table->cellAt(b.position()).format().toTableCellFormat();
    const QStringList kept = f.stringProperty(rtf::KeptBorderWidths).split(u' ');
    static constexpr int kPaddings[] = {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                                        QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding};
    static constexpr int kWidths[] = {QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder,
                                      QTextFormat::TableCellBottomBorder, QTextFormat::TableCellRightBorder};
    QStringList padding, widths;
    for (const int side : {0, 1, 2, 3}) {
        padding << QString::number(rtf::pixelsToTwips(f.hasProperty(kPaddings[side])
                                                          ? f.doubleProperty(kPaddings[side])
                                                          : table->format().cellPadding()));
        widths << (kept.value(side).toInt() > 0 ? kept.value(side)
                                                 : QString::number(rtf::pixelsToTwips(f.doubleProperty(kWidths[side]))));
    }
    return u"padding %1 borders %2"_qs.arg(padding.join(u' '), widths.join(u' '));
}

QString describeAspect(const QTextDocument &doc, const QTextBlock &b, const QString &word, unsigned aspect)
{
    const QTextCharFormat f = charAt(b, int(doc.find(word).selectionStart() - b.position()));
    const QString cell = describeCell(b);
    switch (aspect) {
    case Chars:
        return u"%1%2%3%4"_qs.arg(f.fontWeight() >= QFont::DemiBold ? u"b" : u"-")
            .arg(f.fontItalic() ? u"i" : u"-").arg(f.fontUnderline() ? u"u" : u"-")
            .arg(f.fontStrikeOut() ? u"s" : u"-");
    case Align: return visualSide(b);
    case Direction: return b.blockFormat().layoutDirection() == Qt::RightToLeft ? u"rtl"_qs : u"ltr"_qs;
    case ListKind:
        if (!b.textList())
            return u"none"_qs;
        return (rtf::isBulletList(b.textList()) ? u"bullet "_qs : u"numbered "_qs)
            + QString::number(b.textList()->format().indent());
    case ListFormat: {   // style, level and start
        const QStringList parts = describeList(b).split(u' ');
        return parts.size() < 4 ? parts.join(u' ') : QStringList{parts[0], parts[1], parts[3]}.join(u' ');
    }
    case Size: return QString::number(f.fontPointSize());
    case Font: return f.fontFamilies().toStringList().value(0, u"default"_qs);
    case Indents: {
        const rtf::Indents i = rtf::paragraphIndents(b);
        return u"%1/%2"_qs.arg(i.left).arg(i.first);
    }
    case Underline: return QString::fromLatin1(rtf::underlineWord(f).data(), qsizetype(rtf::underlineWord(f).size()));
    case Padding: return cellSpacing(b);
    case Cell: return cell.startsWith(u"no") ? cell : cell.section(u' ', 0, 1);
    case Borders:
        if (cell.startsWith(u"no"))
            return cell;
        return cell.contains(u"solid") ? u"bordered"_qs : u"unbordered"_qs;
    default:   // Shading
        return cell.contains(u"shading") ? cell.section(u' ', -1) : u"none"_qs;
    }
}

// The words of a text, without the list labels and table rules that peers add and the byte
// order mark LibreOffice starts with. A character beyond the Basic Multilingual Plane counts
// as two replacement characters, as some versions of pandoc read it.
QStringList words(const QString &text)
{
    static const QRegularExpression label(uR"(^([•◦▪|+-]+|\d+[.)])$)"_qs);
    static const QRegularExpression beyondBmp(u"[\\x{10000}-\\x{10FFFF}]"_qs);
    QString flat = text;
    flat.replace(beyondBmp, u"\uFFFD\uFFFD"_qs);
    QStringList out = flat.split(QRegularExpression(u"[\\s\\x{FEFF}]+"_qs), Qt::SkipEmptyParts);
    out.removeIf([](const QString &w) { return label.match(w).hasMatch(); });
    return out;
}

// Each match of a pattern in LibreOffice's Flat ODT, its captures joined, duplicates once.
QStringList matches(const QString &xml, const QString &pattern)
{
    QStringList found;
    const QRegularExpression re(pattern, QRegularExpression::DotMatchesEverythingOption);
    for (auto it = re.globalMatch(xml); it.hasNext();)
        found << it.next().capturedTexts().mid(1).join(u'|');
    found.removeDuplicates();
    return found;
}

} // namespace

class TestRtfPeers : public QObject
{
    Q_OBJECT
private slots:
    // Each peer converts the inputs to RTF in <peer>/1 and our documents to text; we read its
    // RTF and save it, and the peer converts its file and ours again, into <peer>/3.
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QStringList ours;
        for (const OurDocument &d : kOurDocuments) {
            QTextDocument doc;
            doc.setHtml(QString::fromUtf8(d.html));
            rtf::writeFile(path(QLatin1String(d.name) + u".rtf"_qs), &doc);
            ours << QLatin1String(d.name) + u".rtf"_qs;
        }
        for (const QString &name : {u"page.html"_qs, u"items.rtf"_qs, u"kept.fodt"_qs})
            QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/peers/") + name, path(name)));
        for (const Peer peer : kPeers) {
            QVERIFY2(!QStandardPaths::findExecutable(program(peer)).isEmpty(), qPrintable(program(peer) + u" missing"_qs));
            const QString dir = program(peer);
            const QStringList theirs = peer == Office ? QStringList{u"page"_qs, u"items"_qs, u"kept"_qs}
                                                      : QStringList{u"page"_qs, u"items"_qs};
            convert(peer, {u"page.html"_qs}, dir + u"/1"_qs, u"rtf"_qs);
            convert(peer, QStringList{u"items.rtf"_qs} + ours + (peer == Office ? QStringList{u"kept.fodt"_qs} : QStringList()),
                    dir + u"/1"_qs, u"rtf"_qs);
            convert(peer, ours, dir + u"/1"_qs, u"txt"_qs);
            QDir(m_dir.path()).mkpath(dir + u"/2"_qs);
            QStringList again;
            for (const QString &name : theirs) {
                const QTextDocument &doc = read(dir + u"/1/"_qs + name + u".rtf"_qs);
                QVERIFY2(!doc.isEmpty(), qPrintable(dir + u' ' + name));
                QFile::copy(path(dir + u"/1/"_qs + name + u".rtf"_qs), path(dir + u"/2/peer-"_qs + name + u".rtf"_qs));
                rtf::writeFile(path(dir + u"/2/ours-"_qs + name + u".rtf"_qs), &doc);
                again << dir + u"/2/peer-"_qs + name + u".rtf"_qs << dir + u"/2/ours-"_qs + name + u".rtf"_qs;
            }
            convert(peer, again.mid(0, 4), dir + u"/3"_qs, u"rtf"_qs);
            if (peer == Office)
                convert(peer, again.mid(4), dir + u"/3"_qs, u"fodt"_qs);
        }
    }

    // The reader shows what the peer wrote of the page, of the items as it read them, and of
    // the writer's saves of documents made here as it read them.
    void peerWrote_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("word");
        QTest::addColumn<uint>("aspect");
        QTest::addColumn<QString>("expected");
        for (const Peer peer : kPeers)
            for (const Probe &p : kProbes)
                if (p.peers & peer)
                    QTest::addRow("%s %s %s %u", qPrintable(program(peer)), p.document, p.word, p.aspect)
                        << program(peer) + u"/1/"_qs + QLatin1String(p.document) + u".rtf"_qs
                        << QString::fromUtf8(p.word) << uint(p.aspect) << QString::fromUtf8(p.expected);
    }

    void peerWrote()
    {
        QFETCH(QString, document);
        QFETCH(QString, word);
        QFETCH(uint, aspect);
        const QTextBlock b = blockWith(read(document), word);
        QVERIFY2(b.isValid(), qPrintable(word));
        QTEST(describeAspect(read(document), b, word, aspect), "expected");
    }

    // The peer reads from our save of its file what it reads from its own: the page's words in
    // every aspect, the items' in those the peer carries.
    void peerReadsBack_data()
    {
        QTest::addColumn<QString>("peer");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("word");
        QTest::addColumn<uint>("aspect");
        for (const Peer peer : kPeers) {
            std::map<std::pair<QString, QString>, unsigned> words;   // (document, word) -> aspects
            for (const Probe &p : kProbes) {
                if (qstrcmp(p.document, "page") != 0 && qstrcmp(p.document, "items") != 0)
                    continue;   // documents made here
                unsigned &aspects = words[{QLatin1String(p.document), QString::fromUtf8(p.word)}];
                if (p.document == QLatin1String("page"))
                    aspects = All;
                else if (p.peers & peer)
                    aspects |= p.aspect;
                if (p.lostOnRewrite & peer)
                    aspects |= Lost;
            }
            for (const auto &[key, aspects] : words)
                for (unsigned a = 1; a < All && !(aspects & Lost); a <<= 1)
                    if (aspects & a)
                        QTest::addRow("%s %s %s %u", qPrintable(program(peer)), qPrintable(key.first),
                                      qPrintable(key.second), a) << program(peer) << key.first << key.second << uint(a);
        }
    }

    void peerReadsBack()
    {
        QFETCH(QString, peer);
        QFETCH(QString, document);
        QFETCH(QString, word);
        QFETCH(uint, aspect);
        const QTextDocument &own = read(peer + u"/3/peer-"_qs + document + u".rtf"_qs);
        const QTextDocument &ours = read(peer + u"/3/ours-"_qs + document + u".rtf"_qs);
        QVERIFY2(blockWith(own, word).isValid(), "the peer gives its own file back");
        QVERIFY(blockWith(ours, word).isValid());
        QCOMPARE(describeAspect(ours, blockWith(ours, word), word, aspect),
                 describeAspect(own, blockWith(own, word), word, aspect));
    }

    void peerReadsOurWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        for (const Peer peer : kPeers)
            for (const OurDocument &d : kOurDocuments) {
                QTextDocument doc;
                doc.setHtml(QString::fromUtf8(d.html));
                QTest::addRow("%s %s", qPrintable(program(peer)), d.name)
                    << program(peer) + u"/1/"_qs + QLatin1String(d.name) + u".txt"_qs << doc.toPlainText();
            }
    }

    void peerReadsOurWords()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(words(QString::fromUtf8(fileBytes(path(text)))), words(expected));
    }

    // Each property as LibreOffice's Flat ODT states it: the matches of a pattern, in order.
    void keptInLibreOffice_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("count");   // how many the original has
        for (const KeptProperty &k : kKeptProperties)
            QTest::newRow(k.name) << QString::fromUtf8(k.pattern) << k.count;
    }

    void keptInLibreOffice()
    {
        QFETCH(QString, pattern);
        QFETCH(int, count);
        const QStringList theirs = matches(QString::fromUtf8(fileBytes(path(u"soffice/3/peer-kept.fodt"_qs))), pattern);
        QVERIFY2(theirs.size() >= count, qPrintable(theirs.join(u", ")));
        QCOMPARE(matches(QString::fromUtf8(fileBytes(path(u"soffice/3/ours-kept.fodt"_qs))), pattern), theirs);
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Converts inputs into outDir as "rtf", "txt" or "fodt", in as few runs as the peer allows.
    // The folder is the peer's home too: LibreOffice wants a home of its own as root on a bare
    // machine, and a profile of its own so that it neither waits for nor disturbs another
    // instance. Its first start can take half a minute.
    void convert(Peer peer, const QStringList &inputs, const QString &outDir, const QString &to)
    {
        QDir(m_dir.path()).mkpath(outDir);
        const auto run = [this](Peer peer, const QStringList &args) {
            QProcess p;
            p.setWorkingDirectory(m_dir.path());
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"HOME"_qs, m_dir.path());
            p.setProcessEnvironment(env);
            p.start(QStandardPaths::findExecutable(program(peer)), args);
            if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
                qWarning() << program(peer) << args << "failed:" << p.readAllStandardError();
        };
        if (peer == Office) {
            QStringList args{u"-env:UserInstallation=file://"_qs + path(u"lo-profile"_qs), u"--headless"_qs};
            if (inputs.first().endsWith(u".html"))
                args << u"--infilter=HTML (StarWriter)"_qs;   // Writer, not Writer/Web
            run(peer, args + QStringList{u"--convert-to"_qs, to == u"txt" ? u"txt:Text (encoded):UTF8"_qs : to,
                                         u"--outdir"_qs, outDir} + inputs);
            return;
        }
        for (const QString &in : inputs) {
            const QString out = outDir + u'/' + QFileInfo(in).completeBaseName() + u'.' + to;
            if (peer == Abi)
                run(peer, {u"--to="_qs + to, u"-o"_qs, out, in});
            else   // plain-strikeout: without the ~~ around struck-out runs
                run(peer, {u"-s"_qs, u"-t"_qs, to == u"txt" ? u"plain-strikeout"_qs : to, u"-o"_qs, out, in});
        }
    }
    const QTextDocument &read(const QString &name)
    {
        std::unique_ptr<QTextDocument> &doc = m_read[name];
        if (!doc) {
            doc = std::make_unique<QTextDocument>();
            rtf::readFile(path(name), doc.get());
        }
        return *doc;
    }

    QTemporaryDir m_dir;
    std::map<QString, std::unique_ptr<QTextDocument>> m_read;
};

QTEST_MAIN(TestRtfPeers)
#include "tst_rtfpeers.moc"
