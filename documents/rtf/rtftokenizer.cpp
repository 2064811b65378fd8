#include "rtftokenizer.h"
#include "rtfbytes.h"

#include <array>
#include <algorithm>
#include <climits>

namespace rtf {

namespace {

inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isStructural(char c) { return c == '\\' || c == '{' || c == '}'; }

// Each byte's value as a hex digit, or -1.
constexpr auto kHexValue = [] {
    std::array<signed char, 256> v{};
    for (int c = 0; c < 256; ++c)
        v[size_t(c)] = c >= '0' && c <= '9' ? c - '0'
                     : c >= 'a' && c <= 'f' ? c - 'a' + 10
                     : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    return v;
}();

inline int hexValue(char c) { return kHexValue[static_cast<unsigned char>(c)]; }

class Scanner
{
public:
    Scanner(QByteArrayView data, TokenListener &l)
        : m_p(data.data()), m_end(data.data() + data.size()), m_l(l) {}

    void run()
    {
        while (m_p < m_end) {
            switch (*m_p) {
            case '{': m_l.groupStarts(skipRun('{')); break;
            case '}': m_l.groupEnds(skipRun('}')); break;
            case '\\':
                if (atHex()) {
                    text();
                } else {
                    ++m_p;
                    escape();
                }
                break;
            case '\r': case '\n': case '\0': ++m_p; break;
            default: text(); break;
            }
        }
    }

private:
    // Moves past the bytes equal to c from here on and says how many there were.
    qsizetype skipRun(char c)
    {
        const char *start = m_p;
#if defined(__SSE2__)
        const __m128i wanted = _mm_set1_epi8(c);
        while (m_end - m_p >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_p));
            const unsigned other = ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted))) & 0xFFFF;
            if (other) {
                m_p += __builtin_ctz(other);
                return m_p - start;
            }
            m_p += 16;
        }
#endif
        while (m_p < m_end && *m_p == c)
            ++m_p;
        return m_p - start;
    }

    bool atHex() const { return isHexEscape(m_p); }
    bool isHexEscape(const char *p) const
    {
        return m_end - p >= 4 && p[0] == '\\' && p[1] == '\'' && hexValue(p[2]) >= 0
            && hexValue(p[3]) >= 0;
    }

    // Plain bytes and the \'hh escapes among them, with the line ends between them left
    // out, go to the listener as one piece of text, decoded into a buffer.
    void text()
    {
        char *out = m_text.data();
        const char *p = m_p;
        for (;;) {
            // Room for one more block of plain bytes and one escape; else hand on what is kept.
            if (m_text.data() + m_text.size() - out < 17) {
                m_l.text(m_text.data(), out - m_text.data());
                out = m_text.data();
            }
            const qsizetype stop = copyPlain(p, out);
            p += stop;
            out += stop;
            if (stop == 16)
                continue;
            if (isHexEscape(p)) {
                *out++ = char(hexValue(p[2]) * 16 + hexValue(p[3]));
                p += 4;
            } else if (p < m_end && (*p == '\r' || *p == '\n' || *p == '\0')) {
                ++p;
            } else {
                break;
            }
        }
        m_p = p;
        if (out > m_text.data())
            m_l.text(m_text.data(), out - m_text.data());
    }

    // Copies the plain bytes from p to out, at most 16, and says how many there were.
    qsizetype copyPlain(const char *p, char *out) const
    {
        const qsizetype left = m_end - p;
#if defined(__SSE2__)
        if (left >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out), v);
            const unsigned mask = textStopMask(v);
            return mask ? __builtin_ctz(mask) : 16;
        }
#endif
        const qsizetype most = std::min<qsizetype>(left, 16);
        qsizetype n = 0;
        for (; n < most && !kTextStops[static_cast<unsigned char>(p[n])]; ++n)
            out[n] = p[n];
        return n;
    }

    void escape()
    {
        if (m_p >= m_end)
            return;
        const char c = *m_p;
        if (isLetter(c)) {
            controlWord();
        } else if (c == '\'') {
            ++m_p;
            invalidHex();
        } else {
            ++m_p;
            m_l.controlSymbol(c == '\r' ? '\n' : c);
        }
    }

    // Valid escapes are text; this one is dropped with the two characters it claims,
    // unless they are structure, and still counts as one character, as a \uN fallback would.
    void invalidHex()
    {
        for (int i = 0; i < 2 && m_p < m_end && !isStructural(*m_p); ++i)
            ++m_p;
        m_l.controlSymbol('\'');
    }

    void controlWord()
    {
        const char *name = m_p;
        while (m_p < m_end && isLetter(*m_p))
            ++m_p;
        const std::string_view word(name, std::min<qsizetype>(m_p - name, kMaxControlWord));
        bool negative = false;
        if (m_p + 1 < m_end && *m_p == '-' && isDigit(m_p[1])) {
            negative = true;
            ++m_p;
        }
        bool hasParam = false;
        long long value = 0;
        int digits = 0;
        while (m_p < m_end && isDigit(*m_p)) {
            // Digits beyond the cap are read but no longer change the value.
            if (digits++ < kMaxParameterDigits)
                value = value * 10 + (*m_p - '0');
            hasParam = true;
            ++m_p;
        }
        if (value > INT_MAX)
            value = INT_MAX;
        const int param = negative ? -int(value) : int(value);
        if (m_p < m_end && *m_p == ' ')
            ++m_p;
        if (word == "bin" && hasParam)
            binary(param);
        else
            m_l.controlWord(word, hasParam, param);
    }

    void binary(int length)
    {
        const qsizetype n = std::min<qsizetype>(std::max(length, 0), m_end - m_p);
        m_l.binary(m_p, n);
        m_p += n;
    }

    const char *m_p;
    const char *m_end;
    TokenListener &m_l;
    std::array<char, 4096> m_text;   // text with escapes, decoded
};

} // namespace

void tokenize(QByteArrayView data, TokenListener &listener)
{
    Scanner(data, listener).run();
}

} // namespace rtf
