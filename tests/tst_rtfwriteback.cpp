// What was read is written back: list levels with their formats, texts, starts and
// indents; cell borders, shading and merges; right-to-left paragraphs. Lists and tables
// made in the editor are written so that they read back as they were made.
#include "rtfcodec.h"
#include "rtfindents.h"
#include "rtfunits.h"
#include "support/fidelitydocs.h"
#include "support/fidelitysupport.h"

#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

class TestRtfWriteBack : public QObject
{
    Q_OBJECT
private slots:
    void readLists_data();
    void readLists();
    void madeLists_data();
    void madeLists();
    void separateLists_data();
    void separateLists();
    void readCells_data();
    void readCells();
    void madeTable();
    void direction_data();
    void direction();
    void complexScript_data();
    void complexScript();
    void complexFont_data();
    void complexFont();
    void headings_data();
    void headings();
    void firstLineLeftOfPage_data();
    void firstLineLeftOfPage();
    void writtenAsRead_data();
    void writtenAsRead();
};

namespace {

// The document read from what was written of it.
void writeAndRead(const QTextDocument &from, QTextDocument *to)
{
    rtf::read(rtf::write(&from), to);
}

// The fonts the written run holding text names: "f <family>", then " af <family>" if any.
QString runFonts(const QByteArray &rtf, const QString &text)
{
    QHash<QString, QString> names;
    static const QRegularExpression entry(u"\\{\\\\f(\\d+)\\\\fnil\\\\fcharset0 ([^;]*);\\}"_qs);
    const QString all = QString::fromLatin1(rtf);
    for (auto m = entry.globalMatch(all); m.hasNext();) {
        const auto e = m.next();
        names.insert(e.captured(1), e.captured(2));
    }
    const char16_t lead = text.front().unicode();
    const QString first = lead < 0x80 ? QString(QChar(lead)) : u"\\u"_qs + QString::number(lead);
    const qsizetype at = all.lastIndexOf(first);
    const qsizetype brace = all.lastIndexOf(u'{', at);
    const QString words = all.mid(brace, at - brace);
    static const QRegularExpression font(u"\\\\f(\\d+)"_qs), assoc(u"\\\\af(\\d+)"_qs);
    QString out = u"f "_qs + names.value(font.match(words).captured(1));
    if (const auto m = assoc.match(words); m.hasMatch())
        out += u" af "_qs + names.value(m.captured(1));
    return out;
}

QString indentsOf(const QTextBlock &b)
{
    const rtf::Indents i = rtf::paragraphIndents(b);
    return u"%1 %2"_qs.arg(i.left).arg(i.first);
}

} // namespace

void TestRtfWriteBack::readLists_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("expected");
    for (const ListItem &i : kListItems)
        QTest::newRow(i.name) << QString::fromUtf8(i.item) << QString::fromUtf8(i.expected);
}

void TestRtfWriteBack::readLists()
{
    QFETCH(QString, item);
    QTextDocument read, back;
    rtf::read(kLists, &read);
    writeAndRead(read, &back);
    QTEST(describeList(blockWith(back, item)), "expected");
    QCOMPARE(indentsOf(blockWith(back, item)), indentsOf(blockWith(read, item)));
}

void TestRtfWriteBack::madeLists_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, QTextListFormat::Style style, int level,
                        const QString &prefix, const QString &suffix, const QString &expected) {
        QTest::newRow(name) << int(style) << level << prefix << suffix << expected;
    };
    row("decimal", QTextListFormat::ListDecimal, 1, {}, {}, u"decimal 1 2. 1 1."_qs);
    row("upper roman", QTextListFormat::ListUpperRoman, 1, {}, {}, u"upper-roman 1 II. 1 1."_qs);
    row("lower roman nested", QTextListFormat::ListLowerRoman, 2, {}, {}, u"lower-roman 2 ii. 1 2."_qs);
    row("upper letters", QTextListFormat::ListUpperAlpha, 1, {}, {}, u"upper-alpha 1 B. 1 1."_qs);
    row("lower letters third level", QTextListFormat::ListLowerAlpha, 3, {}, {},
        u"lower-alpha 3 b. 1 3."_qs);
    row("prefix and suffix", QTextListFormat::ListDecimal, 1, u"("_qs, u")"_qs, u"decimal 1 (2) 1 (1)"_qs);
    row("disc", QTextListFormat::ListDisc, 1, {}, {}, u"disc 1 - 1 •"_qs);
    row("circle nested", QTextListFormat::ListCircle, 2, {}, {}, u"circle 2 - 1 ◦"_qs);
    row("square", QTextListFormat::ListSquare, 1, {}, {}, u"square 1 - 1 ▪"_qs);
}

void TestRtfWriteBack::madeLists()
{
    QFETCH(int, style);
    QFETCH(int, level);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);
    QTextDocument made, back;
    QTextCursor c(&made);
    c.insertText(u"antes"_qs);
    c.insertBlock();
    QTextListFormat f;
    f.setStyle(QTextListFormat::Style(style));
    f.setIndent(level);
    if (!prefix.isEmpty()) f.setNumberPrefix(prefix);
    if (!suffix.isEmpty()) f.setNumberSuffix(suffix);
    c.createList(f);
    c.insertText(u"uno"_qs);
    c.insertBlock();
    c.insertText(u"dos"_qs);
    for (int i = 3; i <= 30; ++i) {
        c.insertBlock();
        c.insertText(u"más"_qs);
    }
    writeAndRead(made, &back);
    QTEST(describeList(blockWith(back, u"dos"_qs)), "expected");
    QCOMPARE(indentsOf(blockWith(back, u"dos"_qs)), indentsOf(blockWith(made, u"dos"_qs)));
    QCOMPARE(describeList(blockWith(back, u"antes"_qs)), u"none"_qs);
    // Each number, as text for readers that know no lists, is the one the list shows.
    if (rtf::isBulletStyle(style))
        return;
    static const QRegularExpression listText(QStringLiteral(R"(\{\\listtext\\pard\\plain ([^\\]*)\\tab\})"));
    QStringList written, shown;
    for (auto m = listText.globalMatch(QString::fromLatin1(rtf::write(&made))); m.hasNext();)
        written << m.next().captured(1);
    for (QTextBlock b = made.begin(); b.isValid(); b = b.next())
        if (b.textList())
            shown << b.textList()->itemText(b);
    QCOMPARE(written, shown);
}

void TestRtfWriteBack::separateLists_data()
{
    QTest::addColumn<int>("nfc");
    QTest::addColumn<int>("definitions");
    QTest::newRow("2000 bullet lists share one definition") << 23 << 1;
    QTest::newRow("numbered lists keep their own") << 0 << 2000;
}

// Lists of one item each, with text between them: each stays a list of its own, and the
// list table written holds only the definitions that differ.
void TestRtfWriteBack::separateLists()
{
    QFETCH(int, nfc);
    constexpr int kLists = 2000;
    QByteArray in = "{\\rtf1{\\*\\listtable", overrides, body;
    for (int i = 1; i <= kLists; ++i) {
        const QByteArray n = QByteArray::number(i);
        in += "{\\list{\\listlevel\\levelnfc" + QByteArray::number(nfc)
            + "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid" + n + "}";
        overrides += "{\\listoverride\\listid" + n + "\\ls" + n + "}";
        body += "\\pard\\ls" + n + " uno\\par\\pard entre\\par\n";
    }
    in += "}{\\*\\listoverridetable" + overrides + "}" + body + "}";
    QTextDocument read, back;
    rtf::read(in, &read);
    const QByteArray out = rtf::write(&read);
    QTEST(int(out.count("{\\list\\listtemplateid")), "definitions");
    QCOMPARE(int(out.count("{\\listoverride\\listid")), kLists);
    rtf::read(out, &back);
    QSet<const QTextList *> lists;
    for (QTextBlock b = back.begin(); b.isValid(); b = b.next())
        if (b.textList())
            lists.insert(b.textList());
    QCOMPARE(int(lists.size()), kLists);
    QCOMPARE(rtf::write(&back), out);
}

void TestRtfWriteBack::readCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    for (const TableCell &c : kTableCells)
        QTest::newRow(c.name) << QString::fromLatin1(c.text) << QString::fromLatin1(c.expected);
}

void TestRtfWriteBack::readCells()
{
    QFETCH(QString, text);
    QTextDocument read, back;
    rtf::read(kTable, &read);
    writeAndRead(read, &back);
    QTEST(describeCell(blockWith(back, text)), "expected");
}

// A table made in the editor has Qt's grid of grey one-pixel lines; it is written on every
// cell, as drawn.
void TestRtfWriteBack::madeTable()
{
    QTextDocument made, back;
    QTextCursor c(&made);
    // The last row keeps the column edge that the merged cell covers.
    QTextTable *table = c.insertTable(3, 3);
    table->mergeCells(0, 1, 2, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(u"a"_qs);
    table->cellAt(0, 1).firstCursorPosition().insertText(u"b"_qs);
    table->cellAt(1, 0).firstCursorPosition().insertText(u"c"_qs);
    QTextTableCellFormat shaded;
    shaded.setBackground(QColor(0, 128, 0));
    table->cellAt(1, 0).setFormat(shaded);
    writeAndRead(made, &back);
    const QString grid = u"top 15 solid #808080, left 15 solid #808080, bottom 15 solid #808080, "
                         u"right 15 solid #808080"_qs;
    QCOMPARE(describeCell(blockWith(back, u"a"_qs)), u"0,0 1x1 "_qs + grid);
    QCOMPARE(describeCell(blockWith(back, u"b"_qs)), u"0,1 2x2 "_qs + grid);
    QCOMPARE(describeCell(blockWith(back, u"c"_qs)), u"1,0 1x1 "_qs + grid + u" shading #008000"_qs);
}

void TestRtfWriteBack::direction_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("expected");
    const int rtl = Qt::RightToLeft, ltr = Qt::LeftToRight;
    QTest::newRow("rtl, its start") << rtl << int(Qt::AlignLeft) << u"rtl right"_qs;
    QTest::newRow("rtl, its end") << rtl << int(Qt::AlignRight) << u"rtl left"_qs;
    QTest::newRow("rtl, the left side") << rtl << int(Qt::AlignLeft | Qt::AlignAbsolute) << u"rtl left"_qs;
    QTest::newRow("rtl, the right side") << rtl << int(Qt::AlignRight | Qt::AlignAbsolute) << u"rtl right"_qs;
    QTest::newRow("rtl, centred") << rtl << int(Qt::AlignHCenter) << u"rtl center"_qs;
    QTest::newRow("rtl, justified") << rtl << int(Qt::AlignJustify) << u"rtl justify"_qs;
    QTest::newRow("ltr, right") << ltr << int(Qt::AlignRight) << u"ltr right"_qs;
}

void TestRtfWriteBack::direction()
{
    QFETCH(int, direction);
    QFETCH(int, alignment);
    QTextDocument made, back;
    QTextCursor c(&made);
    QTextBlockFormat f;
    f.setLayoutDirection(Qt::LayoutDirection(direction));
    f.setAlignment(Qt::Alignment(alignment));
    c.setBlockFormat(f);
    c.insertText(u"שלום x"_qs);
    writeAndRead(made, &back);
    const auto describe = [](const QTextBlock &b) {
        const bool rtl = b.blockFormat().layoutDirection() == Qt::RightToLeft;
        return (rtl ? u"rtl "_qs : u"ltr "_qs) + visualSide(b);
    };
    QTEST(describe(blockWith(made, u"x"_qs)), "expected");
    QTEST(describe(blockWith(back, u"x"_qs)), "expected");
}

// Runs of right-to-left script say their bold, italic and size again as the associated
// properties, which LibreOffice and Word read for such text; other runs do not.
void TestRtfWriteBack::complexScript_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("expected");   // the run's words from \rtlch on, but its font
    QTest::newRow("bold Hebrew") << u"שלום"_qs << true << false << 12 << u"\\rtlch\\afs24\\ab"_qs;
    QTest::newRow("italic Hebrew") << u"שלום"_qs << false << true << 12 << u"\\rtlch\\afs24\\ai"_qs;
    QTest::newRow("large Arabic") << u"سلام"_qs << false << false << 20 << u"\\rtlch\\afs40"_qs;
    QTest::newRow("all of them, mixed") << u"x שלום"_qs << true << true << 20
                                        << u"\\rtlch\\afs40\\ab\\ai"_qs;
    QTest::newRow("Latin") << u"hola"_qs << true << true << 20 << QString();
}

void TestRtfWriteBack::complexScript()
{
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(int, size);
    QTextDocument made, back;
    QTextCursor c(&made);
    QTextBlockFormat bf;
    bf.setLayoutDirection(Qt::RightToLeft);
    c.setBlockFormat(bf);
    c.insertText(u"a "_qs);
    QTextCharFormat f;
    f.setFontFamilies({u"Times"_qs});
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setFontPointSize(size);
    c.insertText(text, f);
    const QByteArray rtf = rtf::write(&made);
    // The run's words: from its brace to its first character.
    const char16_t lead = text.front().unicode();
    const QByteArray first = lead < 0x80 ? QByteArray(1, char(lead)) : "\\u" + QByteArray::number(lead);
    const qsizetype at = rtf.lastIndexOf(first);
    QVERIFY(at > 0);
    const qsizetype brace = rtf.lastIndexOf('{', at);
    const QByteArray words = rtf.mid(brace, at - brace).trimmed();
    const qsizetype rtlch = words.indexOf("\\rtlch");
    QString own = rtlch < 0 ? QString() : QString::fromLatin1(words.mid(rtlch));
    QVERIFY(rtlch < 0 || own.contains(u"\\af"_qs));
    own.remove(QRegularExpression(u"\\\\af\\d+"_qs));
    QTEST(own, "expected");
    rtf::read(rtf, &back);
    const QTextCharFormat g = charAt(blockWith(back, text), int(back.find(text).selectionStart()
                                                               - blockWith(back, text).position()));
    QCOMPARE(g.fontWeight() >= QFont::DemiBold, bold);
    QCOMPARE(g.fontItalic(), italic);
    QCOMPARE(g.fontPointSize(), double(size));
}

// Right-to-left script read in the associated font \\af is written back with that font,
// and the Latin beside it with its own.
void TestRtfWriteBack::complexFont_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");   // the written run's fonts
    const QByteArray heb = kShalomRtf;
    const auto rtf = [](const QByteArray &body) { return rtlDocument(body); };
    const QString shalom = u"שלום"_qs;
    QTest::newRow("as LibreOffice writes it") << rtf("{\\ltrch \\rtlch\\af5 " + heb + "}{\\rtlch\\af5 x}")
                                              << shalom << u"f David CLM af David CLM"_qs;
    QTest::newRow("the Latin after it") << rtf("{\\ltrch \\rtlch\\af5 " + heb + "}{\\rtlch\\af5 x}")
                                        << u"x"_qs << u"f Times"_qs;
    QTest::newRow("as Word writes it")
        << rtf("{\\rtlch\\fcs1 \\af5 \\ltrch\\fcs0 \\f0\\hich\\af0 " + heb + "}") << shalom
        << u"f David CLM af David CLM"_qs;
    QTest::newRow("a bookmark on its first letter")
        << rtf("{\\rtlch\\af5 {\\*\\bkmkstart m}" + heb + "{\\*\\bkmkend m}}{\\rtlch\\af5 x}") << shalom
        << u"f David CLM af David CLM"_qs;
    QTest::newRow("in the run's own font") << rtf("{\\rtlch\\af0 " + heb + "}") << shalom
                                           << u"f Times af Times"_qs;
}

void TestRtfWriteBack::complexFont()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, word);
    QTextDocument read, back;
    rtf::read(input, &read);
    const QByteArray written = rtf::write(&read);
    QTEST(runFonts(written, word), "expected");
    // A second save writes the same.
    rtf::read(written, &back);
    QCOMPARE(rtf::write(&back), written);
}

// A heading's outline level, which pandoc and LibreOffice make their headings from, is
// read as the block's heading level and written back.
void TestRtfWriteBack::headings_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("level");
    QTest::newRow("first level") << QByteArray(R"({\rtf1\pard\outlinelevel0\b\fs36 x\par})") << 1;
    QTest::newRow("third level") << QByteArray(R"({\rtf1\pard\outlinelevel2 x\par})") << 3;
    QTest::newRow("from the style")
        << QByteArray(R"({\rtf1{\stylesheet{\s1\outlinelevel1 Heading 2;}}\pard\s1 x\par})") << 2;
    QTest::newRow("Word's body text level") << QByteArray(R"({\rtf1\pard\outlinelevel9 x\par})") << 0;
    QTest::newRow("none") << QByteArray(R"({\rtf1\pard\b x\par})") << 0;
    QTest::newRow("ended by pard") << QByteArray(R"({\rtf1\pard\outlinelevel0 h\par\pard x\par})") << 0;
}

void TestRtfWriteBack::headings()
{
    QFETCH(QByteArray, input);
    QTextDocument read, back;
    rtf::read(input, &read);
    QTEST(blockWith(read, u"x"_qs).blockFormat().headingLevel(), "level");
    writeAndRead(read, &back);
    QTEST(blockWith(back, u"x"_qs).blockFormat().headingLevel(), "level");
}

// A first line that the file starts left of the page is shown from the page's edge, and
// written back as the file had it.
void TestRtfWriteBack::firstLineLeftOfPage_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("shown");     // the start margin and first-line indent drawn, twips
    QTest::addColumn<int>("first");         // the first-line indent written
    QTest::newRow("past the page's edge") << QByteArray(R"({\rtf1\pard\li200\fi-600 x\par})")
                                          << u"200 -200"_qs << -600;
    QTest::newRow("no indent at all") << QByteArray(R"({\rtf1\pard\fi-300 x\par})") << u"0 0"_qs << -300;
    QTest::newRow("to the page's edge") << QByteArray(R"({\rtf1\pard\li600\fi-600 x\par})")
                                        << u"600 -600"_qs << -600;
    QTest::newRow("hanging inside the page") << QByteArray(R"({\rtf1\pard\li720\fi-360 x\par})")
                                             << u"720 -360"_qs << -360;
    QTest::newRow("right to left, from the right")
        << QByteArray(R"({\rtf1\pard\rtlpar\ri100\fi-400 x\par})") << u"100 -100"_qs << -400;
}

void TestRtfWriteBack::firstLineLeftOfPage()
{
    QFETCH(QByteArray, input);
    QTextDocument read, back;
    rtf::read(input, &read);
    const QTextBlockFormat f = blockWith(read, u"x"_qs).blockFormat();
    const double start = f.layoutDirection() == Qt::RightToLeft ? f.rightMargin() : f.leftMargin();
    QTEST(u"%1 %2"_qs.arg(rtf::pixelsToTwips(start)).arg(rtf::pixelsToTwips(f.textIndent())), "shown");
    QTEST(rtf::paragraphIndents(blockWith(read, u"x"_qs)).first, "first");
    writeAndRead(read, &back);
    QTEST(rtf::paragraphIndents(blockWith(back, u"x"_qs)).first, "first");
}

// What the editor shows as something near it is written back in the words it was read in.
void TestRtfWriteBack::writtenAsRead_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArrayList>("written");
    const auto row = [](const char *name, const QByteArray &body, const QByteArrayList &written) {
        QTest::newRow(name) << body << written;
    };
    for (const char *word : {"uldb", "ulth", "ulw", "ulthd", "ulthdash", "ulldash", "ulthldash",
                             "ulthdashd", "ulthdashdd", "ulhwave", "ululdbwave", "uldash", "ulwave"})
        row(word, "\\pard a{\\" + QByteArray(word) + " x}b\\par", {"\\" + QByteArray(word) + " x}"});
    const QByteArray cells = "\\pard\\intbl x\\cell\\row\\pard\\par";
    row("LibreOffice's padding and thin borders",
        "\\trowd\\trpaddft3\\trpaddt0\\trpaddfl3\\trpaddl0\\clbrdrt\\brdrs\\brdrw1\\clpadfl3\\clpadl60"
        "\\clbrdrl\\brdrs\\brdrw5\\clpadft3\\clpadt60\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw30"
        "\\cellx3000" + cells,
        {"\\trowd\\itap1\\trpaddft3\\trpaddt0\\trpaddfl3\\trpaddl0\\clpadfl3\\clpadl60\\clpadft3\\clpadt60",
         "\\clbrdrt\\brdrs\\brdrw1\\", "\\clbrdrl\\brdrs\\brdrw5\\", "\\clbrdrb\\brdrs\\brdrw10\\",
         "\\clbrdrr\\brdrs\\brdrw30\\"});
    row("Word's gap", "\\trowd\\trgaph70\\cellx3000" + cells, {"\\trowd\\itap1\\trgaph70\\clbrdrt"});
    row("no padding said", "\\trowd\\cellx3000" + cells, {"\\trowd\\itap1\\trgaph108\\clbrdrt"});
    const QByteArray lists = R"({\*\listtable{\list{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;})"
                             R"({\levelnumbers;}\fi-360\li720}\listid1}})"
                             R"({\*\listoverridetable{\listoverride\listid1\ls1}})";
    row("a list paragraph's own indents", lists + "\\pard\\ls1\\li170\\fi-170 x\\par",
        {"\\li170\\ri0\\fi-170\\ls1"});
    row("a red, bold symbol",
        "{\\colortbl;\\red255\\green0\\blue0;}\\pard a{\\cf1\\b "
        "{\\field{\\*\\fldinst SYMBOL 252 \\\\f \"Wingdings\"}{\\fldrslt }}}b\\par",
        {"\\b\\cf1 {\\field{\\*\\fldinst SYMBOL 252"});
    row("a list paragraph's own indent of zero", lists + "\\pard\\ls1\\li0\\fi0 x\\par",
        {"\\li0\\ri0\\fi0\\ls1"});
    // A paragraph that leaves its style's list or outline level says so, or the next read
    // would give it them.
    const QByteArray listStyle = "{\\stylesheet{\\s0\\ls1\\ilvl0 Normal;}}";
    row("out of the Normal style's list", listStyle + lists + "\\pard\\ls9 x\\par\\pard y\\par",
        {"\\sl0\\ls-1\\ql", "\\ls1\\ilvl0{\\listtext"});
    row("the Normal style's list, defined after the styles",
        listStyle + "\\pard\\ls0 x\\par\\pard{\\*\\pn\\pnlvlblt{\\pntxtb *}} y\\par",
        {"\\sl0\\ls-1\\ql", "\\ls1\\ilvl0{\\listtext"});
    row("out of the Normal style's outline level",
        "{\\stylesheet{\\s0\\outlinelevel0 Normal;}}\\pard\\outlinelevel9 x\\par\\pard y\\par",
        {"\\sl0\\outlinelevel9\\ql", "\\outlinelevel0 {"});
}

void TestRtfWriteBack::writtenAsRead()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArrayList, written);
    QTextDocument read, back;
    rtf::read("{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}" + body + "}", &read);
    const QByteArray once = rtf::write(&read);
    for (const QByteArray &w : written)
        QVERIFY2(once.contains(w), once.constData());
    rtf::read(once, &back);
    QCOMPARE(rtf::write(&back), once);
}

QTEST_MAIN(TestRtfWriteBack)
#include "tst_rtfwriteback.moc"
