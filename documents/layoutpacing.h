#pragma once

class QTextBlock;
class QTextDocument;

// Background layout of a big document in slices short enough that the window keeps
// answering (layoutpacing.cpp).
namespace richtext {

// The first shown paragraph the layout has not reached yet (the layout works from the top
// down); invalid once the whole document is laid out.
QTextBlock layoutFrontier(const QTextDocument *doc);

// Lays the document out further for about `milliseconds`, in steps of a few thousand pixels.
void layOutFurther(QTextDocument *doc, int milliseconds);

} // namespace richtext
