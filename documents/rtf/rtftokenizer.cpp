#include "rtftokenizer.h"

#include <array>
#include <climits>

namespace rtf {

namespace {

inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isStructural(char c) { return c == '\\' || c == '{' || c == '}'; }

// The bytes that end a piece of plain text.
constexpr auto kTextStops = [] {
    std::array<bool, 256> stops{};
    for (const unsigned char c : {'{', '}', '\\', '\r', '\n', '\0'})
        stops[c] = true;
    return stops;
}();

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

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
            case '\\': ++m_p; escape(); break;
            case '\r': case '\n': case '\0': ++m_p; break;
            default: plainText(); break;
            }
        }
    }

private:
    void plainText()
    {
        const char *start = m_p;
        while (m_p < m_end && !kTextStops[static_cast<unsigned char>(*m_p)])
            ++m_p;
        m_l.text(start, m_p - start);
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
            hex();
        } else {
            ++m_p;
            m_l.controlSymbol(c == '\r' ? '\n' : c);
        }
    }

    void hex()
    {
        const bool two = m_end - m_p >= 2;
        const int hi = two ? hexValue(m_p[0]) : -1;
        const int lo = two ? hexValue(m_p[1]) : -1;
        if (hi < 0 || lo < 0) {
            // An invalid escape is dropped with the two characters it claims, unless they
            // are structure; it still counts as one character, as a \uN fallback would.
            for (int i = 0; i < 2 && m_p < m_end && !isStructural(*m_p); ++i)
                ++m_p;
            m_l.controlSymbol('\'');
            return;
        }
        m_p += 2;
        m_l.hexByte(static_cast<unsigned char>(hi * 16 + lo));
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
};

} // namespace

void tokenize(QByteArrayView data, TokenListener &listener)
{
    Scanner(data, listener).run();
}

} // namespace rtf
