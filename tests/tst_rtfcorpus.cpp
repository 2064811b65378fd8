// The third-party corpus and fuzz regressions load, are stable on a second save and keep what has
// no view; texts are compared without whitespace to soffice --convert-to txt:Text goldens.
#include "rtfcodec.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>

static QString goldenName(const QString &relative)
{
    QString name = QString(relative).replace(u'/', u'_');
    if (name.endsWith(QLatin1String(".rtf"), Qt::CaseInsensitive))
        name.chop(4);
    return name + QLatin1String(".txt");
}

// The text without list labels and note marks (LibreOffice exports them as text), the table cell
// marks and object characters that are structure, and any whitespace.
static QString comparable(const QString &text)
{
    static const QRegularExpression label(QStringLiteral(
        "^[ \\t]*(?:[•◦▪·\\x{f0b7}-]|\\d+[.)]|[a-zA-Z][.)]|[ivxlcIVXLC]+[.)])[ \\t]*"),
        QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression structure(QStringLiteral("[\\x{fdd0}\\x{fdd1}\\x{fffc}]"));
    static const QRegularExpression space(QStringLiteral("[\\s\\x{00a0}\\x{2028}\\x{2029}\\x{feff}]+"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    QString flat = QString(text).remove(structure).replace(QChar::ParagraphSeparator, u'\n');
    return flat.replace(QChar::LineSeparator, u'\n').remove(label).remove(space);
}

// Files where our reading differs from LibreOffice's, and why.
static QHash<QString, QString> knownDifferences()
{
    const QString hidden = u"hidden text (\\v) is not shown; LibreOffice exports it"_qs;
    return {{u"rtfjs_sample_source.txt"_qs, hidden}, {u"abiword_7420-google_hidden.abw.exp.raw.txt"_qs, hidden},
            {u"rtfpipe_inline_mix.txt"_qs, hidden},
            {u"rtfpipe_ted_mixed_faces.txt"_qs, u"a symbol font keeps its letters; LibreOffice drops them"_qs},
            {u"rtfpipe_Issue46.txt"_qs, u"multi-level list labels (1.1) exported as text"_qs},
            {u"tika_testRTFHyperlinkAndStyles.txt"_qs, u"\\fcharset1 takes the document's code page"_qs},
            {u"tika_testRTFInvalidUnicode.txt"_qs, u"an unpaired surrogate is U+FFFD; LibreOffice writes '?'"_qs},
            {u"pandoc_table_nested_malformed_itap.txt"_qs, u"LibreOffice reads nothing of this nesting"_qs}};
}

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

class TestRtfCorpus : public QObject
{
    Q_OBJECT
private slots:
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
            // LibreOffice cannot convert these two: loading them is all they must do.
            static const QStringList loadOnly = {u"RtfParserTest_fail_3.rtf"_qs, u"testBinControlWord.rtf"_qs};
            QVERIFY2(loadOnly.contains(QFileInfo(path).fileName()), qPrintable(golden));
            return;
        }
        const QString known = knownDifferences().value(QFileInfo(golden).fileName());
        if (!known.isEmpty())
            QEXPECT_FAIL("", qPrintable(known), Continue);
        QCOMPARE(comparable(doc.toRawText()), comparable(QString::fromUtf8(expected.readAll())));
    }
};

QTEST_GUILESS_MAIN(TestRtfCorpus)
#include "tst_rtfcorpus.moc"
