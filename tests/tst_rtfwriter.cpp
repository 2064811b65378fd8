// The writer: what the editor can set survives write-read, the bytes are deterministic,
// and a second save of what the writer wrote gives the same bytes.
#include "rtfcodec.h"
#include "rtfunits.h"
#include "support/tableshape.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

class TestRtfWriter : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void nestedTables();
    void columnWidths();
    void header();
    void saveIsStable_data();
    void saveIsStable();
};

// A document with what the editor's commands can set, drawn from a fixed seed.
static void fillRandom(QTextDocument *doc, quint32 seed)
{
    QRandomGenerator rng(seed);
    const QStringList words = {u"hola"_qs, u"año"_qs, u"Жук"_qs, u"日本"_qs, u"€uro"_qs,
                               QString::fromUcs4(U"\U0001F600"), u"tab\there"_qs};
    const QStringList fonts = {u"Arial"_qs, u"Times New Roman"_qs, u"Courier New"_qs};
    const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    QTextCursor c(doc);
    for (int p = 0; p < 12; ++p) {
        if (p > 0)
            c.insertBlock();
        QTextBlockFormat bf;
        bf.setAlignment(aligns[rng.bounded(3)]);
        bf.setLeftMargin(rtf::twipsToDocPixels(rng.bounded(0, 2000)));
        bf.setRightMargin(rtf::twipsToDocPixels(rng.bounded(0, 2000)));
        c.setBlockFormat(bf);
        if (rng.bounded(4) == 0) {
            QTextListFormat lf;
            lf.setStyle(QTextListFormat::ListDisc);
            c.createList(lf);
        }
        for (int r = 0; r < 3; ++r) {
            QTextCharFormat f;
            f.setFontWeight(rng.bounded(2) ? QFont::Bold : QFont::Normal);
            f.setFontItalic(rng.bounded(2));
            f.setFontUnderline(rng.bounded(2));
            f.setFontStrikeOut(rng.bounded(2));
            f.setFontPointSize(8 + 2 * rng.bounded(6));
            f.setFontFamilies({fonts[rng.bounded(3)]});
            if (rng.bounded(2))
                f.setForeground(QColor::fromRgb(rng.bounded(0x1000000)));
            c.insertText(words[rng.bounded(words.size())] + u' ', f);
        }
    }
}

// One line per run: text and every attribute the editor sets.
static QStringList describe(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        out << QStringLiteral("P a%1 l%2 r%3 list%4")
                   .arg(int(bf.alignment() & Qt::AlignHorizontal_Mask))
                   .arg(b.textList() ? 0 : rtf::pixelsToTwips(bf.leftMargin()))
                   .arg(rtf::pixelsToTwips(bf.rightMargin()))
                   .arg(b.textList() ? int(b.textList()->format().style()) : 0);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            out << QStringLiteral("  %1 b%2 i%3 u%4 s%5 %6pt %7 %8")
                       .arg(it.fragment().text())
                       .arg(f.fontWeight() >= QFont::DemiBold).arg(f.fontItalic())
                       .arg(f.fontUnderline()).arg(f.fontStrikeOut()).arg(f.fontPointSize())
                       .arg(f.fontFamilies().toStringList().value(0))
                       .arg(f.foreground().style() == Qt::NoBrush ? QString()
                                                                  : f.foreground().color().name());
        }
    }
    return out;
}

void TestRtfWriter::roundTrip_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 42u, 2026u})
        QTest::newRow(qPrintable(QString::number(seed))) << seed;
}

void TestRtfWriter::roundTrip()
{
    QFETCH(quint32, seed);
    QTextDocument original;
    fillRandom(&original, seed);
    const QByteArray once = rtf::write(&original);
    QTextDocument read;
    rtf::read(once, &read);
    QCOMPARE(describe(read), describe(original));
    QCOMPARE(read.toPlainText(), original.toPlainText());
    QCOMPARE(rtf::write(&read), once);          // read-write-read is stable
    QCOMPARE(rtf::write(&original), once);      // and writing is deterministic
}

void TestRtfWriter::nestedTables()
{
    // A 2x2 table whose second cell holds a 1x2 table, whose second cell holds another.
    QTextDocument original;
    QTextCursor c(&original);
    c.insertText(u"top"_qs);
    QTextTable *outer = c.insertTable(2, 2);
    outer->cellAt(0, 0).firstCursorPosition().insertText(u"a"_qs);
    QTextCursor in = outer->cellAt(0, 1).firstCursorPosition();
    in.insertText(u"b"_qs);
    QTextTable *inner = in.insertTable(1, 2);
    inner->cellAt(0, 0).firstCursorPosition().insertText(u"n1"_qs);
    QTextTable *deepest = inner->cellAt(0, 1).firstCursorPosition().insertTable(1, 1);
    deepest->cellAt(0, 0).firstCursorPosition().insertText(u"deep"_qs);
    outer->cellAt(1, 1).firstCursorPosition().insertText(u"d"_qs);
    const QString shape = tableShape(&original);
    QCOMPARE(shape, u"top [a|b [n1|[deep]]/|d]"_qs);

    const QByteArray once = rtf::write(&original);
    QTextDocument read;
    rtf::read(once, &read);
    QCOMPARE(tableShape(&read), shape);
    QCOMPARE(rtf::write(&read), once);
}

// Fixed column widths, a nested table's too, are written as cell edges and read back.
void TestRtfWriter::columnWidths()
{
    QTextDocument original;
    QTextCursor c(&original);
    const auto fixed = [](std::initializer_list<int> twips) {
        QTextTableFormat f;
        QList<QTextLength> widths;
        for (const int w : twips)
            widths << QTextLength(QTextLength::FixedLength, rtf::twipsToDocPixels(w));
        f.setColumnWidthConstraints(widths);
        return f;
    };
    QTextTable *outer = c.insertTable(1, 2, fixed({1200, 5000}));
    outer->cellAt(0, 0).firstCursorPosition().insertText(u"a"_qs);
    outer->cellAt(0, 1).firstCursorPosition().insertTable(1, 3, fixed({700, 800, 900}));
    QCOMPARE(columnWidthsOf(original.rootFrame()), u"1200,5000 700,800,900"_qs);
    const QByteArray written = rtf::write(&original);
    // The edges alone, without each cell's borders before its edge.
    const QString edges = QString::fromLatin1(written).remove(QRegularExpression(uR"(\\(cl|brdr)[a-z]+\d*)"_qs));
    QVERIFY(edges.contains(u"\\cellx1200\\cellx6200"_qs));
    QVERIFY(edges.contains(u"\\cellx700\\cellx1500\\cellx2400"_qs));
    QTextDocument back;
    rtf::read(written, &back);
    QCOMPARE(columnWidthsOf(back.rootFrame()), u"1200,5000 700,800,900"_qs);
    QCOMPARE(rtf::write(&back), written);
}

void TestRtfWriter::header()
{
    QTextDocument doc;
    doc.setPlainText(u"x"_qs);
    const QByteArray out = rtf::write(&doc);
    QVERIFY(out.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    QVERIFY(out.contains("{\\fonttbl"));
    QVERIFY(out.contains("{\\colortbl"));
    QVERIFY(out.contains("\\uc1"));
}

void TestRtfWriter::saveIsStable_data()
{
    QTest::addColumn<QString>("file");
    for (const char *folder : {RTF_CORPUS_DIR, TEST_DATA_DIR "/rtf/fuzz-regressions"}) {
        QDirIterator it(QString::fromUtf8(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(u".md"_qs))
                QTest::newRow(qPrintable(QDir(QString::fromUtf8(folder)).relativeFilePath(path))) << path;
        }
    }
}

// Saving a file the editor wrote gives the same bytes, whatever the first file held.
void TestRtfWriter::saveIsStable()
{
    QFETCH(QString, file);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QTextDocument doc;
    rtf::read(f.readAll(), &doc);
    const QByteArray first = rtf::write(&doc);
    QTextDocument again;
    rtf::read(first, &again);
    QCOMPARE(rtf::write(&again), first);
}

QTEST_GUILESS_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
