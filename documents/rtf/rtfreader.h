#pragma once

#include "rtfcharsets.h"
#include "rtfcontrolwords.h"
#include "rtfkeptmarks.h"
#include "rtfkeptrecorder.h"
#include "rtfstoredformat.h"
#include "rtftokenizer.h"

#include <QBrush>
#include <QColor>
#include <QHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextListFormat>
#include <QTextTableCellFormat>
#include <algorithm>
#include <array>
#include <vector>

class QTextDocument;
class QTextList;
class QTextTable;

namespace rtf {

class ScriptsAround;

// Character properties as RTF states them; turned into cached QTextCharFormats.
struct CharProps
{
    bool bold = false, italic = false, strike = false, hidden = false;
    unsigned char underline = 0;   // its place in kUnderlineWords, 0 for none
    unsigned char vertical = 0;    // 0 normal, 1 superscript, 2 subscript
    int font = -1;
    int halfPoints = 24;
    int fore = 0, back = 0;        // colour table indexes; 0 is automatic
    int href = -1;                 // index into the reader's link targets
    bool comment = false;          // inside a comment's range
    // \ab, \ai, \afs, \af: right-to-left script's own; -1 and 0 where the file gives none.
    signed char assocBold = -1, assocItalic = -1;
    short assocHalfPoints = 0;
    int assocFont = -1;
    // Inline: body text is checked against the run it may continue.
    bool operator==(const CharProps &o) const
    {
        return bold == o.bold && italic == o.italic && strike == o.strike && hidden == o.hidden
            && underline == o.underline && vertical == o.vertical && font == o.font
            && halfPoints == o.halfPoints && fore == o.fore && back == o.back && href == o.href
            && comment == o.comment && assocBold == o.assocBold && assocItalic == o.assocItalic
            && assocHalfPoints == o.assocHalfPoints && assocFont == o.assocFont;
    }
};
size_t qHash(const CharProps &c, size_t seed = 0);

constexpr int kNoList = QTextListFormat::ListStyleUndefined;  // list styles are negative

// What a paragraph or run sets itself, as opposed to what it takes from a style: a bit
// for each property, so that a style applies only where the paragraph or run is silent.
enum CharBit : unsigned {
    kSetBold = 1, kSetItalic = 2, kSetStrike = 4, kSetHidden = 8, kSetUnderline = 16,
    kSetVertical = 32, kSetFont = 64, kSetSize = 128, kSetFore = 256, kSetBack = 512,
    kSetAssocBold = 1024, kSetAssocItalic = 2048, kSetAssocSize = 4096, kSetAssocFont = 8192,
};
enum ParaBit : unsigned {
    kSetAlign = 1, kSetLeft = 2, kSetRight = 4, kSetFirst = 8, kSetBefore = 16,
    kSetAfter = 32, kSetLineSpacing = 64, kSetList = 128, kSetDirection = 256, kSetOutline = 512,
};

struct ParaProps
{
    unsigned char align = 0;       // 0 left, 1 centre, 2 right, 3 justify
    bool rtl = false;              // \rtlpar: laid out right to left
    int tableDepth = 0;            // \intbl, \itap: 0 outside tables, 1 in a top-level cell
    int left = 0, right = 0, first = 0, before = 0, after = 0, lineSpacing = 0;  // twips
    int listOverride = -1, listLevel = 0;        // \ls (0 is a list too), \ilvl
    int oldStyle = kNoList, oldLevel = 1;        // \pn numbering: a QTextListFormat::Style
    int oldNumber = 0;                           // its start and texts, counted from 1; 0 none
    int style = 0;                               // \sN, kept for the writer
    int outline = -1;                            // \outlinelevel: 0 a first heading, -1 none
};

struct GroupState
{
    Dest dest = Dest::Body;
    bool ownsDest = false;         // this group started dest, so its end finishes it
    CharProps chr;
    ParaProps para;
    unsigned charSet = 0;          // CharBits of what the run set itself
    unsigned paraSet = 0;          // ParaBits of what the paragraph set itself
    int unicodeSkip = 1;
    int styleIndex = 0;
    bool assocRightToLeft = true;  // \af names right-to-left script's font, not another's
};
bool operator==(const ParaProps &a, const ParaProps &b);
bool operator==(const GroupState &a, const GroupState &b);
size_t qHash(const GroupState &s, size_t seed = 0);

// The state of each open group. Nested groups mostly interrupt one of a few states over and
// over, so each different state a group will go back to is kept once, while an open group
// needs it (and the last one released, for its next sibling): a group itself costs an index.
class GroupStack
{
public:
    GroupStack() { m_saved.reserve(64); }
    GroupState &top() { return m_top; }
    const GroupState &top() const { return m_top; }
    size_t depth() const { return m_saved.size() + 1; }
    void push();           // a group starts in the state of the group around it
    GroupState pop();      // it ends: its own state, and the one around it is back on top
    // Changes the state of every open group alike.
    template <typename Change> void changeAll(Change change)
    {
        change(m_top);
        for (Saved &s : m_states)
            change(s.state);
        reindex();
    }

private:
    struct Saved { GroupState state; int groups = 0; };   // groups: how many go back to it
    void dropLast();
    void reindex();
    GroupState m_top;
    std::vector<int> m_saved;          // by depth, the state each open group goes back to
    std::vector<Saved> m_states;       // the states in m_saved, in the order they came
    QHash<GroupState, int> m_index;    // where each is in m_states
};

// A cell border as a row definition gives it: style is a QTextFrameFormat::BorderStyle.
struct CellBorder
{
    int style = -1;                // -1: the file says nothing of this side
    int width = 0;                 // twips
    int color = 0;                 // colour table index, 0 automatic
    bool operator==(const CellBorder &o) const
    {
        return style == o.style && width == o.width && color == o.color;
    }
};

// Padding inside a cell as its \clpad... words, or a row's \trpadd... and \trgaph, give it,
// by side (top, left, bottom, right); the words themselves are written back as read.
struct CellPadding
{
    int twips[4] = {-1, -1, -1, -1};          // -1: not given
    signed char unit[4] = {-1, -1, -1, -1};   // 3 twips, 0 ignore the amount; -1 not given
    int gap = -1;                             // \trgaph: the left and right padding
    QByteArray words;
    // A side's padding in twips, or -1 where these words leave it to others.
    int side(int s) const
    {
        return twips[s] >= 0 && (unit[s] < 0 || unit[s] == 3) ? twips[s] : -1;
    }
    bool operator==(const CellPadding &o) const
    {
        return std::equal(twips, twips + 4, o.twips) && std::equal(unit, unit + 4, o.unit)
            && gap == o.gap && words == o.words;
    }
};

// One cell of a row definition, \clbrdr... to \cellx.
struct CellDef
{
    int right = 0;                 // the cell's right edge, twips
    CellBorder borders[4];         // top, left, bottom, right
    int shading = 0;               // \clcbpat: colour table index, 0 none
    unsigned char merge = 0;       // \clmgf 1, \clmrg 2
    unsigned char vmerge = 0;      // \clvmgf 1, \clvmrg 2
    CellPadding padding, rowPadding;   // the cell's own, and its row's
    bool operator==(const CellDef &o) const
    {
        return right == o.right && std::equal(borders, borders + 4, o.borders)
            && shading == o.shading && merge == o.merge && vmerge == o.vmerge
            && padding == o.padding && rowPadding == o.rowPadding;
    }
};

// One level of a \listtable list.
struct ListLevel
{
    int nfc = 0;                   // \levelnfc: 0 decimal, 1-4 roman and letters, 23 bullet
    int start = 1;
    int left = 0, first = 0;       // twips
    unsigned paraSet = 0;          // kSetLeft and kSetFirst when the level gives them
    int font = -1;                 // the bullet's font, -1 none
    QString text;                  // \leveltext, its length unit left out
    QByteArray numbers;            // \levelnumbers: where in text the level numbers are
};

// One paragraph collected before it goes into the document: runs share one string.
struct Paragraph
{
    // complex: the format of the run's right-to-left script where the associated
    // properties make it look otherwise, else -1.
    struct Run { int start; int format; int complex = -1; };
    QString text;
    std::vector<Run> runs;
    ParaProps props;
    bool pageBreak = false;
    QByteArray section, tail;      // kept: a section starting here, an empty paragraph's marks
    // Kept marks on the paragraph's characters in the order read, at their offset in its text.
    std::vector<KeptMark> marks;
};

// All a paragraph's QTextBlockFormat is made from: paragraphs that agree share one.
struct BlockKey
{
    ParaProps props;
    bool pageBreak = false;
    bool inList = false;
    bool operator==(const BlockKey &o) const;
};
size_t qHash(const BlockKey &k, size_t seed = 0);

struct KeptDocument;

class Reader final : public TokenListener
{
public:
    explicit Reader(QTextDocument *doc);
    void read(QByteArrayView data);

    void groupStart() override;
    void groupEnd() override;
    void groupStarts(qsizetype count) override;
    void groupEnds(qsizetype count) override;
    void controlWord(std::string_view name, bool hasParam, int param) override;
    void controlSymbol(char c) override;
    void text(const char *data, qsizetype length) override;
    void binary(const char *data, qsizetype length) override;

    static constexpr int kMaxDepth = 10000;
    // Qt lays out each level of nesting about twice over, so deeper tables would hang the view.
    static constexpr int kMaxTableDepth = 8;
    static constexpr int kBytesPerTable = 128;   // a file's budget of tables: one per so many bytes
    static constexpr size_t kMaxOldNumbers = 256;   // different \pn starts and texts kept
    static constexpr qsizetype kMaxOldText = 32;    // characters of a \pntxtb or \pntxta

private:
    struct Font { QStringList families; int codePage = 0; };   // families: none or one
    struct Style {
        CharProps chr;
        ParaProps para;
        unsigned charSet = 0, paraSet = 0;
        int basedOn = -1;          // \sbasedon, -1 for none
    };
    struct Picture {
        int kind = 0;   // 1 PNG, 2 JPEG, 0 other
        int width = 0, height = 0, goalWidth = 0, goalHeight = 0, scaleX = 100, scaleY = 100;
        QByteArray hex, bin;
    };
    struct ListDef { int id = 0; std::vector<ListLevel> levels; };
    // \ls N: the list it numbers and the start values it overrides, by level.
    struct ListOverride { int list = 0; QHash<int, int> starts; };
    // A cell holds paragraphs and the tables nested in it, in reading order.
    struct CellItem;
    using Cell = std::vector<CellItem>;
    // defs: the row's cell definitions; rows that repeat them share one list.
    struct TableRow { std::vector<Cell> cells; QList<CellDef> defs; };
    struct CellItem { Paragraph para; std::vector<TableRow> table; };  // a table when not empty
    // A table still being read: its rows not yet placed, the row and the cell still open.
    // A top-level table whose rows repeat one definition is placed as it comes.
    struct OpenTable {
        std::vector<TableRow> rows;
        TableRow row;
        Cell cell;
        QList<CellDef> defs;           // the last row's, for the next to share
        QList<CellDef> settled;        // the plain row definition its rows repeat so far
        bool mixed = false;            // rows differ: the table waits until it ends
        QTextTable *placed = nullptr;  // where its rows so far went, on these column edges
        std::vector<int> edges;
        int placedRows = 0;
    };

    GroupState &top() { return m_stack.top(); }
    const GroupState &top() const { return m_stack.top(); }
    bool consumeSkip();
    void startDestination(Dest dest);
    void finishDestination(const GroupState &ended);
    void onBytes(const char *data, qsizetype length);
    void bodyBytes(const char *data, qsizetype length);
    void tableBytes(const char *data, qsizetype length);
    void appendChar(char16_t c);
    void ensureRun();
    int formatIndex(const CharProps &c);
    int complexFormatIndex(const CharProps &c);
    int complexFont(const CharProps &c) const;
    int formatOfChar(const Paragraph::Run &run, qsizetype at) const;
    void insertRun(QTextCursor &cursor, const Paragraph &p, int run, ScriptsAround &around);
    void insertScripts(QTextCursor &cursor, ScriptsAround &around, qsizetype start,
                       QStringView text, const Paragraph::Run &run);
    CodePage *codePageForFont(int font);

    void applyOp(Op op, const ControlWord &w, bool hasParam, int param);
    bool applyTableOp(Op op, int value);
    bool applyFontTableOp(Op op, int value);
    bool applyColorTableOp(Op op, int value);
    bool applyPictureOp(Op op, int value);
    bool applyOldNumberingOp(Op op, int value);
    void finishOldNumbering(ParaProps &props);
    void oldNumberingText(const char *data, qsizetype length);
    bool applyListTableOp(Op op, int value);
    bool applyCharOp(Op op, const ControlWord &w, bool hasParam, int param);
    bool applyParaOp(Op op, int value);
    bool applyBreakOp(Op op, int value = 0);
    void applyStyle(int index, bool paragraph);
    void resolveStyleBases();
    void resetParagraph();
    void resetCharacters();
    bool applyCellDefOp(Op op, int value);
    CellBorder *borderTarget();
    void applyPadding(const ControlWord &w, Op op, int value);

    void commitFont();
    void decodeFontBytes();
    void commitColor();
    void finishField();
    void readSymbol();
    void finishSymbol();
    void finishPicture();
    void insertImage(const QImage &image, const Picture &p);
    static int styleForLevel(const ListLevel &level, const QString &bulletFont);
    void finishListLevel(const GroupState &ended);
    void levelTextBytes(const char *data, qsizetype length);
    const ListLevel *listLevelFor(const ParaProps &props) const;
    bool namesList(const ParaProps &props) const;
    void oldListFormat(const ParaProps &props, int style, QTextListFormat &f) const;
    void applyLevelIndents(ParaProps &props, unsigned paraSet) const;
    QTextListFormat listFormat(const ParaProps &props, int style, int level) const;
    void defineCell(Op op, int value);

    void endParagraph();
    void endParagraphAt(int depth);
    void endCell(int depth);
    void endRow(int depth);
    int nestedDepth() const;
    Cell &openCell(int depth);
    void closeTablesDeeperThan(int depth);
    static void closeCell(OpenTable &t);
    static void finishRow(OpenTable &t);
    static bool isPlainRow(const TableRow &row);
    bool settleRow(OpenTable &t);
    void placeStretch(OpenTable &t);
    bool addColumns(OpenTable &t, const std::vector<int> &edges);
    void finishDocument();
    void emitParagraph(QTextCursor &cursor, const Paragraph &p, bool fresh);
    void flushTable();
    void flushBatch();
    // Where a cell goes in its QTextTable: its first row and column and how many it spans.
    struct CellPlace { int col = 0, cols = 1, rows = 1; bool covered = false, newCell = true; };
    static std::vector<std::vector<CellPlace>> placeCells(const std::vector<TableRow> &rows,
                                                          const std::vector<int> &edges, int cols);
    void fillRow(QTextTable *table, int r, const TableRow &row, const std::vector<CellPlace> &places);
    void fillRows(QTextTable *table, int first, const std::vector<TableRow> &rows,
                  const std::vector<int> &edges, int cols);
    void shapeCells(QTextTable *table, int first, const std::vector<TableRow> &rows,
                    const std::vector<std::vector<CellPlace>> &places);
    static bool isEmptyCell(const Cell &cell);
    static std::vector<int> columnEdges(const std::vector<TableRow> &rows);
    static QList<QTextLength> columnWidths(const std::vector<int> &edges);
    QTextTable *placeTable(QTextCursor &at, const std::vector<TableRow> &rows, bool &fresh);
    QTextTableCellFormat cellFormat(const CellDef &def) const;
    static void setPadding(QTextTableCellFormat &f, const CellDef &def);
    void emitCell(QTextCursor &at, const Cell &cell, bool &fresh);
    void attachList(QTextCursor &cursor, const ParaProps &props);
    void groupList(int ls, QTextList *list);
    StoredFormat<QTextBlockFormat> &blockFormat(const Paragraph &p, bool inList);
    QTextBlockFormat makeBlockFormat(const Paragraph &p, bool inList) const;
    void listIndents(const ParaProps &pp, double *left, double *first) const;
    int listStyleFor(const ParaProps &props, int *level, qint64 *key) const;

    // Material kept for the writer (rtfreaderkept.cpp).
    void startKept(const ControlWord &w, bool star);
    bool recordWord(std::string_view name, bool hasParam, int param);
    void recordText(const char *data, qsizetype length);
    void keptGroupEnd(const GroupState &ended);
    void finishKept(QByteArray bytes);
    bool applyKeptWord(std::string_view name, bool hasParam, int param);
    QByteArray *sectionOut(bool group);
    int anchorFormat(int base, int property, const QByteArray &bytes);
    void addMark(qsizetype offset, bool after, QByteArray bytes);
    void placeMarks(const Paragraph &p, int start);
    void collectTableMarks();
    void insertNoteMark(const QByteArray &note);
    qsizetype customMarkLength() const;
    void bodyBytesAnchored(const char *data, qsizetype length);
    void anchorPending(qsizetype start, QByteArray pending);
    void closeKeptParagraph();
    KeptRecorder &hiddenText();
    void flushHidden();
    void sectionBreak();
    void finishKeptDocument();
    void markComment(const QByteArray &bytes);
    void showComment(QTextCharFormat &f) const;
    void followCommentMarks(const QByteArray &marks, QString *text) const;
    void showCommentTexts();
    KeptDocument &kept();

    QTextDocument *m_doc;
    QTextCursor m_cursor;
    bool m_fresh = true;           // the cursor's block is still empty and unformatted
    int m_emitted = 0;
    GroupStack m_stack;
    qsizetype m_overflow = 0;
    int m_skip = 0;
    bool m_star = false;
    bool m_pageBreakPending = false;
    unsigned char m_lead = 0;

    int m_docCodePage = kDefaultCodePage;
    int m_defaultFont = -1;
    int m_cpFont = -2;
    CodePage *m_cpCached = nullptr;

    QHash<int, Font> m_fonts;
    int m_fontNumber = 0, m_fontCharset = -1, m_fontCodePage = 0;
    QByteArray m_fontName;     // bytes of the font's name not yet decoded
    QString m_fontText;        // the name decoded so far, up to its last \u character
    std::vector<QBrush> m_colors;          // a table entry left automatic has no brush
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;
    QHash<int, Style> m_styles;
    QHash<int, Style> m_newStyles;         // defined since the last style sheet ended
    int m_styleBase = -1;                  // the \sbasedon of the style being defined

    ListDef m_list;
    ListLevel m_level;                     // the \listlevel being read
    QHash<int, ListDef> m_listDefs;
    int m_overrideIndex = 0, m_overrideLevel = -1;
    ListOverride m_override;
    QHash<int, ListOverride> m_overrides;  // by \ls number
    QHash<qint64, QTextList *> m_textLists;
    QHash<int, QTextList *> m_groupFirsts;   // by \ls: its first list while it is the only one
    int m_pnStyle = kNoList, m_pnLevel = 1;
    // \pn numbering's start and the texts before and after the number: the one being
    // read, and each different one read so far.
    struct OldNumber {
        int start = 1;
        QString before, after;
        bool operator==(const OldNumber &o) const
        {
            return start == o.start && before == o.before && after == o.after;
        }
    };
    OldNumber m_pn;
    std::vector<OldNumber> m_oldNumbers;

    QString m_fieldInstruction;
    // A SYMBOL field read up to its result: the character it shows and where.
    struct Symbol { QString instruction, text, family; double points = 0; qsizetype at = 0; };
    Symbol m_symbol;
    QStringList m_hrefs;
    Picture m_picture;
    int m_imageCount = 0;

    // Only control words and group ends change character properties: until the next one,
    // the run that ensureRun checked is still the one text goes into.
    bool m_runChecked = false;
    QHash<BlockKey, StoredFormat<QTextBlockFormat>> m_blockFormats;
    std::vector<StoredFormat<QTextCharFormat>> m_formats;
    QHash<CharProps, int> m_formatIndex;
    CharProps m_runProps;
    int m_runFormat = -1;
    int m_runComplex = -1;
    Paragraph m_para;
    // Body paragraphs go into the document a few at a time: reading a stretch and then
    // inserting it keeps each side's data in the cache. Kept for their capacity.
    static constexpr size_t kBatch = 16;
    std::vector<Paragraph> m_batch;
    size_t m_batched = 0;
    std::vector<OpenTable> m_tables;       // the open tables, outermost first
    // The cell edges (\cellx) of the row being defined at each depth: a nested table
    // gives its row's at the end of the row, after the cells of the tables around it.
    std::array<QList<CellDef>, kMaxTableDepth + 1> m_cellx;
    CellDef m_cellDef;                     // the cell being defined, until its \cellx
    int m_borderSide = -1;                 // the side \brdr... words describe, -1 none
    CellPadding m_rowPadding;              // the row being defined
    qsizetype m_tableBudget = 0;

    KeptRecorder m_rec;
    KeptGroup m_keptKind = KeptGroup::Section;
    KeptDocument *m_kept = nullptr;
    QByteArray m_pendingAnchor;    // kept marks waiting for the next character
    bool m_tableMarks = false;     // marks in tables ride on their characters' formats
    KeptRecorder m_hidden;         // hidden text (\v) since the last shown character
    QByteArray m_nextSection;      // a section begun by \sect, for the next paragraph
    bool m_sectionPending = false;
    int m_footnotes = 0, m_endnotes = 0;
    CharProps m_noteMark;          // the format of the last \chftn in the text
    bool m_hasNoteMark = false;
    QHash<QString, QString> m_commentTexts;  // each comment's text, by the id it refers to
};

} // namespace rtf
