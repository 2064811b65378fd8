#pragma once

#include <QTextCharFormat>
#include <string_view>

// RTF's underline words and the nearest line Qt draws for each. A format whose word is not
// the one its line is written with by default keeps the word, so that it is written back.
namespace rtf {

struct UnderlineWord
{
    std::string_view word;
    QTextCharFormat::UnderlineStyle style;
};

// Index 0 is no underline; CharProps::underline is an index here.
inline constexpr UnderlineWord kUnderlineWords[] = {
    {"ulnone", QTextCharFormat::NoUnderline},
    {"ul", QTextCharFormat::SingleUnderline},
    {"uld", QTextCharFormat::DotLine},
    {"uldash", QTextCharFormat::DashUnderline},
    {"uldashd", QTextCharFormat::DashDotLine},
    {"uldashdd", QTextCharFormat::DashDotDotLine},
    {"ulwave", QTextCharFormat::WaveUnderline},
    // Double, thick, long-dashed and words-only lines, which Qt draws as the plain kind.
    {"uldb", QTextCharFormat::SingleUnderline},
    {"ulth", QTextCharFormat::SingleUnderline},
    {"ulw", QTextCharFormat::SingleUnderline},
    {"ulthd", QTextCharFormat::DotLine},
    {"ulthdash", QTextCharFormat::DashUnderline},
    {"ulldash", QTextCharFormat::DashUnderline},
    {"ulthldash", QTextCharFormat::DashUnderline},
    {"ulthdashd", QTextCharFormat::DashDotLine},
    {"ulthdashdd", QTextCharFormat::DashDotDotLine},
    {"ulhwave", QTextCharFormat::WaveUnderline},
    {"ululdbwave", QTextCharFormat::WaveUnderline},
};

// The first seven are each line's own word.
inline constexpr int kPlainUnderlines = 7;

// The word a format's underline is written with: the one it was read with while it still
// draws that line, else its line's own; empty for none.
std::string_view underlineWord(const QTextCharFormat &format);

} // namespace rtf
