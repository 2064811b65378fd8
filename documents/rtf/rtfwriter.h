#pragma once

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <vector>

class QTextBlock;
class QTextBlockFormat;
class QTextFormat;
class QTextCharFormat;
class QTextDocument;
class QTextFrame;
class QTextList;
class QTextListFormat;
class QTextTable;
class QTextTableCell;
class QTextTableCellFormat;
class QTextTableFormat;
class QTextFragment;

namespace rtf {

// Walks a document's blocks and fragments and writes RTF that other word processors
// read: fonts and colours are numbered in order of first use, so output is deterministic.
class Writer
{
public:
    explicit Writer(const QTextDocument *doc);
    QByteArray write();

private:
    void collect();
    void writeHeader();
    void addList(const QTextList *list);
    void writeListTables();
    void writeListLevel(const QTextList *list, const QTextList *fallback, int level);
    void writeLevel(const QTextListFormat &f, bool own, int level);
    void writeLevelText(const QTextListFormat &f, int style, int level, bool kept);
    // depth counts the tables around what is written: 0 in the body, 1 in a top-level cell.
    void writeFrame(const QTextFrame *frame, int depth, int widthTwips);
    void writeChildFrame(const QTextFrame *frame, int depth, int widthTwips);
    static std::vector<int> cellEdges(const QTextTable *table, int cols, int widthTwips);
    void writeTable(const QTextTable *table, int depth, int widthTwips);
    void writeCell(const QTextTableCell &cell, int depth, int widthTwips);
    struct Border { double width; int style; QBrush brush; };
    static Border cellBorder(const QTextTableCellFormat &cell, const QTextTableFormat &table, int side);
    QByteArray rowDefinition(const QTextTable *table, int r, const std::vector<int> &edges,
                             int depth);
    void collectTableColours(const QTextFrame *frame);
    void addColour(const QBrush &brush);
    int colourIndex(const QBrush &brush) const;
    void writeEmptyParagraph(int depth, const char *terminator);
    void writeBlock(const QTextBlock &block, const char *terminator, int depth);
    void writeBlockText(const QTextBlock &block);
    void writeParagraphProps(const QTextBlock &block, int depth);
    void writeBlockFormat(const QTextBlock &block, int depth);
    void writeListText(const QTextBlock &block, const QTextList *list);
    int itemNumber(const QTextBlock &block, const QTextList *list);
    void writeImage(const QTextCharFormat &format);
    // What a character format writes, worked out once per format of the document.
    // field: the opening of the hyperlink field around the run, empty for none.
    struct FormatOut {
        QByteArray props;
        QByteArray complexProps;   // props for text in right-to-left script
        QByteArray field;
        bool image = false;
        QByteArray note;     // the note the fragment is the mark of
        QByteArray symbol;   // the field each of the fragment's characters stands for
        bool customMark = false;   // a note's mark is the fragment's text
        QByteArray off;   // what it leaves unset, said outright when styles are kept
    };
    const FormatOut &formatOut(const QTextFragment &fragment);
    // complex: the text is in right-to-left script, or its spaces and digits are.
    void writeFragment(const QTextFragment &fragment, const FormatOut &out, QStringView text,
                       bool complex);
    static QByteArray complexProps(const QTextCharFormat &f, const QByteArray &props, int font,
                                   int halfPoints, bool stateOff);
    void writeRun(const FormatOut &out, QStringView text, bool complex);
    void writeText(QStringView text);
    void writeUnicode(char16_t c);
    void writeLinkText(QStringView text);
    void word(const char *w);
    void word(const char *w, int value);
    int fontIndex(const QTextCharFormat &format);
    int fontIndex(const QString &family);
    QString familyOf(const QTextCharFormat &format) const;

    // Kept material (rtfwriterkept.cpp).
    void collectKept(const QByteArray &kept);
    void collectKeptDocument();
    void collectKeptFormat(const QTextFormat &format);
    void collectKeptBlock(const QTextBlock &block);
    void writeKept(const QByteArray &kept);
    void writeKeptDocument();
    void writeKeptParagraphProps(const QTextBlockFormat &format, bool inList);
    void keptFormatOut(const QTextCharFormat &format, FormatOut &out);
    enum class KeptStyleWords { Hidden = 1, List = 2, Outline = 4 };
    bool stylesSay(KeptStyleWords which);
    // The kept marks written at or before a document position, and where the next one goes.
    void writeMarksThrough(int position);
    int nextMark() const;
    // Writes a fragment that anchors kept material, and says whether there was any.
    bool writeKeptFragment(const FormatOut &out, QStringView text, bool complex);

    const QTextDocument *m_doc;
    const struct KeptDocument *m_kept = nullptr;
    // The kept section starts and empty paragraphs' marks, by block format.
    QHash<int, std::pair<QByteArray, QByteArray>> m_keptBlocks;
    QSet<int> m_seenBlockFormats;
    size_t m_mark = 0;   // the first kept mark not written yet
    QByteArray m_out;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    std::vector<QColor> m_colors;
    QHash<QRgb, int> m_colorIndex;
    // An RTF list: the QTextLists that are its levels, the first one found for each.
    struct ListGroup { const QTextList *levels[9] = {}; };
    std::vector<ListGroup> m_lists;
    QHash<const QTextList *, int> m_listIndex;   // 1-based, the list's \ls
    QHash<const QTextList *, int> m_listItems;   // the place of the list's next item
    QHash<int, int> m_listGroups;                 // a list format's group to its \ls
    QHash<qint64, QByteArray> m_levelCache;       // a list level's words, by format and level
    QSet<int> m_seenFormats;
    QHash<int, FormatOut> m_formatCache;
    int m_stylesSay = -1;   // the KeptStyleWords the kept styles say (-1: not looked yet)
    QHash<qint64, QByteArray> m_paragraphCache;
    // The run written last, while nothing has followed it: where it ends and its format.
    qsizetype m_runEnd = -1;
    QByteArray m_runProps;
    QByteArray m_runField;
    double m_defaultSize = 12.0;
};

} // namespace rtf
