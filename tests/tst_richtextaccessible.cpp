// What a screen reader reads and does through the rich text control's accessible
// interface, and that reading a large document just opened does not lay all of it out.
#include "richtextbox.h"
#include "rtfcodec.h"

#include <QAccessible>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <functional>

namespace {

// Four paragraphs, the third empty; "mundo" bold, italic and red, "segunda" wavy-underlined.
const QString kText = QStringLiteral("Hola mundo. Adiós.\nsegunda línea\n\nfin");
const QByteArray kRtf = "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}Hola {\\b\\i\\cf1 mundo}. Adi\\'f3s.\\par"
                        "{\\ulwave segunda} l\\'ednea\\par\\par fin}";

// Never null: a control without a text interface fails the test here.
QAccessibleTextInterface *reading(RichTextBox &box)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&box);
    QAccessibleTextInterface *text = iface ? iface->textInterface() : nullptr;
    return text ? text : (qFatal("the control offers no accessible text"), nullptr);
}

struct Shown
{
    RichTextBox box;
    Shown()
    {
        box.resize(600, 300);
        rtf::read(kRtf, box.document());
        box.show();
        if (!QTest::qWaitForWindowExposed(&box))
            qWarning("the control was not shown");
    }
};

// A question to the text interface, answered as text; one to ask at an offset.
using Ask = std::function<QString(QAccessibleTextInterface *)>;
using Query = std::function<Ask(int)>;

constexpr int Before = 0, At = 1, After = 2;

// The unit at, before or after an offset, as "text|start|end".
Ask unit(int which, int offset, QAccessible::TextBoundaryType type)
{
    return [=](QAccessibleTextInterface *t) {
        int from = 0, to = 0;
        const QString text = which == At ? t->textAtOffset(offset, type, &from, &to)
            : which == Before ? t->textBeforeOffset(offset, type, &from, &to)
                              : t->textAfterOffset(offset, type, &from, &to);
        return QStringLiteral("%1|%2|%3").arg(text).arg(from).arg(to);
    };
}

Ask range(int start, int end)
{
    return [=](QAccessibleTextInterface *t) { return t->text(start, end); };
}

// The run of one format around an offset, as "start|end|" and the parts of its CSS looked for.
Ask run(int offset)
{
    return [=](QAccessibleTextInterface *t) {
        int from = 0, to = 0;
        const QString css = t->attributes(offset, &from, &to);
        QString out = QStringLiteral("%1|%2|").arg(from).arg(to);
        for (const char *kind : {"font-weight:bold;", "font-style:italic;", "color:rgb(255,0,0);",
                                 "text-underline-type:single;", "color:"})
            if (css.contains(QLatin1String(kind)))
                out += QLatin1String(kind);
        return out;
    };
}

} // namespace

Q_DECLARE_METATYPE(Ask)
Q_DECLARE_METATYPE(Query)

class TestRichTextAccessible : public QObject
{
    Q_OBJECT
private slots:
    // What is read at, before and after an offset, between two offsets, and the run of a format.
    void reads_data()
    {
        QTest::addColumn<Ask>("ask");
        QTest::addColumn<QString>("expected");
        QTest::newRow("word") << unit(At, 7, QAccessible::WordBoundary) << "mundo|5|10";
        QTest::newRow("second sentence") << unit(At, 14, QAccessible::SentenceBoundary) << "Adiós.|12|18";
        // The caret at the start of a line reads that line, not the one before.
        QTest::newRow("line from its start") << unit(At, 19, QAccessible::LineBoundary) << "segunda línea|19|32";
        QTest::newRow("empty paragraph") << unit(At, 33, QAccessible::ParagraphBoundary) << "|33|33";
        QTest::newRow("whole text") << unit(At, 4, QAccessible::NoBoundary) << kText + "|0|37";
        // The caret after Ctrl+End: the last line is still read.
        QTest::newRow("line at the end") << unit(At, 37, QAccessible::LineBoundary) << "fin|34|37";
        QTest::newRow("past the end") << unit(At, 38, QAccessible::LineBoundary) << "|-1|-1";
        QTest::newRow("negative") << unit(At, -1, QAccessible::WordBoundary) << "|-1|-1";
        QTest::newRow("word after") << unit(After, 7, QAccessible::WordBoundary) << ".|10|11";
        QTest::newRow("line before") << unit(Before, 22, QAccessible::LineBoundary) << "Hola mundo. Adiós.|0|18";
        // After the second line comes the empty paragraph: found, and empty.
        QTest::newRow("line after") << unit(After, 22, QAccessible::LineBoundary) << "|33|33";
        QTest::newRow("nothing before the first") << unit(Before, 2, QAccessible::LineBoundary) << "|-1|-1";
        QTest::newRow("nothing after the last") << unit(After, 36, QAccessible::ParagraphBoundary) << "|-1|-1";
        QTest::newRow("across paragraphs") << range(12, 26) << "Adiós.\nsegunda";
        QTest::newRow("the empty paragraph's marks") << range(32, 34) << "\n\n";
        QTest::newRow("reversed") << range(10, 5) << "mundo";
        QTest::newRow("range past the end") << range(34, 99) << "fin";
        QTest::newRow("bold run") << run(7) << "5|10|font-weight:bold;font-style:italic;color:rgb(255,0,0);color:";
        QTest::newRow("plain run") << run(1) << "0|5|";
        // The paragraph's mark is a run of one character, after the text before it.
        QTest::newRow("paragraph mark") << run(18) << "18|19|";
        QTest::newRow("wavy underline") << run(20) << "19|26|text-underline-type:single;";
    }
    void reads()
    {
        QFETCH(Ask, ask);
        Shown shown;
        QTEST(ask(reading(shown.box)), "expected");
    }

    void readingLaysOutOnlyWhatItReads_data()
    {
        QTest::addColumn<Query>("query");
        QTest::addColumn<bool>("middle");   // asked in the middle of the document, not at the caret
        auto at = [](QAccessible::TextBoundaryType type) { return Query([=](int o) { return unit(At, o, type); }); };
        QTest::newRow("line") << at(QAccessible::LineBoundary) << false;
        // Units that do not depend on where lines break need no layout at all.
        QTest::newRow("sentence in the middle") << at(QAccessible::SentenceBoundary) << true;
        QTest::newRow("paragraph in the middle") << at(QAccessible::ParagraphBoundary) << true;
        QTest::newRow("attributes in the middle") << Query(run) << true;
    }
    // Reading a document just opened lays out only what is read: all at once froze the window.
    void readingLaysOutOnlyWhatItReads()
    {
        QFETCH(Query, query);
        QFETCH(bool, middle);
        QStringList lines;
        for (int i = 0; i < 20000; ++i)
            lines << QStringLiteral("Párrafo %1. Con otra frase.").arg(i);
        Shown shown;
        shown.box.setText(lines.join(QLatin1Char('\n')));
        QAccessibleTextInterface *t = reading(shown.box);
        const int offset = middle ? t->characterCount() / 2 : t->cursorPosition();
        const QTextBlock unread = middle ? shown.box.document()->findBlock(offset)
                                         : shown.box.document()->lastBlock();
        QCOMPARE(unread.layout()->lineCount(), 0);
        query(offset)(t);
        QCOMPARE(unread.layout()->lineCount(), 0);
    }

    // Read only, it offers no editing, and its value cannot be written either.
    void selectionCaretAndEditing()
    {
        Shown shown;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&shown.box);
        QAccessibleTextInterface *t = reading(shown.box);
        QCOMPARE(iface->role(), QAccessible::EditableText);
        QVERIFY(iface->state().editable);
        QCOMPARE(iface->text(QAccessible::Value), kText);
        QSignalSpy moves(&shown.box, &RichTextBox::SelChange);
        t->setSelection(0, 5, 10);
        QCOMPARE(shown.box.SelText(), QStringLiteral("mundo"));
        QCOMPARE(t->selectionCount(), 1);
        int from = 0, to = 0;
        t->selection(0, &from, &to);
        QCOMPARE(from, 5);
        QCOMPARE(to, 10);
        t->removeSelection(0);
        QCOMPARE(t->selectionCount(), 0);
        t->setCursorPosition(22);
        QCOMPARE(t->cursorPosition(), 22);
        QVERIFY(moves.count() >= 3);
        t->setCursorPosition(9999);   // past the end: the caret stops at the end
        QCOMPARE(t->cursorPosition(), int(kText.size()));
        QAccessibleEditableTextInterface *e = iface->editableTextInterface();
        e->replaceText(5, 10, QStringLiteral("gente"));
        e->insertText(12, QStringLiteral("¡"));
        e->insertText(0, QStringLiteral("xx"));
        e->deleteText(0, 2);
        const QString edited = QStringLiteral("Hola gente. ¡Adiós.\nsegunda línea\n\nfin");
        QCOMPARE(shown.box.toPlainText(), edited);
        shown.box.setReadOnly(true);
        QVERIFY(iface->state().readOnly);
        QVERIFY(!iface->state().editable);
        QVERIFY(!iface->editableTextInterface());
        iface->setText(QAccessible::Value, QStringLiteral("otro"));
        QCOMPARE(shown.box.toPlainText(), edited);
    }

    // Where a character is on screen, and which character is at a point of the screen.
    void geometry()
    {
        Shown shown;
        QAccessibleTextInterface *t = reading(shown.box);
        const QRect viewport(shown.box.viewport()->mapToGlobal(QPoint(0, 0)), shown.box.viewport()->size());
        for (int offset : {0, 5, 22, 34}) {
            const QRect r = t->characterRect(offset);
            QVERIFY2(viewport.contains(r), qPrintable(QString::number(offset)));
            QCOMPARE(t->offsetAtPoint(r.center()), offset);
        }
        QVERIFY(t->characterRect(int(kText.size())).isEmpty());
        QCOMPARE(t->offsetAtPoint(viewport.bottomRight() + QPoint(50, 50)), -1);

        // Scrolled down, the characters in view are still found where they show.
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("línea %1").arg(i);
        shown.box.setText(lines.join(QLatin1Char('\n')));
        shown.box.verticalScrollBar()->setValue(shown.box.verticalScrollBar()->maximum() / 2);
        // The second letter of a line in view.
        const int there = shown.box.cursorForPosition(shown.box.viewport()->rect().center()).block().position() + 1;
        const QRect r = t->characterRect(there);
        QVERIFY(viewport.contains(r));
        QCOMPARE(t->offsetAtPoint(r.center()), there);
    }

    // A loaded document is read, its table and picture taking places in the text as their marks do.
    void loadedTableAndPicture()
    {
        Shown shown;
        QAccessibleTextInterface *t = reading(shown.box);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("otro.rtf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1\\ansi antes\\par\\trowd\\cellx1000\\cellx2000\\intbl uno\\cell\\intbl celda\\cell\\row}");
        file.close();
        shown.box.LoadFile(path);
        QCOMPARE(t, reading(shown.box));
        QTextCursor c(shown.box.document());
        c.movePosition(QTextCursor::End);
        c.insertImage(QStringLiteral("p.png"));
        c.insertText(QStringLiteral("después"));
        const int count = t->characterCount();
        QCOMPARE(t->text(0, count).size(), count);
        QVERIFY(t->text(0, count).endsWith(QStringLiteral("después")));
        const int cell = shown.box.document()->find(QStringLiteral("celda")).selectionStart();
        int from = 0, to = 0;
        QCOMPARE(t->textAtOffset(cell + 1, QAccessible::WordBoundary, &from, &to), QStringLiteral("celda"));
        QCOMPARE(from, cell);
    }

};

QTEST_MAIN(TestRichTextAccessible)
#include "tst_richtextaccessible.moc"
