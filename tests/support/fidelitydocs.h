#pragma once

// Hand-written RTF as other word processors write it, for reading and writing back.
#include <QByteArray>

// Lists of every kind: \ls1 letters with ")" from 3 and roman second levels that show
// both numbers; \ls2 dash and check-mark bullets; \ls3 list 1 again, from 5; then the
// older \pn numbering, "(5)" and roman from iii.
inline const QByteArray kLists = R"({\rtf1\ansi{\fonttbl{\f0 Times;}{\f1 Symbol;}{\f2 Wingdings;}})"
    R"({\*\listtable{\list{\listlevel\levelnfc4\levelnfcn4\levelstartat3{\leveltext\'02\'00);})"
    R"({\levelnumbers\'01;}\fi-360\li720}{\listlevel\levelnfc2{\leveltext\'04\'00.\'01.;})"
    R"({\levelnumbers\'01\'03;}\fi-360\li1080}{\listlevel\levelnfc1{\leveltext\'03(\'02);})"
    R"({\levelnumbers\'02;}\fi-360\li1440}\listid7})"
    R"({\list{\listlevel\levelnfc23{\leveltext\'01\u8211 ?;}{\levelnumbers;}\fi-360\li720})"
    R"({\listlevel\levelnfc23{\leveltext\'01\u10003 ?;}{\levelnumbers;}\fi-360\li1440})"
    R"({\listlevel\levelnfc23{\leveltext\'01\'b7;}{\levelnumbers;}\f1\fi-360\li2160})"
    R"({\listlevel\levelnfc23{\leveltext\'01o;}{\levelnumbers;}\fi-360\li2880})"
    R"({\listlevel\levelnfc23{\leveltext\'01\'a7;}{\levelnumbers;}\f2\fi-360\li3600}\listid8})"
    R"({\list{\listlevel\levelnfc3{\leveltext\'02\'00.;}{\levelnumbers\'01;}}\listid9}})"
    R"({\*\listoverridetable{\listoverride\listid7\ls1}{\listoverride\listid8\ls2})"
    R"({\listoverride\listid7\listoverridecount1{\lfolevel\listoverridestartat\levelstartat5}\ls3})"
    R"({\listoverride\listid9\ls4}})"
    R"(\pard\ls1 uno\par\pard\ls1\ilvl1 sub\par\pard\ls1\ilvl2 tres\par\pard\ls1 dos\par)"
    R"(\pard\ls2 guion\par\pard\ls2\ilvl1 marca\par\pard\ls2\ilvl2 punto\par)"
    R"(\pard\ls2\ilvl3 circulo\par\pard\ls2\ilvl4 cuadro\par)"
    R"(\pard\ls3 cinco\par\pard\ls4 letra\par)"
    R"(\pard\fi-360\li720{\pntext (5)\tab}{\*\pn\pnlvlbody\pndec\pnstart5{\pntxtb (}{\pntxta )}})"
    R"(antiguo\par\pard\fi-360\li720{\pntext (6)\tab})"
    R"({\*\pn\pnlvlbody\pndec\pnstart5{\pntxtb (}{\pntxta )}}siguiente\par)"
    R"(\pard{\*\pn\pnlvlbody\pnlcrm\pnstart3\pnindent360{\pntxta .}}romano\par})";

// A 3-column grid: a shaded cell bordered but on its left; b across two columns;
// c down two rows; borders of every style the reader knows.
inline const QByteArray kTable = R"({\rtf1\ansi{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
    R"(\trowd\clbrdrt\brdrs\brdrw15\brdrcf1\clbrdrl\brdrnone\clbrdrb\brdrdb\brdrw30)"
    R"(\clbrdrr\brdrdot\brdrw10\clcbpat2\cellx2000\clmgf\cellx4000\clmrg\cellx6000)"
    R"(\pard\intbl a\cell b\cell\cell\row)"
    R"(\trowd\clvmgf\clbrdrt\brdrdash\brdrw20\cellx2000\cellx6000\pard\intbl c\cell d\cell\row)"
    R"(\trowd\clvmrg\cellx2000\cellx4000\cellx6000\pard\intbl\cell e\cell f\cell\row})";


// What each item of kLists shows: style, level, marker drawn, start, level text. Qt 6.4's
// lists count from one: a start value is kept, not shown.
struct ListItem { const char *name, *item, *expected; };
inline const ListItem kListItems[] = {
    {"letters with a parenthesis", "uno", "lower-alpha 1 a) 3 1)"},
    {"numbered on", "dos", "lower-alpha 1 b) 3 1)"},
    {"second level shows both", "sub", "lower-roman 2 i. 1 1.2."},
    {"prefix and suffix", "tres", "upper-roman 3 (I) 1 (3)"},
    {"dash bullet", "guion", "disc 1 - 1 \u2013"},
    {"check-mark bullet", "marca", "disc 2 - 1 \u2713"},
    {"symbol bullet", "punto", "disc 3 - 1 \u00b7"},
    {"circle bullet", "circulo", "circle 4 - 1 o"},
    {"square bullet", "cuadro", "square 5 - 1 \u00a7"},
    {"restart at five", "cinco", "lower-alpha 1 a) 5 1)"},
    {"upper letters", "letra", "upper-alpha 1 A. 1 1."},
    {"old numbering with its texts", "antiguo", "decimal 1 (1) 5 (1)"},
    {"old numbering on", "siguiente", "decimal 1 (2) 5 (1)"},
    {"old roman from three", "romano", "lower-roman 1 i. 3 1."},
};

// Each cell of kTable: row,column rows x columns, its borders, its shading.
struct TableCell { const char *name, *text, *expected; };
inline const TableCell kTableCells[] = {
    {"borders and shading", "a", "0,0 1x1 top 15 solid #ff0000, left none, bottom 30 double #000000, "
                                 "right 15 dotted #000000 shading #0000ff"},
    {"merged across", "b", "0,1 1x2 top none, left none, bottom none, right none"},
    {"merged down", "c", "1,0 2x1 top 20 dashed #000000, left none, bottom none, right none"},
    {"a wide cell", "d", "1,1 1x2 top none, left none, bottom none, right none"},
    {"beside the merge", "e", "2,1 1x1 top none, left none, bottom none, right none"},
    {"after the merge", "f", "2,2 1x1 top none, left none, bottom none, right none"},
};
