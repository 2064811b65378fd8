// The writer's lists: the list and override tables, and each item's marker text.
#include "rtfwriter.h"

#include "rtfindents.h"
#include "rtflistformat.h"
#include "rtfunits.h"
#include "rtfwriterbytes.h"

#include <QTextList>

namespace rtf {

namespace {

char16_t bulletFor(int style)
{
    switch (style) {
    case QTextListFormat::ListCircle: return 0x25E6;
    case QTextListFormat::ListSquare: return 0x25AA;
    default: return 0x2022;
    }
}

// The number as a list of this format shows it, as QTextList::itemText gives it.
QString numberText(const QTextListFormat &f, int number, bool rightToLeft)
{
    QString result;
    switch (f.style()) {
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha: {
        const char16_t base = f.style() == QTextListFormat::ListUpperAlpha ? u'A' : u'a';
        for (int c = number; c > 0; c /= 26)
            result.prepend(QChar(char16_t(base + (--c % 26))));
        break;
    }
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: {
        static constexpr std::pair<int, const char *> kRoman[] = {
            {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
            {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
        if (number >= 5000) {
            result = u"?"_qs;
            break;
        }
        int n = number;
        for (const auto &[value, letters] : kRoman)
            for (; n >= value; n -= value)
                result += QLatin1String(letters);
        if (f.style() == QTextListFormat::ListUpperRoman)
            result = result.toUpper();
        break;
    }
    default: result = QString::number(number); break;
    }
    const QString prefix = f.numberPrefix();
    const QString suffix = f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : u"."_qs;
    return rightToLeft ? suffix + result + prefix : prefix + result + suffix;
}

} // namespace

// Lists read from one RTF list keep their group and go back into one; a list made here
// is a list of its own.
void Writer::addList(const QTextList *list)
{
    const QTextListFormat f = list->format();
    const int level = std::clamp(f.indent(), 1, 9) - 1;
    int ls = 0;
    if (f.hasProperty(listprop::Group))
        ls = m_listGroups.value(f.intProperty(listprop::Group));
    // A level is written once, as its first list has it: a list of another format at a
    // level its group has filled goes into a list of its own, or it would read back as
    // the other.
    if (ls != 0) {
        const QTextList *taken = m_lists[size_t(ls - 1)].levels[level];
        if (taken && taken->format() != f)
            ls = 0;
    }
    if (ls == 0) {
        m_lists.emplace_back();
        ls = int(m_lists.size());
        if (f.hasProperty(listprop::Group) && !m_listGroups.contains(f.intProperty(listprop::Group)))
            m_listGroups.insert(f.intProperty(listprop::Group), ls);
    }
    m_listIndex.insert(list, ls);
    const QTextList *&slot = m_lists[size_t(ls - 1)].levels[level];
    if (!slot)
        slot = list;
    if (f.hasProperty(listprop::BulletFont))
        fontIndex(f.stringProperty(listprop::BulletFont));
}

// Lists whose levels are all bullets and alike share one definition: documents have many
// short bullet lists. Each keeps its own override, \ls, so readers keep them apart.
// Numbered lists are never shared: readers continue the numbers of one definition.
void Writer::writeListTables()
{
    if (m_lists.empty())
        return;
    m_out.append("{\\*\\listtable");
    std::vector<int> listIds(m_lists.size());
    QHash<QByteArray, int> shared;   // the levels of a bullet definition, to its \listid
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const ListGroup &g = m_lists[i];
        const QTextList *fallback = *std::find_if(std::begin(g.levels), std::end(g.levels),
                                                  [](const QTextList *l) { return l; });
        const qsizetype start = m_out.size();
        for (int level = 0; level < 9; ++level)
            writeListLevel(g.levels[level], fallback, level);
        const QByteArray levels = m_out.sliced(start);
        const bool bullets = std::all_of(std::begin(g.levels), std::end(g.levels),
                                         [&](const QTextList *l) { return isBulletList(l ? l : fallback); });
        if (const auto same = bullets ? shared.constFind(levels) : shared.cend(); same != shared.cend()) {
            m_out.truncate(start);
            listIds[i] = *same;
            continue;
        }
        listIds[i] = int(i + 1);
        if (bullets)
            shared.insert(levels, listIds[i]);
        m_out.insert(start, "{\\list\\listtemplateid" + QByteArray::number(listIds[i]));
        word("\\listid", listIds[i]);
        m_out.append("}\n");
    }
    m_out.append("}\n{\\*\\listoverridetable");
    for (size_t i = 0; i < m_lists.size(); ++i) {
        word("{\\listoverride\\listid", listIds[i]);
        word("\\listoverridecount0\\ls", int(i + 1));
        m_out.append('}');
    }
    m_out.append("}\n");
}

// A level as the file it was read from gave it, where the list still has the kind of
// marker it had then; else as the list draws it. A level no list uses is like the
// group's first one.
void Writer::writeListLevel(const QTextList *list, const QTextList *fallback, int level)
{
    // Lists of one format write the same levels: documents have many short bullet lists.
    const QTextList *from = list ? list : fallback;
    const qint64 key = qint64(from->formatIndex()) << 8 | level << 1 | (list ? 1 : 0);
    if (auto cached = m_levelCache.constFind(key); cached != m_levelCache.cend()) {
        m_out.append(*cached);
        return;
    }
    const qsizetype start = m_out.size();
    writeLevel(from->format(), list != nullptr, level);
    m_levelCache.insert(key, m_out.sliced(start));
}

void Writer::writeLevel(const QTextListFormat &f, bool own, int level)
{
    const int style = f.style();
    const bool kept = f.hasProperty(listprop::Nfc)
        && styleForNfc(f.intProperty(listprop::Nfc)) == (isBulletStyle(style) ? -1 : style);
    const int nfc = kept ? f.intProperty(listprop::Nfc) : nfcForStyle(style);
    word("{\\listlevel\\levelnfc", nfc);
    word("\\levelnfcn", nfc);
    word("\\leveljc0\\levelfollow0\\levelstartat",
         own && f.hasProperty(listprop::Start) ? f.intProperty(listprop::Start) : 1);
    writeLevelText(f, style, level, kept && own);
    if (kept && own && f.hasProperty(listprop::BulletFont))
        word("\\f", m_fontIndex.value(f.stringProperty(listprop::BulletFont)));
    const bool indents = own && f.hasProperty(listprop::LevelLeft);
    word("\\fi", indents && f.hasProperty(listprop::LevelFirst) ? f.intProperty(listprop::LevelFirst)
                                                                : -kListHangTwips);
    word("\\li", indents ? f.intProperty(listprop::LevelLeft) : (level + 1) * 720);
    m_out.append('}');
}

// \leveltext: its length, then its characters with each level's number as \'0N; and
// \levelnumbers, the places of those numbers.
void Writer::writeLevelText(const QTextListFormat &f, int style, int level, bool kept)
{
    QString text;
    if (kept)
        text = f.stringProperty(listprop::LevelText);
    else if (isBulletStyle(style))
        text = QString(QChar(bulletFor(style)));
    else
        // Qt puts a full stop after the number unless the list says otherwise.
        text = f.numberPrefix() + QChar(char16_t(level))
            + (f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : u"."_qs);
    m_out.append("{\\leveltext\\'");
    appendHexByte(m_out, std::min<int>(int(text.size()), 255));
    QByteArray numbers;
    for (qsizetype i = 0; i < text.size() && i < 255; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 9) {
            m_out.append("\\'0");
            appendInt(m_out, c);
            numbers.append("\\'");
            appendHexByte(numbers, int(i + 1));
        } else {
            writeText(QStringView(text).mid(i, 1));
        }
    }
    m_out.append(";}{\\levelnumbers");
    m_out.append(numbers);
    m_out.append(";}");
}

// The marker as text in \listtext, for readers that know no lists; the others skip it.
// (The older \pn numbering is not written: LibreOffice lets it win over \ls.)
void Writer::writeListText(const QTextBlock &block, const QTextList *list)
{
    m_out.append("{\\listtext\\pard\\plain ");
    if (isBulletStyle(list->format().style()))
        m_out.append("\\'95");
    else
        writeText(numberText(list->format(), itemNumber(block, list) + 1,
                             block.textDirection() == Qt::RightToLeft));
    m_out.append("\\tab}");
}

// The item's place in its list. Qt finds it by a search through the list, so each item's
// place is counted as the paragraphs are written, in the order of the document.
int Writer::itemNumber(const QTextBlock &block, const QTextList *list)
{
    int &next = m_listItems[list];
    if (next >= list->count() || list->item(next) != block)
        next = list->itemNumber(block);
    return next++;
}

} // namespace rtf
