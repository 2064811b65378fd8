#include "richtextbox.h"

#include "bgrcolor.h"
#include "rtfunits.h"
#include "runtimefailure.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <cmath>
#include <vector>

using namespace richtext;

namespace {

using rtf::kTwipsPerPixel;

enum Property {
    Bold, Italic, Underline, StrikeThru,           // flags, scanned together
    FontName, FontSize, Color,                     // font, scanned together
    Alignment, Bullet, Indent, RightIndent,        // paragraphs, scanned together
    PropertyCount
};
constexpr int kGroupCount = 3;
constexpr int kGroupFirst[kGroupCount] = {Bold, FontName, Alignment};
constexpr int kGroupLast[kGroupCount] = {StrikeThru, Color, RightIndent};

int groupOf(int property)
{
    return property <= StrikeThru ? 0 : property <= Color ? 1 : 2;
}

bool isParagraphProperty(int property)
{
    return property >= Alignment;
}

// One property's value over a range: nothing seen yet, one value throughout, or mixed.
struct Seen
{
    enum State { None, Uniform, Mixed } state = None;
    QVariant value;

    void add(const QVariant &v)
    {
        if (state == None) {
            state = Uniform;
            value = v;
        } else if (state == Uniform && value != v) {
            state = Mixed;
            value = QVariant();
        }
    }
};

bool underlined(const QTextCharFormat &format)
{
    if (format.hasProperty(QTextFormat::TextUnderlineStyle))
        return format.underlineStyle() != QTextCharFormat::NoUnderline;
    return format.boolProperty(QTextFormat::FontUnderline);
}

QString familyOf(const QTextCharFormat &format, const QFont &fallback)
{
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    if (format.hasProperty(QTextFormat::FontFamily))
        return format.stringProperty(QTextFormat::FontFamily);
    return fallback.family();
}

QVariant charValue(const QTextCharFormat &format, int property, const RichTextBox &box)
{
    switch (property) {
    case Bold: return format.fontWeight() >= QFont::DemiBold;
    case Italic: return format.fontItalic();
    case Underline: return underlined(format);
    case StrikeThru: return format.fontStrikeOut();
    case FontName: return familyOf(format, box.document()->defaultFont());
    case FontSize: {
        const double size = format.fontPointSize();
        return size > 0 ? size : box.document()->defaultFont().pointSizeF();
    }
    default: {
        const QBrush brush = format.foreground();
        const QColor color = brush.style() == Qt::NoBrush ? box.palette().color(QPalette::Text) : brush.color();
        return bgrFromColor(color);
    }
    }
}

int alignmentNumber(Qt::Alignment alignment)
{
    const auto horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter)
        return 2;
    if (horizontal & Qt::AlignJustify)
        return RichTextBox::AlignmentJustified;
    if (horizontal & Qt::AlignRight)
        return 1;
    return 0;
}

QVariant blockValue(const QTextBlock &block, int property)
{
    const QTextBlockFormat format = block.blockFormat();
    switch (property) {
    case Alignment: return alignmentNumber(format.alignment());
    case Bullet: return rtf::isBulletList(block.textList());
    case Indent: return int(std::lround(format.leftMargin() * kTwipsPerPixel));
    default: return int(std::lround(format.rightMargin() * kTwipsPerPixel));
    }
}

// Adds one format's values to the group's; true once every property of it is mixed.
template <typename ValueOf>
bool addValues(Seen *seen, int first, int last, ValueOf valueOf)
{
    bool allMixed = true;
    for (int p = first; p <= last; ++p) {
        if (seen[p].state != Seen::Mixed)
            seen[p].add(valueOf(p));
        allMixed = allMixed && seen[p].state == Seen::Mixed;
    }
    return allMixed;
}

bool allMixed(const Seen *seen, int first, int last)
{
    for (int p = first; p <= last; ++p) {
        if (seen[p].state != Seen::Mixed)
            return false;
    }
    return true;
}

// Marks a format index as handled; each distinct format is looked at once per scan.
bool firstVisit(std::vector<char> &visited, int index)
{
    if (index < 0)
        return true;
    if (size_t(index) >= visited.size())
        visited.resize(size_t(index) + 1, 0);
    if (visited[size_t(index)])
        return false;
    visited[size_t(index)] = 1;
    return true;
}

// The characters of [from, to), paragraph separators excluded.
void scanCharacters(const RichTextBox &box, int from, int to, int first, int last, Seen *seen)
{
    if (allMixed(seen, first, last))
        return;
    std::vector<char> visited;
    int previous = -1;
    for (QTextBlock block = box.document()->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = fragment.position();
            if (start >= to)
                break;
            const int index = fragment.charFormatIndex();
            if (index == previous || start + fragment.length() <= from)
                continue;
            previous = index;
            if (!firstVisit(visited, index))
                continue;
            const QTextCharFormat format = fragment.charFormat();
            if (addValues(seen, first, last, [&](int p) { return charValue(format, p, box); }))
                return;
        }
    }
}

// The paragraphs from the one holding from to the one holding to, both included.
void scanParagraphs(const QTextDocument *doc, int from, int to, Seen *seen)
{
    if (allMixed(seen, Alignment, RightIndent))
        return;
    std::vector<char> visited;
    const QTextBlock lastBlock = doc->findBlock(to);
    for (QTextBlock block = doc->findBlock(from); block.isValid(); block = block.next()) {
        if (firstVisit(visited, block.blockFormatIndex())
            && addValues(seen, Alignment, RightIndent, [&](int p) { return blockValue(block, p); }))
            return;
        if (block == lastBlock)
            break;
    }
}

} // namespace

struct RichTextBox::SelectionCache
{
    struct Range
    {
        bool valid = false;
        int start = 0;
        int end = 0;
    };
    const QTextDocument *doc = nullptr;
    quint64 generation = 0;
    Range ranges[kGroupCount];
    Seen seen[PropertyCount];
};

void RichTextBox::SelectionCacheDeleter::operator()(SelectionCache *cache) const
{
    delete cache;
}

QVariant RichTextBox::scanned(int property) const
{
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    if (!isParagraphProperty(property) && start == end)
        return charValue(cursor.charFormat(), property, *this);
    if (!cache)
        cache.reset(new SelectionCache());
    if (cache->doc != document() || cache->generation != generation)
        *cache = SelectionCache{document(), generation, {}, {}};
    const int group = groupOf(property);
    const int first = kGroupFirst[group];
    const int last = kGroupLast[group];
    auto &range = cache->ranges[group];
    auto scan = [&](int from, int to) {
        if (group == 2)
            scanParagraphs(document(), from, to, cache->seen);
        else
            scanCharacters(*this, from, to, first, last, cache->seen);
    };
    if (range.valid && start <= range.start && end >= range.end) {
        // A growing selection only adds what lies outside the range scanned last.
        if (start < range.start)
            scan(start, range.start);
        if (end > range.end)
            scan(range.end, end);
    } else {
        for (int p = first; p <= last; ++p)
            cache->seen[p] = Seen();
        scan(start, end);
    }
    range = {true, start, end};
    const Seen &seen = cache->seen[property];
    if (seen.state == Seen::None)   // a selection of paragraph ends only
        return charValue(cursor.charFormat(), property, *this);
    return seen.value;
}

namespace {

template <typename T>
std::optional<T> optionalOf(const QVariant &value)
{
    if (!value.isValid())
        return std::nullopt;
    return value.value<T>();
}

} // namespace

std::optional<bool> RichTextBox::SelBold() const { return optionalOf<bool>(scanned(Bold)); }
std::optional<bool> RichTextBox::SelItalic() const { return optionalOf<bool>(scanned(Italic)); }
std::optional<bool> RichTextBox::SelUnderline() const { return optionalOf<bool>(scanned(Underline)); }
std::optional<bool> RichTextBox::SelStrikeThru() const { return optionalOf<bool>(scanned(StrikeThru)); }
std::optional<int> RichTextBox::SelAlignment() const { return optionalOf<int>(scanned(Alignment)); }
std::optional<QString> RichTextBox::SelFontName() const { return optionalOf<QString>(scanned(FontName)); }
std::optional<double> RichTextBox::SelFontSize() const { return optionalOf<double>(scanned(FontSize)); }
std::optional<qint32> RichTextBox::SelColor() const { return optionalOf<qint32>(scanned(Color)); }
std::optional<bool> RichTextBox::SelBullet() const { return optionalOf<bool>(scanned(Bullet)); }
std::optional<int> RichTextBox::SelIndent() const { return optionalOf<int>(scanned(Indent)); }
std::optional<int> RichTextBox::SelRightIndent() const { return optionalOf<int>(scanned(RightIndent)); }
