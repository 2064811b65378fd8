#include "richtextboxaccessible.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

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
QString describe(const QTextCharFormat &format, const QTextBlockFormat &paragraph)
{
    const QFont font = format.font();
    QString out;
    auto add = [&out](const char *name, const QString &value) {
        out += QLatin1String(name) + QLatin1Char(':') + value + QLatin1Char(';');
    };
    add("font-family", QLatin1Char('"') + font.family() + QLatin1Char('"'));
    add("font-size", QString::number(font.pointSizeF()) + QLatin1String("pt"));
    add("font-style", font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"));
    add("font-weight", weight(font.weight()));
    if (font.underline()) {
        add("text-underline-style", QStringLiteral("solid"));
        add("text-underline-type", QStringLiteral("single"));
    }
    if (font.strikeOut())
        add("text-line-through-type", QStringLiteral("single"));
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        add("color", rgb(format.foreground()));
    if (format.hasProperty(QTextFormat::BackgroundBrush))
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

// The run of equally formatted text that holds offset, and its attributes.
QString RichTextBoxAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount())
        return QString();
    const QTextBlock block = document()->findBlock(offset);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.position() <= offset && offset < fragment.position() + fragment.length()) {
            *startOffset = fragment.position();
            *endOffset = fragment.position() + fragment.length();
            return describe(fragment.charFormat(), block.blockFormat());
        }
    }
    // An empty paragraph, or the paragraph's end: the format typing there would get.
    *startOffset = *endOffset = offset;
    return describe(block.charFormat(), block.blockFormat());
}
