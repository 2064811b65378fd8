#include "richtextboxaccessible.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

// A colour is told only where the format paints one; an empty brush is no colour.
bool paints(const QBrush &brush)
{
    return brush.style() == Qt::SolidPattern;
}

QString rgb(const QBrush &brush)
{
    const QColor c = brush.color();
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

QString alignment(Qt::Alignment a)
{
    if (a & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (a & Qt::AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("left");
}

// Named where CSS has a name, as the accessibility bridge expects.
QString weight(int w)
{
    if (w == QFont::Normal)
        return QStringLiteral("normal");
    if (w == QFont::Bold)
        return QStringLiteral("bold");
    return QString::number(w);
}

// The attributes as AT-SPI names them, "name:value;" one after another.
QString describe(const QTextCharFormat &format, const QTextBlockFormat &paragraph,
                 const QFont &documentFont)
{
    const QFont font = format.font().resolve(documentFont);
    QString out;
    auto add = [&out](const char *name, const QString &value) {
        out += QLatin1String(name) + QLatin1Char(':') + value + QLatin1Char(';');
    };
    // The bridge splits the list at ';' and each item at ':', so a name must carry neither.
    QString family = font.family();
    family.remove(QLatin1Char(';')).remove(QLatin1Char(':'));
    add("font-family", QLatin1Char('"') + family + QLatin1Char('"'));
    add("font-size", QString::number(font.pointSizeF()) + QLatin1String("pt"));
    add("font-style", font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"));
    add("font-weight", weight(font.weight()));
    if (font.underline() || format.underlineStyle() != QTextCharFormat::NoUnderline) {
        add("text-underline-style", QStringLiteral("solid"));
        add("text-underline-type", QStringLiteral("single"));
    }
    if (font.strikeOut())
        add("text-line-through-type", QStringLiteral("single"));
    if (paints(format.foreground()))
        add("color", rgb(format.foreground()));
    if (paints(format.background()))
        add("background-color", rgb(format.background()));
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        add("text-position", QStringLiteral("super"));
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        add("text-position", QStringLiteral("sub"));
    else
        add("text-position", QStringLiteral("baseline"));
    add("text-align", alignment(paragraph.alignment()));
    return out;
}

} // namespace

// The run of equally formatted text that holds offset, and its attributes. A paragraph's
// mark makes a run of its own, in the format of the text before it.
QString RichTextBoxAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount())
        return QString();
    const QTextBlock block = document()->findBlock(offset);
    const QFont documentFont = document()->defaultFont();
    QTextCharFormat format = block.charFormat();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        format = fragment.charFormat();
        if (fragment.position() <= offset && offset < fragment.position() + fragment.length()) {
            *startOffset = fragment.position();
            *endOffset = fragment.position() + fragment.length();
            return describe(format, block.blockFormat(), documentFont);
        }
    }
    const int mark = block.position() + block.length() - 1;
    *startOffset = mark;
    *endOffset = mark + 1;
    return describe(format, block.blockFormat(), documentFont);
}
