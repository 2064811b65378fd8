// Interoperability: what the writer saves opens in other word processors with the same
// words and the main formatting. Each peer converts our files to text, for the words, and
// to RTF again, its own account of what it read, which our reader then reads; what is
// compared is what the peer read, whatever its version writes. Set-up installs the peers:
// a peer that is missing fails its rows.
#include "rtfcodec.h"
#include "support/peerprocess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <functional>
#include <map>

namespace {

const QStringList kPeers = {u"soffice"_qs, u"pandoc"_qs, u"abiword"_qs};

// A character format from letters: b, i, u and s for bold, italic, underline, strike-out.
QTextCharFormat fmt(QStringView flags = {})
{
    QTextCharFormat f;
    f.setFontWeight(flags.contains(u'b') ? QFont::Bold : QFont::Normal);
    f.setFontItalic(flags.contains(u'i'));
    f.setFontUnderline(flags.contains(u'u'));
    f.setFontStrikeOut(flags.contains(u's'));
    return f;
}

// A new paragraph, outside any list.
void paragraph(QTextCursor &c, const QString &text, Qt::Alignment align = Qt::AlignLeft)
{
    if (c.position() > 0)
        c.insertBlock();
    QTextBlockFormat bf;
    bf.setAlignment(align);
    c.setBlockFormat(bf);
    c.insertText(text, fmt());
}

void items(QTextCursor &c, QTextListFormat::Style style, const QStringList &texts)
{
    c.insertBlock(QTextBlockFormat());
    c.createList(style);
    for (int i = 0; i < texts.size(); ++i) {
        if (i > 0)
            c.insertBlock(); // keeps the list
        c.insertText(texts[i], fmt());
    }
}

// The documents, by file name. No word is part of another, so that a word can be found
// in a peer's HTML even where it loses the spaces between runs.
const std::map<QString, std::function<void(QTextCursor &)>> kDocuments = {
    {u"texto"_qs, [](QTextCursor &c) {
         paragraph(c, u"Canción del año para Dvořák"_qs);
         paragraph(c, u"Cuesta 20 € más œuvre"_qs);
         paragraph(c, u"漢字 y "_qs + QString::fromUcs4(U"\U0001F600") + u" juntos"_qs);
     }},
    {u"formato"_qs, [](QTextCursor &c) {
         paragraph(c, u"normal "_qs);
         for (const auto &[text, flags] : {std::pair(u"negrita ", u"b"), {u"cursiva ", u"i"},
                  {u"subrayado ", u"u"}, {u"tachado ", u"s"}, {u"ambas ", u"bi"}, {u"final", u""}})
             c.insertText(QString::fromUtf16(text), fmt(flags));
     }},
    {u"alineado"_qs, [](QTextCursor &c) {
         paragraph(c, u"izquierda"_qs);
         paragraph(c, u"centrado"_qs, Qt::AlignHCenter);
         paragraph(c, u"derecha"_qs, Qt::AlignRight);
     }},
    {u"listas"_qs, [](QTextCursor &c) {
         paragraph(c, u"antes"_qs);
         items(c, QTextListFormat::ListDisc, {u"uno"_qs, u"dos"_qs});
         paragraph(c, u"entre"_qs);
         items(c, QTextListFormat::ListDecimal, {u"primero"_qs, u"segundo"_qs});
         paragraph(c, u"después"_qs);
     }},
    {u"tabla"_qs, [](QTextCursor &c) {
         paragraph(c, u"arriba"_qs);
         QTextTable *t = c.insertTable(2, 2);
         const QStringList cells = {u"A1"_qs, u"B1"_qs, u"A2"_qs, u"B2"_qs};
         for (int i = 0; i < 4; ++i)
             t->cellAt(i / 2, i % 2).firstCursorPosition().insertText(cells[i]);
         c.movePosition(QTextCursor::End);
         c.insertText(u"abajo"_qs);
     }},
};

// The words of a text, without the list labels and table rules that peers add and the
// byte order mark that LibreOffice starts with. A character beyond the Basic Multilingual
// Plane counts as two replacement characters, as some versions of pandoc read it.
QStringList words(const QString &text)
{
    static const QRegularExpression label(uR"(^([•◦▪|+-]+|\d+[.)])$)"_qs);
    static const QRegularExpression beyondBmp(u"[\\x{10000}-\\x{10FFFF}]"_qs);
    QString flat = text;
    flat.replace(beyondBmp, u"\uFFFD\uFFFD"_qs);
    QStringList out = flat.split(QRegularExpression(u"[\\s\\x{FEFF}]+"_qs), Qt::SkipEmptyParts);
    out.removeIf([](const QString &w) { return label.match(w).hasMatch(); });
    return out;
}

// How a word looks: its character formatting, the alignment of its paragraph, the kind of
// list and the table cell it is in.
QString describe(const QTextDocument &doc, const QString &word)
{
    QTextCursor c = doc.find(word, 0, QTextDocument::FindCaseSensitively);
    if (c.isNull())
        return u"missing"_qs;
    c.setPosition(c.selectionStart() + 1);
    const QTextCharFormat f = c.charFormat();
    QStringList out;
    if (f.fontWeight() >= QFont::DemiBold) out << u"b"_qs;
    if (f.fontItalic()) out << u"i"_qs;
    if (f.fontUnderline()) out << u"u"_qs;
    if (f.fontStrikeOut()) out << u"s"_qs;
    const Qt::Alignment a = c.blockFormat().alignment();
    if (a & Qt::AlignHCenter) out << u"center"_qs;
    else if (a & Qt::AlignRight) out << u"right"_qs;
    if (const QTextList *list = c.currentList())
        out << (list->format().style() == QTextListFormat::ListDecimal ? u"numbered"_qs : u"bullet"_qs);
    if (const QTextTable *t = c.currentTable())
        out << u"cell%1,%2"_qs.arg(t->cellAt(c).row()).arg(t->cellAt(c).column());
    return out.join(u' ');
}

// What a peer does not keep, whatever the file says; its rows leave it out.
struct Blind { const char *peer, *attributes, *why; };
const Blind kBlind[] = {
    {"pandoc", "center right", "pandoc's document model has no paragraph alignment"},
    {"pandoc", "bullet numbered", "pandoc's RTF writer writes list markers as text"},
};

// Documents whose formatting a peer cannot give back at all: their rows are left out.
struct Unreadable { const char *peer, *document, *why; };
const Unreadable kUnreadable[] = {
    {"abiword", "listas", "AbiWord 3.0's RTF writer puts each list item it read from RTF, "
                          "its own files' too, inside \\listtext, which readers skip"},
};

bool readable(const QString &peer, const char *document)
{
    for (const Unreadable &u : kUnreadable)
        if (peer == QLatin1String(u.peer) && qstrcmp(document, u.document) == 0)
            return false;
    return true;
}

QString withoutBlind(const QString &peer, const QString &description)
{
    QStringList parts = description.split(u' ', Qt::SkipEmptyParts);
    for (const Blind &b : kBlind)
        if (peer == QLatin1String(b.peer))
            for (const QString &attribute : QString::fromLatin1(b.attributes).split(u' '))
                parts.removeAll(attribute);
    return parts.join(u' ');
}

} // namespace

class TestRtfInterop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameWords_data();
    void sameWords();
    void sameFormatting_data();
    void sameFormatting();

private:
    // A peer's conversion of each document, by file name: text and RTF.
    using Converted = std::map<QString, std::pair<QString, QByteArray>>;
    const Converted &converted(const QString &peer);
    QString run(const QString &program, const QStringList &args);

    QTemporaryDir m_dir;
    std::map<QString, QTextDocument *> m_docs;
    std::map<QString, Converted> m_converted;
};

void TestRtfInterop::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const auto &[name, build] : kDocuments) {
        auto *doc = new QTextDocument(this);
        QTextCursor c(doc);
        build(c);
        rtf::writeFile(m_dir.filePath(name + u".rtf"_qs), doc);
        m_docs[name] = doc;
    }
}

QString TestRtfInterop::run(const QString &program, const QStringList &args)
{
    return runPeer(m_dir.path(), program, args);
}

// Converts every document on the first request, in as few runs of the peer as it allows.
const TestRtfInterop::Converted &TestRtfInterop::converted(const QString &peer)
{
    if (auto it = m_converted.find(peer); it != m_converted.end())
        return it->second;
    Converted &out = m_converted[peer];
    const QString program = QStandardPaths::findExecutable(peer);
    QStringList files;
    for (const auto &[name, doc] : m_docs)
        files << name + u".rtf"_qs;
    // LibreOffice gets a profile of its own, so that it neither waits for nor disturbs a
    // running instance; AbiWord writes each conversion next to its input.
    const QString outDir = peer == u"soffice" ? m_dir.filePath(peer) : m_dir.path();
    const QString profile = u"-env:UserInstallation=file://"_qs + m_dir.filePath(u"lo-profile"_qs);
    // AbiWord names its RTF as its input, so that one goes elsewhere.
    if (peer == u"soffice") {
        for (const QString &to : {u"txt:Text (encoded):UTF8"_qs, u"rtf"_qs})
            run(program, QStringList{profile, u"--headless"_qs, u"--convert-to"_qs, to,
                                     u"--outdir"_qs, outDir} + files);
    } else if (peer == u"abiword") {
        run(program, QStringList{u"--to=txt"_qs} + files);
        QDir(m_dir.path()).mkpath(u"abiword"_qs);
        for (const QString &file : files)
            run(program, {u"--to=rtf"_qs, u"-o"_qs, u"abiword/"_qs + file, file});
    }
    const auto readAll = [&](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QString rtfDir = peer == u"soffice" ? outDir : m_dir.filePath(u"abiword"_qs);
    for (const auto &[name, doc] : m_docs) {
        const QString file = name + u".rtf"_qs;
        if (peer == u"pandoc") // plain-strikeout: without the ~~ around struck-out runs
            out[name] = {run(program, {u"-f"_qs, u"rtf"_qs, u"-t"_qs, u"plain-strikeout"_qs, file}),
                         run(program, {u"-f"_qs, u"rtf"_qs, u"-t"_qs, u"rtf"_qs, u"-s"_qs, file}).toUtf8()};
        else
            out[name] = {QString::fromUtf8(readAll(outDir + u'/' + name + u".txt"_qs)),
                         readAll(rtfDir + u'/' + file)};
    }
    return out;
}

void TestRtfInterop::sameWords_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("expected");
    for (const QString &peer : kPeers)
        for (const auto &[name, doc] : m_docs)
            QTest::addRow("%s %s", qPrintable(peer), qPrintable(name)) << peer << name
                                                                       << doc->toPlainText();
}

void TestRtfInterop::sameWords()
{
    QFETCH(QString, peer);
    QFETCH(QString, document);
    QFETCH(QString, expected);
    QVERIFY2(!QStandardPaths::findExecutable(peer).isEmpty(), "set-up installs the peers");
    QCOMPARE(words(converted(peer).at(document).first), words(expected));
}

void TestRtfInterop::sameFormatting_data()
{
    QTest::addColumn<QString>("peer");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");
    struct Check { const char *document, *word, *expected; };
    static const Check checks[] = {
        {"formato", "normal", ""}, {"formato", "negrita", "b"}, {"formato", "cursiva", "i"},
        {"formato", "subrayado", "u"}, {"formato", "tachado", "s"},
        {"formato", "ambas", "b i"}, {"formato", "final", ""},
        {"alineado", "izquierda", ""}, {"alineado", "centrado", "center"},
        {"alineado", "derecha", "right"},
        {"listas", "antes", ""}, {"listas", "uno", "bullet"}, {"listas", "dos", "bullet"},
        {"listas", "entre", ""}, {"listas", "primero", "numbered"},
        {"listas", "segundo", "numbered"}, {"listas", "después", ""},
        {"tabla", "arriba", ""}, {"tabla", "A1", "cell0,0"}, {"tabla", "B1", "cell0,1"},
        {"tabla", "A2", "cell1,0"}, {"tabla", "B2", "cell1,1"}, {"tabla", "abajo", ""},
    };
    for (const QString &peer : kPeers)
        for (const Check &c : checks)
            if (readable(peer, c.document))
                QTest::addRow("%s %s", qPrintable(peer), c.word)
                    << peer << QString::fromLatin1(c.document) << QString::fromUtf8(c.word)
                    << QString::fromLatin1(c.expected);
}

void TestRtfInterop::sameFormatting()
{
    QFETCH(QString, peer);
    QFETCH(QString, document);
    QFETCH(QString, word);
    QFETCH(QString, expected);
    QVERIFY2(!QStandardPaths::findExecutable(peer).isEmpty(), "set-up installs the peers");
    QCOMPARE(describe(*m_docs.at(document), word), expected);
    QTextDocument shown;
    rtf::read(converted(peer).at(document).second, &shown);
    QCOMPARE(withoutBlind(peer, describe(shown, word)), withoutBlind(peer, expected));
}

QTEST_MAIN(TestRtfInterop)
#include "tst_rtfinterop.moc"
