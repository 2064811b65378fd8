// What the editor has no view for, or shows as something near, is read, written back in the words
// it was read in, and stable after.
#include "rtfcodec.h"
#include "rtfjson.h"
#include "rtfkept.h"
#include "rtfreader.h"
#include "support/fidelitysupport.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

static QByteArray rtfDocument(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times;}{\\f1 Arial;}{\\f2\\fcharset204 Cyr;}}"
           "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n" + body + "}";
}

static QByteArray readWrite(const QByteArray &rtf, QTextDocument *doc)
{
    rtf::read(rtf, doc);
    return rtf::write(doc);
}

class TestRtfKept : public QObject
{
    Q_OBJECT
private slots:
    void families_data();
    void families();
    void bounded_data();
    void bounded();
    void edited_data();
    void edited();
    void marksFollowChanges_data();
    void marksFollowChanges();
    void commentHighlightIsShownOnly();
    void readingAgainDropsKept();
    void dumped_data();
    void dumped();
};

void TestRtfKept::families_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArrayList>("written");
    QTest::addColumn<QString>("text");
    auto row = [](const char *name, const QByteArray &body, const QByteArrayList &written,
                  const QString &text) { QTest::newRow(name) << body << written << text; };
    row("info", "{\\info{\\title T\\'edtulo}{\\author Ana}{\\subject S}{\\keywords k1, k2}}\\pard Hola\\par",
        {"\n{\\info{\\title T\\'edtulo}{\\author Ana}{\\subject S}{\\keywords k1, k2}}\n"}, u"Hola"_qs);
    row("page set-up", "\\paperw8391\\paperh11906\\margl720\\margr700\\margt1000\\margb900"
                       "\\landscape\\pard Hola\\par",
        {"\\paperw8391\\paperh11906\\margl720\\margr700\\margt1000\\margb900\\landscape\n"}, u"Hola"_qs);
    row("headers", "{\\header H}{\\headerl L}{\\headerr R}{\\headerf F}\\pard Hola\\par",
        {"{\\header H}{\\headerl L}{\\headerr R}{\\headerf F}\n\\pard"}, u"Hola"_qs);
    row("stylesheet", "{\\stylesheet{\\s0 Normal;}{\\s2\\b Mi estilo;}}\\pard\\s2 Hola\\par",
        {"{\\stylesheet{\\s0 Normal;}{\\s2\\b Mi estilo;}}\n", "\\pard\\plain\\s2\\"}, u"Hola"_qs);
    row("footnote", "\\pard Hola{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Nota.} y\\par",
        {"\\super \\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Nota.}{"}, u"Hola1 y"_qs);
    row("starred footnote", "\\pard Hola{\\super\\chftn{\\*\\footnote\\chftn Nota.}}\\par",
        {"\\chftn}{\\*\\footnote\\chftn Nota.}"}, u"Hola1"_qs);
    row("endnote", "\\pard A{\\super\\chftn}{\\footnote\\ftnalt E}B{\\super\\chftn}{\\footnote F}\\par",
        {"{\\footnote\\ftnalt E}", "{\\footnote F}"}, u"A1B1"_qs);
    row("bookmark", "\\pard A{\\*\\bkmkstart m}B{\\*\\bkmkend m}C\\par",
        {"A}{\\*\\bkmkstart m}{", "B}{\\*\\bkmkend m}{"}, u"ABC"_qs);
    row("bookmark at paragraph end", "\\pard AB{\\*\\bkmkstart m}{\\*\\bkmkend m}\\par",
        {"B}{\\*\\bkmkstart m}{\\*\\bkmkend m}\\par"}, u"AB"_qs);
    row("bookmark in empty paragraph", "\\pard{\\*\\bkmkstart m}{\\*\\bkmkend m}\\par\\pard X\\par",
        {"{\\*\\bkmkstart m}{\\*\\bkmkend m}\\par"}, u"\nX"_qs);
    row("comment", "\\pard A{\\*\\atrfstart 1}B{\\*\\atrfend 1}{\\*\\atnid X}{\\*\\atnauthor Ana}"
                   "\\chatn{\\*\\annotation{\\*\\atnref 1} Nota}C\\par",
        {"{\\*\\atrfstart 1}{", "{\\*\\atrfend 1}{\\*\\atnid X}{\\*\\atnauthor Ana}\\chatn"
                                "{\\*\\annotation{\\*\\atnref 1} Nota}{"}, u"ABC"_qs);
    row("page break", "\\pard A\\par\\page\\pard B\\par", {"\\pard\\plain\\pagebb\\ql"}, u"A\nB"_qs);
    row("section ended without a paragraph mark",
        "\\pard A\\sect\\sectd\\cols2\\pard B\\par", {"A}\\par\n\\sect\\sectd\\cols2\\pard"}, u"A\nB"_qs);
    row("hidden text with its switch", "\\pard A\\v oculto\\v0 B\\par", {"A}{\\v oculto}{"}, u"AB"_qs);
    row("hidden text at a paragraph's end", "\\pard AB{\\v oculto \\'e9}\\par",
        {"B}{\\v oculto \\'e9}\\par"}, u"AB"_qs);
    row("hidden text beside a bookmark", "\\pard A{\\v oc}{\\*\\bkmkstart m}{\\v ulto}B\\par",
        {"A}{\\v oc}{\\*\\bkmkstart m}{\\v ulto}{"}, u"AB"_qs);
    row("numbered note after one with its own mark",
        "\\pard A{\\super \\'a7}{\\footnote M}B{\\super\\chftn}{\\footnote N}\\par",
        {"\\super \\'a7}{\\footnote M}", "\\chftn}{\\footnote N}"}, u"A\u00a7B1"_qs);
    row("note whose own mark holds a bookmark",
        "\\pard A{\\*\\bkmkstart m}{\\super *}{\\*\\bkmkend m}{\\footnote N}\\par",
        {"{\\*\\bkmkstart m}", "{\\*\\bkmkend m}", "{\\footnote N}"}, u"A*"_qs);
    row("symbol field", "\\pard A{\\field{\\*\\fldinst SYMBOL 252 \\\\f \"Wingdings\" \\\\s 14}{\\fldrslt }}B\\par",
        {"A}{\\f2\\fs28 {\\field{\\*\\fldinst SYMBOL 252 \\\\f \"Wingdings\" \\\\s 14}{\\fldrslt }}}{"}, u"A\u00fcB"_qs);
    row("two symbol fields", "\\pard {\\field{\\*\\fldinst SYMBOL 74 \\\\f \"Wingdings\"}{\\fldrslt }}"
                             "{\\field{\\*\\fldinst SYMBOL 74 \\\\f \"Wingdings\"}{\\fldrslt }}\\par",
        {"{\\fldrslt }}{\\field"}, u"JJ"_qs);
    // Our tables number fonts and colours afresh: the header refers to ours.
    row("fonts and colours", "{\\header\\f0\\cf2 Cabecera}\\pard\\f0 Hola\\par",
        {"{\\header\\f1\\cf1 Cabecera}", "{\\colortbl;\\red0\\green0\\blue255;}"}, u"Hola"_qs);
    row("code page of the header's font", "{\\header\\f2 \\'c6}\\pard Hola\\par",
        {"{\\header\\f", " \\u1046\\'3f}"}, u"Hola"_qs);
    // What the editor shows as something near it is written back in the words it was read in.
    const QByteArray cells = "\\pard\\intbl x\\cell\\row\\pard\\par";
    row("LibreOffice's padding and thin borders",
        "\\trowd\\trpaddft3\\trpaddt0\\trpaddfl3\\trpaddl0\\clbrdrt\\brdrs\\brdrw1\\clpadfl3\\clpadl60"
        "\\clbrdrl\\brdrs\\brdrw5\\clpadft3\\clpadt60\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw30"
        "\\cellx3000" + cells,
        {"\\trowd\\itap1\\trpaddft3\\trpaddt0\\trpaddfl3\\trpaddl0\\clpadfl3\\clpadl60\\clpadft3\\clpadt60",
         "\\clbrdrt\\brdrs\\brdrw1\\", "\\clbrdrl\\brdrs\\brdrw5\\", "\\clbrdrb\\brdrs\\brdrw10\\",
         "\\clbrdrr\\brdrs\\brdrw30\\"}, u"\nx\n"_qs);
    row("Word's gap", "\\trowd\\trgaph70\\cellx3000" + cells, {"\\trowd\\itap1\\trgaph70\\clbrdrt"}, u"\nx\n"_qs);
    row("a list level's indents", R"({\*\listtable{\list{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;})"
        R"({\levelnumbers;}\fi-300\li1080}\listid1}}{\*\listoverridetable{\listoverride\listid1\ls1}})"
        R"(\pard\ls1 x\par)", {"\\fi-300\\li1080}"}, u"x"_qs);
    // Leaving the style's list or outline level is written, or the next read would give it them.
    const QByteArray lists = R"({\*\listtable{\list{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;})"
                             R"({\levelnumbers;}\fi-360\li720}\listid1}})"
                             R"({\*\listoverridetable{\listoverride\listid1\ls1}})";
    const QByteArray listStyle = "{\\stylesheet{\\s0\\ls1\\ilvl0 Normal;}}";
    row("out of the Normal style's list", listStyle + lists + "\\pard\\ls9 x\\par\\pard y\\par",
        {"\\sl0\\ls-1\\ql", "\\ls1\\ilvl0{\\listtext"}, u"x\ny"_qs);
    row("the Normal style's list, defined after the styles",
        listStyle + "\\pard\\ls0 x\\par\\pard{\\*\\pn\\pnlvlblt{\\pntxtb *}} y\\par",
        {"\\sl0\\ls-1\\ql", "\\ls1\\ilvl0{\\listtext"}, u"x\n y"_qs);
    row("out of the Normal style's outline level",
        "{\\stylesheet{\\s0\\outlinelevel0 Normal;}}\\pard\\outlinelevel9 x\\par\\pard y\\par",
        {"\\sl0\\outlinelevel9\\ql", "\\outlinelevel0 {"}, u"x\ny"_qs);
    row("a red, bold symbol", "\\pard a{\\cf1\\b "
        "{\\field{\\*\\fldinst SYMBOL 252 \\\\f \"Wingdings\"}{\\fldrslt }}}b\\par",
        {"\\b\\cf1 {\\field{\\*\\fldinst SYMBOL 252"}, u"a\u00fcb"_qs);
    // LibreOffice and Word read right-to-left script's bold, size and font from these.
    row("right-to-left script's associated properties",
        "\\pard\\rtlpar{\\rtlch\\ab\\af1 \\u1513?\\u1500?}{\\rtlch\\af1 x}\\par",
        {"{\\f1\\fnil\\fcharset0 Arial;}", "\\rtlch\\af1\\afs24\\ab \\u1513"}, u"\u05e9\u05dcx"_qs);
}

void TestRtfKept::families()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArrayList, written);
    QFETCH(QString, text);
    QTextDocument doc;
    const QByteArray once = readWrite(rtfDocument(body), &doc);
    QCOMPARE(doc.toPlainText(), text);
    for (const QByteArray &w : written)
        QVERIFY2(once.contains(w), once.constData());
    // Stable: our own file gives the same bytes again.
    QTextDocument again;
    QCOMPARE(readWrite(once, &again), once);
}

void TestRtfKept::bounded_data()
{
    QTest::addColumn<QByteArray>("body");
    QByteArray highBytes(20000, '\xe9');
    QTest::newRow("eight-bit text in a header") << "{\\header\\f2 " + highBytes + "}\\pard Hola\\par";
    QTest::newRow("escapes in a note")
        << "\\pard A{\\footnote\\f2 " + QByteArray(20000, 'x').replace("x", "\\'c6") + "}\\par";
    QTest::newRow("deep groups in a header")
        << "{\\header " + QByteArray(30000, '{') + "x" + QByteArray(30000, '}') + "}\\pard Hola\\par";
    QTest::newRow("unclosed header") << "{\\header " + QByteArray(30000, '{') + "x";
    QTest::newRow("many bookmarks") << "\\pard " + QByteArray(5000, 'x').replace("x", "{\\*\\bkmkstart b}") + "A\\par";
}

// Kept material stays a small multiple of its source and within the depth cap.
void TestRtfKept::bounded()
{
    QFETCH(QByteArray, body);
    const QByteArray source = rtfDocument(body);
    QElapsedTimer timer;
    timer.start();
    QTextDocument doc;
    const QByteArray out = readWrite(source, &doc);
    QVERIFY(timer.elapsed() < 20000);
    QVERIFY2(out.size() <= 16 * source.size() + 4096,
             qPrintable(QStringLiteral("%1 bytes from %2").arg(out.size()).arg(source.size())));
    int depth = 0, deepest = 0;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i] == '\\') {
            ++i;
            continue;
        }
        if (out[i] == '{')
            deepest = std::max(deepest, ++depth);
        else if (out[i] == '}')
            --depth;
        QVERIFY(depth >= 0);
    }
    QCOMPARE(depth, 0);
    QVERIFY(deepest < rtf::Reader::kMaxDepth);
    QTextDocument again;
    QCOMPARE(readWrite(out, &again), out);
}

// Deleting the character a note or bookmark hangs on deletes it; typing beside it keeps it once,
// where it was; undoing the deletion brings it back.
void TestRtfKept::edited_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("typed");   // empty: the character at position is deleted
    QTest::addColumn<int>("undos");
    QTest::addColumn<QByteArray>("item");
    QTest::addColumn<int>("count");
    const QByteArray note = "\\pard Ab{\\super\\chftn}{\\footnote Nota}c\\par";
    const QByteArray start = "\\pard A{\\*\\bkmkstart m}bc\\par", end = "\\pard Abc{\\*\\bkmkend m}\\par";
    const auto row = [](const char *name, const QByteArray &body, int position, const QString &typed,
                        int undos, const QByteArray &item, int count) {
        QTest::newRow(name) << body << position << typed << undos << item << count;
    };
    row("footnote mark deleted", note, 2, {}, 0, "{\\footnote Nota}", 0);
    row("bookmark start deleted", start, 1, {}, 0, "bkmkstart", 0);
    row("bookmark end deleted", end, 2, {}, 0, "bkmkend", 0);
    row("typed before the mark", note, 2, u"XY"_qs, 0, "{\\footnote Nota}", 1);
    row("a paragraph typed before", note, 0, u"Nuevo\n"_qs, 0, "{\\footnote Nota}", 1);
    row("typed before a bookmark", start, 1, u"XY"_qs, 0, "AXY}{\\*\\bkmkstart m}{", 1);
    row("typed after a bookmark's end", end, 3, u"XY"_qs, 0, "Abc}{\\*\\bkmkend m}{", 1);
    row("bookmark start deleted, undone", start, 1, {}, 1, "A}{\\*\\bkmkstart m}{", 1);
    row("bookmark end deleted, undone", end, 2, {}, 1, "Abc}{\\*\\bkmkend m}", 1);
    row("typed, undone", start, 0, u"XY"_qs, 1, "A}{\\*\\bkmkstart m}{", 1);
}

void TestRtfKept::edited()
{
    QFETCH(QByteArray, body);
    QFETCH(int, position);
    QFETCH(QString, typed);
    QFETCH(int, undos);
    QFETCH(QByteArray, item);
    QFETCH(int, count);
    QTextDocument doc;
    const QByteArray read = readWrite(rtfDocument(body), &doc);
    QVERIFY(count > 0 || read.contains(item));
    doc.documentLayout();   // as a view gives it: the document reports its changes
    QTextCursor c(&doc);
    c.setPosition(position);
    if (typed.isEmpty())
        c.deleteChar();
    else
        c.insertText(typed);
    for (int i = 0; i < undos; ++i)
        doc.undo();
    const QByteArray out = rtf::write(&doc);
    QVERIFY2(int(out.count(item)) == count, out.constData());
}

// Marks a, b, c on the characters at 2, 5 and 8, then changes as the document reports them:
// "from-removed+added", with "u" when it is an undo.
void TestRtfKept::marksFollowChanges_data()
{
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("marks");
    QTest::newRow("typed before") << u"0-0+2"_qs << u"a4 b7 c10"_qs;
    QTest::newRow("typed at a mark's character") << u"5-0+1"_qs << u"a2 b6 c9"_qs;
    QTest::newRow("format changed") << u"0-9+9"_qs << u"a2 b5 c8"_qs;
    QTest::newRow("replaced by fewer") << u"4-3+2"_qs << u"a2 b5 c7"_qs;
    QTest::newRow("deleted") << u"4-3+0"_qs << u"a2 c5"_qs;
    QTest::newRow("deleted, undone") << u"4-3+0 4-0+3u"_qs << u"a2 b5 c8"_qs;
    QTest::newRow("deleted, the same typed") << u"4-3+0 4-0+3"_qs << u"a2 c8"_qs;
    QTest::newRow("two deleted at one place, undone") << u"5-3+0 5-3+0 5-0+3u 5-0+3u"_qs << u"a2 b5 c8"_qs;
    QTest::newRow("deleted, its place deleted") << u"4-3+0 3-2+0 3-0+2u"_qs << u"a2 c5"_qs;
}

void TestRtfKept::marksFollowChanges()
{
    QFETCH(QString, changes);
    rtf::KeptMarks marks;
    marks.add(2, false, "a");
    marks.add(5, false, "b");
    marks.add(8, false, "c");
    static const QRegularExpression change(u"(\\d+)-(\\d+)\\+(\\d+)(u?)"_qs);
    for (const QString &c : changes.split(u' ')) {
        const QRegularExpressionMatch m = change.match(c);
        QVERIFY(m.hasMatch());
        marks.change(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                     !m.captured(4).isEmpty());
    }
    QStringList out;
    for (const rtf::KeptMark &m : marks.all())
        out << QString::fromLatin1(m.bytes) + QString::number(m.at);
    QTEST(out.join(u' '), "marks");
}

void TestRtfKept::commentHighlightIsShownOnly()
{
    QTextDocument doc;
    const QByteArray out = readWrite(rtfDocument("\\pard A{\\*\\atrfstart 7}B{\\*\\atrfend 7}{\\*\\atnauthor Ana}"
                                                 "\\chatn{\\*\\annotation{\\*\\atnref 7} Revisar esto}C\\par"), &doc);
    const QTextCharFormat f = charAt(doc.begin(), 1);
    QCOMPARE(f.background().color(), QColor(rtf::kCommentHighlight));
    QCOMPARE(f.toolTip(), u"Revisar esto"_qs);
    QVERIFY(!out.contains("\\chcbpat") && !out.contains("\\red255\\green243"));
}

// Open replaces the whole document: what the last one kept goes with it.
void TestRtfKept::readingAgainDropsKept()
{
    QTextDocument doc;
    readWrite(rtfDocument("{\\info{\\title T}}{\\header H}\\paperw5000\\pard A\\par"), &doc);
    QVERIFY(rtf::keptMaterial(&doc));
    const QByteArray out = readWrite(rtfDocument("\\pard B\\par"), &doc);
    QVERIFY(!rtf::keptMaterial(&doc));
    QVERIFY2(!out.contains("header") && !out.contains("info") && !out.contains("paperw"), out.constData());
}

// What rtfdump prints of kept items.
void TestRtfKept::dumped_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArrayList>("json");
    const auto row = [](const char *name, const QByteArray &body, const QByteArrayList &json) {
        QTest::newRow(name) << body << json;
    };
    row("note anchors", "\\pard X\\par\\pard Hola{\\super\\chftn}{\\footnote Uno.} y{\\super *}{\\footnote Dos.}\\par",
        {R"({"text":"1","bold":false)", R"("note":"footnote"})",
         R"({"kind":"footnote","mark":"1","custom":false,"text":"Uno.","paragraph":1,"offset":4})",
         R"({"kind":"footnote","mark":"*","custom":true,"text":"Dos.","paragraph":1,"offset":7})"});
    row("bookmark and comment", "\\pard AB{\\*\\bkmkstart m}C{\\*\\bkmkend m}\\chatn{\\*\\annotation Nota}D\\par",
        {R"({"name":"m","paragraph":0,"offset":2})", R"("text":"Nota","paragraph":0,"offset":3})"});
    row("footer with a page field", "{\\footer P\\'e1g. {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}\\par}\\pard X\\par",
        {R"("parts":[{"kind":"footer","text":"Pág. 3"}])"});
    row("hidden runs", "\\pard A{\\v oculto}B{\\v fin}\\par",
        {R"([{"text":"A",)", R"(},{"text":"oculto","hidden":true},{"text":"B",)",
         R"(},{"text":"fin","hidden":true}])"});
    row("underline style", "\\pard {\\uldb A}{\\uldash B}\\par",
        {R"("underline":true,)", R"("underlineStyle":"uldb")", R"("underlineStyle":"uldash")"});
    row("symbol field", "\\pard AB{\\field{\\*\\fldinst SYMBOL 74 \\\\f \"Wingdings\" \\\\s 16}{\\fldrslt }}\\par",
        {R"("font":"Wingdings","field":"SYMBOL"})",
         R"("symbols":[{"text":"J","font":"Wingdings","size":16,"instruction":"SYMBOL 74 \\f \"Wingdings\" \\s 16","paragraph":0,"offset":2}])"});
}

void TestRtfKept::dumped()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArrayList, json);
    QTextDocument doc;
    rtf::read(rtfDocument(body), &doc);
    const QByteArray out = documentToJson(&doc);
    for (const QByteArray &j : json)
        QVERIFY2(out.contains(j), out.constData());
}

QTEST_MAIN(TestRtfKept)
#include "tst_rtfkept.moc"
