// What other word processors write comes in as they wrote it: styles under direct
// formatting, list levels with their markers, right-to-left paragraphs, table borders.
#include "rtfcodec.h"
#include "rtfindents.h"
#include "rtflistformat.h"
#include "rtfunderline.h"
#include "rtfunits.h"
#include "support/fidelitydocs.h"
#include "support/fidelitysupport.h"

#include <QTest>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

class TestRtfFidelity : public QObject
{
    Q_OBJECT
private slots:
    void styles_data();
    void styles();
    void listLevels_data();
    void listLevels();
    void listIndents_data();
    void listIndents();
    void direction_data();
    void direction();
    void complexScript_data();
    void complexScript();
    void complexFont_data();
    void complexFont();
    void cells_data();
    void cells();
    void underlines_data();
    void underlines();
    void symbols_data();
    void symbols();
    void padding_data();
    void padding();
};

namespace {

// How each character of word looks in the document read from input, as describe tells it;
// one description where they all look alike.
QString eachCharacter(const QByteArray &input, const QString &word,
                      QString (*describe)(const QTextCharFormat &))
{
    QTextDocument doc;
    rtf::read(input, &doc);
    const QTextBlock b = blockWith(doc, word);
    if (!b.isValid())
        return u"missing"_qs;
    const int at = int(doc.find(word).selectionStart() - b.position());
    QStringList out;
    for (int i = 0; i < word.size(); ++i)
        out << describe(charAt(b, at + i));
    out.removeDuplicates();
    return out.join(u" | "_qs);
}

const QByteArray kStyles = R"({\stylesheet{\s0\qj Normal;}{\s28\qr\li400\b Derecha;})"
                           R"({\*\cs5\i\ul Enfasis;}})";

QByteArray withStyles(const char *body)
{
    return "{\\rtf1\\ansi" + kStyles + body + "}";
}

// A style sheet of styles based on others, then a paragraph in the style named.
QByteArray basedOn(const char *sheet, const char *body)
{
    return QByteArray("{\\rtf1\\ansi{\\stylesheet{\\s0 Normal;}") + sheet + "}" + body + "}";
}

// Styles based on others: the style sheet, the paragraph, what it shows.
struct BasedOnRow { const char *name, *sheet, *body, *expected; };
const BasedOnRow kBasedOn[] = {
    {"based on another", R"({\s1\qc\b Base;}{\s2\sbasedon1\li400 Hijo;})",
     R"(\pard\s2 x\par)", "center 400 b"},
    {"its own over its base", R"({\s1\qc\b Base;}{\s2\sbasedon1\qr\b0 Hijo;})",
     R"(\pard\s2 x\par)", "right 0"},
    {"a chain of three", R"({\s1\qc Uno;}{\s2\sbasedon1\i Dos;}{\s3\sbasedon2\li400 Tres;})",
     R"(\pard\s3 x\par)", "center 400 i"},
    {"based on one defined later", R"({\s2\sbasedon1\li400 Hijo;}{\s1\qr\b Base;})",
     R"(\pard\s2 x\par)", "right 400 b"},
    {"the nearer base wins", R"({\s1\qc\li200 Uno;}{\s2\sbasedon1\qr Dos;}{\s3\sbasedon2\b Tres;})",
     R"(\pard\s3 x\par)", "right 200 b"},
    {"direct formatting over the base", R"({\s1\qc\b Base;}{\s2\sbasedon1 Hijo;})",
     R"(\pard\s2\ql\b0 x\par)", "left 0"},
    {"based on itself", R"({\s1\sbasedon1\qc Uno;})",
     R"(\pard\s1 x\par)", "center 0"},
    {"based on each other", R"({\s1\sbasedon2\qc A;}{\s2\sbasedon1\li400\b B;})",
     R"(\pard\s1 x\par)", "center 400 b"},
    {"based on each other, the other", R"({\s1\sbasedon2\qc A;}{\s2\sbasedon1\li400\b B;})",
     R"(\pard\s2 x\par)", "center 400 b"},
    {"a base that does not exist", R"({\s1\sbasedon9\qr A;})",
     R"(\pard\s1 x\par)", "right 0"},
    {"a loop further up the chain",
     R"({\s1\sbasedon2\qc A;}{\s2\sbasedon3 B;}{\s3\sbasedon2\i C;}{\s4\sbasedon1 D;})",
     R"(\pard\s4 x\par)", "center 0 i"},
    {"character style based on another", R"({\*\cs5\i E;}{\*\cs6\sbasedon5\ul F;})",
     R"(\pard{\cs6 x}\par)", "left 0 i u"},
    {"based on Normal", R"({\s1\sbasedon0\b B;})",
     R"(\pard\s1 x\par)", "left 0 b"},
};

} // namespace

void TestRtfFidelity::styles_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");   // alignment, left indent, then b/i/u
    QTest::newRow("direct before the style") << withStyles(R"(\pard\qc\s28 x\par)") << u"center 400 b"_qs;
    QTest::newRow("direct after the style") << withStyles(R"(\pard\s28\qc x\par)") << u"center 400 b"_qs;
    QTest::newRow("as AbiWord writes it")
        << withStyles(R"(\pard\plain\ltrpar\qc\s28\itap0{\b0 x}\par)") << u"center 400"_qs;
    QTest::newRow("the style alone") << withStyles(R"(\pard\s28 x\par)") << u"right 400 b"_qs;
    QTest::newRow("own indent of zero") << withStyles(R"(\pard\li0\s28 x\par)") << u"right 0 b"_qs;
    QTest::newRow("Normal style without a style named")
        << withStyles(R"(\pard x\par)") << u"justify 0"_qs;
    QTest::newRow("Normal style under direct") << withStyles(R"(\pard\ql x\par)") << u"left 0"_qs;
    QTest::newRow("character style") << withStyles(R"(\pard{\cs5 x}\par)") << u"justify 0 i u"_qs;
    QTest::newRow("character style with its run's own")
        << withStyles(R"(\pard{\i0\cs5 x}\par)") << u"justify 0 u"_qs;
    QTest::newRow("character style then the run's own")
        << withStyles(R"(\pard{\cs5\ul0 x}\par)") << u"justify 0 i"_qs;
    for (const BasedOnRow &r : kBasedOn)
        QTest::newRow(r.name) << basedOn(r.sheet, r.body) << QString::fromLatin1(r.expected);
}

void TestRtfFidelity::styles()
{
    QFETCH(QByteArray, input);
    QTextDocument doc;
    rtf::read(input, &doc);
    const QTextBlock b = blockWith(doc, u"x"_qs);
    QStringList out{alignmentName(b), QString::number(rtf::paragraphIndents(b).left)};
    const QTextCharFormat f = charAt(b, 0);
    if (f.fontWeight() >= QFont::DemiBold) out << u"b"_qs;
    if (f.fontItalic()) out << u"i"_qs;
    if (f.fontUnderline()) out << u"u"_qs;
    QTEST(out.join(u' '), "expected");
}

void TestRtfFidelity::listLevels_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("expected");   // style, level, marker shown, start, level text
    for (const ListItem &i : kListItems)
        QTest::newRow(i.name) << QString::fromUtf8(i.item) << QString::fromUtf8(i.expected);
}

void TestRtfFidelity::listLevels()
{
    QFETCH(QString, item);
    QTextDocument doc;
    rtf::read(kLists, &doc);
    QTEST(describeList(blockWith(doc, item)), "expected");
}

void TestRtfFidelity::listIndents_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("first");
    const QByteArray lists = R"({\*\listtable{\list{\listlevel\levelnfc0{\leveltext\'02\'00.;})"
                             R"({\levelnumbers\'01;}\fi-360\li720}{\listlevel\levelnfc0)"
                             R"({\leveltext\'02\'01.;}{\levelnumbers\'01;}\fi-360\li1080}\listid1}})"
                             R"({\*\listoverridetable{\listoverride\listid1\ls1})"
                             R"({\listoverride\listid1\ls0}})";
    QTest::newRow("the level's") << "{\\rtf1" + lists + "\\pard\\ls1 x\\par}" << 720 << -360;
    QTest::newRow("the second level's, inside the list's own indent")
        << "{\\rtf1" + lists + "\\pard\\ls1\\ilvl1 x\\par}" << 1080 << -360;
    QTest::newRow("the paragraph's own") << "{\\rtf1" + lists + "\\pard\\ls1\\li1440\\fi-720 x\\par}"
                                         << 1440 << -720;
    // OpenOffice numbers its overrides from 0.
    QTest::newRow("list 0") << "{\\rtf1" + lists + "\\pard\\ls0 x\\par}" << 720 << -360;
    QTest::newRow("own before the list") << "{\\rtf1" + lists + "\\pard\\fi0\\li900\\ls1 x\\par}"
                                         << 900 << 0;
    // Word keeps a paragraph's own indent even inside the level's hanging one.
    QTest::newRow("own left inside the marker's room")
        << "{\\rtf1" + lists + "\\pard\\ls1\\li170\\fi-170 x\\par}" << 170 << -170;
    QTest::newRow("own left without a first line") << "{\\rtf1" + lists + "\\pard\\ls1\\li283 x\\par}"
                                                   << 283 << -360;
    QTest::newRow("own left of zero") << "{\\rtf1" + lists + "\\pard\\ls1\\li0\\fi0 x\\par}" << 0 << 0;
    QTest::newRow("own right beside the level's")
        << "{\\rtf1" + lists + "\\pard\\ls1\\ri400 x\\par}" << 720 << -360;
}

void TestRtfFidelity::listIndents()
{
    QFETCH(QByteArray, input);
    QTextDocument doc;
    rtf::read(input, &doc);
    const rtf::Indents indents = rtf::paragraphIndents(blockWith(doc, u"x"_qs));
    QTEST(indents.left, "left");
    QTEST(indents.first, "first");
}

void TestRtfFidelity::direction_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");   // direction, then the side of the page
    QTest::newRow("right to left, right") << QByteArray(R"({\rtf1\pard\rtlpar\qr x\par})")
                                          << u"rtl right"_qs;
    QTest::newRow("right to left, left") << QByteArray(R"({\rtf1\pard\rtlpar\ql x\par})")
                                         << u"rtl left"_qs;
    QTest::newRow("right to left, centred") << QByteArray(R"({\rtf1\pard\rtlpar\qc x\par})")
                                            << u"rtl center"_qs;
    QTest::newRow("back to left to right") << QByteArray(R"({\rtf1\pard\rtlpar\ltrpar\qr x\par})")
                                           << u"ltr right"_qs;
    QTest::newRow("from the style") << QByteArray(R"({\rtf1{\stylesheet{\s1\rtlpar\qr H;}})"
                                                  R"(\pard\s1 x\par})") << u"rtl right"_qs;
    QTest::newRow("Hebrew text") << QByteArray(R"({\rtf1\pard\rtlpar\ql\rtlch \u1513?\u1500? x\par})")
                                 << u"rtl left"_qs;
}

void TestRtfFidelity::direction()
{
    QFETCH(QByteArray, input);
    QTextDocument doc;
    rtf::read(input, &doc);
    const QTextBlock b = blockWith(doc, u"x"_qs);
    const bool rtl = b.blockFormat().layoutDirection() == Qt::RightToLeft;
    QTEST((rtl ? u"rtl "_qs : u"ltr "_qs) + visualSide(b), "expected");
}

// Bold, italic and size of right-to-left script: the associated \ab, \ai and \afs, as
// LibreOffice and Word write them, where the file gives them; else the run's own.
void TestRtfFidelity::complexScript_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");   // b or -, i or -, then the size in points
    const QString shalom = u"שלום"_qs, salam = u"سلام"_qs;
    const QByteArray heb = R"(\u1513?\u1500?\u1493?\u1501?)";
    const auto rtf = [](const QByteArray &body) {
        return "{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\pard\\rtlpar\\qr " + body + "\\par}";
    };
    QTest::newRow("bold as LibreOffice writes it") << rtf("{\\ltrch \\rtlch\\ab " + heb + "} x")
                                                   << shalom << u"b - 12"_qs;
    QTest::newRow("italic as LibreOffice writes it") << rtf("{\\ltrch \\rtlch\\ai " + heb + "} x")
                                                     << shalom << u"- i 12"_qs;
    QTest::newRow("size as LibreOffice writes it") << rtf("{\\ltrch \\rtlch\\afs40 " + heb + "} x")
                                                   << shalom << u"- - 20"_qs;
    QTest::newRow("Latin beside it keeps its own") << rtf("{\\rtlch\\ab\\afs40 " + heb + " x}")
                                                   << u"x"_qs << u"- - 12"_qs;
    QTest::newRow("as Word writes it")
        << rtf("{\\rtlch\\ab\\ai\\afs40 \\ltrch\\b0\\fs24 " + heb + "}") << shalom << u"b i 20"_qs;
    QTest::newRow("Latin in Word's run") << rtf("{\\rtlch\\ab\\ai\\afs40 \\ltrch\\b0\\fs24 x}")
                                         << u"x"_qs << u"- - 12"_qs;
    QTest::newRow("associated off, the run's own on")
        << rtf("{\\b\\i\\fs40\\rtlch\\ab0\\ai0\\afs24 " + heb + "}") << shalom << u"- - 12"_qs;
    QTest::newRow("only the run's own") << rtf("{\\b\\i\\fs40 " + heb + "}") << shalom << u"b i 20"_qs;
    QTest::newRow("Arabic") << rtf("{\\rtlch\\ab \\u1587?\\u1604?\\u1575?\\u1605?}") << salam
                            << u"b - 12"_qs;
    QTest::newRow("Hebrew in a mixed run") << rtf("{\\rtlch\\ab abc " + heb + " def}") << shalom
                                           << u"b - 12"_qs;
    QTest::newRow("Latin in a mixed run") << rtf("{\\rtlch\\ab abc " + heb + " def}") << u"def"_qs
                                          << u"- - 12"_qs;
    QTest::newRow("plain clears them") << rtf("{\\rtlch\\ab\\afs40\\ltrch\\plain " + heb + "}")
                                       << shalom << u"- - 12"_qs;
    QTest::newRow("a bookmark on its first letter")
        << rtf("{\\rtlch\\ab {\\*\\bkmkstart m}" + heb + "{\\*\\bkmkend m} x}") << shalom << u"b - 12"_qs;
    QTest::newRow("a bookmark on its last letter, at the end")
        << rtf("{\\rtlch\\ai x " + heb + "{\\*\\bkmkstart m}{\\*\\bkmkend m}}") << shalom
        << u"- i 12"_qs;
    QTest::newRow("from the style")
        << QByteArray("{\\rtf1\\ansi{\\stylesheet{\\s1\\rtlch\\ab\\afs48 \\ltrch\\fs24 Heading;}}"
                      "\\pard\\s1\\rtlpar " + heb + " x\\par}") << shalom << u"b - 24"_qs;
    QTest::newRow("Latin under that style")
        << QByteArray("{\\rtf1\\ansi{\\stylesheet{\\s1\\rtlch\\ab\\afs48 \\ltrch\\fs24 Heading;}}"
                      "\\pard\\s1\\rtlpar " + heb + " x\\par}") << u"x"_qs << u"- - 12"_qs;
    // Word splits its runs between words: spaces, digits and punctuation alone in a run
    // are in the script of the letters before them, as LibreOffice shows them, whatever
    // the runs around them look like.
    const QByteArray word = "\\rtlch\\fcs1 \\af0\\afs28\\alang1025 \\ltrch\\fcs0 \\fs24 ";
    const QByteArray bold = "\\rtlch\\fcs1 \\ab\\af0\\afs28 \\ltrch\\fcs0 \\b\\fs24 ";
    const QByteArray arabic = "{" + bold + "\\u1587?\\u1604?\\u1575?\\u1605?}{" + word
        + " (2016) }{" + bold + "\\u1605?\\u1585?.}";
    QTest::newRow("Word's runs between Arabic words") << rtf(arabic) << u" (2016) "_qs << u"- - 14"_qs;
    QTest::newRow("Word's runs, the Arabic") << rtf(arabic) << salam << u"b - 14"_qs;
    QTest::newRow("Word's run of digits after Latin")
        << rtf("{" + word + "abc}{" + word + " 2016}") << u" 2016"_qs << u"- - 12"_qs;
}

void TestRtfFidelity::complexScript()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, word);
    // Every character of the word alike, marks on some of them or not.
    QTEST(eachCharacter(input, word, [](const QTextCharFormat &f) {
              return u"%1 %2 %3"_qs.arg(f.fontWeight() >= QFont::DemiBold ? u"b" : u"-")
                  .arg(f.fontItalic() ? u"i" : u"-").arg(f.fontPointSize());
          }), "expected");
}

// The font of right-to-left script: the associated \af that follows \rtlch (or Word's
// \fcs1), not one that follows \loch, \hich or \dbch, which are Latin and East Asian.
void TestRtfFidelity::complexFont_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");   // the word's font family
    const QString shalom = u"שלום"_qs;
    const QByteArray heb = kShalomRtf;
    const auto rtf = [](const QByteArray &body) { return rtlDocument(body); };
    QTest::newRow("as LibreOffice writes it") << rtf("{\\ltrch \\rtlch\\af5 " + heb + "} x")
                                              << shalom << u"David CLM"_qs;
    QTest::newRow("Latin beside it keeps its own") << rtf("{\\rtlch\\af5 " + heb + " x}")
                                                   << u"x"_qs << u"Times"_qs;
    QTest::newRow("as Word writes it") << rtf("{\\rtlch\\fcs1 \\af5 \\ltrch\\fcs0 \\f0 " + heb + "}")
                                       << shalom << u"David CLM"_qs;
    QTest::newRow("Latin and East Asian fonts after it")
        << rtf("{\\rtlch\\af5 \\ltrch\\hich\\af0\\dbch\\af6\\loch\\f0 " + heb + "}")
        << shalom << u"David CLM"_qs;
    QTest::newRow("an East Asian font only") << rtf("{\\dbch\\af6 " + heb + "}") << shalom
                                             << u"Times"_qs;
    QTest::newRow("a font not in the table") << rtf("{\\rtlch\\af9 " + heb + "}") << shalom
                                             << u"Times"_qs;
    QTest::newRow("another entry for the run's font") << rtf("{\\rtlch\\af7 " + heb + "}")
                                                       << shalom << u"Times"_qs;
    QTest::newRow("Arabic") << rtf("{\\rtlch\\af5 \\u1587?\\u1604?\\u1575?\\u1605?}")
                            << u"سلام"_qs << u"David CLM"_qs;
    QTest::newRow("Hebrew in a mixed run") << rtf("{\\rtlch\\af5 abc " + heb + " def}")
                                           << shalom << u"David CLM"_qs;
    QTest::newRow("Latin in a mixed run") << rtf("{\\rtlch\\af5 abc " + heb + " def}")
                                          << u"def"_qs << u"Times"_qs;
    QTest::newRow("a bookmark on its first letter")
        << rtf("{\\rtlch\\af5 {\\*\\bkmkstart m}" + heb + "{\\*\\bkmkend m} x}") << shalom
        << u"David CLM"_qs;
    QTest::newRow("plain clears it") << rtf("{\\rtlch\\af5\\ltrch\\plain " + heb + "}") << shalom
                                     << u"Times"_qs;
    const QByteArray styled = rtlDocument("\\s1 " + heb + " x",
                                          "{\\stylesheet{\\s1\\rtlch\\af5 \\ltrch\\f0 Heading;}}");
    QTest::newRow("from the style") << styled << shalom << u"David CLM"_qs;
    QTest::newRow("Latin under that style") << styled << u"x"_qs << u"Times"_qs;
}

void TestRtfFidelity::complexFont()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, word);
    QTEST(eachCharacter(input, word, [](const QTextCharFormat &f) {
              return f.fontFamilies().toStringList().value(0);
          }), "expected");
}

void TestRtfFidelity::cells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");   // row,column rows x columns, borders, shading
    for (const TableCell &c : kTableCells)
        QTest::newRow(c.name) << QString::fromLatin1(c.text) << QString::fromLatin1(c.expected);
}

void TestRtfFidelity::cells()
{
    QFETCH(QString, text);
    QTextDocument doc;
    rtf::read(kTable, &doc);
    QTEST(describeCell(blockWith(doc, text)), "expected");
    // No grid lines but the cells' own.
    const QTextTable *table = QTextCursor(blockWith(doc, text)).currentTable();
    QVERIFY(table);
    QCOMPARE(table->format().border(), 0.0);
}

// Every underline word is an underline, drawn in the nearest line Qt has, and keeps its word.
void TestRtfFidelity::underlines_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<int>("style");
    const std::pair<const char *, QTextCharFormat::UnderlineStyle> rows[] = {
        {"ul", QTextCharFormat::SingleUnderline}, {"uld", QTextCharFormat::DotLine},
        {"uldash", QTextCharFormat::DashUnderline}, {"uldashd", QTextCharFormat::DashDotLine},
        {"uldashdd", QTextCharFormat::DashDotDotLine}, {"uldb", QTextCharFormat::SingleUnderline},
        {"ulth", QTextCharFormat::SingleUnderline}, {"ulw", QTextCharFormat::SingleUnderline},
        {"ulwave", QTextCharFormat::WaveUnderline}, {"ulthd", QTextCharFormat::DotLine},
        {"ulthdash", QTextCharFormat::DashUnderline}, {"ulldash", QTextCharFormat::DashUnderline},
        {"ulthldash", QTextCharFormat::DashUnderline}, {"ulhwave", QTextCharFormat::WaveUnderline},
        {"ululdbwave", QTextCharFormat::WaveUnderline},
        {"ulthdashd", QTextCharFormat::DashDotLine}, {"ulthdashdd", QTextCharFormat::DashDotDotLine},
    };
    for (const auto &[word, style] : rows)
        QTest::newRow(word) << QByteArray(word) << int(style);
}

void TestRtfFidelity::underlines()
{
    QFETCH(QByteArray, word);
    QTextDocument doc;
    rtf::read("{\\rtf1\\pard a{\\" + word + " x}b\\par}", &doc);
    const QTextCharFormat f = charAt(blockWith(doc, u"axb"_qs), 1);
    QTEST(int(f.underlineStyle()), "style");
    QCOMPARE(QByteArray(rtf::underlineWord(f).data()).left(word.size()), word);
    QCOMPARE(charAt(blockWith(doc, u"axb"_qs), 2).underlineStyle(), QTextCharFormat::NoUnderline);
}

// A SYMBOL field with an empty result shows its character in its font and size.
void TestRtfFidelity::symbols_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("expected");   // the character, its font and its size
    QTest::newRow("as Word writes it")
        << QByteArray(R"({\field{\*\fldinst SYMBOL 252 \\f "Wingdings" \\s 12}{\fldrslt }})")
        << u"\u00fc Wingdings 12"_qs;
    QTest::newRow("without a size")
        << QByteArray(R"({\field{\*\fldinst {SYMBOL 183 \\f "Symbol"}}{\fldrslt }})")
        << u"\u00b7 Symbol 10"_qs;
    QTest::newRow("a Unicode code") << QByteArray(R"({\field{\*\fldinst SYMBOL 8594 \\u}{\fldrslt }})")
                                    << u"\u2192 Times 10"_qs;
    QTest::newRow("in hexadecimal, an unquoted font")
        << QByteArray(R"({\field{\*\fldinst SYMBOL 0x41 \\f Arial \\s 9.5}{\fldrslt }})")
        << u"A Arial 9.5"_qs;
    QTest::newRow("in the ANSI code page") << QByteArray(R"({\field{\*\fldinst SYMBOL 150}{\fldrslt }})")
                                           << u"\u2013 Times 10"_qs;
    QTest::newRow("a result of its own is shown instead")
        << QByteArray(R"({\field{\*\fldinst SYMBOL 252 \\f "Wingdings"}{\fldrslt Q}})")
        << u"Q Times 10"_qs;
}

void TestRtfFidelity::symbols()
{
    QFETCH(QByteArray, field);
    QTextDocument doc;
    rtf::read("{\\rtf1\\deff0{\\fonttbl{\\f0 Times;}}\\pard\\fs20 [" + field + "]\\par}", &doc);
    const QTextBlock b = doc.begin();
    QCOMPARE(b.text().size(), 3);
    QCOMPARE(b.text().front(), u'[');
    const QTextCharFormat f = charAt(b, 1);
    QTEST(u"%1 %2 %3"_qs.arg(b.text().at(1)).arg(f.fontFamilies().toStringList().value(0))
              .arg(f.fontPointSize()), "expected");
}

// Cell padding: the cell's \clpad (Word's \clpadl being the top), else the row's \trpadd,
// else \trgaph on the left and right; a side none of them gives has the table's.
void TestRtfFidelity::padding_data()
{
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<QString>("expected");   // top, left, bottom, right in twips; - the table's
    QTest::newRow("as LibreOffice writes it")
        << QByteArray(R"(\clpadfl3\clpadl60\clpadft3\clpadt60\clpadfb3\clpadb60\clpadfr3\clpadr60)")
        << u"60 60 60 60"_qs;
    QTest::newRow("Word's gap") << QByteArray(R"(\trgaph108)") << u"- 108 - 108"_qs;
    QTest::newRow("the row's over the gap")
        << QByteArray(R"(\trgaph108\trpaddl30\trpaddfl3\trpaddt15\trpaddft3)") << u"15 30 - 108"_qs;
    QTest::newRow("the cell's over the row's")
        << QByteArray(R"(\trpaddl30\trpaddfl3\clpadt90\clpadft3)") << u"- 90 - -"_qs;
    QTest::newRow("a unit that says to ignore it") << QByteArray(R"(\trgaph50\clpadt90\clpadft0)")
                                                   << u"- 50 - 50"_qs;
    QTest::newRow("none") << QByteArray() << u"- - - -"_qs;
}

void TestRtfFidelity::padding()
{
    QFETCH(QByteArray, row);
    QTextDocument doc;
    rtf::read("{\\rtf1\\trowd" + row + "\\cellx3000\\pard\\intbl x\\cell\\row\\pard\\par}", &doc);
    const QTextBlock b = blockWith(doc, u"x"_qs);
    const QTextTable *table = QTextCursor(b).currentTable();
    QVERIFY(table);
    const QTextTableCellFormat f = table->cellAt(b.position()).format().toTableCellFormat();
    QStringList out;
    for (const int p : {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                        QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding})
        out << (f.hasProperty(p) ? QString::number(rtf::pixelsToTwips(f.doubleProperty(p))) : u"-"_qs);
    QTEST(out.join(u' '), "expected");
}

QTEST_MAIN(TestRtfFidelity)
#include "tst_rtffidelity.moc"
