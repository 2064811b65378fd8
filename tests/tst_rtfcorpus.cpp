// Every file of the third-party corpus loads, with the text LibreOffice reads from it, and
// every input the fuzzer once failed on loads; saving either again after a first save
// gives the same bytes, and what the editor has no view for is written back.
// The goldens in data/rtf/corpus-expected were made with
//   soffice --headless --convert-to txt:Text FILE.rtf
// and are compared with whitespace removed: line wrapping and paragraph marks differ
// between a text export and a document, the words must not.
#include "rtfcodec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextDocument>

static QString goldenName(const QString &relative)
{
    QString name = relative;
    name.replace(u'/', u'_');
    if (name.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive))
        name.chop(4);
    return name + QLatin1String(".txt");
}

// LibreOffice's text export writes list labels ("•", "1.", "a)") and footnote marks as
// text; the document holds them as list formats, so they are left out of the comparison.
static QString withoutListLabels(const QString &text)
{
    static const QRegularExpression label(QStringLiteral(
        "^[ \\t]*(?:[•◦▪·\\x{f0b7}-]|\\d+[.)]|[a-zA-Z][.)]|[ivxlcIVXLC]+[.)])[ \\t]*"),
        QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption);
    return QString(text).remove(label);
}

// Table cell marks and object replacement characters are structure, not text.
static QString withoutStructure(QString text)
{
    static const QRegularExpression marks(QStringLiteral("[\\x{fdd0}\\x{fdd1}\\x{fffc}]"));
    text.remove(marks);
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text.replace(QChar::LineSeparator, u'\n');
}

static QString squeeze(QString text)
{
    static const QRegularExpression space(QStringLiteral("[\\s\\x{00a0}\\x{2028}\\x{2029}\\x{feff}]+"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    return text.remove(space);
}

// Files where our reading differs from LibreOffice's, and why.
static QHash<QString, QString> knownDifferences()
{
    const QString hidden = QStringLiteral("hidden text (\\v) is not shown; LibreOffice exports it");
    return {
        {QStringLiteral("rtfjs_sample_source.txt"), hidden},
        {QStringLiteral("abiword_7420-google_hidden.abw.exp.raw.txt"), hidden},
        {QStringLiteral("rtfpipe_ted_mixed_faces.txt"),
         QStringLiteral("text in a symbol font keeps its letters; LibreOffice's text export drops them")},
        {QStringLiteral("rtfpipe_Issue46.txt"), QStringLiteral("multi-level list labels (1.1) exported as text")},
        {QStringLiteral("rtfpipe_inline_mix.txt"), hidden},
        {QStringLiteral("tika_testRTFHyperlinkAndStyles.txt"),
         QStringLiteral("\\fcharset1 defers to the document's code page, so \\'94 is a quote; "
                        "LibreOffice shows U+FFFD")},
        {QStringLiteral("tika_testRTFInvalidUnicode.txt"),
         QStringLiteral("an unpaired surrogate becomes U+FFFD; LibreOffice writes '?'")},
        {QStringLiteral("pandoc_table_nested_malformed_itap.txt"),
         QStringLiteral("LibreOffice reads nothing of this malformed nesting; we keep every cell")},
    };
}

class TestRtfCorpus : public QObject
{
    Q_OBJECT
private slots:
    // What files written by Word and pandoc hold in headers, footers and notes, written back.
    static QHash<QString, QByteArrayList> keptWords()
    {
        return {
            {u"tika/testRTFVarious.rtf"_qs, {"This is the header text", "This is the footer text",
                                             "This is a footnote.", "\\cols2", "{\\*\\ftnsep"}},
            {u"pandoc/footnote.rtf"_qs, {"See Sahlins, Bateson, and Geertz", "A complete bibliography", "\\ftnbj"}},
            {u"rtfjs/sample/source.rtf"_qs, {"{\\footnote", "{\\stylesheet"}},
        };
    }
    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("golden");   // empty for the fuzzer's inputs
        const QDir root(QStringLiteral(RTF_CORPUS_DIR));
        QDirIterator it(root.path(), {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
        QStringList files;
        while (it.hasNext())
            files << it.next();
        files.sort();
        QVERIFY(files.size() >= 80);
        for (const QString &file : files) {
            const QString relative = root.relativeFilePath(file);
            QTest::newRow(qPrintable(relative))
                << file << QStringLiteral(TEST_DATA_DIR "/rtf/corpus-expected/") + goldenName(relative);
        }
        const QDir fuzz(QStringLiteral(TEST_DATA_DIR "/rtf/fuzz-regressions"));
        QVERIFY(!fuzz.isEmpty());
        for (const QString &name : fuzz.entryList(QDir::Files))
            QTest::newRow(qPrintable(u"fuzz "_qs + name)) << fuzz.filePath(name) << QString();
    }
    void corpus()
    {
        QFETCH(QString, path);
        QFETCH(QString, golden);
        QTextDocument doc, again;
        rtf::readFile(path, &doc);          // must not throw, crash or hang
        const QByteArray once = rtf::write(&doc);
        rtf::read(once, &again);
        QCOMPARE(rtf::write(&again), once);
        for (const QByteArray &w : keptWords().value(QDir(QStringLiteral(RTF_CORPUS_DIR)).relativeFilePath(path)))
            QVERIFY2(once.contains(w), w.constData());
        if (golden.isEmpty())
            return;
        QFile expected(golden);
        if (!expected.open(QIODevice::ReadOnly)) {
            // LibreOffice cannot convert these two, so they have no expected text: loading
            // them without a failure is all they must do. Any other file needs its text.
            static const QStringList loadOnly = {u"RtfParserTest_fail_3.rtf"_qs, u"testBinControlWord.rtf"_qs};
            QVERIFY2(loadOnly.contains(QFileInfo(path).fileName()), qPrintable(golden));
            return;
        }
        const QString want = squeeze(withoutListLabels(QString::fromUtf8(expected.readAll())));
        const QString got = squeeze(withoutListLabels(withoutStructure(doc.toRawText())));
        const QString known = knownDifferences().value(QFileInfo(golden).fileName());
        if (!known.isEmpty())
            QEXPECT_FAIL("", qPrintable(known), Continue);
        if (got != want) {
            // Print the first difference so a regression is easy to see.
            int i = 0;
            while (i < got.size() && i < want.size() && got[i] == want[i])
                ++i;
            qWarning("differs at %d: got \"%s\" want \"%s\"", i, qPrintable(got.mid(i, 40)),
                     qPrintable(want.mid(i, 40)));
        }
        QCOMPARE(got, want);
    }
};

QTEST_GUILESS_MAIN(TestRtfCorpus)
#include "tst_rtfcorpus.moc"
