#include "rtfcharsets.h"

#include <QHash>
#include <algorithm>
#include <memory>

namespace rtf {

namespace {

struct CharsetEntry { int charset; int codePage; };

// \fcharset numbers are the font charsets of the Windows GDI. 0 is ANSI, code page 1252
// whatever \ansicpg says; 1 is the default charset and defers to the document's code page.
constexpr CharsetEntry kCharsets[] = {
    {0, 1252},   {1, 0},      {2, kSymbolCodePage}, {77, 10000}, {78, 10001}, {79, 10003},
    {80, 10008}, {81, 10002}, {83, 10005}, {84, 10004}, {85, 10006}, {86, 10081},
    {87, 10021}, {88, 10029}, {89, 10007}, {128, 932},  {129, 949},  {130, 1361},
    {134, 936},  {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255},
    {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {254, 437},
    {255, 850},
};

struct EncodingEntry { int codePage; const char *name; };

constexpr EncodingEntry kEncodings[] = {
    {437, "IBM437"},    {708, "ISO-8859-6"}, {737, "IBM737"},   {775, "IBM775"},
    {850, "IBM850"},    {852, "IBM852"},     {855, "IBM855"},   {857, "IBM857"},
    {860, "IBM860"},    {861, "IBM861"},     {862, "IBM862"},   {863, "IBM863"},
    {864, "IBM864"},    {865, "IBM865"},     {866, "IBM866"},   {869, "IBM869"},
    {874, "windows-874"}, {932, "windows-31j"}, {936, "GBK"},   {949, "windows-949"},
    {950, "windows-950"}, {1250, "windows-1250"}, {1251, "windows-1251"},
    {1252, "windows-1252"}, {1253, "windows-1253"}, {1254, "windows-1254"},
    {1255, "windows-1255"}, {1256, "windows-1256"}, {1257, "windows-1257"},
    {1258, "windows-1258"}, {1361, "johab"}, {10000, "macintosh"}, {10001, "Shift_JIS"},
    {10002, "Big5"}, {10003, "EUC-KR"}, {10004, "x-mac-arabic"}, {10005, "x-mac-hebrew"},
    {10006, "x-mac-greek"}, {10007, "x-mac-cyrillic"}, {10008, "GB2312"},
    {10029, "x-mac-centraleurroman"}, {10079, "x-mac-icelandic"}, {10081, "x-mac-turkish"},
    {20866, "KOI8-R"}, {21866, "KOI8-U"}, {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"},
    {28595, "ISO-8859-5"}, {28597, "ISO-8859-7"}, {28599, "ISO-8859-9"},
    {28605, "ISO-8859-15"},
};

} // namespace

int codePageForCharset(int charset)
{
    for (const auto &e : kCharsets) {
        if (e.charset == charset)
            return e.codePage;
    }
    return 0;
}

QByteArray encodingNameForCodePage(int codePage)
{
    for (const auto &e : kEncodings) {
        if (e.codePage == codePage)
            return QByteArray(e.name);
    }
    return {};
}

CodePage *CodePage::get(int codePage)
{
    // Per thread, because the double-byte decoder keeps state between calls.
    // A number we know no decoder for reads as 1252 and shares its page; a few such numbers
    // are remembered as names of that page, so the cache stays small whatever a file names.
    static constexpr qsizetype kMaxAliases = 64;
    thread_local QHash<int, std::shared_ptr<CodePage>> cache;
    thread_local qsizetype aliases = 0;
    auto it = cache.find(codePage);
    if (it != cache.end())
        return it->get();
    const bool known = codePage == kSymbolCodePage || !encodingNameForCodePage(codePage).isEmpty();
    const int key = known ? codePage : kDefaultCodePage;
    std::shared_ptr<CodePage> page = cache.value(key);
    if (!page) {
        page = std::shared_ptr<CodePage>(new CodePage(key));
        cache.insert(key, page);
    }
    if (!known && aliases < kMaxAliases) {
        cache.insert(codePage, page);
        ++aliases;
    }
    return page.get();
}

CodePage::CodePage(int number)
    : m_number(number)
{
    for (int b = 0; b < 0x80; ++b)
        m_single[b] = char16_t(b);
    if (number == kSymbolCodePage) {
        // Glyph numbers of a symbol font sit in the private-use area, as the fonts map them.
        for (int b = 0x20; b < 0x100; ++b)
            m_single[b] = char16_t(0xF000 + b);
        return;
    }
    m_name = encodingNameForCodePage(number);
    if (!m_name.isEmpty())
        m_decoder = QStringDecoder(m_name.constData());
    if (!m_decoder.isValid()) {
        m_number = kDefaultCodePage;
        m_name = "windows-1252";
        m_decoder = QStringDecoder(m_name.constData());
    }
    buildFromDecoder();
}

void CodePage::buildFromDecoder()
{
    for (int b = 0x80; b < 0x100; ++b) {
        QStringDecoder probe(m_name.constData());
        const char byte = char(b);
        const QString s = probe.decode(QByteArrayView(&byte, 1));
        if (s.isEmpty()) {
            m_lead[b] = true;
            m_doubleByte = true;
            m_single[b] = 0xFFFD;
        } else {
            m_single[b] = s.at(0).unicode();
        }
    }
}

void CodePage::appendPair(QString &out, unsigned char lead, unsigned char trail)
{
    const char bytes[2] = {char(lead), char(trail)};
    const QString s = m_decoder.decode(QByteArrayView(bytes, 2));
    // A stateful decoder must not carry a broken pair into the next character.
    m_decoder.resetState();
    out += s.isEmpty() ? QString(QChar(0xFFFD)) : s;
}

void CodePage::append(QString &out, QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (isLeadByte(b) && i + 1 < bytes.size())
            appendPair(out, b, static_cast<unsigned char>(bytes[++i]));
        else
            out.append(QChar(b < 0x80 ? char16_t(b) : single(b)));
    }
}

bool toWindows1252(char16_t c, unsigned char *byte)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        *byte = static_cast<unsigned char>(c);
        return true;
    }
    static constexpr char16_t high[32] = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
        0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    const auto *end = high + 32;
    const auto *it = std::find(high, end, c);
    if (c == 0 || it == end)
        return false;
    *byte = static_cast<unsigned char>(0x80 + (it - high));
    return true;
}

} // namespace rtf
