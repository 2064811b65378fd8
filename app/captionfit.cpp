#include "captionfit.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace captionfit {

namespace {
QString captionOf(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<const QPushButton *>(control))
        return button->text();
    return QString();
}

QList<QWidget *> captioned(QWidget *container)
{
    QList<QWidget *> result;
    for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLabel *>(child) || qobject_cast<QPushButton *>(child))
            result.append(child);
    }
    return result;
}

bool allFit(const QList<QWidget *> &controls)
{
    return std::all_of(controls.begin(), controls.end(), captionFits);
}

// Grows the control by what its caption lacks, keeping its top left corner.
void grow(QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    const QRect inner = captionRect(control);
    const int wide = metrics.horizontalAdvance(captionOf(control)) - inner.width();
    const int high = metrics.height() - inner.height();
    control->resize(control->width() + std::max(0, wide), control->height() + std::max(0, high));
}
} // namespace

QRect captionRect(const QWidget *control)
{
    auto *button = qobject_cast<const QPushButton *>(control);
    if (!button)
        return control->contentsRect();
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (button->autoDefault() || button->isDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
}

bool captionFits(const QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    const QRect inner = captionRect(control);
    return metrics.horizontalAdvance(captionOf(control)) <= inner.width()
           && metrics.height() <= inner.height();
}

QList<QWidget *> fitCaptions(QWidget *container)
{
    const QList<QWidget *> controls = captioned(container);
    QFont font = container->font();
    double points = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    for (; points > smallestReadablePoints; points -= 0.5) {
        font.setPointSizeF(points);
        container->setFont(font);
        if (allFit(controls))
            return {};
    }
    font.setPointSizeF(smallestReadablePoints);
    container->setFont(font);
    QList<QWidget *> grown;
    for (QWidget *control : controls) {
        if (!captionFits(control)) {
            grow(control);
            grown.append(control);
        }
    }
    return grown;
}

} // namespace captionfit
