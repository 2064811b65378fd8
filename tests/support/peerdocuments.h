#pragma once

// The documents the word processors write and read in tst_rtfpeers, and what each peer
// carries of them: a row per word and aspect, the peers that carry it as a column of bits.

namespace peerdocs {

enum Peer : unsigned { Office = 1, Abi = 2, Pandoc = 4, Every = 7 };

// What a word looks like, aspect by aspect.
enum Aspect : unsigned {
    Chars = 1, Align = 2, Direction = 4, ListKind = 8, ListFormat = 16, Cell = 32,
    Borders = 64, Shading = 128, Indents = 256, Size = 512, Font = 1024, Underline = 2048,
    Padding = 4096, All = 8191, Lost = 8192,
};

// The peers' inputs are data/peers/page.html, items.rtf and kept.fodt (what the editor keeps
// without showing it); every word of the page is found once in it. AbiWord's HTML import numbers
// every ordered list 1, 2, 3, drops dir="rtl" and bgcolor and draws every table's grid; pandoc has
// no alignment, direction, fonts, sizes, merged cells, borders or shading. Only LibreOffice carries
// what items.rtf holds that Qt shows otherwise (a list paragraph's own indents, underline words, a
// SYMBOL field, Word's Arabic runs, cell padding, hairline borders).

// A word's aspect as the peer's RTF gives it, for the peers that carry it; lostOnRewrite: the
// peers that lose the word whenever they write RTF they read, their own included (AbiWord puts
// list items into \listtext, which readers skip; LibreOffice reads its own Wingdings "J" as U+F04A).
struct Probe { const char *document, *word; unsigned aspect; const char *expected; unsigned peers, lostOnRewrite = 0; };

const Probe kProbes[] = {
    {"page", "Titulo", Chars, "b---", Every}, {"page", "justificado", Align, "justify", Office | Abi},
    {"page", "centrado", Align, "center", Office | Abi}, {"page", "derecha", Align, "right", Office | Abi},
    {"page", "negrita", Chars, "b---", Every}, {"page", "cursiva", Chars, "-i--", Every},
    {"page", "subrayado", Chars, "--u-", Every}, {"page", "normal", Chars, "----", Every},
    {"page", "normal", ListKind, "none", Office | Abi}, {"page", "romano", ListKind, "numbered 1", Office | Abi, Abi},
    {"page", "romano", ListFormat, "upper-roman 1 1", Office, Abi},
    {"page", "letra", ListKind, "numbered 2", Office | Abi, Abi},
    {"page", "letra", ListFormat, "lower-alpha 2 1", Office, Abi},
    {"page", "bala", ListKind, "bullet 1", Office | Abi, Abi},
    {"page", "subbala", ListKind, "bullet 2", Office | Abi, Abi},
    {"page", "tercero", ListFormat, "decimal 1 3", Office, Abi},
    {"page", "שלום", Align, "right", Office | Abi}, {"page", "שלום", Direction, "rtl", Office},
    {"page", "מודגש", Chars, "b---", Every}, {"page", "מודגש", Size, "12", Office | Abi},
    {"page", "גדול", Size, "20", Office | Abi}, {"page", "גופן", Font, "DejaVu Sans Mono", Office | Abi},
    {"page", "ancha", Cell, "0,0 1x2", Office | Abi}, {"page", "ancha", Borders, "bordered", Office},
    {"page", "alta", Cell, "0,2 2x1", Office | Abi}, {"page", "alta", Borders, "bordered", Office},
    {"page", "sombra", Cell, "1,0 1x1", Office | Abi}, {"page", "sombra", Borders, "bordered", Office},
    {"page", "sombra", Shading, "#ff0000", Office}, {"page", "simple", Shading, "none", Office},
    {"page", "simple", Cell, "1,1 1x1", Office | Abi}, {"page", "sinborde", Cell, "0,0 1x1", Office | Abi},
    {"page", "sinborde", Borders, "unbordered", Office}, {"page", "fin", Cell, "no table", Office | Abi},
    {"page", "fin", Align, "left", Office | Abi}, {"items", "propia", Indents, "170/-170", Office},
    {"items", "doble", Underline, "uldb", Office}, {"items", "puntos", Underline, "uld", Office},
    {"items", "gruesa", Underline, "ulth", Office}, {"items", "gruesa", Chars, "--u-", Every},
    {"items", "Simbolo", Font, "Liberation Serif", Office}, {"items", "J", Font, "Wingdings", Office, Office},
    {"items", "سلام", Size, "14", Office}, {"items", "(2016)", Size, "14", Office},
    // LibreOffice keeps no border thinner than 2 twips.
    {"items", "Febrero", Padding, "padding 60 60 60 60 borders 2 5 2 5", Office},
    {"items", "final", Cell, "no table", Every},
    // The writer's saves of the documents below.
    {"formato", "negrita", Chars, "b---", Every}, {"formato", "cursiva", Chars, "-i--", Every},
    {"formato", "subrayado", Chars, "--u-", Every}, {"formato", "tachado", Chars, "---s", Every},
    {"formato", "ambas", Chars, "bi--", Every}, {"formato", "final", Chars, "----", Every},
    {"alineado", "izquierda", Align, "left", Office | Abi}, {"alineado", "centrado", Align, "center", Office | Abi},
    {"alineado", "derecha", Align, "right", Office | Abi}, {"listas", "antes", ListKind, "none", Office},
    {"listas", "uno", ListKind, "bullet 1", Office}, {"listas", "entre", ListKind, "none", Office},
    {"listas", "primero", ListKind, "numbered 1", Office}, {"listas", "después", ListKind, "none", Office},
    {"tabla", "arriba", Cell, "no table", Every}, {"tabla", "A1", Cell, "0,0 1x1", Every},
    {"tabla", "B2", Cell, "1,1 1x1", Every}, {"tabla", "abajo", Cell, "no table", Every},
};

// Documents made here and saved by the writer. No word is part of another, so that a word is
// found in a peer's text even where it loses the spaces between runs.
struct OurDocument { const char *name, *html; };
const OurDocument kOurDocuments[] = {
    {"texto", "<p>Canción del año para Dvořák</p><p>Cuesta 20 € más œuvre</p><p>漢字 y 😀 juntos</p>"},
    {"formato", "<p>normal <b>negrita</b> <i>cursiva</i> <u>subrayado</u> <s>tachado</s> <b><i>ambas</i></b> final</p>"},
    {"alineado", "<p>izquierda</p><p align=center>centrado</p><p align=right>derecha</p>"},
    {"listas", "<p>antes</p><ul><li>uno</li><li>dos</li></ul><p>entre</p>"
               "<ol><li>primero</li><li>segundo</li></ol><p>después</p>"},
    {"tabla", "<p>arriba</p><table><tr><td>A1</td><td>B1</td></tr><tr><td>A2</td><td>B2</td></tr></table><p>abajo</p>"},
};

// The kept properties as LibreOffice's Flat ODT states them, and how many the original has.
struct KeptProperty { const char *name, *pattern; int count; };
const KeptProperty kKeptProperties[] = {
    {"header text", "<style:header>.*?(Texto de cabecera).*?</style:header>", 1},
    {"footer text", "<style:footer>.*?(Página ).*?</style:footer>", 1},
    {"page-number field", "<style:footer>.*?(<text:page-number).*?</style:footer>", 1},
    {"note classes", "<text:note [^>]*(text:note-class=\"\\w+\")", 2},
    {"note texts", "<text:note-body>.*?>([^<>]+)</text:span>", 2},
    {"page size, orientation and side margins", "<style:page-layout-properties (fo:page-width=\"[^\"]*\") "
     "(fo:page-height=\"[^\"]*\")[^>]*(style:print-orientation=\"\\w+\")[^>]*(fo:margin-left=\"[^\"]*\") "
     "(fo:margin-right=\"[^\"]*\")", 1},
    {"title, subject, keywords and author",
     "(<dc:title>[^<]*).*?(<dc:subject>[^<]*).*?(<meta:keyword>[^<]*).*?(<meta:initial-creator>[^<]*)", 1},
    {"style names", "(?:style:parent-style-name|text:style-name)=\"(Heading_20_1|Mi_20_estilo)\"", 1},
    {"bookmark", "(<text:bookmark-start text:name=\"[^\"]*\")", 1},
    {"comment", "<office:annotation[ >].*?(Revisor).*?>(Comentario aquí)<", 1},
    {"page break", "(fo:break-before=\"page\")", 1},
    {"columns", "(fo:column-count=\"2\")", 1},
    {"hyperlink", "(xlink:href=\"https://example.org/\")", 1},
};

} // namespace peerdocs
