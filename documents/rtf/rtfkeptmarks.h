#pragma once

#include <QByteArray>
#include <vector>

namespace rtf {

// Kept RTF that sits between two characters of the text: bookmarks, comment ranges, hidden
// text and the like. A mark hangs on one character, before it or, at a paragraph's end,
// after it; it moves with that character and goes when the character is deleted.
struct KeptMark
{
    int at = 0;           // the document position of the character it hangs on
    bool after = false;   // written after the character rather than before it
    QByteArray bytes;
    // Where it is written: the position of the character it goes before.
    int written() const { return at + (after ? 1 : 0); }
};

// A document's marks in the order they are written. They are kept beside the text rather
// than in its formats: a format of their own for each mark would cost the document several
// hundred bytes a mark, and a file of bookmarks many times its size.
class KeptMarks
{
public:
    // Marks come in the order of the text; the reader adds them as it reads.
    void add(int at, bool after, QByteArray bytes);
    // Room for this many more, so that a paragraph of many marks takes no more than it needs.
    void reserveMore(size_t more);
    // Puts marks added out of order in place.
    void sort();
    const std::vector<KeptMark> &all() const { return m_marks; }
    bool isEmpty() const { return m_marks.empty(); }

    // The text changed as QTextDocument::contentsChange reports it: removed characters from
    // position from were replaced by added ones (as many of each for a change of format).
    // The marks on replaced characters stay while there is a character there; the others
    // go, and come back if undoing puts the same characters back where they were. A deletion
    // that undo takes back together with others (keys pressed one after another) loses them.
    void change(int from, int removed, int added, bool undoing);

private:
    // A mark whose character was deleted, with the change that deleted it and its place in it.
    struct Dropped
    {
        int from, removed, added, offset;
        int change;   // which change dropped it, counted from the first
        KeptMark mark;
    };
    void moveDropped(int from, int removed, int added);

    std::vector<KeptMark> m_marks;
    std::vector<Dropped> m_dropped;
    int m_changes = 0;
};

} // namespace rtf
