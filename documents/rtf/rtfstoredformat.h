#pragma once

// A format the reader hands to the document. The document keeps its own copy of each
// distinct format with the hash worked out, while a format of ours is hashed again by every
// insert and is a second copy in memory; so once ours has gone in, the document's equal copy,
// fetched without a copy of its own, replaces it. The format of a bookmark, comment or other
// mark, which one character takes, is let go once that character has gone in (see
// Reader::insertRun).
namespace rtf {

template<typename Format>
struct StoredFormat
{
    Format format;
    bool once = false;    // a mark's: one character takes it
    bool fromDocument = false;

    template<typename Fetch>
    void adopt(Fetch stored)
    {
        if (fromDocument || once)
            return;
        fromDocument = true;
        const Format copy = stored();
        if (copy == format)
            format = copy;
    }
};

} // namespace rtf
