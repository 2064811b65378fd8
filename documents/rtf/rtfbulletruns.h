#pragma once

#include <QTextListFormat>

class QTextBlock;
class QTextList;

namespace rtf {

// Qt marks every item of a list for layout again each time one item joins it, so a list
// costs time in the square of its length to build. A run of bullets draws the same in one
// list or in several, so it is built as lists of at most kBulletRunItems items each.
// (Numbered lists stay whole: Qt numbers an item by its place in its list.)
constexpr int kBulletRunItems = 64;

class BulletRun
{
public:
    // A run that continues list, or, when it is null or full, starts lists of format.
    BulletRun(const QTextListFormat &format, QTextList *list = nullptr);
    // Makes block an item of the run.
    void add(const QTextBlock &block);
    QTextList *list() const { return m_list; }
    // Whether list holds as many items as a list of a run takes.
    static bool isFull(const QTextList *list);

private:
    QTextListFormat m_format;
    QTextList *m_list = nullptr;
};

} // namespace rtf
