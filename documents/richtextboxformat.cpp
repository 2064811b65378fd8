#include "richtextbox.h"

#include "bgrcolor.h"
#include "rtfbulletruns.h"
#include "rtfunits.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <cmath>

using namespace richtext;

namespace {

using rtf::kTwipsPerPixel;
constexpr double kLargestFontSize = 1638;

// Calls visit for each paragraph the selection touches, as QTextCursor's block writes do.
template <typename Visit>
void forEachSelectedBlock(const QTextCursor &cursor, Visit visit)
{
    const QTextDocument *doc = cursor.document();
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    for (QTextBlock block = doc->findBlock(cursor.selectionStart()); block.isValid(); block = block.next()) {
        visit(block);
        if (block == last)
            break;
    }
}

void checkIndent(int twips)
{
    if (twips < -32768 || twips > 32767)
        refuseValue();
}

} // namespace

void RichTextBox::applyCharFormat(const QTextCharFormat &format)
{
    // With a selection this formats it; without, it sets what typing gets next.
    mergeCurrentCharFormat(format);
    noteFormatChange();
}

void RichTextBox::setSelBold(bool on)
{
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    applyCharFormat(format);
}

void RichTextBox::setSelItalic(bool on)
{
    QTextCharFormat format;
    format.setFontItalic(on);
    applyCharFormat(format);
}

void RichTextBox::setSelUnderline(bool on)
{
    QTextCharFormat format;
    format.setFontUnderline(on);
    applyCharFormat(format);
}

void RichTextBox::setSelStrikeThru(bool on)
{
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    applyCharFormat(format);
}

void RichTextBox::setSelFontName(const QString &family)
{
    if (family.trimmed().isEmpty())
        refuseValue();
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    applyCharFormat(format);
}

void RichTextBox::setSelFontSize(double points)
{
    if (!std::isfinite(points) || points <= 0 || points > kLargestFontSize)
        refuseValue();
    QTextCharFormat format;
    format.setFontPointSize(points);
    applyCharFormat(format);
}

void RichTextBox::setSelColor(qint32 bgr)
{
    checkBgr(bgr);
    QTextCharFormat format;
    format.setForeground(colorFromBgr(bgr));
    applyCharFormat(format);
}

void RichTextBox::setSelAlignment(int alignment)
{
    // Sides of the page, also in a paragraph that runs right to left.
    static const Qt::Alignment flags[] = {Qt::AlignLeft | Qt::AlignAbsolute,
                                          Qt::AlignRight | Qt::AlignAbsolute, Qt::AlignHCenter};
    if (alignment < 0 || alignment > 2)
        refuseValue();
    QTextBlockFormat format;
    format.setAlignment(flags[alignment]);
    textCursor().mergeBlockFormat(format);
    noteFormatChange();
}

void RichTextBox::setSelIndent(int twips)
{
    checkIndent(twips);
    QTextBlockFormat format;
    format.setLeftMargin(twips / kTwipsPerPixel);
    textCursor().mergeBlockFormat(format);
    noteFormatChange();
}

void RichTextBox::setSelRightIndent(int twips)
{
    checkIndent(twips);
    QTextBlockFormat format;
    format.setRightMargin(twips / kTwipsPerPixel);
    textCursor().mergeBlockFormat(format);
    noteFormatChange();
}

void RichTextBox::setSelBullet(bool on)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    if (on) {
        // Join a bullet list the selection already touches, so that one run of bullets
        // results; a block already in a list of that format stays where it is.
        QTextList *list = nullptr;
        forEachSelectedBlock(cursor, [&](const QTextBlock &block) {
            if (!list && rtf::isBulletList(block.textList()))
                list = block.textList();
        });
        QTextListFormat format;
        format.setStyle(QTextListFormat::ListDisc);
        if (list)
            format = list->format();
        rtf::BulletRun run(format, list);
        forEachSelectedBlock(cursor, [&](const QTextBlock &block) {
            if (!list || !block.textList() || block.textList()->format() != format)
                run.add(block);
        });
    } else {
        forEachSelectedBlock(cursor, [&](const QTextBlock &block) {
            if (!block.textList())
                return;
            QTextBlockFormat format = block.blockFormat();
            format.clearProperty(QTextFormat::ObjectIndex);
            QTextCursor(block).setBlockFormat(format);
        });
    }
    cursor.endEditBlock();
    noteFormatChange();
}
