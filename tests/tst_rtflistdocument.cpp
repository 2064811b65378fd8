// ListDocument shows the numbers Qt's own lists show and lays out what changed.
#include "rtfcodec.h"
#include "rtflistdocument.h"

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

#include <functional>

using Edit = std::function<void(QTextDocument *)>;
Q_DECLARE_METATYPE(Edit)

namespace {

const QByteArray kNumbered = R"({\rtf1{\*\listtable{\list{\listlevel\levelnfc0\levelstartat1)"
                             R"({\leveltext\'02\'00.;}{\levelnumbers\'01;}\fi-360\li720}\listid1}})"
                             R"({\*\listoverridetable{\listoverride\listid1\ls1}})"
                             R"(\pard\ls1 uno\par\pard\ls1 dos\par\pard\ls1 tres\par)"
                             R"(\pard\ls1 cuatro\par\pard Fin})";

// Enter at the end of the paragraph with text, then typing word.
Edit enterAfter(const QString &text, const QString &word)
{
    return [=](QTextDocument *doc) {
        QTextCursor c = doc->find(text);
        c.movePosition(QTextCursor::EndOfBlock);
        c.insertBlock();
        c.insertText(word);
    };
}

// Each paragraph as shown: its marker, if any, and its text; every one laid out.
QString shown(QTextDocument *doc)
{
    doc->setTextWidth(500);
    doc->documentLayout()->documentSize();
    QStringList out;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QString marker = b.textList() ? b.textList()->itemText(b) + u' ' : QString();
        const bool laidOut = b.layout() && b.layout()->lineCount() > 0;
        out << marker + b.text() + (laidOut ? QString() : u" (sin maquetar)"_qs);
    }
    return out.join(u" | "_qs);
}

} // namespace

class TestRtfListDocument : public QObject
{
    Q_OBJECT
private slots:
    void numbersShown_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("an item in the middle") << enterAfter(u"dos"_qs, u"nuevo"_qs)
                                               << u"1. uno | 2. dos | 3. nuevo | 4. tres | 5. cuatro | Fin"_qs;
        QTest::newRow("an item before the first") << Edit([](QTextDocument *doc) {
            QTextCursor c = doc->find(u"uno"_qs);
            c.movePosition(QTextCursor::StartOfBlock);
            c.insertBlock();
        }) << u"1.  | 2. uno | 3. dos | 4. tres | 5. cuatro | Fin"_qs;
        QTest::newRow("an item removed, then one at the end") << Edit([](QTextDocument *doc) {
            QTextCursor c = doc->find(u"dos"_qs);
            c.movePosition(QTextCursor::StartOfBlock);
            c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
            c.removeSelectedText();
            enterAfter(u"cuatro"_qs, u"cinco"_qs)(doc);
        }) << u"1. uno | 2. tres | 3. cuatro | 4. cinco | Fin"_qs;
        QTest::newRow("an item at the end, undone and done again") << Edit([](QTextDocument *doc) {
            enterAfter(u"cuatro"_qs, u"cinco"_qs)(doc);
            doc->undo();
            doc->undo();
            enterAfter(u"dos"_qs, u"nuevo"_qs)(doc);
            doc->undo();
            doc->redo();
        }) << u"1. uno | 2. dos | 3. nuevo | 4. tres | 5. cuatro | Fin"_qs;
        QTest::newRow("the text after the list made an item") << Edit([](QTextDocument *doc) {
            QTextCursor(doc->find(u"Fin"_qs)).setBlockFormat(doc->find(u"uno"_qs).blockFormat());
        }) << u"1. uno | 2. dos | 3. tres | 4. cuatro | 5. Fin"_qs;
    }

    // The numbers and text shown after the edit, as Qt's own document shows them too.
    void numbersShown()
    {
        QFETCH(Edit, edit);
        rtf::ListDocument doc;
        QTextDocument qts;
        for (QTextDocument *d : {static_cast<QTextDocument *>(&doc), &qts}) {
            rtf::read(kNumbered, d);
            shown(d);
            edit(d);
        }
        QTEST(shown(&doc), "expected");
        QCOMPARE(shown(&doc), shown(&qts));
    }
};

QTEST_MAIN(TestRtfListDocument)
#include "tst_rtflistdocument.moc"
