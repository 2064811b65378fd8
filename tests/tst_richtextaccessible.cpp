// What a screen reader reads and does through the rich text control's accessible
// interface, and that reading a large document just opened does not lay all of it out.
#include "richtextbox.h"

#include <QAccessible>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>

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
    QAccessibleInterface *iface = accessible(box);
    QAccessibleTextInterface *text = iface ? iface->textInterface() : nullptr;
    if (!text)
        qFatal("the control offers no accessible text");
    return text;
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

using Query = std::function<void(QAccessibleTextInterface *)>;

} // namespace

Q_DECLARE_METATYPE(QAccessible::TextBoundaryType)
Q_DECLARE_METATYPE(Query)

class TestRichTextAccessible : public QObject
{
    Q_OBJECT
private slots:
    void describesAnEditableText();
    void unitAtOffset_data();
    void unitAtOffset();
    void unitsAround_data();
    void unitsAround();
    void textRanges_data();
    void textRanges();
    void readingLeavesTheRestToTheBackgroundLayout_data();
    void readingLeavesTheRestToTheBackgroundLayout();
    void selectionAndCaret();
    void editing();
    void readOnlyIsNotEdited();
    void tablesAndPictures();
    void anotherDocumentLoaded();
    void readingInTheMiddleLaysOutNothing_data();
    void readingInTheMiddleLaysOutNothing();
    void attributesOfTheRun();
    void geometry();
};

void TestRichTextAccessible::describesAnEditableText()
{
    Shown shown(kText);
    QAccessibleInterface *iface = accessible(shown.box);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QVERIFY(iface->textInterface());
    QVERIFY(iface->editableTextInterface());
    QVERIFY(iface->state().editable);
    QVERIFY(iface->state().multiLine);
    QCOMPARE(iface->text(QAccessible::Value), kText);
    QCOMPARE(iface->textInterface()->characterCount(), int(kText.size()));
    shown.box.setReadOnly(true);
    QVERIFY(iface->state().readOnly);
    QVERIFY(!iface->state().editable);
}

void TestRichTextAccessible::unitAtOffset_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QAccessible::TextBoundaryType>("unit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");

    const int end = int(kText.size());
    QTest::newRow("character") << 5 << QAccessible::CharBoundary << "m" << 5 << 6;
    QTest::newRow("word") << 7 << QAccessible::WordBoundary << "mundo" << 5 << 10;
    QTest::newRow("first sentence") << 3 << QAccessible::SentenceBoundary << "Hola mundo. " << 0 << 12;
    QTest::newRow("second sentence") << 14 << QAccessible::SentenceBoundary << "Adiós." << 12 << 18;
    QTest::newRow("line") << 22 << QAccessible::LineBoundary << "segunda línea" << 19 << 32;
    QTest::newRow("paragraph") << 22 << QAccessible::ParagraphBoundary << "segunda línea" << 19 << 32;
    QTest::newRow("empty paragraph") << 33 << QAccessible::ParagraphBoundary << "" << 33 << 33;
    QTest::newRow("whole text") << 4 << QAccessible::NoBoundary << kText << 0 << end;
    // The caret after Ctrl+End: the last line is still read.
    QTest::newRow("line at the end") << end << QAccessible::LineBoundary << "fin" << end - 3 << end;
    QTest::newRow("character at the end") << end << QAccessible::CharBoundary << "" << end << end;
    QTest::newRow("past the end") << end + 1 << QAccessible::LineBoundary << "" << -1 << -1;
    QTest::newRow("negative") << -1 << QAccessible::WordBoundary << "" << -1 << -1;
}

void TestRichTextAccessible::unitAtOffset()
{
    QFETCH(int, offset);
    QFETCH(QAccessible::TextBoundaryType, unit);
    QFETCH(QString, expected);
    QFETCH(int, start);
    QFETCH(int, end);
    Shown shown(kText);
    int from = 0, to = 0;
    QCOMPARE(reading(shown.box)->textAtOffset(offset, unit, &from, &to), expected);
    QCOMPARE(from, start);
    QCOMPARE(to, end);
}

void TestRichTextAccessible::unitsAround_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QAccessible::TextBoundaryType>("unit");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("beforeStart");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("afterStart");

    QTest::newRow("words") << 7 << QAccessible::WordBoundary << "Hola" << 0 << "." << 10;
    QTest::newRow("characters") << 1 << QAccessible::CharBoundary << "H" << 0 << "l" << 2;
    // After the second line comes the empty paragraph: found, and empty.
    QTest::newRow("lines") << 22 << QAccessible::LineBoundary << "Hola mundo. Adiós." << 0
                           << "" << 33;
    QTest::newRow("nothing before the first") << 2 << QAccessible::LineBoundary << "" << -1
                                              << "segunda línea" << 19;
    QTest::newRow("nothing after the last") << 36 << QAccessible::ParagraphBoundary << "" << 33
                                            << "" << -1;
}

void TestRichTextAccessible::unitsAround()
{
    QFETCH(int, offset);
    QFETCH(QAccessible::TextBoundaryType, unit);
    QFETCH(QString, before);
    QFETCH(int, beforeStart);
    QFETCH(QString, after);
    QFETCH(int, afterStart);
    Shown shown(kText);
    QAccessibleTextInterface *t = reading(shown.box);
    QVERIFY(t);
    int from = 0, to = 0;
    QCOMPARE(t->textBeforeOffset(offset, unit, &from, &to), before);
    QCOMPARE(from, beforeStart);
    QCOMPARE(t->textAfterOffset(offset, unit, &from, &to), after);
    QCOMPARE(from, afterStart);
}

void TestRichTextAccessible::textRanges_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("expected");

    QTest::newRow("inside a paragraph") << 5 << 10 << "mundo";
    QTest::newRow("across paragraphs") << 12 << 26 << "Adiós.\nsegunda";
    QTest::newRow("the empty paragraph") << 32 << 34 << "\n\n";
    QTest::newRow("reversed") << 10 << 5 << "mundo";
    QTest::newRow("past the end") << 34 << 99 << "fin";
    QTest::newRow("empty") << 3 << 3 << "";
}

void TestRichTextAccessible::textRanges()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, expected);
    Shown shown(kText);
    QCOMPARE(reading(shown.box)->text(start, end), expected);
}

void TestRichTextAccessible::readingLeavesTheRestToTheBackgroundLayout_data()
{
    QTest::addColumn<Query>("query");
    int from = 0, to = 0;
    auto at = [&from, &to](QAccessible::TextBoundaryType unit) {
        return Query([unit, &from, &to](QAccessibleTextInterface *t) {
            t->textAtOffset(t->cursorPosition(), unit, &from, &to);
        });
    };
    QTest::newRow("count") << Query([](QAccessibleTextInterface *t) { t->characterCount(); });
    QTest::newRow("character") << at(QAccessible::CharBoundary);
    QTest::newRow("word") << at(QAccessible::WordBoundary);
    QTest::newRow("sentence") << at(QAccessible::SentenceBoundary);
    QTest::newRow("line") << at(QAccessible::LineBoundary);
    QTest::newRow("paragraph") << at(QAccessible::ParagraphBoundary);
    QTest::newRow("whole text") << at(QAccessible::NoBoundary);
    QTest::newRow("attributes") << Query([](QAccessibleTextInterface *t) {
        int a = 0, b = 0;
        t->attributes(0, &a, &b);
    });
    QTest::newRow("next line") << Query([](QAccessibleTextInterface *t) {
        int a = 0, b = 0;
        t->textAfterOffset(0, QAccessible::LineBoundary, &a, &b);
    });
}

// The first thing a screen reader asks after a document opens is the text around the
// caret. Answering must not lay the whole document out at once: that froze the window
// for seconds on large documents. The last paragraph stays unlaid until the background
// layout reaches it.
void TestRichTextAccessible::readingLeavesTheRestToTheBackgroundLayout()
{
    QFETCH(Query, query);
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines << QStringLiteral("Párrafo %1 con algo de texto para leer.").arg(i);
    Shown shown{QString()};
    shown.box.setText(lines.join(QLatin1Char('\n')));
    const QTextBlock last = shown.box.document()->lastBlock();
    QCOMPARE(last.layout()->lineCount(), 0);
    query(reading(shown.box));
    QCOMPARE(last.layout()->lineCount(), 0);
}

void TestRichTextAccessible::selectionAndCaret()
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
    QCOMPARE(shown.box.textCursor().position(), 22);
    QCOMPARE(t->cursorPosition(), 22);
    QVERIFY(moves.count() >= 3);
    t->setCursorPosition(9999);   // past the end: the caret stops at the end
    QCOMPARE(t->cursorPosition(), int(kText.size()));
}

void TestRichTextAccessible::editing()
{
    Shown shown(kText);
    QAccessibleEditableTextInterface *e = accessible(shown.box)->editableTextInterface();
    QVERIFY(e);
    e->replaceText(5, 10, QStringLiteral("gente"));
    e->insertText(12, QStringLiteral("¡"));
    e->insertText(0, QStringLiteral("xx"));
    e->deleteText(0, 2);
    QCOMPARE(shown.box.toPlainText(), QStringLiteral("Hola gente. ¡Adiós.\nsegunda línea\n\nfin"));
}

// A read-only control offers no editing, and its value cannot be written either.
void TestRichTextAccessible::readOnlyIsNotEdited()
{
    Shown shown(kText);
    shown.box.setReadOnly(true);
    QAccessibleInterface *iface = accessible(shown.box);
    QVERIFY(!iface->editableTextInterface());
    iface->setText(QAccessible::Value, QStringLiteral("otro"));
    QCOMPARE(shown.box.toPlainText(), kText);
}

void TestRichTextAccessible::attributesOfTheRun()
{
    Shown shown(kText);
    QTextCursor c(shown.box.document());
    c.setPosition(5);
    c.setPosition(10, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontItalic(true);
    bold.setForeground(QColor(255, 0, 0));
    c.mergeCharFormat(bold);
    int from = 0, to = 0;
    const QString attrs = reading(shown.box)->attributes(7, &from, &to);
    QCOMPARE(from, 5);
    QCOMPARE(to, 10);
    QVERIFY2(attrs.contains(QLatin1String("font-weight:bold;")), qPrintable(attrs));
    QVERIFY2(attrs.contains(QLatin1String("font-style:italic;")), qPrintable(attrs));
    QVERIFY2(attrs.contains(QLatin1String("color:rgb(255,0,0);")), qPrintable(attrs));
    const QString plain = reading(shown.box)->attributes(1, &from, &to);
    QVERIFY2(plain.contains(QLatin1String("font-weight:normal;")), qPrintable(plain));
    QVERIFY2(!plain.contains(QLatin1String("color:")), qPrintable(plain));
    QCOMPARE(from, 0);
    QCOMPARE(to, 5);
    // The paragraph's mark is a run of one character, after the text before it.
    reading(shown.box)->attributes(18, &from, &to);
    QCOMPARE(from, 18);
    QCOMPARE(to, 19);
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    c.setPosition(19);
    c.setPosition(26, QTextCursor::KeepAnchor);
    c.mergeCharFormat(wavy);
    const QString underlined = reading(shown.box)->attributes(20, &from, &to);
    QVERIFY2(underlined.contains(QLatin1String("text-underline-type:single;")),
             qPrintable(underlined));
}

// Where a character is on screen, and which character is at a point of the screen.
void TestRichTextAccessible::geometry()
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

// Tables and pictures take places in the text as their marks do: the text read whole
// is as long as the count, and a cell's text is read where it is.
void TestRichTextAccessible::tablesAndPictures()
{
    Shown shown(QStringLiteral("antes"));
    QTextCursor c(shown.box.document());
    c.movePosition(QTextCursor::End);
    QTextTable *table = c.insertTable(2, 2);
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("celda"));
    c.movePosition(QTextCursor::End);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    shown.box.document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("p.png")),
                                      picture);
    c.insertImage(QStringLiteral("p.png"));
    c.insertText(QStringLiteral("después"));
    QAccessibleTextInterface *t = reading(shown.box);
    const int count = t->characterCount();
    QCOMPARE(t->text(0, count).size(), count);
    const int cell = table->cellAt(1, 1).firstPosition();
    int from = 0, to = 0;
    QCOMPARE(t->textAtOffset(cell + 1, QAccessible::WordBoundary, &from, &to), QStringLiteral("celda"));
    QCOMPARE(from, cell);
    QVERIFY(t->text(0, count).endsWith(QStringLiteral("después")));
}

// The control changes its document when it loads a file; what is read is the new one.
void TestRichTextAccessible::anotherDocumentLoaded()
{
    Shown shown(kText);
    QAccessibleTextInterface *t = reading(shown.box);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("otro.rtf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi otro texto\\par}");
    file.close();
    shown.box.LoadFile(path);
    QCOMPARE(t, reading(shown.box));
    QCOMPARE(t->characterCount(), 10);
    int from = 0, to = 0;
    QCOMPARE(t->textAtOffset(1, QAccessible::LineBoundary, &from, &to), QStringLiteral("otro texto"));
}

void TestRichTextAccessible::readingInTheMiddleLaysOutNothing_data()
{
    QTest::addColumn<QAccessible::TextBoundaryType>("unit");
    QTest::newRow("sentence") << QAccessible::SentenceBoundary;
    QTest::newRow("paragraph") << QAccessible::ParagraphBoundary;
    QTest::newRow("whole text") << QAccessible::NoBoundary;
}

// Units that do not depend on where lines break are found without any layout: asked in
// the middle of a document just opened, they leave that paragraph unlaid.
void TestRichTextAccessible::readingInTheMiddleLaysOutNothing()
{
    QFETCH(QAccessible::TextBoundaryType, unit);
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines << QStringLiteral("Párrafo %1. Con otra frase.").arg(i);
    Shown shown{QString()};
    shown.box.setText(lines.join(QLatin1Char('\n')));
    QAccessibleTextInterface *t = reading(shown.box);
    const int middle = t->characterCount() / 2;
    const QTextBlock block = shown.box.document()->findBlock(middle);
    int from = 0, to = 0;
    QVERIFY(!t->textAtOffset(middle, unit, &from, &to).isEmpty());
    QVERIFY(from <= middle && middle <= to);
    QCOMPARE(block.layout()->lineCount(), 0);
    t->attributes(middle, &from, &to);
    QCOMPARE(block.layout()->lineCount(), 0);
}

QTEST_MAIN(TestRichTextAccessible)
#include "tst_richtextaccessible.moc"
