// The writer's row definitions: each cell's merging, borders, shading and right edge.
#include "rtfwriter.h"

#include "rtfkept.h"
#include "rtfunits.h"
#include "rtfwriterbytes.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace rtf {

namespace {

const char *borderWord(int style)
{
    switch (style) {
    case QTextFrameFormat::BorderStyle_Dotted: return "\\brdrdot";
    case QTextFrameFormat::BorderStyle_Dashed: return "\\brdrdash";
    case QTextFrameFormat::BorderStyle_Double: return "\\brdrdb";
    case QTextFrameFormat::BorderStyle_DotDash: return "\\brdrdashd";
    case QTextFrameFormat::BorderStyle_DotDotDash: return "\\brdrdashdd";
    case QTextFrameFormat::BorderStyle_None: return "\\brdrnone";
    default: return "\\brdrs";
    }
}

// The four sides in the order RTF names them, with Qt's width property of each; its style
// and brush properties follow it by 4 and 8.
struct Side { const char *word; int width; };
constexpr Side kSides[] = {
    {"\\clbrdrt", QTextFormat::TableCellTopBorder}, {"\\clbrdrl", QTextFormat::TableCellLeftBorder},
    {"\\clbrdrb", QTextFormat::TableCellBottomBorder}, {"\\clbrdrr", QTextFormat::TableCellRightBorder},
};

// A border's width as it is written: the file's own where Qt draws that one as it is.
int borderTwips(double pixels, int kept)
{
    if (kept > 0 && pixels == std::max(twipsToDocPixels(kept), 1.0))
        return kept;
    return std::clamp(pixelsToTwips(pixels), 1, 255);
}

} // namespace

// A side's border: the cell's own where it has one, else the table's.
Writer::Border Writer::cellBorder(const QTextTableCellFormat &cell, const QTextTableFormat &table,
                                  int side)
{
    const Side &s = kSides[side];
    if (cell.hasProperty(s.width))
        return {cell.doubleProperty(s.width), cell.intProperty(s.width + 4),
                cell.brushProperty(s.width + 8)};
    return {table.border(), table.borderStyle(), table.borderBrush()};
}

// A top-level row names its depth: AbiWord takes the first cell's borders only then.
QByteArray Writer::rowDefinition(const QTextTable *table, int r, const std::vector<int> &edges,
                                 int depth)
{
    const QTextTableFormat tf = table->format();
    QByteArray out(depth == 1 ? "\\trowd\\itap1" : "\\trowd");
    out.append(tf.hasProperty(KeptRowPadding) ? tf.stringProperty(KeptRowPadding).toLatin1()
                                              : QByteArray("\\trgaph108"));
    const int cols = int(edges.size());
    for (int c = 0; c < cols; ++c) {
        const QTextTableCell cell = table->cellAt(r, c);
        if (cell.column() != c)
            continue;
        if (cell.rowSpan() > 1)
            out.append(cell.row() == r ? "\\clvmgf" : "\\clvmrg");
        const QTextTableCellFormat f = cell.format().toTableCellFormat();
        out.append(f.stringProperty(KeptCellPadding).toLatin1());
        const QStringList keptWidths = f.stringProperty(KeptBorderWidths).split(u' ');
        for (int side = 0; side < 4; ++side) {
            const Border b = cellBorder(f, tf, side);
            out.append(kSides[side].word);
            if (b.width <= 0 || b.style == QTextFrameFormat::BorderStyle_None) {
                out.append("\\brdrnone");
                continue;
            }
            out.append(borderWord(b.style));
            out.append("\\brdrw");
            appendInt(out, borderTwips(b.width, keptWidths.value(side).toInt()));
            if (const int colour = colourIndex(b.brush); colour > 0) {
                out.append("\\brdrcf");
                appendInt(out, colour);
            }
        }
        if (f.background().style() != Qt::NoBrush) {
            out.append("\\clcbpat");
            appendInt(out, colourIndex(f.background()));
        }
        out.append("\\cellx");
        appendInt(out, edges[size_t(std::min(c + cell.columnSpan(), cols) - 1)]);
    }
    return out;
}

// Border and shading colours go into the colour table with the text's.
void Writer::collectTableColours(const QTextFrame *frame)
{
    for (const QTextFrame *child : frame->childFrames()) {
        if (const auto *table = qobject_cast<const QTextTable *>(child)) {
            // Only the colours of borders that are written, so that the table read back
            // gives the same colour table.
            const QTextTableFormat tf = table->format();
            for (int r = 0; r < table->rows(); ++r) {
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    if (cell.column() != c)
                        continue;
                    const QTextTableCellFormat f = cell.format().toTableCellFormat();
                    for (int side = 0; side < 4; ++side) {
                        const Border b = cellBorder(f, tf, side);
                        if (b.width > 0 && b.style != QTextFrameFormat::BorderStyle_None)
                            addColour(b.brush);
                    }
                    addColour(f.background());
                }
            }
        }
        collectTableColours(child);
    }
}

} // namespace rtf
