#include "rtfgen.h"

#include "rtfgenwords.h"

#include <QFile>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace rtfgen {
namespace {

// std::mt19937's sequence is fixed by the standard, unlike the library's distributions,
// so the documents are the same with every compiler.
class Random
{
public:
    explicit Random(quint32 seed) : gen_(seed) {}
    double real() { return gen_() / 4294967296.0; }
    int between(int lo, int hi) { return lo + int(gen_() % quint32(hi - lo + 1)); }
    template <typename T, std::size_t N>
    const T &choice(const T (&items)[N]) { return items[between(0, int(N) - 1)]; }
    const QString &choice(const QStringList &items) { return items[between(0, int(items.size()) - 1)]; }
    // k distinct numbers of [from, to), in the order drawn.
    QList<int> sample(int from, int to, int k)
    {
        QList<int> pool;
        for (int i = from; i < to; ++i)
            pool.append(i);
        for (int i = 0; i < k; ++i)
            std::swap(pool[i], pool[between(i, int(pool.size()) - 1)]);
        return pool.mid(0, k);
    }

private:
    std::mt19937 gen_;
};

constexpr int kColours[][3] = {{0, 0, 0},     {192, 0, 0},   {0, 128, 0},   {0, 0, 192},
                               {128, 0, 128}, {255, 128, 0}, {0, 128, 128}, {128, 128, 128}};
constexpr int kColourCount = int(std::size(kColours));
constexpr int kSizes[] = {16, 18, 20, 20, 20, 24, 24, 28, 32, 40};   // half-points
constexpr int kTextFonts[] = {0, 0, 0, 1, 1, 2};                      // Arial is the usual
constexpr int kSymbolFont = 3;
constexpr const char *kAligns[] = {"\\ql", "\\ql", "\\qj", "\\qj", "\\qc", "\\qr"};

// The character format at one point of the text.
struct CharState
{
    bool b = false, i = false, u = false, s = false;
    int f = 0, fs = 20, cf = 0;

    // The control words that turn old into this state.
    QByteArray diff(const CharState &old) const
    {
        QByteArray cw;
        if (b != old.b)
            cw += b ? "\\b" : "\\b0";
        if (i != old.i)
            cw += i ? "\\i" : "\\i0";
        if (u != old.u)
            cw += u ? "\\ul" : "\\ulnone";
        if (s != old.s)
            cw += s ? "\\strike" : "\\strike0";
        if (f != old.f)
            cw += "\\f" + QByteArray::number(f);
        if (fs != old.fs)
            cw += "\\fs" + QByteArray::number(fs);
        if (cf != old.cf)
            cw += "\\cf" + QByteArray::number(cf);
        return cw;
    }
};

// Puts one property that is off its default back to it; false when all are at default.
bool undoOne(Random &rng, CharState &st)
{
    const CharState plain;
    QList<int> changed;
    const bool differs[] = {st.b, st.i, st.u, st.fs != plain.fs, st.cf != plain.cf,
                            st.f != plain.f};
    for (int k = 0; k < int(std::size(differs)); ++k) {
        if (differs[k])
            changed.append(k);
    }
    if (changed.isEmpty() || rng.real() >= 0.5)
        return false;
    switch (changed[rng.between(0, int(changed.size()) - 1)]) {
    case 0: st.b = false; break;
    case 1: st.i = false; break;
    case 2: st.u = false; break;
    case 3: st.fs = plain.fs; break;
    case 4: st.cf = plain.cf; break;
    default: st.f = plain.f; break;
    }
    return true;
}

// Changes one or two properties, as a user formatting a word would: most formatting is
// switched on for a stretch and then back off; strike-through marks a word or two.
CharState mutate(Random &rng, const CharState &st)
{
    CharState next = st;
    next.s = false;
    const int changes = rng.real() < 0.75 ? 1 : 2;
    for (int n = 0; n < changes; ++n) {
        if (undoOne(rng, next))
            continue;
        const double r = rng.real();
        if (r < 0.25)
            next.b = !next.b;
        else if (r < 0.45)
            next.i = !next.i;
        else if (r < 0.57)
            next.u = !next.u;
        else if (r < 0.62)
            next.s = true;
        else if (r < 0.77)
            next.fs = rng.choice(kSizes);
        else if (r < 0.90)
            next.cf = rng.between(1, kColourCount);
        else
            next.f = rng.choice(kTextFonts);
    }
    if (next.diff(st).isEmpty())
        next.b = !next.b;   // every boundary changes something
    return next;
}

void decorate(Random &rng, QStringList &words)
{
    const auto at = [&] { return rng.between(0, int(words.size()) - 1); };
    if (rng.real() < 0.08)
        words.insert(at(), QString::number(rng.between(2, 9999)) + QChar(0xA0) + QChar(0x20AC));
    if (rng.real() < 0.05) {
        const int i = at();
        words[i] = QChar(0x201C) + words[i] + QChar(0x201D);
    }
    if (rng.real() < 0.04) {
        const int i = at();
        words[i] = QChar(0xAB) + words[i] + QChar(0xBB);
    }
    if (rng.real() < 0.04)
        words.insert(rng.between(1, int(words.size()) - 1), QString(QChar(0x2014)));
    const int commas = std::min(int(words.size()) - 1, rng.between(0, 2));
    for (int i : rng.sample(0, int(words.size()) - 1, commas))
        words[i] += QLatin1Char(',');
}

QStringList sentence(Random &rng)
{
    const int n = rng.between(4, 18);
    QStringList words;
    for (int i = 0; i < n; ++i)
        words.append(rng.choice(rtfgen::words()));
    if (rng.real() < 0.25)
        words[rng.between(0, n - 1)] = rng.choice(names());
    decorate(rng, words);
    words[0][0] = words[0][0].toUpper();
    const double r = rng.real();
    if (r < 0.08) {
        words[0].prepend(QChar(0xBF));
        words.last() += QLatin1Char('?');
    } else if (r < 0.12) {
        words[0].prepend(QChar(0xA1));
        words.last() += QLatin1Char('!');
    } else {
        words.last() += r < 0.14 ? QChar(0x2026) : QChar(QLatin1Char('.'));
    }
    return words;
}

// Text as pure ASCII RTF: Latin-1 letters as \'hh, typographic punctuation as \uN?, as
// word processors write them; a line break and a tab as their control words.
QByteArray escape(const QString &text)
{
    QByteArray out;
    for (QChar ch : text) {
        const ushort c = ch.unicode();
        if (c == '\\' || c == '{' || c == '}')
            out += '\\' + QByteArray(1, char(c));
        else if (c >= 32 && c < 127)
            out += char(c);
        else if (c == 0x2028)
            out += "\\line ";
        else if (c == '\t')
            out += "\\tab ";
        else if (c == 0xA0)
            out += "\\~";
        else if (c > 0xA0 && c <= 0xFF)
            out += "\\'" + QByteArray::number(c, 16).rightJustified(2, '0');
        else
            out += "\\u" + QByteArray::number(qint16(c)) + '?';
    }
    return out;
}

QByteArray header()
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082{\\fonttbl"
                     "{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}"
                     "{\\f2\\fmodern\\fcharset0 Courier New;}{\\f3\\ftech\\fcharset2 Symbol;}}\r\n"
                     "{\\colortbl ;";
    for (const auto &c : kColours)
        out += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c[0]).arg(c[1]).arg(c[2]).toLatin1();
    return out + "}\r\n{\\*\\generator rtfgen;}\\viewkind4\\uc1\r\n";
}

struct ParagraphProps
{
    QByteArray align;
    int li = 0, ri = 0, fi = 0;
};

ParagraphProps paragraphProps(Random &rng, bool bullet)
{
    ParagraphProps p;
    p.align = rng.choice(kAligns);
    if (bullet) {
        p.li = rng.real() < 0.2 ? 1440 : 720;
        p.fi = -360;
        return p;
    }
    if (rng.real() < 0.25)
        p.li = rng.choice({360, 567, 720, 1134, 1440});
    if (rng.real() < 0.10)
        p.ri = rng.choice({360, 720, 1440});
    if (rng.real() < 0.15)
        p.fi = p.li ? rng.choice({284, 360, 720, -360}) : rng.choice({284, 360, 720});
    return p;
}

QByteArray paragraphLead(const ParagraphProps &p, bool bullet, bool first)
{
    QByteArray lead = "\\pard";
    if (bullet)
        lead += QStringLiteral("{\\pntext\\f%1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf%1\\pnindent0"
                               "{\\pntxtb\\'B7}}").arg(kSymbolFont).toLatin1();
    if (p.fi)
        lead += "\\fi" + QByteArray::number(p.fi);
    if (p.li)
        lead += "\\li" + QByteArray::number(p.li);
    if (p.ri)
        lead += "\\ri" + QByteArray::number(p.ri);
    lead += p.align;
    if (first)
        lead += "\\f0\\fs20";
    return lead;
}

// The generator's state from one paragraph to the next: character formatting carries
// over, as \pard resets paragraph properties only.
struct Writer
{
    Random rng;
    CharState st;        // the format of the text being made
    CharState written;   // the format a reader has at this point of the output
    int bulletsLeft = 0;
    bool first = true;

    QByteArray paragraph();
    QStringList paragraphWords(bool bullet);
    QByteArray runs(const QStringList &words);
};

QStringList Writer::paragraphWords(bool bullet)
{
    static const int counts[] = {1, 1, 2, 2, 3, 3, 4, 5, 6};
    const int sentences = bullet ? rng.between(1, 2) : rng.choice(counts);
    QStringList words;
    for (int i = 0; i < sentences; ++i)
        words += sentence(rng);
    return words;
}

// The paragraph's text cut where the formatting changes, several times a paragraph.
QByteArray Writer::runs(const QStringList &words)
{
    const int n = int(words.size());
    const int changes = std::min(n - 1, rng.between(2, 7));
    const QList<int> cutList = changes > 0 ? rng.sample(1, n, changes) : QList<int>();
    const QSet<int> cuts(cutList.begin(), cutList.end());
    if (rng.real() < 0.3)
        st = mutate(rng, st);
    QByteArray body;
    QString text;
    const auto flush = [&] {
        const QByteArray cw = st.diff(written);
        written = st;
        if (!cw.isEmpty())
            body += cw + ' ';
        body += escape(text);
        text.clear();
    };
    for (int w = 0; w < n; ++w) {
        if (w) {
            const double r = rng.real();
            text += r < 0.006 ? QChar(0x2028) : r < 0.012 ? QChar('\t') : QChar(' ');
        }
        if (cuts.contains(w)) {
            flush();
            st = mutate(rng, st);
        }
        text += words[w];
    }
    flush();
    return body;
}

QByteArray Writer::paragraph()
{
    if (bulletsLeft == 0 && rng.real() < 0.035)
        bulletsLeft = rng.between(1, 5);
    const bool bullet = bulletsLeft > 0;
    if (bullet)
        --bulletsLeft;
    QByteArray lead = paragraphLead(paragraphProps(rng, bullet), bullet, first);
    first = false;
    const QByteArray body = runs(paragraphWords(bullet));
    // A control word followed by text needs its delimiting space.
    if (!body.startsWith('\\'))
        lead += ' ';
    return lead + body + "\\par\r\n";
}

} // namespace

QByteArray document(int paragraphs, quint32 seed)
{
    Writer writer{Random(seed), {}, {}, 0, true};
    QByteArray out = header();
    for (int i = 0; i < paragraphs; ++i)
        out += writer.paragraph();
    return out + "}\r\n";
}

bool writeDocument(const QString &path, int paragraphs, quint32 seed)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write(document(paragraphs, seed)) >= 0 && file.flush();
}

QString benchDocument(const QString &path, int paragraphs, quint32 seed)
{
    if (!writeDocument(path, paragraphs, seed)) {
        std::fprintf(stderr, "cannot write the test document %s\n", qPrintable(path));
        std::exit(1);
    }
    return path;
}

} // namespace rtfgen
