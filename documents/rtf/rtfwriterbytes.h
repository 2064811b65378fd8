#pragma once

#include <QByteArray>
#include <QStringView>

#include <algorithm>

// Small pieces of output that the writer's files share.
namespace rtf {

// Appends v in decimal: the writer's hottest path, without QByteArray::number's allocation.
inline void appendInt(QByteArray &out, long long v)
{
    char buf[24];
    char *p = buf + sizeof buf;
    const bool negative = v < 0;
    unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(v) : v;
    do {
        *--p = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (negative)
        *--p = '-';
    out.append(p, buf + sizeof buf - p);
}

// Appends v (0 to 255) as two lower-case hex digits.
inline void appendHexByte(QByteArray &out, int v)
{
    static const char digits[] = "0123456789abcdef";
    out.append(digits[(v >> 4) & 15]);
    out.append(digits[v & 15]);
}

// Whether writeText writes anything of text: it drops control characters but tabs and
// line breaks, object replacement characters and paragraph separators.
inline bool writesText(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u == '\t' || u == '\n' || (u >= 0x20 && u != 0xFFFC && u != 0x2029);
    });
}

} // namespace rtf
