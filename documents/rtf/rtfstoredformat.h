#pragma once

// A format the reader hands to the document more than once. The document keeps its own
// copy of each distinct format with the hash worked out, while a format of ours is hashed
// again by every insert; so once ours has gone in, the document's equal copy replaces it.
namespace rtf {

template<typename Format>
struct StoredFormat
{
    Format format;
    bool fromDocument = false;

    template<typename Fetch>
    void adopt(Fetch stored)
    {
        if (fromDocument)
            return;
        fromDocument = true;
        const Format copy = stored();
        if (copy == format)
            format = copy;
    }
};

} // namespace rtf
