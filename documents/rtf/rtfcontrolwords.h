#pragma once

#include <string_view>

// What each control word the reader knows does, as data.
namespace rtf {

enum class Kind : unsigned char {
    Destination,   // starts a destination; code is a Dest
    Symbol,        // stands for one character; code is the UTF-16 unit
    Toggle,        // on without parameter, off with 0; code is an Op
    Value,         // takes its parameter (or a default); code is an Op
    Flag,          // no parameter; code is an Op
};

enum class Dest : unsigned char {
    Body, Skip, FontTable, ColorTable, StyleSheet, StyleEntry, ListTable, List, ListLevel,
    ListOverrideTable, ListOverride, Picture, Field, FieldInstruction, FieldResult,
    OldNumbering, OldNumberingBefore, OldNumberingAfter, PassThrough, LevelText, LevelNumbers,
    Kept,          // kept as RTF and written back; extra is a KeptGroup
};

enum class Op : unsigned char {
    Rtf, Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, UnicodeSkip, Unicode,
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Font, ForeColor,
    BackColor, Super, Sub, NoSuperSub, Up, Down, Hidden, AssocBold, AssocItalic, AssocSize,
    AssocFont, AssocScript,
    Pard, Par, StyleBasedOn, AlignLeft, AlignCenter, AlignRight, AlignJustify, LeftIndent,
    RightIndent,
    FirstIndent, SpaceBefore, SpaceAfter, LineSpacing, Page, Sect, Style, CharStyle,
    InTable, Cell, Row, NestCell, NestRow, TableDepth, RowDefaults, CellBoundary,
    ListOverrideIndex, ListLevelIndex, ListId, LevelFormat, LevelFormatN,
    OldBullet, OldBody, OldContinue, OldLevel, OldDecimal, OldUpperAlpha, OldLowerAlpha,
    OldUpperRoman, OldLowerRoman, OldFont, OldStart,
    FontCharset, FontCodePage, Red, Green, Blue,
    PicWidth, PicHeight, PicGoalWidth, PicGoalHeight, PicScaleX, PicScaleY,
    PicPng, PicJpeg, PicOther,
    RtlPar, LtrPar, OutlineLevel, LevelStartAt, ListOverrideLevel,
    BorderSide, BorderStyle, BorderWidth, BorderColor, CellShading, CellMerge, CellVMerge,
    Padding, RowGap,
};

struct ControlWord
{
    std::string_view name;
    Kind kind;
    int code;
    int extra;   // underline (its place in kUnderlineWords), default parameter, or 0
};

// The entry for name, or null for a word the reader ignores.
const ControlWord *findControlWord(std::string_view name);

} // namespace rtf
