#include "rtftokenizer.h"
#include "rtfbytes.h"

#include <array>
#include <climits>
#include <cstring>

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
            case '{': ++m_p; m_l.groupStart(); break;
            case '}': ++m_p; m_l.groupEnd(); break;
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
    bool atLineEnd() const
    {
        return m_p < m_end && (*m_p == '\r' || *m_p == '\n' || *m_p == '\0');
    }
    bool atPlain() const
    {
        return m_p < m_end && !kTextStops[static_cast<unsigned char>(*m_p)];
    }
    bool atHex() const
    {
        return m_end - m_p >= 4 && m_p[0] == '\\' && m_p[1] == '\''
            && hexValue(m_p[2]) >= 0 && hexValue(m_p[3]) >= 0;
    }

    // Plain bytes and the \'hh escapes among them, with the line ends between them left
    // out, go to the listener as one piece of text. Text without escapes goes in place.
    void text()
    {
        const char *start = m_p;
        m_p = findTextStop(m_p, m_end);
        if (!atHex()) {
            m_l.text(start, m_p - start);
            return;
        }
        keep(start, m_p - start);
        for (;;) {
            if (atHex()) {
                keepByte(char(hexValue(m_p[2]) * 16 + hexValue(m_p[3])));
                m_p += 4;
            } else if (atLineEnd()) {
                ++m_p;
            } else if (atPlain()) {
                start = m_p;
                m_p = findTextStop(m_p, m_end);
                keep(start, m_p - start);
            } else {
                break;
            }
        }
        handOn();
    }

    // The text being put together goes to the listener in pieces of at most a buffer.
    void keepByte(char b)
    {
        if (m_kept == qsizetype(m_text.size()))
            handOn();
        m_text[size_t(m_kept++)] = b;
    }

    void keep(const char *from, qsizetype n)
    {
        while (n > 0) {
            if (m_kept == qsizetype(m_text.size()))
                handOn();
            const qsizetype k = std::min(n, qsizetype(m_text.size()) - m_kept);
            std::memcpy(m_text.data() + m_kept, from, size_t(k));
            m_kept += k;
            from += k;
            n -= k;
        }
    }

    void handOn()
    {
        if (m_kept > 0)
            m_l.text(m_text.data(), m_kept);
        m_kept = 0;
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
    qsizetype m_kept = 0;
};

} // namespace

void tokenize(QByteArrayView data, TokenListener &listener)
{
    Scanner(data, listener).run();
}

} // namespace rtf
