// Other word processors' formatting read, written, read again the same; a second save gives the same bytes.
#include "rtfcodec.h"
#include "rtfindents.h"
#include "rtfunderline.h"
#include "rtfunits.h"
#include "support/fidelitysupport.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// A document's text with its tables drawn around it: "[a|b/c|d]" is a table of two rows
// and two columns; a cell's paragraphs are joined by spaces and empty ones left out, so
// nested tables show as brackets inside a cell.
QString tableShape(QTextFrame::iterator it)
{
    QStringList parts;
    for (; !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame())) {
            QStringList rows;
            for (int r = 0; r < table->rows(); ++r) {
                QStringList cells;
                for (int c = 0; c < table->columns(); ++c)
                    cells << tableShape(table->cellAt(r, c).begin());
                rows << cells.join(u'|');
            }
            parts << u'[' + rows.join(u'/') + u']';
        } else if (!it.currentBlock().text().isEmpty()) {
            parts << it.currentBlock().text();
        }
    }
    return parts.join(u' ');
}

// Each table's column widths in twips, outermost first, nested ones after their table;
// "-" for a table that shares its width out equally.
QString columnWidthsOf(QTextFrame *frame)
{
    QStringList out;
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            QStringList w;
            for (const QTextLength &l : table->format().columnWidthConstraints())
                w << QString::number(rtf::pixelsToTwips(l.rawValue()));
            out << (w.isEmpty() ? u"-"_qs : w.join(u','));
        }
        const QString inner = columnWidthsOf(child);
        if (!inner.isEmpty())
            out << inner;
    }
    return out.join(u' ');
}

// A paragraph's aspect that is not its characters', or "" for those.
QString describeBlock(const QTextBlock &b, const QString &aspect)
{
    const QTextBlockFormat f = b.blockFormat();
    const rtf::Indents in = rtf::paragraphIndents(b);
    const bool rtl = f.layoutDirection() == Qt::RightToLeft;
    const QTextTable *table = QTextCursor(b).currentTable();
    if (aspect == u"list")
        return describeList(b) + u" at %1 %2"_qs.arg(in.left).arg(in.first);
    if (aspect == u"indents" && b.textList())   // as the file says them
        return u"%1 %2"_qs.arg(in.left).arg(in.first);
    if (aspect == u"indents")   // and the start margin and first line drawn
        return u"%1 %2 drawn %3 %4"_qs.arg(in.left).arg(in.first)
            .arg(rtf::pixelsToTwips(rtl ? f.rightMargin() : f.leftMargin()))
            .arg(rtf::pixelsToTwips(f.textIndent()));
    if (aspect == u"direction")
        return (rtl ? u"rtl "_qs : u"ltr "_qs) + visualSide(b);
    if (aspect == u"heading")
        return QString::number(f.headingLevel());
    if (aspect == u"cell")   // no grid lines but the cells' own
        return describeCell(b) + (table && table->format().border() != 0 ? u" grid"_qs : QString());
    if (aspect == u"padding" && table) {   // top, left, bottom, right in twips; - the table's
        const QTextTableCellFormat c = table->cellAt(b.position()).format().toTableCellFormat();
        QStringList out;
        for (const int p : {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                            QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding})
            out << (c.hasProperty(p) ? QString::number(rtf::pixelsToTwips(c.doubleProperty(p))) : u"-"_qs);
        return out.join(u' ');
    }
    if (aspect == u"block")   // alignment, then left, right and first-line indents in twips
        return u"%1 %2 %3 %4"_qs.arg(alignmentName(f.alignment())).arg(rtf::pixelsToTwips(f.leftMargin()))
            .arg(rtf::pixelsToTwips(f.rightMargin())).arg(rtf::pixelsToTwips(f.textIndent()));
    if (aspect == u"picture")   // its width in pixels
        return QString::number(charAt(b, int(b.text().indexOf(QChar::ObjectReplacementCharacter)))
                                   .toImageFormat().width());
    if (aspect == u"symbol") {   // what stands between the brackets, its font and size
        const QTextCharFormat c = charAt(b, int(b.text().indexOf(u'[')) + 1);
        return u"%1 %2 %3"_qs.arg(b.text().section(u'[', 1).section(u']', 0, 0))
            .arg(c.fontFamilies().toStringList().value(0)).arg(c.fontPointSize());
    }
    return QString();
}

// How each character of word looks; one description where they all look alike.
QString describeChar(const QTextBlock &b, const QTextCharFormat &f, const QString &aspect)
{
    if (aspect == u"style")   // alignment and left indent, then the format
        return u"%1 %2 "_qs.arg(alignmentName(b.blockFormat().alignment())).arg(rtf::paragraphIndents(b).left)
            + describeChar(b, f, u"format"_qs);
    if (aspect == u"link")
        return f.anchorHref();
    if (aspect == u"underline") {
        const std::string_view w = rtf::underlineWord(f);
        return u"%1 %2"_qs.arg(int(f.underlineStyle())).arg(QLatin1String(w.data(), qsizetype(w.size())));
    }
    // What is not a default: the file's first font or the one written for no font, 12 points.
    QStringList out;
    const std::pair<bool, const char *> marks[] = {
        {f.fontWeight() >= QFont::DemiBold, "b"}, {f.fontItalic(), "i"}, {f.fontStrikeOut(), "s"},
        {f.underlineStyle() != QTextCharFormat::NoUnderline, "u"},
        {f.verticalAlignment() == QTextCharFormat::AlignSuperScript, "super"},
        {f.verticalAlignment() == QTextCharFormat::AlignSubScript, "sub"}};
    for (const auto &[on, mark] : marks)
        if (on) out << QLatin1String(mark);
    if (f.fontPointSize() != 12) out << QString::number(f.fontPointSize()) + u"pt"_qs;
    const QString family = f.fontFamilies().toStringList().value(0);
    if (!QStringList{{}, u"Arial"_qs, u"Sans Serif"_qs}.contains(family))
        out << family;
    if (f.foreground().style() != Qt::NoBrush) out << f.foreground().color().name();
    if (f.background().style() != Qt::NoBrush) out << u"on "_qs + f.background().color().name();
    return out.isEmpty() ? u"plain"_qs : out.join(u' ');
}

QString describe(const QTextDocument &doc, const QString &word, const QString &aspect)
{
    if (aspect == u"shape")   // and laying it out ends
        return tableShape(doc.rootFrame()->begin()) + (doc.size().height() > 0 ? u""_qs : u" unlaid"_qs);
    if (aspect == u"widths")
        return columnWidthsOf(doc.rootFrame());
    if (aspect == u"lists") {   // the lists, and the overrides and definitions written of them
        QSet<const QTextList *> lists;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            lists.insert(b.textList());
        lists.remove(nullptr);
        const QByteArray out = rtf::write(&doc);
        return u"%1 lists, %2 overrides, %3 definitions"_qs.arg(lists.size())
            .arg(out.count("{\\listoverride\\listid")).arg(out.count("{\\list\\listtemplateid"));
    }
    const QTextBlock b = blockWith(doc, word);
    if (!b.isValid())
        return u"missing"_qs;
    if (const QString block = describeBlock(b, aspect); !block.isEmpty())
        return block;
    const int at = int(doc.find(word).selectionStart() - b.position());
    QStringList out;
    for (int i = 0; i < word.size(); ++i)
        out << describeChar(b, charAt(b, at + i), aspect);
    out.removeDuplicates();
    return out.join(u" | "_qs);
}

// 2000 lists of one item each, each defined on its own in the number format nfc.
QByteArray separateLists(int nfc)
{
    QByteArray lists, overrides, body;
    for (int i = 1; i <= 2000; ++i) {
        const QByteArray n = QByteArray::number(i);
        lists += "{\\list{\\listlevel\\levelnfc" + QByteArray::number(nfc)
            + "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid" + n + "}";
        overrides += "{\\listoverride\\listid" + n + "\\ls" + n + "}";
        body += "\\pard\\ls" + n + " uno\\par\\pard entre\\par\n";
    }
    return "{\\rtf1{\\*\\listtable" + lists + "}{\\*\\listoverridetable" + overrides + "}" + body + "}";
}

// What a row reads as; back, where it differs, what our file of it reads as.
struct Row { const char *name; QByteArray input; const char *word, *aspect, *expected, *back = nullptr; };

} // namespace

class TestRtfRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void fidelity_data();
    void fidelity();
};

void TestRtfRoundTrip::fidelity_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("aspect");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("back");
    const auto doc = [](const char *body) { return QByteArray("{\\rtf1\\pard") + body + "\\par}"; };
    const auto plain = [](const char *body) {
        return QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl;\red255\green0\blue0;})")
            + body + "}";
    };
    const QByteArray listTable = R"({\*\listtable{\list{\listlevel\levelnfc23}{\listlevel\levelnfc4}\listid7}})"
                                 R"({\*\listoverridetable{\listoverride\listid7\ls1}})";
    // styles.rtf: styles under direct formatting, and styles based on others.
    const auto dataFile = [](const char *name) {
        return fileBytes(QStringLiteral(TEST_DATA_DIR "/rtf/") + QLatin1String(name));
    };
    const QByteArray listFile = dataFile("lists.rtf"), cellFile = dataFile("cells.rtf");
    const QByteArray styleFile = dataFile("styles.rtf"), scriptFile = dataFile("scripts.rtf");
    const QByteArray paddingFile = dataFile("padding.rtf"), symbolFile = dataFile("symbols.rtf");
    const QByteArray redPixel = "89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de0000000c4944"
                                "415408d763f8cfc000000301010018dd8db00000000049454e44ae426082";
    const QByteArray items = "<li>uno</li><li>dos</li>" + QByteArray("<li>más</li>").repeated(28);
    const QByteArray madeTable = "<table border=1><tr><td>a</td><td colspan=2 rowspan=2>b</td></tr>"
                                 "<tr><td bgcolor=#008000>c</td></tr><tr><td></td><td></td><td></td></tr></table>";
    const Row rows[] = {
        // Character formats, what is not the default.
        {"bold", plain("\\b x"), "x", "format", "b"},
        {"ul0", plain("\\uldb\\ul0 x"), "x", "format", "plain"},
        {"plain resets", plain("\\b\\i\\fs40\\plain x"), "x", "format", "plain"},
        {"font", plain("\\f1 x"), "x", "format", "Courier New"},
        {"colour", plain("\\cf1 x"), "x", "format", "#ff0000"},
        {"super", plain("\\super x"), "x", "format", "super"},
        {"stylesheet", plain("{\\stylesheet{\\s1\\b\\fs32 H;}}\\s1 x"), "x", "format", "b 16pt"},
        {"based on an earlier sheet's style",
         plain("{\\stylesheet{\\s1\\b B;}}{\\stylesheet{\\s2\\sbasedon1\\fs32 H;}}\\s2 x"), "x", "format", "b 16pt"},
        // The paragraph: alignment, then left, right and first-line indents in twips.
        {"indents", plain("\\li1440\\ri720\\fi-300 x"), "x", "block", "left 1440 720 -300"},
        {"pard resets", plain("\\qc\\li100\\pard x"), "x", "block", "left 0 0 0"},
        // Lengths beyond any page come back saturated, never wrapped round to the other sign.
        {"huge indents", plain("\\li2147483647\\fi-2147483647 x"), "x", "block",
         "left 1073741823 0 -1073741824", "left 1073741823 0 -1073741823"},
        {"huge first indent in a list", plain("\\pard{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi2147483647 x\\par"),
         "x", "block", "left -240 0 1073741823"},
        // The paragraph's list: style, level, marker, start, level text, indents.
        {"ls level 2", "{\\rtf1" + listTable + "\\ls1\\ilvl1 x\\par}", "x", "list", "lower-alpha 2 a. 1  at 360 0"},
        {"ls naming no override, beside others", "{\\rtf1" + listTable + "\\ls2 x\\par}", "x", "list", "none at 0 0"},
        {"ls whose list is missing", plain(R"({\*\listoverridetable{\listoverride\listid9\ls1}}\ls1 x\par)"),
         "x", "list", "disc 1 - 1  at 0 0", "disc 1 - 1 \u2022 at 0 0"},
        {"pnlvlcont is no list", plain(R"({\*\pn\pnlvlcont}x\par)"), "x", "list", "none at 0 0"},
        // A link's escapes are in the header's code page.
        {"link with a letter of 1251",
         R"({\rtf1\ansi\ansicpg1251 {\field{\*\fldinst HYPERLINK "\'c0"}{\fldrslt go}} x})",
         "go x", "link", "\u0410 | "},
        // Nested tables: "[a|b/c|d]" is a table of two rows and two columns.
        {"nested row with its properties at the end",
         R"({\rtf1 \trowd\cellx4000\cellx8000\pard\intbl a\cell\pard\intbl\itap2 n1\nestcell n2\nestcell)"
         R"({\*\nesttableprops\trowd\cellx2000\cellx4000\nestrow}{\nonesttables\par}\pard\intbl after\cell\row)"
         R"(\pard end\par})", "", "shape", "[a|[n1|n2] after] end"},
        {"cut inside a nested cell keeps its text", R"({\rtf1 \pard\intbl a\cell\pard\intbl\itap2 cut)", "",
         "shape", "[a|[cut]]"},
        {"itap beyond the cap", R"({\rtf1 \pard\intbl\itap2147483647 x\nestcell\nestrow\itap1\cell\row})",
         "", "shape", "[[[[[[[[x]]]]]]]]"},
        // Column widths in twips; rows whose edges differ share the columns of all their edges.
        {"each row defines its own, the columns of both", R"({\rtf1\trowd\cellx2000\cellx3000\intbl a\cell b)"
         R"(\cell\row\trowd\cellx500\cellx3000\intbl c\cell d\cell\row})", "", "widths", "500,1500,1000"},
        {"a long table whose last row adds an edge",
         "{\\rtf1" + QByteArray(R"(\trowd\cellx2000\cellx3000\intbl a\cell b\cell\row)").repeated(40)
             + R"(\trowd\cellx500\cellx3000\intbl c\cell d\cell\row})", "", "widths", "500,1500,1000"},
        // "-": edges that do not fit the cells share the width out, and are written as shared.
        {"edges not matching the cells", R"({\rtf1\trowd\cellx1000\intbl a\cell b\cell\row})", "", "widths",
         "-", "4500,4500"},
        {"no wider than a page", R"({\rtf1\trowd\cellx2147483647\intbl a\cell\row})", "", "widths", "31680"},
        {"direct before the style", styleFile, "directo", "style", "center 400 b"},
        {"as AbiWord writes it", styleFile, "abiword", "style", "center 400 plain"},
        {"the style alone", styleFile, "solo", "style", "right 400 b"},
        {"character style", styleFile, "enfasis", "style", "left 0 i u"},
        {"character style based on another", styleFile, "tachado", "style", "left 0 i s"},
        {"based on another", styleFile, "hijo", "style", "center 400 b"},
        {"the nearer base wins", styleFile, "tres", "style", "right 200 b"},
        {"a base that does not exist", styleFile, "huerfano", "style", "right 0 plain"},
        {"a loop further up the chain", styleFile, "bucle", "style", "center 0 i"},
        // lists.rtf: \ls1 letters from 3, \ls2 bullets, \ls3 = list 1 from 5, \pn (Qt 6.4 keeps a start, shows one).
        {"letters with a parenthesis", listFile, "uno", "list", "lower-alpha 1 a) 3 1) at 720 -360"},
        {"second level shows both", listFile, "sub", "list", "lower-roman 2 i. 1 1.2. at 1080 -360"},
        {"prefix and suffix", listFile, "tres", "list", "upper-roman 3 (I) 1 (3) at 1440 -360"},
        {"circle bullet", listFile, "circulo", "list", "circle 4 - 1 o at 2880 -360"},
        {"square bullet", listFile, "cuadro", "list", "square 5 - 1 \u00a7 at 3600 -360"},
        {"restart at five", listFile, "cinco", "list", "lower-alpha 1 a) 5 1) at 720 -360"},
        {"old numbering with its texts", listFile, "antiguo", "list", "decimal 1 (1) 5 (1) at 720 -360"},
        // A list paragraph's indents: the level's unless it gives its own, as Word keeps them.
        {"the paragraph's own", listFile, "propia", "indents", "1440 -720"},
        {"list 0, as OpenOffice numbers it", listFile, "cero", "indents", "720 -360"},
        {"own left inside the marker's room", listFile, "estrecha", "indents", "170 -170"},
        // A first line the file starts left of the page is drawn from the page's edge.
        {"first line past the page's edge", doc(R"(\li200\fi-600 x)"), "x", "indents", "200 -600 drawn 200 -200"},
        {"first line right to left", doc(R"(\rtlpar\ri100\fi-400 x)"), "x", "indents", "0 -400 drawn 100 -100"},
        // Direction, and the side of the page.
        {"right to left, left", doc(R"(\rtlpar\ql x)"), "x", "direction", "rtl left"},
        {"direction from the style", R"({\rtf1{\stylesheet{\s1\rtlpar\qr H;}}\pard\s1 x\par})", "x",
         "direction", "rtl right"},
        // scripts.rtf: associated \ab \ai \afs \af after \rtlch or \fcs1, never after \loch, \hich or \dbch.
        {"as LibreOffice writes it", scriptFile, "שלום", "format", "b David CLM"},
        {"as Word writes it", scriptFile, "אבג", "format", "b i 20pt David CLM"},
        {"plain clears them", scriptFile, "דהו", "format", "Times"},
        {"a bookmark on its first letter", scriptFile, "זחט", "format", "b David CLM"},
        {"from the style", scriptFile, "יכל", "format", "b 24pt David CLM"},
        {"Latin and East Asian fonts after it", scriptFile, "מנס", "format", "David CLM"},
        {"a font not in the table", scriptFile, "עפצ", "format", "Times"},
        // Word puts spaces, digits and punctuation in runs of their own, in the script before them.
        {"Word's runs between Arabic words", scriptFile, " (2016) ", "format", "14pt Times"},
        {"Word's runs, the Arabic", scriptFile, "سلام", "format", "b 14pt Times"},
        // Each cell of cellFile: row,column rows x columns, its borders, its shading.
        {"borders and shading", cellFile, "a", "cell", "0,0 1x1 top 15 solid #ff0000, left none, bottom 30 "
                                                    "double #000000, right 15 dotted #000000 shading #0000ff"},
        {"merged across", cellFile, "b", "cell", "0,1 1x2 top none, left none, bottom none, right none"},
        // padding.rtf: the cell's \clpad (Word's \clpadl is the top), else the row's \trpadd, else \trgaph.
        {"padding as LibreOffice writes it", paddingFile, "libre", "padding", "60 60 60 60"},
        {"the cell's over the row's", paddingFile, "celda", "padding", "- 90 - -"},
        {"a unit that says to ignore it", paddingFile, "unidad", "padding", "- 50 - 50"},
        // symbols.rtf: what a SYMBOL field shows, its font and size.
        {"symbol as Word writes it", symbolFile, "a[", "symbol", "\u00fc Wingdings 12"},
        {"symbol of a Unicode code", symbolFile, "b[", "symbol", "\u2192 Times 10"},
        {"symbol in the ANSI code page", symbolFile, "c[", "symbol", "\u2013 Times 10"},
        {"a symbol's own result is shown instead", symbolFile, "d[", "symbol", "Q Times 10"},
        // A heading's outline level, which pandoc and LibreOffice make their headings from.
        {"first heading level", doc(R"(\outlinelevel0\b\fs36 x)"), "x", "heading", "1"},
        {"heading from the style", R"({\rtf1{\stylesheet{\s1\outlinelevel1 Heading 2;}}\pard\s1 x\par})", "x",
         "heading", "2"},
        {"Word's body text level", doc(R"(\outlinelevel9 x)"), "x", "heading", "0"},
        {"picture at its goal width", R"({\rtf1 a{\pict\pngblip\picwgoal300\pichgoal150 )" + redPixel + "}b}", "a",
         "picture", "20"},
        // Lists of one item each stay their own; only differing definitions are written.
        {"2000 bullet lists", separateLists(23), "", "lists", "2000 lists, 2000 overrides, 1 definitions"},
        {"2000 numbered lists", separateLists(0), "", "lists", "2000 lists, 2000 overrides, 2000 definitions"},
        // Documents made in the editor: what our file of them reads as.
        {"made list", "<p>antes</p><ol>" + items + "</ol>", "dos", "list", "decimal 1 2. 1 1. at 600 -360"},
        {"made list's paragraph before", "<p>antes</p><ol>" + items + "</ol>", "antes", "list", "none at 0 0"},
        {"made lower roman nested", "<ol type=i style='-qt-list-indent: 2'>" + items + "</ol>", "dos", "list",
         "lower-roman 2 ii. 1 2. at 1200 -360"},
        {"made prefix and suffix",
         "<ol style='-qt-list-number-prefix: \"(\"; -qt-list-number-suffix: \")\"'>" + items + "</ol>", "dos",
         "list", "decimal 1 (2) 1 (1) at 600 -360"},
        {"made circle nested", "<ul type=circle style='-qt-list-indent: 2'>" + items + "</ul>", "dos", "list",
         "circle 2 - 1 \u25e6 at 1200 -360"},
        // A made table is written with Qt's grey grid on every cell and the edge a merge covers.
        {"made cell", madeTable, "a", "cell",
         "0,0 1x1 top 15 solid #808080, left 15 solid #808080, bottom 15 solid #808080, right 15 solid #808080"},
        {"made cell merged", madeTable, "b", "cell",
         "0,1 2x2 top 15 solid #808080, left 15 solid #808080, bottom 15 solid #808080, right 15 solid #808080"},
        {"made cell shaded", madeTable, "c", "cell",
         "1,0 1x1 top 15 solid #808080, left 15 solid #808080, bottom 15 solid #808080, right 15 solid #808080"
         " shading #008000"},
        // A right-to-left paragraph's alignments: its start and end, or a side of the page.
        {"made rtl, its start", "<p dir=rtl style='text-align: left'>\u05e9 x</p>", "x", "direction", "rtl right"},
        {"made rtl, its end", "<p dir=rtl style='text-align: right'>\u05e9 x</p>", "x", "direction", "rtl left"},
        {"made rtl, the left side", "<p dir=rtl align=left>\u05e9 x</p>", "x", "direction", "rtl left"},
        {"made ltr, right", "<p style='text-align: right'>x</p>", "x", "direction", "ltr right"},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << r.input << QString::fromUtf8(r.word) << QString::fromLatin1(r.aspect)
                              << QString::fromUtf8(r.expected) << QString::fromUtf8(r.back ? r.back : r.expected);
    // Every underline word is an underline, drawn in the nearest line Qt has, and keeps its word.
    const std::pair<const char *, QTextCharFormat::UnderlineStyle> underlines[] = {
        {"ul", QTextCharFormat::SingleUnderline}, {"uld", QTextCharFormat::DotLine},
        {"uldashd", QTextCharFormat::DashDotLine}, {"uldb", QTextCharFormat::SingleUnderline},
        {"ulhwave", QTextCharFormat::WaveUnderline}, {"ulthdashdd", QTextCharFormat::DashDotDotLine},
    };
    for (const auto &[w, style] : underlines)
        QTest::newRow(w) << "{\\rtf1\\pard a{\\" + QByteArray(w) + " x}b\\par}" << u"x"_qs << u"underline"_qs
                         << u"%1 %2"_qs.arg(int(style)).arg(QLatin1String(w))
                         << u"%1 %2"_qs.arg(int(style)).arg(QLatin1String(w));
}

void TestRtfRoundTrip::fidelity()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, word);
    QFETCH(QString, aspect);
    QTextDocument read, back;
    if (input.startsWith('<')) {   // a document made in the editor
        read.setHtml(QString::fromUtf8(input));
    } else {
        rtf::read(input, &read);
        QTEST(describe(read, word, aspect), "expected");
    }
    const QByteArray once = rtf::write(&read);
    rtf::read(once, &back);
    QTEST(describe(back, word, aspect), "back");
    QCOMPARE(rtf::write(&back), once);
    // Each number, as text for readers that know no lists, is the one the list shows.
    static const QRegularExpression listText(QStringLiteral(R"(\{\\listtext\\pard\\plain ([^\\]*)\\tab\})"));
    QStringList numbers, shown;
    for (auto m = listText.globalMatch(QString::fromLatin1(once)); m.hasNext();)
        numbers << m.next().captured(1);
    for (QTextBlock b = read.begin(); b.isValid(); b = b.next())
        if (b.textList() && !rtf::isBulletList(b.textList()))
            shown << b.textList()->itemText(b);
    QCOMPARE(numbers, shown);
}

QTEST_MAIN(TestRtfRoundTrip)
#include "tst_rtfroundtrip.moc"
