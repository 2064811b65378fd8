#pragma once

#include <QList>
#include <QRect>

class QWidget;

// Captions that fit their controls. The strip's and the panel's controls keep their
// design positions and sizes, so it is the font that gives way: each container gets the
// largest size of the platform's font, no larger than the platform's own, at which every
// caption in it is whole. A control whose caption does not fit even at the smallest
// readable size grows until it does.
namespace captionfit {

constexpr double smallestReadablePoints = 7.0;

// Where the control draws its caption: a label's contents rectangle, a push button's
// contents as the style lays them out (inside its bevel).
QRect captionRect(const QWidget *control);
bool captionFits(const QWidget *control);

// Fits every label and push button that is a direct child of `container`; returns the
// controls that had to grow.
QList<QWidget *> fitCaptions(QWidget *container);

} // namespace captionfit
