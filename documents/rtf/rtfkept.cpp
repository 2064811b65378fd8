#include "rtfkept.h"

#include "rtfcharsets.h"
#include "rtftokenizer.h"

#include <QObject>
#include <QTextCharFormat>
#include <QTextDocument>

namespace rtf {

namespace {

const char kHolderName[] = "rtfKeptMaterial";

// The material rides on the document as a child object, so that it lives and dies with it.
class KeptHolder final : public QObject
{
public:
    explicit KeptHolder(QTextDocument *doc) : QObject(doc) { setObjectName(kHolderName); }
    KeptDocument kept;
    bool tracking = false;
};

KeptHolder *holder(const QTextDocument *doc)
{
    return doc ? doc->findChild<KeptHolder *>(kHolderName, Qt::FindDirectChildrenOnly) : nullptr;
}

// Collects each group's first word and its text, and the words outside every group.
class ItemListener final : public TokenListener
{
public:
    std::vector<KeptItem> items;
    std::vector<std::pair<QByteArray, std::optional<int>>> words;

    void groupStart() override
    {
        m_open.push_back(items.size());
        items.push_back({{}, {}, int(m_open.size()) - 1, 0});
        m_starred.push_back(false);
        m_fresh = true;
    }
    void groupEnd() override
    {
        if (!m_open.empty())
            m_open.pop_back();
        m_fresh = false;
    }
    void controlWord(std::string_view name, bool hasParam, int param) override
    {
        const QByteArray w(name.data(), qsizetype(name.size()));
        if (m_open.empty()) {
            words.emplace_back(w, hasParam ? std::optional<int>(param) : std::nullopt);
            return;
        }
        KeptItem &item = items[m_open.back()];
        if (m_fresh)
            item.word = w;
        if (hasParam && !item.param && w != "f" && w != "fs")
            item.param = param;
        m_fresh = false;
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        if (w == "u") {
            addText(QChar(char16_t(param)));
            m_skip = 1;
        } else if (w == "par" || w == "line") {
            addText(QChar('\n'));
        } else if (w == "tab") {
            addText(QChar('\t'));
        }
    }
    void controlSymbol(char c) override
    {
        if (c == '*' && m_fresh && !m_open.empty())
            m_starred[m_open.back()] = true;
        else if (c == '\\' || c == '{' || c == '}')
            addText(QChar(c));
        else if (c == '~')
            addText(QChar(0x00A0));
    }
    void text(const char *data, qsizetype length) override
    {
        for (qsizetype i = 0; i < length; ++i) {
            const auto b = static_cast<unsigned char>(data[i]);
            if (b == 0x01 || b == 0x02)
                m_inReference = b == 0x01;   // a font or colour number, not text
            else if (m_inReference)
                continue;
            else if (m_skip > 0)
                --m_skip;
            else if (b >= 0x20)
                addText(QChar(b < 0x80 ? char16_t(b) : CodePage::get(1252)->single(b)));
        }
    }
    void binary(const char *, qsizetype) override {}

private:
    // Text belongs to every group it is inside up to the nearest destination marked
    // with \*, so that a header's text is its own but a field's instruction is not.
    void addText(QChar c)
    {
        m_fresh = false;
        for (auto i = m_open.rbegin(); i != m_open.rend(); ++i) {
            items[*i].text.append(c);
            if (m_starred[*i])
                break;
        }
    }

    std::vector<size_t> m_open;
    std::vector<bool> m_starred;   // by item
    bool m_fresh = false;
    bool m_inReference = false;
    int m_skip = 0;
};

} // namespace

const KeptDocument *keptMaterial(const QTextDocument *doc)
{
    const KeptHolder *h = holder(doc);
    return h ? &h->kept : nullptr;
}

KeptDocument &keptMaterialFor(QTextDocument *doc)
{
    KeptHolder *h = holder(doc);
    if (!h)
        h = new KeptHolder(doc);
    return h->kept;
}

void trackKeptMarks(QTextDocument *doc)
{
    KeptHolder *h = holder(doc);
    if (!h || h->tracking || h->kept.marks.isEmpty())
        return;
    h->tracking = true;
    QObject::connect(doc, &QTextDocument::contentsChange, h, [h, doc](int from, int removed, int added) {
        // A layout given to the document later reports the whole text as added.
        if (from == 0 && removed == 0 && added == doc->characterCount())
            return;
        // Right after an undo there is something to redo: any other change clears it.
        h->kept.marks.change(from, removed, added, doc->isRedoAvailable());
    });
}

void dropKeptMaterial(QTextDocument *doc)
{
    delete holder(doc);
}

bool anchorsKeptItem(const QTextCharFormat &format)
{
    return format.hasProperty(KeptNote) || format.hasProperty(KeptField);
}

QTextCharFormat withoutKeptItems(QTextCharFormat format)
{
    if (format.hasProperty(KeptNote))
        format.clearProperty(QTextFormat::TextVerticalAlignment);
    for (const int p : {KeptNote, KeptField, KeptCustomMark})
        format.clearProperty(p);
    return format;
}

std::vector<KeptItem> keptItems(const QByteArray &kept)
{
    ItemListener l;
    tokenize(kept, l);
    return std::move(l.items);
}

std::vector<std::pair<QByteArray, std::optional<int>>> keptWords(const QByteArray &kept)
{
    ItemListener l;
    tokenize(kept, l);
    return std::move(l.words);
}

} // namespace rtf
