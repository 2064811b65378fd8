#include "rtfkeptrecorder.h"

#include "rtfcharsets.h"

#include <QHash>

namespace rtf {

namespace {

QByteArray name(std::string_view w) { return QByteArray(w.data(), qsizetype(w.size())); }

// The words kept outside the text, and the words inside kept groups whose parameter is a
// font or colour number.
const QHash<QByteArray, KeptWord> &keptWords()
{
    static const QHash<QByteArray, KeptWord> words = [] {
        QHash<QByteArray, KeptWord> h;
        for (const char *w : {"paperw", "paperh", "psz", "margl", "margr", "margt", "margb",
                              "gutter", "gutterprl", "margmirror", "landscape", "facingp",
                              "deftab", "widowctrl", "ftnbj", "ftntj", "ftnstart", "ftnrstpg",
                              "ftnrestart", "ftnrstcont", "endnotes", "enddoc", "aendnotes",
                              "aenddoc", "fet", "ftnnar", "ftnnalc", "ftnnauc", "ftnnrlc",
                              "ftnnruc", "aftnnar", "aftnnalc", "aftnnauc", "aftnnrlc",
                              "aftnnruc", "aftnstart", "aftnrestart", "aftnrstcont",
                              "pgnstart", "hyphauto", "hyphhotz", "hyphconsec", "viewkind",
                              "viewscale", "viewzk", "dntblnsbdb", "htmautsp", "notabind"})
            h.insert(w, KeptWord::Document);
        for (const char *w : {"sectd", "sbknone", "sbkcol", "sbkpage", "sbkeven", "sbkodd",
                              "cols", "colsx", "colno", "colsr", "colw", "linebetcol",
                              "pgwsxn", "pghsxn", "marglsxn", "margrsxn", "margtsxn",
                              "margbsxn", "guttersxn", "lndscpsxn", "titlepg", "headery",
                              "footery", "pgnstarts", "pgncont", "pgnrestart", "pgndec",
                              "pgnucrm", "pgnlcrm", "pgnucltr", "pgnlcltr", "pgnx", "pgny",
                              "vertalt", "vertalb", "vertalc", "vertalj", "endnhere",
                              "sftnbj", "sftntj", "sftnstart", "sftnrstpg", "sftnrestart",
                              "sftnrstcont", "saftnstart", "saftnrestart", "saftnrstcont",
                              "linex", "linemod", "linestarts", "linerestart", "lineppage",
                              "linecont", "ltrsect", "rtlsect", "pgbrdrhead", "pgbrdrfoot"})
            h.insert(w, KeptWord::Section);
        h.insert("pagebb", KeptWord::PageBreakBefore);
        for (const char *w : {"sftnnar", "sftnnalc", "sftnnauc", "sftnnrlc", "sftnnruc",
                              "saftnnar", "saftnnalc", "saftnnauc", "saftnnrlc", "saftnnruc",
                              "sectunlocked", "stextflow", "horzsect", "vertsect"})
            h.insert(w, KeptWord::Section);
        h.insert("chatn", KeptWord::Anchor);
        h.insert("chftn", KeptWord::NoteMark);
        for (const char *w : {"f", "af", "pnf"})
            h.insert(w, KeptWord::FontRef);
        for (const char *w : {"cf", "cb", "chcbpat", "chcfpat", "highlight", "cbpat", "cfpat",
                              "brdrcf", "clcbpat", "clcfpat", "trcbpat", "trcfpat", "ulc"})
            h.insert(w, KeptWord::ColorRef);
        return h;
    }();
    return words;
}

} // namespace

KeptWord keptWord(std::string_view w)
{
    return keptWords().value(QByteArray::fromRawData(w.data(), qsizetype(w.size())),
                             KeptWord::None);
}

void KeptRecorder::begin(std::string_view word, bool star, int font, int defaultFont)
{
    beginGroup(font, defaultFont);
    if (star)
        m_out.append("\\*");
    m_out.append('\\').append(name(word));
    m_afterWord = true;
}

void KeptRecorder::beginGroup(int font, int defaultFont)
{
    m_out.clear();
    m_out.append('{');
    m_fonts.assign(1, font);
    m_defaultFont = defaultFont;
    m_afterWord = false;
    m_lead = 0;
}

void KeptRecorder::groupStart()
{
    m_fonts.push_back(font());
    m_out.append('{');
    m_afterWord = false;
    m_lead = 0;
}

void KeptRecorder::groupEnd()
{
    if (m_fonts.empty())
        return;
    m_fonts.pop_back();
    m_out.append('}');
    m_afterWord = false;
    m_lead = 0;
}

void KeptRecorder::reference(char kind, int number)
{
    m_out.append('\x01').append(kind).append(QByteArray::number(number)).append('\x02');
}

void KeptRecorder::word(std::string_view w, bool hasParam, int param)
{
    m_lead = 0;
    // The writer declares one \uc for the document and gives each \u one fallback.
    if (w == "uc")
        return;
    m_out.append('\\').append(name(w));
    m_afterWord = true;
    if (!hasParam)
        return;
    const KeptWord kind = keptWord(w);
    if (kind == KeptWord::FontRef) {
        reference('F', param);
        if (w == "f" && !m_fonts.empty())
            m_fonts.back() = param;
    } else if (kind == KeptWord::ColorRef) {
        reference('C', param);
    } else {
        m_out.append(QByteArray::number(param));
    }
}

void KeptRecorder::symbol(char c)
{
    m_lead = 0;
    switch (c) {
    case '\\': case '{': case '}': character(char16_t(c)); return;
    case '\'': return;   // an invalid escape: nothing is kept of it
    case '\n': m_out.append("\\par"); m_afterWord = true; return;
    case '\t': m_out.append("\\tab"); m_afterWord = true; return;
    default:
        // A backslash before a control character or a byte outside ASCII means nothing to
        // a reader; written back raw, the byte would read differently the next time.
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f)
            return;
        m_out.append('\\').append(c);
        m_afterWord = false;
        return;
    }
}

void KeptRecorder::delimit()
{
    if (m_afterWord)
        m_out.append(' ');
    m_afterWord = false;
}

void KeptRecorder::character(char16_t c)
{
    static const char hexDigits[] = "0123456789abcdef";
    if (c >= 0x20 && c < 0x7f) {
        delimit();
        if (c == '\\' || c == '{' || c == '}')
            m_out.append('\\');
        m_out.append(char(c));
        return;
    }
    const char *named = c == '\t' ? "\\tab" : c == 0x2028 ? "\\line"
                      : c == 0x00A0 ? "\\~" : c == 0x00AD ? "\\-" : c == 0x2011 ? "\\_" : nullptr;
    if (named) {
        m_out.append(named);
        m_afterWord = named[1] != '~' && named[1] != '-' && named[1] != '_';
        return;
    }
    if (c < 0x20)
        return;
    unsigned char b = 0;
    delimit();
    if (toWindows1252(c, &b)) {
        m_out.append("\\'").append(hexDigits[b >> 4]).append(hexDigits[b & 15]);
        return;
    }
    m_out.append("\\u").append(QByteArray::number(int(int16_t(c)))).append("\\'3f");
}

void KeptRecorder::text(const char *data, qsizetype length, CodePage *cp)
{
    QString decoded;
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (m_lead) {
            cp->appendPair(decoded, m_lead, b);
            m_lead = 0;
        } else if (b >= 0x80 && cp->isDoubleByte() && cp->isLeadByte(b)) {
            m_lead = b;
        } else {
            decoded.append(QChar(b < 0x80 ? char16_t(b) : cp->single(b)));
        }
    }
    for (const QChar c : decoded)
        character(c.unicode());
}

// \bin data is written as the hexadecimal it stands for, which every reader takes in
// a picture or object, and which keeps kept RTF free of raw bytes. \bin0 writes nothing,
// not even the space that would end the word before it.
void KeptRecorder::binary(const char *data, qsizetype length)
{
    if (length <= 0)
        return;
    delimit();
    m_out.append(QByteArray::fromRawData(data, length).toHex());
}

QByteArray KeptRecorder::take()
{
    while (!m_fonts.empty())
        groupEnd();
    QByteArray out;
    out.swap(m_out);
    return out;
}

} // namespace rtf
