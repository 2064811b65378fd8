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

// "Hola mundo. Adiós." then "segunda línea" then an empty paragraph then "fin".
const QString kText = QStringLiteral("Hola mundo. Adiós.\nsegunda línea\n\nfin");

QAccessibleInterface *accessible(RichTextBox &box)
{
    return QAccessible::queryAccessibleInterface(&box);
}

// Never null: a control without a text interface fails the test here.
QAccessibleTextInterface *reading(RichTextBox &box)
{
    QAccessibleTextInterface *text = accessible(box) ? accessible(box)->textInterface() : nullptr;
    return text ? text : (qFatal("the control offers no accessible text"), nullptr);
}

struct Shown
{
    RichTextBox box;
    explicit Shown(const QString &text)
    {
        box.resize(600, 300);
        box.setText(text);
        box.show();
        if (!QTest::qWaitForWindowExposed(&box))
            qWarning("the control was not shown");
    }
};

// Asks the text interface something at an offset.
using Query = std::function<void(QAccessibleTextInterface *, int)>;

constexpr int Before = 0, At = 1, After = 2;

QString around(QAccessibleTextInterface *t, int which, int offset, QAccessible::TextBoundaryType unit, int *from, int *to)
{
    return which == At ? t->textAtOffset(offset, unit, from, to)
        : which == Before ? t->textBeforeOffset(offset, unit, from, to) : t->textAfterOffset(offset, unit, from, to);
}

} // namespace

Q_DECLARE_METATYPE(QAccessible::TextBoundaryType)
Q_DECLARE_METATYPE(Query)

class TestRichTextAccessible : public QObject
{
    Q_OBJECT
private slots:
    // Read only, it offers no editing, and its value cannot be written either.
    void describesAnEditableText()
    {
        Shown shown(kText);
        QAccessibleInterface *iface = accessible(shown.box);
        QCOMPARE(iface->role(), QAccessible::EditableText);
        QVERIFY(iface->editableTextInterface());
        QVERIFY(iface->state().editable);
        QVERIFY(iface->state().multiLine);
        QCOMPARE(iface->text(QAccessible::Value), kText);
        shown.box.setReadOnly(true);
        QVERIFY(iface->state().readOnly);
        QVERIFY(!iface->state().editable);
        QVERIFY(!iface->editableTextInterface());
        iface->setText(QAccessible::Value, QStringLiteral("otro"));
        QCOMPARE(shown.box.toPlainText(), kText);
    }

    // The unit of text at, before and after an offset.
    void units_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QAccessible::TextBoundaryType>("unit");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");

        const int end = int(kText.size());
        QTest::newRow("word") << At << 7 << QAccessible::WordBoundary << "mundo" << 5 << 10;
        QTest::newRow("second sentence") << At << 14 << QAccessible::SentenceBoundary << "Adiós." << 12 << 18;
        // The caret at the start of a line reads that line, not the one before.
        QTest::newRow("line from its start") << At << 19 << QAccessible::LineBoundary << "segunda línea" << 19 << 32;
        QTest::newRow("empty paragraph") << At << 33 << QAccessible::ParagraphBoundary << "" << 33 << 33;
        QTest::newRow("whole text") << At << 4 << QAccessible::NoBoundary << kText << 0 << end;
        // The caret after Ctrl+End: the last line is still read.
        QTest::newRow("line at the end") << At << end << QAccessible::LineBoundary << "fin" << end - 3 << end;
        QTest::newRow("past the end") << At << end + 1 << QAccessible::LineBoundary << "" << -1 << -1;
        QTest::newRow("negative") << At << -1 << QAccessible::WordBoundary << "" << -1 << -1;
        QTest::newRow("word after") << After << 7 << QAccessible::WordBoundary << "." << 10 << 11;
        QTest::newRow("line before") << Before << 22 << QAccessible::LineBoundary << "Hola mundo. Adiós." << 0 << 18;
        // After the second line comes the empty paragraph: found, and empty.
        QTest::newRow("line after") << After << 22 << QAccessible::LineBoundary << "" << 33 << 33;
        QTest::newRow("nothing before the first") << Before << 2 << QAccessible::LineBoundary << "" << -1 << -1;
        QTest::newRow("nothing after the last") << After << 36 << QAccessible::ParagraphBoundary << "" << -1 << -1;
    }

    void units()
    {
        QFETCH(int, which);
        QFETCH(int, offset);
        QFETCH(QAccessible::TextBoundaryType, unit);
        Shown shown(kText);
        int from = 0, to = 0;
        QTEST(around(reading(shown.box), which, offset, unit, &from, &to), "expected");
        QTEST(from, "start");
        QTEST(to, "end");
    }

    void textRanges()
    {
        Shown shown(kText);
        QAccessibleTextInterface *t = reading(shown.box);
        QCOMPARE(t->text(12, 26), u"Adiós.\nsegunda"_qs);
        QCOMPARE(t->text(32, 34), u"\n\n"_qs);   // the empty paragraph
        QCOMPARE(t->text(10, 5), u"mundo"_qs);   // reversed
        QCOMPARE(t->text(34, 99), u"fin"_qs);   // past the end
    }

    void readingLaysOutOnlyWhatItReads_data()
    {
        QTest::addColumn<Query>("query");
        QTest::addColumn<bool>("middle");   // asked in the middle of the document, not at the caret
        auto at = [](QAccessible::TextBoundaryType unit, int which = At) {
            return Query([=](QAccessibleTextInterface *t, int offset) { int f, e; around(t, which, offset, unit, &f, &e); });
        };
        const Query attributes([](QAccessibleTextInterface *t, int offset) { int f, e; t->attributes(offset, &f, &e); });
        QTest::newRow("line") << at(QAccessible::LineBoundary) << false;
        // Units that do not depend on where lines break need no layout at all.
        QTest::newRow("sentence in the middle") << at(QAccessible::SentenceBoundary) << true;
        QTest::newRow("paragraph in the middle") << at(QAccessible::ParagraphBoundary) << true;
        QTest::newRow("attributes in the middle") << attributes << true;
    }

    // The first thing a screen reader asks after a document opens is the text around the
    // caret. Answering must not lay the whole document out at once: that froze the window for
    // seconds on large documents. What was not read stays unlaid until the background layout
    // reaches it.
    void readingLaysOutOnlyWhatItReads()
    {
        QFETCH(Query, query);
        QFETCH(bool, middle);
        QStringList lines;
        for (int i = 0; i < 20000; ++i)
            lines << QStringLiteral("Párrafo %1. Con otra frase.").arg(i);
        Shown shown{QString()};
        shown.box.setText(lines.join(QLatin1Char('\n')));
        QAccessibleTextInterface *t = reading(shown.box);
        const int offset = middle ? t->characterCount() / 2 : t->cursorPosition();
        const QTextBlock unread = middle ? shown.box.document()->findBlock(offset)
                                         : shown.box.document()->lastBlock();
        QCOMPARE(unread.layout()->lineCount(), 0);
        query(t, offset);
        QCOMPARE(unread.layout()->lineCount(), 0);
    }

    void selectionCaretAndEditing()
    {
        Shown shown(kText);
        QAccessibleTextInterface *t = reading(shown.box);
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
        QAccessibleEditableTextInterface *e = accessible(shown.box)->editableTextInterface();
        e->replaceText(5, 10, QStringLiteral("gente"));
        e->insertText(12, QStringLiteral("¡"));
        e->insertText(0, QStringLiteral("xx"));
        e->deleteText(0, 2);
        QCOMPARE(shown.box.toPlainText(), QStringLiteral("Hola gente. ¡Adiós.\nsegunda línea\n\nfin"));
    }


    // Where a character is on screen, and which character is at a point of the screen.
    void geometry()
    {
        Shown shown(kText);
        QAccessibleTextInterface *t = reading(shown.box);
        const QRect viewport(shown.box.viewport()->mapToGlobal(QPoint(0, 0)),
                             shown.box.viewport()->size());
        for (int offset : {0, 5, 22, 34}) {
            const QRect r = t->characterRect(offset);
            QVERIFY2(r.width() > 0 && r.height() > 0, qPrintable(QString::number(offset)));
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
        QTextCursor inView = shown.box.cursorForPosition(shown.box.viewport()->rect().center());
        inView.movePosition(QTextCursor::StartOfBlock);
        const int shownThere = inView.position() + 1;   // the second letter of a line in view
        const QRect r = t->characterRect(shownThere);
        QVERIFY(viewport.contains(r));
        QCOMPARE(t->offsetAtPoint(r.center()), shownThere);
    }

    // The control changes its document when it loads a file; what is read is the new one.
    // Tables and pictures take places in the text as their marks do: the text read whole is
    // as long as the count, and a cell's text is read where it is.
    void loadedTableAndPicture()
    {
        Shown shown(kText);
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
        QCOMPARE(t->textAtOffset(1, QAccessible::LineBoundary, &from, &to), QStringLiteral("antes"));
    }

    // The run of one format around an offset, with its format as CSS.
    void attributesOfTheRun()
    {
        Shown shown(kText);
        rtf::read("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}Hola {\\b\\i\\cf1 mundo}. Adi\\'f3s.\\par"
                  "{\\ulwave segunda} l\\'ednea\\par\\par fin}", shown.box.document());
        QCOMPARE(shown.box.toPlainText(), kText);
        QStringList runs;
        // The paragraph's mark is a run of one character, after the text before it.
        for (int offset : {7, 1, 18, 20}) {
            int from = 0, to = 0;
            const QString css = reading(shown.box)->attributes(offset, &from, &to);
            QStringList shown{QString::number(from), QString::number(to)};
            for (const char *kind : {"font-weight:bold;", "font-style:italic;", "color:rgb(255,0,0);",
                                     "text-underline-type:single;", "color:"})
                if (css.contains(QLatin1String(kind)))
                    shown << QLatin1String(kind);
            runs << shown.join(u' ');
        }
        QCOMPARE(runs, (QStringList{"5 10 font-weight:bold; font-style:italic; color:rgb(255,0,0); color:",
                                    "0 5", "18 19", "19 26 text-underline-type:single;"}));
    }
};

QTEST_MAIN(TestRichTextAccessible)
#include "tst_richtextaccessible.moc"
