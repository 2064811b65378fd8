// The reader's control words and the destinations that are not body text.
#include "rtfreader.h"

#include <QImage>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

namespace rtf {

void Reader::applyOp(Op op, const ControlWord &w, bool hasParam, int value)
{
    const Dest d = top().dest;
    switch (op) {
    case Op::Ansi: m_docCodePage = 1252; m_cpCached = nullptr; return;
    case Op::Mac: m_docCodePage = 10000; m_cpCached = nullptr; return;
    case Op::Pc: m_docCodePage = 437; m_cpCached = nullptr; return;
    case Op::Pca: m_docCodePage = 850; m_cpCached = nullptr; return;
    case Op::AnsiCodePage: m_docCodePage = value; m_cpCached = nullptr; return;
    case Op::DefaultFont:
        m_defaultFont = value;
        if (top().chr.font < 0)
            top().chr.font = value;
        return;
    case Op::UnicodeSkip: top().unicodeSkip = std::clamp(value, 0, 16); return;
    case Op::Unicode:
        appendChar(char16_t(value < 0 ? value + 65536 : value));
        m_skip = top().unicodeSkip;
        return;
    default: break;
    }
    if (applyTableOp(op, value))
        return;
    if (d == Dest::Picture || d == Dest::OldNumbering || d == Dest::ColorTable
        || d == Dest::FontTable)
        return;
    if (!applyCharOp(op, w, hasParam, value) && !applyParaOp(op, value))
        applyBreakOp(op, value);
}

// Words whose meaning depends on the table being read; true when one was handled.
bool Reader::applyTableOp(Op op, int value)
{
    switch (top().dest) {
    case Dest::FontTable:
        if (op == Op::Font) { commitFont(); m_fontNumber = value; }
        else if (op == Op::FontCharset) m_fontCharset = value;
        else if (op == Op::FontCodePage) m_fontCodePage = value;
        else return false;
        return true;
    case Dest::ColorTable:
        if (op == Op::Red) m_red = value;
        else if (op == Op::Green) m_green = value;
        else if (op == Op::Blue) m_blue = value;
        else return false;
        m_colorSet = true;
        return true;
    case Dest::Picture:
        switch (op) {
        case Op::PicPng: m_picture.kind = 1; return true;
        case Op::PicJpeg: m_picture.kind = 2; return true;
        case Op::PicOther: m_picture.kind = 0; return true;
        case Op::PicWidth: m_picture.width = value; return true;
        case Op::PicHeight: m_picture.height = value; return true;
        case Op::PicGoalWidth: m_picture.goalWidth = value; return true;
        case Op::PicGoalHeight: m_picture.goalHeight = value; return true;
        case Op::PicScaleX: m_picture.scaleX = value; return true;
        case Op::PicScaleY: m_picture.scaleY = value; return true;
        default: return false;
        }
    case Dest::OldNumbering:
        switch (op) {
        case Op::OldBullet: m_pnStyle = QTextListFormat::ListDisc; return true;
        case Op::OldBody: case Op::OldDecimal: m_pnStyle = QTextListFormat::ListDecimal; return true;
        case Op::OldContinue: m_pnStyle = kNoList; return true;
        case Op::OldLevel:
            m_pnLevel = std::clamp(value, 1, 9);
            m_pnStyle = QTextListFormat::ListDecimal;
            return true;
        case Op::OldUpperAlpha: m_pnStyle = QTextListFormat::ListUpperAlpha; return true;
        case Op::OldLowerAlpha: m_pnStyle = QTextListFormat::ListLowerAlpha; return true;
        case Op::OldUpperRoman: m_pnStyle = QTextListFormat::ListUpperRoman; return true;
        case Op::OldLowerRoman: m_pnStyle = QTextListFormat::ListLowerRoman; return true;
        default: return false;
        }
    case Dest::List:
        if (op != Op::ListId) return false;
        m_list.id = value;
        return true;
    case Dest::ListLevel:
        if (op != Op::LevelFormat && op != Op::LevelFormatN) return false;
        top().styleIndex = value;
        return true;
    case Dest::ListOverride:
        if (op == Op::ListId) m_overrideList = value;
        else if (op == Op::ListOverrideIndex) m_overrideIndex = value;
        else return false;
        return true;
    default:
        return false;
    }
}

bool Reader::applyCharOp(Op op, const ControlWord &w, bool hasParam, int value)
{
    CharProps &c = top().chr;
    switch (op) {
    case Op::Plain: {
        const int href = c.href;
        c = CharProps();
        c.font = m_defaultFont;
        c.href = href;
        return true;
    }
    case Op::Bold: c.bold = value != 0; return true;
    case Op::Italic: c.italic = value != 0; return true;
    case Op::Strike: c.strike = value != 0; return true;
    case Op::Hidden: c.hidden = value != 0; return true;
    case Op::Underline: c.underline = value != 0 ? (unsigned char)(w.extra) : 0; return true;
    case Op::UnderlineNone: c.underline = 0; return true;
    case Op::FontSize: c.halfPoints = value > 0 && value <= 3276 ? value : 24; return true;
    case Op::Font: c.font = value; return true;
    case Op::ForeColor: c.fore = value; return true;
    case Op::BackColor: c.back = value; return true;
    case Op::Super: c.vertical = 1; return true;
    case Op::Sub: c.vertical = 2; return true;
    case Op::NoSuperSub: c.vertical = 0; return true;
    case Op::Up: c.vertical = (hasParam && value == 0) ? 0 : 1; return true;
    case Op::Down: c.vertical = (hasParam && value == 0) ? 0 : 2; return true;
    case Op::CharStyle:
        if (top().dest == Dest::StyleEntry) top().styleIndex = value;
        else applyStyle(value, false);
        return true;
    default: return false;
    }
}

bool Reader::applyParaOp(Op op, int value)
{
    ParaProps &p = top().para;
    switch (op) {
    case Op::Pard: p = ParaProps(); return true;
    case Op::AlignLeft: p.align = 0; return true;
    case Op::AlignCenter: p.align = 1; return true;
    case Op::AlignRight: p.align = 2; return true;
    case Op::AlignJustify: p.align = 3; return true;
    case Op::LeftIndent: p.left = value; return true;
    case Op::RightIndent: p.right = value; return true;
    case Op::FirstIndent: p.first = value; return true;
    case Op::SpaceBefore: p.before = value; return true;
    case Op::SpaceAfter: p.after = value; return true;
    case Op::LineSpacing: p.lineSpacing = value; return true;
    case Op::InTable: p.tableDepth = std::max(p.tableDepth, 1); return true;
    case Op::TableDepth: p.tableDepth = std::clamp(value, 0, kMaxTableDepth); return true;
    case Op::ListOverrideIndex: p.listOverride = value; return true;
    case Op::ListLevelIndex: p.listLevel = std::clamp(value, 0, 8); return true;
    case Op::OldBullet: p.oldStyle = QTextListFormat::ListDisc; return true;
    case Op::Style:
        if (top().dest == Dest::StyleEntry) {
            top().styleIndex = value;
        } else {
            applyStyle(value, true);
            top().para.style = value;
        }
        return true;
    default: return false;
    }
}

void Reader::applyStyle(int index, bool paragraph)
{
    auto it = m_styles.constFind(index);
    if (it == m_styles.cend())
        return;
    GroupState &s = top();
    const int href = s.chr.href;
    s.chr = it->chr;
    s.chr.href = href;
    if (paragraph) {
        const int depth = s.para.tableDepth;
        s.para = it->para;
        s.para.tableDepth = depth;
    }
}

void Reader::finishDestination(const GroupState &ended)
{
    GroupState &parent = top();
    switch (ended.dest) {
    case Dest::FontTable: commitFont(); break;
    case Dest::StyleEntry: m_styles.insert(ended.styleIndex, Style{ended.chr, ended.para}); break;
    case Dest::FieldInstruction: finishField(); break;
    case Dest::Picture: finishPicture(); break;
    case Dest::OldNumbering:
        parent.para.oldStyle = m_pnStyle;
        parent.para.oldLevel = m_pnLevel;
        break;
    case Dest::ListLevel: m_list.levels.push_back(listStyleForNfc(ended.styleIndex)); break;
    case Dest::List: m_listDefs.insert(m_list.id, m_list); break;
    case Dest::ListOverride: m_overrides.insert(m_overrideIndex, m_overrideList); break;
    default: break;
    }
}

int Reader::listStyleForNfc(int nfc)
{
    switch (nfc) {
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 23: return QTextListFormat::ListDisc;
    case 255: return kNoList;
    default: return QTextListFormat::ListDecimal;
    }
}

void Reader::commitFont()
{
    if (m_fontName.isEmpty() && m_fontCharset < 0 && m_fontCodePage == 0)
        return;
    Font f;
    f.codePage = m_fontCodePage ? m_fontCodePage : codePageForCharset(m_fontCharset);
    CodePage *cp = CodePage::get(f.codePage ? f.codePage : m_docCodePage);
    QString name;
    for (qsizetype i = 0; i < m_fontName.size(); ++i) {
        const auto b = static_cast<unsigned char>(m_fontName[i]);
        if (cp->isLeadByte(b) && i + 1 < m_fontName.size())
            cp->appendPair(name, b, static_cast<unsigned char>(m_fontName[++i]));
        else
            name.append(QChar(b < 0x80 ? char16_t(b) : cp->single(b)));
    }
    // Formats take the list as it is, which saves making one for each.
    if (const QString family = name.trimmed(); !family.isEmpty())
        f.families = QStringList{family};
    m_fonts.insert(m_fontNumber, f);
    m_fontName.clear();
    m_fontCharset = -1;
    m_fontCodePage = 0;
    // Formats made before this font was known would name no family.
    m_formatIndex.clear();
    m_runFormat = -1;
    m_cpCached = nullptr;
}

void Reader::commitColor()
{
    // Kept as brushes, which formats take as they are.
    m_colors.push_back(m_colorSet ? QBrush(QColor(std::clamp(m_red, 0, 255),
                                                  std::clamp(m_green, 0, 255),
                                                  std::clamp(m_blue, 0, 255)))
                                  : QBrush());
    m_red = m_green = m_blue = 0;
    m_colorSet = false;
    m_formatIndex.clear();
    m_runFormat = -1;
}

void Reader::finishField()
{
    static const QRegularExpression link(
        QStringLiteral(R"re(^\s*HYPERLINK\s+(?:\\l\s+)?"?([^"\s]*)"?(?:\s+\\l\s+"([^"]*)")?)re"));
    const auto m = link.match(m_fieldInstruction);
    if (!m.hasMatch())
        return;
    QString target = m.captured(1);
    if (!m.captured(2).isEmpty())
        target += QLatin1Char('#') + m.captured(2);
    else if (m_fieldInstruction.contains(QLatin1String("\\l")) && !target.startsWith('#'))
        target.prepend(QLatin1Char('#'));
    m_hrefs.append(target);
    top().chr.href = int(m_hrefs.size() - 1);
}

void Reader::finishPicture()
{
    if (m_picture.kind == 0)
        return;
    QByteArray data = m_picture.bin;
    if (data.isEmpty())
        data = QByteArray::fromHex(m_picture.hex);
    QImage image;
    if (!image.loadFromData(data, m_picture.kind == 1 ? "PNG" : "JPG"))
        return;
    insertImage(image, m_picture);
}

void Reader::insertImage(const QImage &image, const Picture &p)
{
    const Dest d = top().dest;
    if ((d != Dest::Body && d != Dest::FieldResult) || top().chr.hidden)
        return;
    const QString name = QStringLiteral("rtf-image-%1").arg(++m_imageCount);
    m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    const double sx = std::clamp(p.scaleX, 1, 10000) / 100.0;
    const double sy = std::clamp(p.scaleY, 1, 10000) / 100.0;
    f.setWidth(p.goalWidth > 0 ? p.goalWidth * sx / 15.0 : image.width() * sx);
    f.setHeight(p.goalHeight > 0 ? p.goalHeight * sy / 15.0 : image.height() * sy);
    m_formats.push_back({f});
    m_para.runs.push_back({int(m_para.text.size()), int(m_formats.size() - 1)});
    m_para.text.append(QChar::ObjectReplacementCharacter);
    m_runFormat = -1;
}

} // namespace rtf
