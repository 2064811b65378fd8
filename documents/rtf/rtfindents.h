#pragma once

class QTextBlock;

namespace rtf {

// A paragraph's indents in twips as RTF gives them: a list item's left indent counts its
// list's indent, and its first line hangs by the marker's width.
struct Indents
{
    int left = 0, right = 0, first = 0;
};

Indents paragraphIndents(const QTextBlock &block);

// The width of a list marker's place before an item's text.
constexpr int kListHangTwips = 360;

} // namespace rtf
