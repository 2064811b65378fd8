#include "rtfcodec.h"
#include "rtfgen.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace {

// What a generated document is made of, as the codec reads it back.
struct MakeUp
{
    double paragraphs = 0, bytes = 0, runs = 0, characters = 0;
    double left = 0, justified = 0, centred = 0, right = 0, indented = 0, bulleted = 0;
    double bold = 0, italic = 0, underlined = 0, struck = 0, lines = 0, tabs = 0;
};

void countBlock(const QTextBlock &block, MakeUp &m)
{
    const QTextBlockFormat f = block.blockFormat();
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    m.left += a == Qt::AlignLeft || a == Qt::AlignLeading;
    m.justified += a == Qt::AlignJustify;
    m.centred += a == Qt::AlignHCenter;
    m.right += a == Qt::AlignRight || a == Qt::AlignTrailing;
    m.bulleted += block.textList() != nullptr;
    m.indented += block.textList() || f.leftMargin() != 0 || f.rightMargin() != 0
        || f.textIndent() != 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat c = fragment.charFormat();
        const double n = fragment.length();
        ++m.runs;
        m.characters += n;
        m.bold += c.fontWeight() >= QFont::Bold ? n : 0;
        m.italic += c.fontItalic() ? n : 0;
        m.underlined += c.fontUnderline() ? n : 0;
        m.struck += c.fontStrikeOut() ? n : 0;
        m.lines += fragment.text().count(QChar::LineSeparator);
        m.tabs += fragment.text().count(QLatin1Char('\t'));
    }
}

MakeUp makeUp(const QByteArray &rtf)
{
    QTextDocument doc;
    rtf::read(rtf, &doc);
    MakeUp m;
    m.bytes = rtf.size();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.length() <= 1)
            continue;   // the empty block after the last \par
        ++m.paragraphs;
        countBlock(b, m);
    }
    return m;
}

} // namespace

class tst_RtfGen : public QObject
{
    Q_OBJECT
private slots:
    void sameSeedSameDocument();
    void pureAsciiWithCrlf();
    void makeUp_data();
    void makeUp();
};

void tst_RtfGen::sameSeedSameDocument()
{
    QCOMPARE(rtfgen::document(200, 42), rtfgen::document(200, 42));
    QVERIFY(rtfgen::document(200, 42) != rtfgen::document(200, 43));
    QVERIFY(rtfgen::document(201, 42).startsWith(rtfgen::document(200, 42).chopped(3)));
}

void tst_RtfGen::pureAsciiWithCrlf()
{
    const QByteArray rtf = rtfgen::document(500, 42);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    QVERIFY(rtf.endsWith("}\r\n"));
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        QVERIFY2(uchar(rtf[i]) < 128, qPrintable(QStringLiteral("byte %1").arg(i)));
        if (rtf[i] == '\n')
            QVERIFY2(i > 0 && rtf[i - 1] == '\r', qPrintable(QStringLiteral("byte %1").arg(i)));
    }
    QVERIFY(rtf.contains("\\'"));
    QVERIFY(rtf.contains("\\u8220?"));
}

void tst_RtfGen::makeUp_data()
{
    // Per paragraph, share of paragraphs, or share of characters; each within its margin.
    QTest::addColumn<int>("member");
    QTest::addColumn<QString>("per");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("margin");
    const auto row = [](const char *name, int member, const char *per, double expected,
                        double margin) {
        QTest::newRow(name) << member << QString::fromLatin1(per) << expected << margin;
    };
    row("bytes a paragraph", 0, "paragraph", 300, 20);
    row("runs a paragraph", 1, "paragraph", 5.4, 0.4);
    row("characters a paragraph", 2, "paragraph", 200, 15);
    row("left", 3, "paragraphs", 0.33, 0.03);
    row("justified", 4, "paragraphs", 0.33, 0.03);
    row("centred", 5, "paragraphs", 0.17, 0.03);
    row("right", 6, "paragraphs", 0.17, 0.03);
    row("indented", 7, "paragraphs", 0.48, 0.04);
    row("bulleted", 8, "paragraphs", 0.08, 0.03);
    row("bold", 9, "characters", 0.35, 0.04);
    row("italic", 10, "characters", 0.25, 0.04);
    row("underlined", 11, "characters", 0.18, 0.04);
    row("struck", 12, "characters", 0.04, 0.02);
    row("line breaks a paragraph", 13, "paragraph", 0.2, 0.05);
    row("tabs a paragraph", 14, "paragraph", 0.2, 0.05);
}

void tst_RtfGen::makeUp()
{
    QFETCH(int, member);
    QFETCH(QString, per);
    QFETCH(double, expected);
    QFETCH(double, margin);
    static const MakeUp m = ::makeUp(rtfgen::document(4000, 42));
    QCOMPARE(m.paragraphs, 4000.0);
    const double values[] = {m.bytes, m.runs, m.characters, m.left, m.justified, m.centred,
                             m.right, m.indented, m.bulleted, m.bold, m.italic, m.underlined,
                             m.struck, m.lines, m.tabs};
    const double whole = per == QLatin1String("characters") ? m.characters : m.paragraphs;
    const double got = values[member] / whole;
    QVERIFY2(std::abs(got - expected) <= margin,
             qPrintable(QStringLiteral("%1, expected %2 ± %3").arg(got).arg(expected).arg(margin)));
}

QTEST_GUILESS_MAIN(tst_RtfGen)
#include "tst_rtfgen.moc"
