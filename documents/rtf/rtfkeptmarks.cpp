#include "rtfkeptmarks.h"

#include <algorithm>
#include <iterator>

namespace rtf {

namespace {

// Marks are written in the order of the places they are written at; at one place, those
// after the character before it come first.
qint64 order(const KeptMark &m)
{
    return qint64(m.written()) * 2 + (m.after ? 0 : 1);
}

bool before(const KeptMark &a, const KeptMark &b)
{
    return order(a) < order(b);
}

} // namespace

void KeptMarks::add(int at, bool after, QByteArray bytes)
{
    m_marks.push_back({at, after, std::move(bytes)});
}

void KeptMarks::reserveMore(size_t more)
{
    const size_t needed = m_marks.size() + more;
    if (needed > m_marks.capacity())
        m_marks.reserve(std::max(needed, m_marks.capacity() * 3 / 2));
}

void KeptMarks::sort()
{
    std::stable_sort(m_marks.begin(), m_marks.end(), before);
}

void KeptMarks::change(int from, int removed, int added, bool undoing)
{
    std::vector<KeptMark> revived;
    if (undoing) {
        // Undoing a deletion is the same change the other way round, at the same place; of
        // two such deletions, the later is the one undone.
        int latest = -1;
        for (const Dropped &d : m_dropped)
            if (d.from == from && d.removed == added && d.added == removed)
                latest = std::max(latest, d.change);
        const auto undone = [&](const Dropped &d) { return d.change == latest; };
        for (Dropped &d : m_dropped) {
            if (undone(d)) {
                d.mark.at = from + d.offset;
                revived.push_back(std::move(d.mark));
            }
        }
        m_dropped.erase(std::remove_if(m_dropped.begin(), m_dropped.end(), undone), m_dropped.end());
    }
    moveDropped(from, removed, added);
    // Marks are in the order of their characters: those before the change stay as they are.
    auto first = std::lower_bound(m_marks.begin(), m_marks.end(), from,
                                  [](const KeptMark &m, int position) { return m.at < position; });
    auto kept = first;
    for (auto it = first; it != m_marks.end(); ++it) {
        if (it->at >= from + removed) {
            it->at += added - removed;
        } else if (it->at - from >= added) {
            m_dropped.push_back({from, removed, added, it->at - from, m_changes, std::move(*it)});
            continue;
        }
        if (kept != it)
            *kept = std::move(*it);
        ++kept;
    }
    m_marks.erase(kept, m_marks.end());
    ++m_changes;
    // The marks that come back are in order already, as those that stayed are.
    const auto middle = std::ptrdiff_t(m_marks.size());
    m_marks.insert(m_marks.end(), std::make_move_iterator(revived.begin()),
                   std::make_move_iterator(revived.end()));
    std::inplace_merge(m_marks.begin(), m_marks.begin() + middle, m_marks.end(), before);
}

// A deleted mark remembers the place its change happened at; later changes move that place
// as they move characters, and a change that takes the place away forgets the mark.
void KeptMarks::moveDropped(int from, int removed, int added)
{
    auto kept = m_dropped.begin();
    for (auto it = m_dropped.begin(); it != m_dropped.end(); ++it) {
        if (it->from > from && it->from < from + removed)
            continue;
        if (it->from > from)
            it->from += added - removed;
        if (kept != it)
            *kept = std::move(*it);
        ++kept;
    }
    m_dropped.erase(kept, m_dropped.end());
}

} // namespace rtf
