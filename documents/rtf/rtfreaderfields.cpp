// The reader's fields: hyperlinks become anchors on the field's result; a SYMBOL field
// with no result shows the character it names, and keeps its instruction.
#include "rtfreader.h"
#include "rtfcharsets.h"
#include "rtfkept.h"

#include <QRegularExpression>

namespace rtf {

void Reader::finishField()
{
    static const QRegularExpression link(
        QStringLiteral(R"re(^\s*HYPERLINK\s+(?:\\l\s+)?"?([^"\s]*)"?(?:\s+\\l\s+"([^"]*)")?)re"));
    const auto m = link.match(m_fieldInstruction);
    if (!m.hasMatch()) {
        readSymbol();
        return;
    }
    QString target = m.captured(1);
    if (!m.captured(2).isEmpty())
        target += QLatin1Char('#') + m.captured(2);
    else if (m_fieldInstruction.contains(QLatin1String("\\l")) && !target.startsWith('#'))
        target.prepend(QLatin1Char('#'));
    m_hrefs.append(target);
    top().chr.href = int(m_hrefs.size() - 1);
}

// SYMBOL code [\f font] [\s points] [\u | \a | \h | \j]: the code is a character of the
// font, in the ANSI code page unless \u makes it Unicode.
void Reader::readSymbol()
{
    static const QRegularExpression symbol(
        QStringLiteral(R"re(^\s*SYMBOL\s+(0[xX][0-9A-Fa-f]+|\d+)(.*)$)re"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression font(QStringLiteral(R"re(\\f\s*(?:"([^"]*)"|(\S+)))re"));
    static const QRegularExpression size(QStringLiteral(R"re(\\s\s*(\d+(?:\.\d+)?))re"));
    const auto m = symbol.match(m_fieldInstruction);
    if (!m.hasMatch())
        return;
    bool ok = false;
    const QString code = m.captured(1);
    const uint value = code.startsWith(u"0x", Qt::CaseInsensitive) ? code.mid(2).toUInt(&ok, 16)
                                                                   : code.toUInt(&ok);
    if (!ok || value == 0 || value > 0x10FFFF)
        return;
    const QString switches = m.captured(2);
    Symbol s;
    s.instruction = m_fieldInstruction.trimmed();
    const char32_t c = value >= 0x80 && value < 0xA0 && !switches.contains(u"\\u")
        ? CodePage::get(1252)->single((unsigned char)value) : char32_t(value);
    s.text = QString::fromUcs4(&c, 1);
    if (const auto f = font.match(switches); f.hasMatch())
        s.family = f.captured(1).isEmpty() ? f.captured(2) : f.captured(1);
    if (const auto z = size.match(switches); z.hasMatch())
        s.points = std::clamp(z.captured(1).toDouble(), 1.0, 1638.0);
    s.at = m_para.text.size();
    m_symbol = s;
}

// At the field's end: the symbol goes in where the field gave no result of its own.
void Reader::finishSymbol()
{
    Symbol s = std::exchange(m_symbol, {});
    const Dest d = top().dest;
    if (s.text.isEmpty() || m_para.text.size() != s.at || top().chr.hidden
        || (d != Dest::Body && d != Dest::FieldResult))
        return;
    flushHidden();
    kept();
    QTextCharFormat f = m_formats[size_t(formatIndex(top().chr))].format;
    if (!s.family.isEmpty())
        f.setFontFamilies({s.family});
    if (s.points > 0)
        f.setFontPointSize(s.points);
    f.setProperty(KeptField, s.instruction);
    if (!m_pendingAnchor.isEmpty())
        addMark(s.at, false, std::exchange(m_pendingAnchor, {}));
    m_formats.push_back({f, true});   // one symbol's: let go once it is in
    auto &runs = m_para.runs;
    while (!runs.empty() && runs.back().start >= s.at)
        runs.pop_back();
    runs.push_back({int(s.at), int(m_formats.size() - 1)});
    m_para.text += s.text;
    m_runChecked = false;
    m_runFormat = -1;
}

} // namespace rtf
