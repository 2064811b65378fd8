#pragma once

#include <utility>

// A format the reader hands to the document more than once. The document keeps its own
// copy of each distinct format with the hash worked out, while a format of ours is hashed
// again by every insert; so once ours has gone in twice, the document's equal copy
// replaces it. A format used once is not fetched, since the fetched copy would be a second
// one in memory; and the format of a bookmark, comment or other mark, which one character
// takes, is let go once that character has gone in (see Reader::insertRun).
namespace rtf {

template<typename Format>
struct StoredFormat
{
    Format format;
    bool once = false;    // a mark's: one character takes it
    bool fromDocument = false;
    bool used = false;

    template<typename Fetch>
    void adopt(Fetch stored)
    {
        if (fromDocument || once)
            return;
        if (!std::exchange(used, true))
            return;
        fromDocument = true;
        const Format copy = stored();
        if (copy == format)
            format = copy;
    }
};

} // namespace rtf
