#include "pathologicalshapes.h"

namespace pathological {

namespace {

const char kHead[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n";

QByteArray num(int i) { return QByteArray::number(i); }

// The header, then piece(i) for each i below n, then the end.
template<typename Piece>
QByteArray repeatedBody(int n, Piece piece, const char *end = "\\par}", QByteArray out = kHead)
{
    for (int i = 0; i < n; ++i)
        out += piece(i);
    return out + end;
}

QByteArray bulletList(int id)
{
    return "{\\list{\\listlevel\\levelnfc23\\levelstartat1{\\leveltext\\'01\\u8226 ?;}"
           "{\\levelnumbers;}\\fi-360\\li720}\\listid" + num(id) + "}";
}

QByteArray longList(int n, int nfc)
{
    const QByteArray head = QByteArray(kHead)
        + "{\\*\\listtable{\\list{\\listlevel\\levelnfc" + num(nfc)
        + "\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}"
          "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\listoverridecount0\\ls1}}\n";
    const auto item = [](int i) { return "\\pard\\ls1\\ilvl0 Item " + num(i) + " of a long list\\par\n"; };
    return repeatedBody(n, item, "}", head);
}

// The paragraphs of the long lists, in no list: what the document itself costs.
QByteArray plainParagraphs(int n)
{
    return repeatedBody(n, [](int i) { return "\\pard Item " + num(i) + " of a long list\\par\n"; }, "}");
}

QByteArray bulletItems(int n) { return longList(n, 23); }
QByteArray numberedItems(int n) { return longList(n, 0); }

QByteArray manyLists(int n)
{
    QByteArray out = kHead, overrides;
    out += "{\\*\\listtable";
    for (int i = 1; i <= n; ++i) {
        out += bulletList(i);
        overrides += "{\\listoverride\\listid" + num(i) + "\\listoverridecount0\\ls" + num(i) + "}";
    }
    out += "}\n{\\*\\listoverridetable" + overrides + "}\n";
    for (int i = 1; i <= n; ++i)
        out += "\\pard\\ls" + num(i) + "\\ilvl0 One item\\par\\pard Between lists\\par\n";
    return out + "}";
}

QByteArray manyStyleSheets(int n)
{
    QByteArray out = kHead;
    for (int i = 1; i <= n; ++i)
        out += "{\\stylesheet{\\s" + num(i) + "\\sbasedon" + num(i - 1) + "\\fs" + num(16 + i % 20)
            + " Style " + num(i) + ";}}\n";
    for (int i = 1; i <= n; i += 10)
        out += "\\pard\\s" + num(i) + " Styled paragraph\\par\n";
    return out + "}";
}

QByteArray manyCodePages(int n)
{
    QByteArray out = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\n";
    for (int i = 0; i < n; ++i)
        out += "\\ansicpg" + num(2000 + i) + " \\'e9t\\'e9 ";
    return out + "\\par}";
}

QByteArray manyComments(int n)
{
    return repeatedBody(n, [](int i) { return "{\\*\\atrfstart " + num(i) + "}word "; });
}

QByteArray manyBookmarks(int n)
{
    return repeatedBody(n, [](int i) {
        return "{\\*\\bkmkstart b" + num(i) + "}word{\\*\\bkmkend b" + num(i) + "} ";
    });
}

QByteArray manyFontsAndColours(int n)
{
    QByteArray out = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < n; ++i)
        out += "{\\f" + num(i) + "\\fswiss Font " + num(i) + ";}";
    out += "}\n{\\colortbl;";
    for (int i = 0; i < n; ++i)
        out += "\\red" + num(i % 256) + "\\green" + num(i / 256 % 256) + "\\blue" + num(i % 7) + ";";
    out += "}\n";
    for (int i = 0; i < n; ++i)
        out += "{\\f" + num(i) + "\\cf" + num(i + 1) + " run} ";
    return out + "\\par}";
}

QByteArray manyCells(int n)
{
    QByteArray out = kHead, row = "\\trowd";
    for (int c = 1; c <= 10; ++c)
        row += "\\cellx" + num(c * 900);
    for (int r = 0; r < n / 10; ++r) {
        out += row + "\n";
        for (int c = 0; c < 10; ++c)
            out += "\\pard\\intbl C" + num(r) + "." + num(c) + "\\cell ";
        out += "\\row\n";
    }
    return out + "\\pard\\par}";
}

QByteArray deepNesting(int n)
{
    QByteArray out = kHead;
    for (int i = 0; i < n; ++i)
        out += "{\\i" + num(i % 2) + " a";
    out += QByteArray(n, '}');
    return out + "\\par}";
}

QByteArray longParagraph(int n)
{
    return repeatedBody(n, [](int i) { return QByteArray(i % 50 == 0 ? "{\\b word} " : "word "); });
}

// Digits alone, every other run bold with an associated size: each run and each fragment
// takes the script of the nearest letter, and there is none.
QByteArray neutralRuns(int n)
{
    return repeatedBody(n, [](int) { return QByteArray("{\\b\\afs30 12} 34 "); });
}

QByteArray repeated(const char *what, int n)
{
    QByteArray out = "{\\rtf1 ";
    out.reserve(out.size() + n * qsizetype(qstrlen(what)));
    for (int i = 0; i < n; ++i)
        out += what;
    return out;
}

QByteArray onlyOpen(int n) { return repeated("{", n); }
QByteArray onlyClose(int n) { return repeated("}", n); }
QByteArray onlyBold(int n) { return repeated("\\b", n); }

} // namespace

const std::vector<Shape> &shapes()
{
    static const std::vector<Shape> all = {
        {"plain paragraphs", plainParagraphs, 5000, true, true},
        {"long bullet list", bulletItems, 5000, true, true},
        {"long numbered list", numberedItems, 5000, true, true},
        {"many lists", manyLists, 2000, true, false},
        {"many style sheets", manyStyleSheets, 4000, true, false},
        {"many code pages", manyCodePages, 4000, true, false},
        {"many comments", manyComments, 5000, true, false},
        {"many bookmarks", manyBookmarks, 5000, true, false},
        {"many fonts and colours", manyFontsAndColours, 2000, true, false},
        {"many table cells", manyCells, 5000, true, false},
        {"deep nesting", deepNesting, 2000, true, false},
        {"very long paragraph", longParagraph, 50000, true, false},
        {"digits in many runs", neutralRuns, 10000, true, false},
        {"only {", onlyOpen, 100000, false, false},
        {"only }", onlyClose, 100000, false, false},
        {"only \\b", onlyBold, 100000, false, false},
    };
    return all;
}

} // namespace pathological
