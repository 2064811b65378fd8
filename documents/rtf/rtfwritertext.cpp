// The writer's text: plain ASCII as it is, the rest as symbols, code-page or Unicode escapes.
#include "rtfwriter.h"

#include "rtfcharsets.h"
#include "rtfwriterbytes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rtf {

namespace {

// Says how many of the next (up to) eight characters are printable ASCII that RTF takes
// as it is, and has written them to out as bytes; out needs room for eight.
qsizetype copyPlainAscii(const char16_t *p, qsizetype length, char *out)
{
#if defined(__SSE2__)
    if (length >= 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        // Signed compares: characters from U+8000 up count as below 0x20.
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmplt_epi16(v, _mm_set1_epi16(0x20)),
                         _mm_cmpgt_epi16(v, _mm_set1_epi16(0x7f))),
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('\\')),
                         _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('{')),
                                      _mm_cmpeq_epi16(v, _mm_set1_epi16('}')))));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(v, v));
        const unsigned mask = unsigned(_mm_movemask_epi8(special));
        return mask ? __builtin_ctz(mask) / 2 : 8;
    }
#endif
    (void)p;
    (void)length;
    (void)out;
    return 0;
}

// Writes what a character that is not plain ASCII text becomes (at most 16 bytes) and
// says how many bytes that is; -1 when only a Unicode escape can carry it.
qsizetype escapeCharacter(char16_t c, char *out)
{
    static const char hexDigits[] = "0123456789abcdef";
    qsizetype n = 0;
    if (c >= 0x20 && c < 0x80) {
        if (c == '\\' || c == '{' || c == '}')
            out[n++] = '\\';
        out[n++] = char(c);
        return n;
    }
    const char *word = nullptr;
    switch (c) {
    case '\t': word = "\\tab "; break;
    case '\n': case 0x2028: word = "\\line "; break;
    case 0x00A0: word = "\\~"; break;
    case 0x00AD: word = "\\-"; break;
    case 0x2011: word = "\\_"; break;
    default: break;
    }
    unsigned char b = 0;
    if (word) {
        while (*word)
            out[n++] = *word++;
    } else if (c < 0x20 || c == 0xFFFC || c == 0x2029) {
        return 0;
    } else if (toWindows1252(c, &b)) {
        out[n++] = '\\';
        out[n++] = '\'';
        out[n++] = hexDigits[b >> 4];
        out[n++] = hexDigits[b & 15];
    } else {
        return -1;
    }
    return n;
}

} // namespace

void Writer::writeUnicode(char16_t c)
{
    m_out.append("\\u");
    appendInt(m_out, static_cast<int16_t>(c));
    // The fallback as an escape: some readers take a bare "?" after the number
    // for part of the control word and then skip the next character instead.
    m_out.append("\\'3f");
}

void Writer::writeText(QStringView text)
{
    // Characters go through a small buffer: one append per few thousand bytes, not per byte.
    char buf[4096];
    qsizetype n = 0;
    const char16_t *p = text.utf16();
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        if (n > qsizetype(sizeof buf) - 16) {
            m_out.append(buf, n);
            n = 0;
        }
        const qsizetype plain = copyPlainAscii(p + i, length - i, buf + n);
        if (plain > 0) {
            n += plain;
            i += plain - 1;
            continue;
        }
        const qsizetype escaped = escapeCharacter(p[i], buf + n);
        if (escaped >= 0) {
            n += escaped;
            continue;
        }
        m_out.append(buf, n);
        n = 0;
        writeUnicode(p[i]);
    }
    m_out.append(buf, n);
}

// A link's characters beyond ASCII go as Unicode escapes: a reader takes the field's bytes
// in the code page of whatever font surrounds the field, which need not be the one the
// link was written in.
void Writer::writeLinkText(QStringView text)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 0x80)
            continue;
        writeText(text.sliced(from, i - from));
        writeUnicode(text[i].unicode());
        from = i + 1;
    }
    writeText(text.sliced(from));
}

} // namespace rtf
