#pragma once

class QTextBlock;
class QTextDocument;
class QTextFrame;

// Background layout of a big document in slices short enough that the window keeps
// answering (layoutpacing.cpp).
namespace richtext {

// The first shown paragraph the layout has not reached yet (the layout works from the top
// down); invalid once the whole document is laid out.
QTextBlock layoutFrontier(const QTextDocument *doc);

// The outermost frame (a table) holding the block; null for a paragraph of the body.
QTextFrame *outermostFrame(const QTextBlock &block);

// Lays the document out further for about `milliseconds`, in steps of a few thousand pixels.
void layOutFurther(QTextDocument *doc, int milliseconds);

} // namespace richtext
