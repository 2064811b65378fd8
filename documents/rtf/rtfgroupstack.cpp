#include "rtfreader.h"

namespace rtf {

bool operator==(const ParaProps &a, const ParaProps &b)
{
    return a.align == b.align && a.rtl == b.rtl && a.tableDepth == b.tableDepth
        && a.left == b.left && a.right == b.right && a.first == b.first && a.before == b.before
        && a.after == b.after && a.lineSpacing == b.lineSpacing
        && a.listOverride == b.listOverride && a.listLevel == b.listLevel
        && a.oldStyle == b.oldStyle && a.oldLevel == b.oldLevel && a.oldNumber == b.oldNumber
        && a.style == b.style && a.outline == b.outline;
}

bool operator==(const GroupState &a, const GroupState &b)
{
    return a.dest == b.dest && a.ownsDest == b.ownsDest && a.chr == b.chr && a.para == b.para
        && a.charSet == b.charSet && a.paraSet == b.paraSet && a.unicodeSkip == b.unicodeSkip
        && a.styleIndex == b.styleIndex && a.assocRightToLeft == b.assocRightToLeft;
}

size_t qHash(const GroupState &s, size_t seed)
{
    // The paragraph's hash leaves out its table depth and numbering start; equal states
    // still compare them.
    const quint64 flags = quint64(s.dest) | quint64(s.ownsDest) << 8
        | quint64(s.assocRightToLeft) << 9 | quint64(quint16(s.unicodeSkip)) << 16
        | quint64(quint32(s.styleIndex)) << 32;
    const quint64 set = quint64(s.charSet) | quint64(s.paraSet) << 32;
    return qHashMulti(seed, s.chr, BlockKey{s.para}, flags, set);
}

void GroupStack::push()
{
    // Sibling groups save the same state one after the other: the last one released is
    // still at the end for the next.
    if (m_states.empty() || !(m_states.back().state == m_top)) {
        const auto found = m_index.constFind(m_top);
        if (found != m_index.cend()) {
            m_saved.push_back(*found);
        } else {
            if (!m_states.empty() && m_states.back().groups == 0)
                dropLast();
            m_saved.push_back(int(m_states.size()));
            m_states.push_back({m_top});
            m_index.insert(m_top, m_saved.back());
        }
    } else {
        m_saved.push_back(int(m_states.size()) - 1);
    }
    ++m_states[size_t(m_saved.back())].groups;
}

GroupState GroupStack::pop()
{
    const int at = m_saved.back();
    m_saved.pop_back();
    GroupState ended = std::exchange(m_top, m_states[size_t(at)].state);
    // States come in the order groups start, so those the deeper groups saved are the last;
    // no open group goes back to them now. The state released last stays for the next group.
    if (--m_states[size_t(at)].groups == 0) {
        while (int(m_states.size()) - 1 > at && m_states.back().groups == 0)
            dropLast();
    }
    return ended;
}

void GroupStack::dropLast()
{
    const auto found = m_index.constFind(m_states.back().state);
    if (found != m_index.cend() && *found == int(m_states.size()) - 1)
        m_index.erase(found);
    m_states.pop_back();
}

// A change can make two states equal: the later one is found, the earlier still serves the
// groups that saved it.
void GroupStack::reindex()
{
    m_index.clear();
    for (size_t i = 0; i < m_states.size(); ++i)
        m_index.insert(m_states[i].state, int(i));
}

} // namespace rtf
