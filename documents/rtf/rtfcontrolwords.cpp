#include "rtfcontrolwords.h"
#include "rtfkeptrecorder.h"
#include "rtfunderline.h"

#include <QTextCharFormat>
#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <vector>

namespace rtf {

namespace {

constexpr int D(Dest d) { return int(d); }
constexpr int O(Op o) { return int(o); }
constexpr int K(KeptGroup g) { return int(g); }

constexpr Kind kD = Kind::Destination, kS = Kind::Symbol, kT = Kind::Toggle,
               kV = Kind::Value, kF = Kind::Flag;

// An underline word's place in kUnderlineWords.
constexpr int UL(std::string_view word)
{
    for (int i = 0; i < int(std::size(kUnderlineWords)); ++i)
        if (kUnderlineWords[i].word == word)
            return i;
    return 1;
}

constexpr int kBorderNone = QTextFrameFormat::BorderStyle_None;
constexpr int kBorderSolid = QTextFrameFormat::BorderStyle_Solid;
constexpr int kBorderDouble = QTextFrameFormat::BorderStyle_Double;
constexpr int kBorderDotted = QTextFrameFormat::BorderStyle_Dotted;
constexpr int kBorderDashed = QTextFrameFormat::BorderStyle_Dashed;
constexpr int kBorderDotDash = QTextFrameFormat::BorderStyle_DotDash;
constexpr int kBorderDotDotDash = QTextFrameFormat::BorderStyle_DotDotDash;

const ControlWord kWords[] = {
    // Destinations whose text is not body text.
    {"annotation", kD, D(Dest::Kept), K(KeptGroup::Anchored)}, {"atnauthor", kD, D(Dest::Kept), K(KeptGroup::Anchored)},
    {"atnid", kD, D(Dest::Kept), K(KeptGroup::Anchored)}, {"bkmkend", kD, D(Dest::Kept), K(KeptGroup::Anchored)},
    {"bkmkstart", kD, D(Dest::Kept), K(KeptGroup::Anchored)}, {"colortbl", kD, D(Dest::ColorTable), 0},
    {"field", kD, D(Dest::Field), 0}, {"fldinst", kD, D(Dest::FieldInstruction), 0},
    {"fldrslt", kD, D(Dest::FieldResult), 0}, {"fonttbl", kD, D(Dest::FontTable), 0},
    {"footer", kD, D(Dest::Kept), K(KeptGroup::Section)}, {"footerf", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"footerl", kD, D(Dest::Kept), K(KeptGroup::Section)}, {"footerr", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"footnote", kD, D(Dest::Kept), K(KeptGroup::Note)}, {"header", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"headerf", kD, D(Dest::Kept), K(KeptGroup::Section)}, {"headerl", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"headerr", kD, D(Dest::Kept), K(KeptGroup::Section)}, {"info", kD, D(Dest::Kept), K(KeptGroup::Info)},
    {"list", kD, D(Dest::List), 0}, {"listlevel", kD, D(Dest::ListLevel), 0},
    {"listoverride", kD, D(Dest::ListOverride), 0},
    {"listoverridetable", kD, D(Dest::ListOverrideTable), 0},
    {"listtable", kD, D(Dest::ListTable), 0}, {"listtext", kD, D(Dest::Skip), 0},
    {"nesttableprops", kD, D(Dest::PassThrough), 0}, {"nonesttables", kD, D(Dest::Skip), 0},
    {"nonshppict", kD, D(Dest::Skip), 0}, {"object", kD, D(Dest::PassThrough), 0},
    {"objdata", kD, D(Dest::Skip), 0}, {"pict", kD, D(Dest::Picture), 0},
    {"pn", kD, D(Dest::OldNumbering), 0}, {"pntext", kD, D(Dest::Skip), 0},
    {"pntxta", kD, D(Dest::OldNumberingAfter), 0}, {"pntxtb", kD, D(Dest::OldNumberingBefore), 0},
    {"result", kD, D(Dest::PassThrough), 0}, {"shppict", kD, D(Dest::PassThrough), 0},
    {"shprslt", kD, D(Dest::Skip), 0}, {"stylesheet", kD, D(Dest::StyleSheet), 0},
    {"tc", kD, D(Dest::Kept), K(KeptGroup::Anchored)}, {"txe", kD, D(Dest::Skip), 0},
    {"xe", kD, D(Dest::Kept), K(KeptGroup::Anchored)}, {"leveltext", kD, D(Dest::LevelText), 0},
    {"levelnumbers", kD, D(Dest::LevelNumbers), 0},
    {"aftncn", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"aftnsep", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"aftnsepc", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"atrfend", kD, D(Dest::Kept), K(KeptGroup::Anchored)},
    {"atrfstart", kD, D(Dest::Kept), K(KeptGroup::Anchored)},
    {"ftncn", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"ftnsep", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"ftnsepc", kD, D(Dest::Kept), K(KeptGroup::Section)},
    {"docvar", kD, D(Dest::Kept), K(KeptGroup::Info)},
    {"pgdsctbl", kD, D(Dest::Kept), K(KeptGroup::Info)},
    {"userprops", kD, D(Dest::Kept), K(KeptGroup::Info)},
    // Characters.
    {"bullet", kS, 0x2022, 0}, {"emdash", kS, 0x2014, 0}, {"emspace", kS, 0x2003, 0},
    {"endash", kS, 0x2013, 0}, {"enspace", kS, 0x2002, 0}, {"ldblquote", kS, 0x201C, 0},
    {"line", kS, 0x2028, 0}, {"lquote", kS, 0x2018, 0}, {"ltrmark", kS, 0x200E, 0},
    {"qmspace", kS, 0x2005, 0}, {"rdblquote", kS, 0x201D, 0}, {"rquote", kS, 0x2019, 0},
    {"rtlmark", kS, 0x200F, 0}, {"tab", kS, 0x0009, 0}, {"zwj", kS, 0x200D, 0},
    {"zwnj", kS, 0x200C, 0},
    // Document and character set.
    {"ansi", kF, O(Op::Ansi), 0}, {"ansicpg", kV, O(Op::AnsiCodePage), 0},
    {"deff", kV, O(Op::DefaultFont), 0}, {"mac", kF, O(Op::Mac), 0},
    {"pc", kF, O(Op::Pc), 0}, {"pca", kF, O(Op::Pca), 0}, {"rtf", kV, O(Op::Rtf), 1},
    {"u", kV, O(Op::Unicode), 0}, {"uc", kV, O(Op::UnicodeSkip), 1},
    // Character formatting.
    {"ab", kT, O(Op::AssocBold), 0}, {"afs", kV, O(Op::AssocSize), 24},
    {"af", kV, O(Op::AssocFont), 0},
    // What \af names the font of: right-to-left script (1) or another (0).
    {"rtlch", kF, O(Op::AssocScript), 1}, {"ltrch", kF, O(Op::AssocScript), 0},
    {"loch", kF, O(Op::AssocScript), 0}, {"hich", kF, O(Op::AssocScript), 0},
    {"dbch", kF, O(Op::AssocScript), 0}, {"fcs", kV, O(Op::AssocScript), 0},
    {"ai", kT, O(Op::AssocItalic), 0}, {"b", kT, O(Op::Bold), 0}, {"cb", kV, O(Op::BackColor), 0},
    {"cf", kV, O(Op::ForeColor), 0}, {"chcbpat", kV, O(Op::BackColor), 0},
    {"dn", kV, O(Op::Down), 6}, {"f", kV, O(Op::Font), 0}, {"fs", kV, O(Op::FontSize), 24},
    {"highlight", kV, O(Op::BackColor), 0}, {"i", kT, O(Op::Italic), 0},
    {"nosupersub", kF, O(Op::NoSuperSub), 0}, {"plain", kF, O(Op::Plain), 0},
    {"strike", kT, O(Op::Strike), 0}, {"striked", kT, O(Op::Strike), 0},
    {"sub", kF, O(Op::Sub), 0}, {"super", kF, O(Op::Super), 0},
    {"ulnone", kF, O(Op::UnderlineNone), 0},
    {"ul", kT, O(Op::Underline), UL("ul")}, {"uld", kT, O(Op::Underline), UL("uld")},
    {"uldash", kT, O(Op::Underline), UL("uldash")}, {"uldashd", kT, O(Op::Underline), UL("uldashd")},
    {"uldashdd", kT, O(Op::Underline), UL("uldashdd")}, {"uldb", kT, O(Op::Underline), UL("uldb")},
    {"ulhwave", kT, O(Op::Underline), UL("ulhwave")}, {"ulldash", kT, O(Op::Underline), UL("ulldash")},
    {"ulth", kT, O(Op::Underline), UL("ulth")}, {"ulthd", kT, O(Op::Underline), UL("ulthd")},
    {"ulthdash", kT, O(Op::Underline), UL("ulthdash")},
    {"ulthdashd", kT, O(Op::Underline), UL("ulthdashd")},
    {"ulthdashdd", kT, O(Op::Underline), UL("ulthdashdd")},
    {"ulthldash", kT, O(Op::Underline), UL("ulthldash")},
    {"ululdbwave", kT, O(Op::Underline), UL("ululdbwave")}, {"ulw", kT, O(Op::Underline), UL("ulw")},
    {"ulwave", kT, O(Op::Underline), UL("ulwave")}, {"up", kV, O(Op::Up), 6},
    {"v", kT, O(Op::Hidden), 0},
    // Paragraphs.
    {"cs", kV, O(Op::CharStyle), 0}, {"fi", kV, O(Op::FirstIndent), 0},
    {"li", kV, O(Op::LeftIndent), 0}, {"lin", kV, O(Op::LeftIndent), 0},
    {"page", kF, O(Op::Page), 0}, {"par", kF, O(Op::Par), 0},
    {"pard", kF, O(Op::Pard), 0}, {"qc", kF, O(Op::AlignCenter), 0},
    {"qd", kF, O(Op::AlignJustify), 0}, {"qj", kF, O(Op::AlignJustify), 0},
    {"ql", kF, O(Op::AlignLeft), 0}, {"qr", kF, O(Op::AlignRight), 0},
    {"ri", kV, O(Op::RightIndent), 0}, {"rin", kV, O(Op::RightIndent), 0},
    {"s", kV, O(Op::Style), 0}, {"sa", kV, O(Op::SpaceAfter), 0},
    {"sbasedon", kV, O(Op::StyleBasedOn), -1},
    {"sb", kV, O(Op::SpaceBefore), 0}, {"sect", kF, O(Op::Sect), 0},
    {"sl", kV, O(Op::LineSpacing), 0}, {"ltrpar", kF, O(Op::LtrPar), 0},
    {"rtlpar", kF, O(Op::RtlPar), 0}, {"outlinelevel", kV, O(Op::OutlineLevel), 0},
    // Tables.
    {"cell", kF, O(Op::Cell), 0}, {"cellx", kV, O(Op::CellBoundary), 0},
    {"intbl", kF, O(Op::InTable), 0}, {"itap", kV, O(Op::TableDepth), 1},
    {"nestcell", kF, O(Op::NestCell), 0}, {"nestrow", kF, O(Op::NestRow), 0},
    {"row", kF, O(Op::Row), 0}, {"trowd", kF, O(Op::RowDefaults), 0},
    // Borders: a side of a cell (0 top, 1 left, 2 bottom, 3 right), or of something the
    // reader does not keep (-1), then that border's style, width and colour.
    {"clbrdrt", kF, O(Op::BorderSide), 0}, {"clbrdrl", kF, O(Op::BorderSide), 1},
    {"clbrdrb", kF, O(Op::BorderSide), 2}, {"clbrdrr", kF, O(Op::BorderSide), 3},
    {"brdrt", kF, O(Op::BorderSide), -1}, {"brdrl", kF, O(Op::BorderSide), -1},
    {"brdrb", kF, O(Op::BorderSide), -1}, {"brdrr", kF, O(Op::BorderSide), -1},
    {"brdrbox", kF, O(Op::BorderSide), -1}, {"brdrbar", kF, O(Op::BorderSide), -1},
    {"trbrdrt", kF, O(Op::BorderSide), -1}, {"trbrdrl", kF, O(Op::BorderSide), -1},
    {"trbrdrb", kF, O(Op::BorderSide), -1}, {"trbrdrr", kF, O(Op::BorderSide), -1},
    {"trbrdrh", kF, O(Op::BorderSide), -1}, {"trbrdrv", kF, O(Op::BorderSide), -1},
    {"brdrnone", kF, O(Op::BorderStyle), kBorderNone},
    {"brdrs", kF, O(Op::BorderStyle), kBorderSolid}, {"brdrth", kF, O(Op::BorderStyle), kBorderSolid},
    {"brdrhair", kF, O(Op::BorderStyle), kBorderSolid},
    {"brdrdb", kF, O(Op::BorderStyle), kBorderDouble},
    {"brdrdot", kF, O(Op::BorderStyle), kBorderDotted},
    {"brdrdash", kF, O(Op::BorderStyle), kBorderDashed},
    {"brdrdashd", kF, O(Op::BorderStyle), kBorderDotDash},
    {"brdrdashdd", kF, O(Op::BorderStyle), kBorderDotDotDash},
    {"brdrw", kV, O(Op::BorderWidth), 0}, {"brdrcf", kV, O(Op::BorderColor), 0},
    {"clcbpat", kV, O(Op::CellShading), 0},
    // Padding: extra is the side (0 top, 1 left, 2 bottom, 3 right) plus 4 for a unit,
    // 8 for the row's default, 12 for its unit. Word and LibreOffice take \clpadl for the
    // top and \clpadt for the left; \trgaph is the row's left and right padding.
    {"clpadl", kV, O(Op::Padding), 0}, {"clpadt", kV, O(Op::Padding), 1},
    {"clpadb", kV, O(Op::Padding), 2}, {"clpadr", kV, O(Op::Padding), 3},
    {"clpadfl", kV, O(Op::Padding), 4}, {"clpadft", kV, O(Op::Padding), 5},
    {"clpadfb", kV, O(Op::Padding), 6}, {"clpadfr", kV, O(Op::Padding), 7},
    {"trpaddt", kV, O(Op::Padding), 8}, {"trpaddl", kV, O(Op::Padding), 9},
    {"trpaddb", kV, O(Op::Padding), 10}, {"trpaddr", kV, O(Op::Padding), 11},
    {"trpaddft", kV, O(Op::Padding), 12}, {"trpaddfl", kV, O(Op::Padding), 13},
    {"trpaddfb", kV, O(Op::Padding), 14}, {"trpaddfr", kV, O(Op::Padding), 15},
    {"trgaph", kV, O(Op::RowGap), 0},
    {"clmgf", kF, O(Op::CellMerge), 1}, {"clmrg", kF, O(Op::CellMerge), 2},
    {"clvmgf", kF, O(Op::CellVMerge), 1}, {"clvmrg", kF, O(Op::CellVMerge), 2},
    // Lists.
    {"ilvl", kV, O(Op::ListLevelIndex), 0}, {"levelnfc", kV, O(Op::LevelFormat), 0},
    {"levelnfcn", kV, O(Op::LevelFormatN), 0}, {"listid", kV, O(Op::ListId), 0},
    {"ls", kV, O(Op::ListOverrideIndex), 0}, {"levelstartat", kV, O(Op::LevelStartAt), 1},
    {"lfolevel", kF, O(Op::ListOverrideLevel), 0}, {"pndec", kF, O(Op::OldDecimal), 0},
    {"pnf", kV, O(Op::OldFont), 0}, {"pnlcltr", kF, O(Op::OldLowerAlpha), 0},
    {"pnlcrm", kF, O(Op::OldLowerRoman), 0}, {"pnlvl", kV, O(Op::OldLevel), 1},
    {"pnlvlblt", kF, O(Op::OldBullet), 0}, {"pnlvlbody", kF, O(Op::OldBody), 0},
    {"pnlvlcont", kF, O(Op::OldContinue), 0}, {"pnucltr", kF, O(Op::OldUpperAlpha), 0},
    {"pnucrm", kF, O(Op::OldUpperRoman), 0}, {"pnstart", kV, O(Op::OldStart), 1},
    // Font and colour tables.
    {"blue", kV, O(Op::Blue), 0}, {"cpg", kV, O(Op::FontCodePage), 0},
    {"fcharset", kV, O(Op::FontCharset), 0}, {"green", kV, O(Op::Green), 0},
    {"red", kV, O(Op::Red), 0},
    // Pictures.
    {"dibitmap", kF, O(Op::PicOther), 0}, {"emfblip", kF, O(Op::PicOther), 0},
    {"jpegblip", kF, O(Op::PicJpeg), 0}, {"macpict", kF, O(Op::PicOther), 0},
    {"pich", kV, O(Op::PicHeight), 0}, {"pichgoal", kV, O(Op::PicGoalHeight), 0},
    {"picscalex", kV, O(Op::PicScaleX), 100}, {"picscaley", kV, O(Op::PicScaleY), 100},
    {"picw", kV, O(Op::PicWidth), 0}, {"picwgoal", kV, O(Op::PicGoalWidth), 0},
    {"pmmetafile", kF, O(Op::PicOther), 0}, {"pngblip", kF, O(Op::PicPng), 0},
    {"wbitmap", kF, O(Op::PicOther), 0}, {"wmetafile", kF, O(Op::PicOther), 0},
};

const std::vector<ControlWord> &sortedWords()
{
    static const std::vector<ControlWord> words = [] {
        std::vector<ControlWord> v(std::begin(kWords), std::end(kWords));
        std::sort(v.begin(), v.end(), [](const ControlWord &a, const ControlWord &b) {
            return a.name < b.name;
        });
        return v;
    }();
    return words;
}

// Every control word of a document is looked up, so the names go into an open-addressed
// table instead of being searched for: one hash and usually one comparison per word. A
// name's first eight letters, packed into a word, decide most comparisons.
class WordIndex
{
public:
    WordIndex()
        : m_words(sortedWords())
    {
        static_assert(std::size(kWords) < 255, "slots hold a word's position plus one in a byte");
        for (size_t w = 0; w < m_words.size(); ++w) {
            const std::string_view name = m_words[w].name;
            m_heads[w] = head(name);
            size_t i = slot(m_heads[w], name.size());
            while (m_slots[i])
                i = (i + 1) & kMask;
            m_slots[i] = std::uint8_t(w + 1);
        }
    }

    const ControlWord *find(std::string_view name) const
    {
        const std::uint64_t h = head(name);
        for (size_t i = slot(h, name.size()); m_slots[i]; i = (i + 1) & kMask) {
            const size_t w = m_slots[i] - 1u;
            const ControlWord &word = m_words[w];
            if (m_heads[w] == h && word.name.size() == name.size()
                && (name.size() <= 8 || word.name.substr(8) == name.substr(8)))
                return &word;
        }
        return nullptr;
    }

private:
    static constexpr int kBits = 10;
    static constexpr size_t kSlots = size_t(1) << kBits;   // well above the word count
    static constexpr size_t kMask = kSlots - 1;

    static std::uint64_t head(std::string_view name)
    {
        std::uint64_t h = 0;
        const size_t n = std::min<size_t>(name.size(), 8);
        for (size_t i = 0; i < n; ++i)
            h |= std::uint64_t(static_cast<unsigned char>(name[i])) << (8 * i);
        return h;
    }

    static size_t slot(std::uint64_t head, size_t length)
    {
        const std::uint64_t h = (head ^ length) * 0x9E3779B97F4A7C15ull;
        return size_t(h >> (64 - kBits));
    }

    const std::vector<ControlWord> &m_words;
    std::array<std::uint64_t, std::size(kWords)> m_heads{};
    std::array<std::uint8_t, kSlots> m_slots{};   // small, so that it stays in the cache
};

} // namespace

const ControlWord *findControlWord(std::string_view name)
{
    static const WordIndex index;
    return index.find(name);
}

} // namespace rtf
