#pragma once

#include <QString>
#include <QStringDecoder>
#include <array>

// Character sets of RTF text: which code page a \fcharset or \ansicpg selects, and
// decoding of the bytes that \'hh and raw 8-bit text carry.
namespace rtf {

constexpr int kSymbolCodePage = 42;     // fonts whose bytes are glyph numbers, not text
constexpr int kDefaultCodePage = 1252;

// The code page a font's \fcharsetN selects; 0 when it defers to the document's.
int codePageForCharset(int charset);

// The decoder name for a code page; empty when we know none.
QByteArray encodingNameForCodePage(int codePage);

class CodePage
{
public:
    // One instance per code page and thread, built on first use; an unknown or
    // unavailable code page gives the one of 1252, so text never fails to decode.
    static CodePage *get(int codePage);

    int number() const { return m_number; }
    bool isDoubleByte() const { return m_doubleByte; }
    bool isLeadByte(unsigned char b) const { return m_lead[b]; }
    char16_t single(unsigned char b) const { return m_single[b]; }
    // The characters of the bytes 0x80 to 0xFF of a single-byte page.
    const char16_t *high() const { return m_single.data() + 0x80; }
    // A double-byte character; appends U+FFFD when the pair is not valid.
    void appendPair(QString &out, unsigned char lead, unsigned char trail);
    // Bytes of this page as characters; a lead byte at the very end stands alone.
    void append(QString &out, QByteArrayView bytes);

private:
    explicit CodePage(int number);
    void buildFromDecoder();

    int m_number;
    bool m_doubleByte = false;
    std::array<char16_t, 256> m_single{};
    std::array<bool, 256> m_lead{};
    QByteArray m_name;   // the decoder's own name() is not kept for every backend
    QStringDecoder m_decoder;
};

// Whether code page 1252 holds c, and its byte when it does.
bool toWindows1252(char16_t c, unsigned char *byte);

} // namespace rtf
