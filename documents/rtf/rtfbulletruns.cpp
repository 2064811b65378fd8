#include "rtfbulletruns.h"

#include <QTextCursor>
#include <QTextList>

namespace rtf {

BulletRun::BulletRun(const QTextListFormat &format, QTextList *list)
    : m_format(format), m_list(list)
{
}

bool BulletRun::isFull(const QTextList *list)
{
    return list->count() >= kBulletRunItems;
}

void BulletRun::add(const QTextBlock &block)
{
    if (m_list && !isFull(m_list))
        m_list->add(block);
    else
        m_list = QTextCursor(block).createList(m_format);
}

} // namespace rtf
