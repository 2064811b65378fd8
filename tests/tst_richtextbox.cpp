#include "bgrcolor.h"
#include "richtextbox.h"
#include "rtfcodec.h"
#include "runtimefailure.h"

#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>

namespace {

using Fill = std::function<void(RichTextBox &)>;

// Three paragraphs "uno", "dos", "tres"; the fill formats them, then selects.
void threeParagraphs(RichTextBox &box)
{
    box.setText(QStringLiteral("uno\ndos\ntres"));
}

void select(RichTextBox &box, int from, int to)
{
    QTextCursor c = box.textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    box.setTextCursor(c);
}

int failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const RuntimeFailure &f) {
        return f.number();
    }
    return 0;
}

} // namespace

Q_DECLARE_METATYPE(Fill)

class TestRichTextBox : public QObject
{
    Q_OBJECT
private slots:
    void mixedValues_data();
    void mixedValues();
    void refusedWrites_data();
    void refusedWrites();
    void roundTripByName_data();
    void roundTripByName();
    void selChangeOncePerMove_data();
    void selChangeOncePerMove();
    void colourLayout();
    void loadFailureKeepsText();
    void rightToLeftAlignment_data();
    void rightToLeftAlignment();
};

void TestRichTextBox::mixedValues_data()
{
    QTest::addColumn<Fill>("fill");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");

    const Fill boldFirstWord = [](RichTextBox &b) { select(b, 0, 3); b.setSelBold(true); };
    QTest::newRow("partly bold") << Fill([=](RichTextBox &b) { boldFirstWord(b); select(b, 0, 6); })
                                 << "SelBold" << QVariant();
    QTest::newRow("all bold") << Fill([=](RichTextBox &b) { boldFirstWord(b); select(b, 0, 3); })
                              << "SelBold" << QVariant(true);
    QTest::newRow("paragraph end not counted")
        << Fill([=](RichTextBox &b) { boldFirstWord(b); select(b, 0, 4); }) << "SelBold" << QVariant(true);
    QTest::newRow("partly italic") << Fill([](RichTextBox &b) { select(b, 5, 6); b.setSelItalic(true); select(b, 4, 7); })
                                   << "SelItalic" << QVariant();
    QTest::newRow("partly underlined") << Fill([](RichTextBox &b) { select(b, 8, 12); b.setSelUnderline(true); select(b, 0, 12); })
                                       << "SelUnderline" << QVariant();
    // Every kind of underline a file gives is an underline.
    for (const char *word : {"uldb", "ulthdashd", "ulhwave", "ulw"})
        QTest::addRow("a file's %s", word)
            << Fill([word](RichTextBox &b) {
                   rtf::read("{\\rtf1 uno {\\" + QByteArray(word) + " dos} tres\\par}", b.document());
                   select(b, 4, 7);
               })
            << "SelUnderline" << QVariant(true);
    QTest::newRow("mixed colour") << Fill([](RichTextBox &b) { select(b, 0, 1); b.setSelColor(0xFF); select(b, 0, 2); })
                                  << "SelColor" << QVariant();
    QTest::newRow("mixed alignment") << Fill([](RichTextBox &b) { select(b, 4, 4); b.setSelAlignment(1); select(b, 0, 5); })
                                     << "SelAlignment" << QVariant();
    QTest::newRow("partly bulleted") << Fill([](RichTextBox &b) { select(b, 0, 0); b.setSelBullet(true); select(b, 0, 5); })
                                     << "SelBullet" << QVariant();
    QTest::newRow("all bulleted") << Fill([](RichTextBox &b) { select(b, 0, 12); b.setSelBullet(true); select(b, 2, 9); })
                                  << "SelBullet" << QVariant(true);
    QTest::newRow("mixed indent") << Fill([](RichTextBox &b) { select(b, 0, 0); b.setSelIndent(720); select(b, 0, 9); })
                                  << "SelIndent" << QVariant();
    QTest::newRow("uniform indent") << Fill([](RichTextBox &b) { select(b, 0, 12); b.setSelIndent(735); })
                                    << "SelIndent" << QVariant(735);
    QTest::newRow("no selection reads typing format")
        << Fill([](RichTextBox &b) { select(b, 6, 6); b.setSelItalic(true); }) << "SelItalic" << QVariant(true);
    // A drag grows the selection step by step; each read sees what the step adds.
    QTest::newRow("grown at its start") << Fill([=](RichTextBox &b) { boldFirstWord(b); select(b, 4, 7); b.SelBold(); select(b, 0, 7); })
                                        << "SelBold" << QVariant();
    QTest::newRow("grown at its end") << Fill([](RichTextBox &b) { select(b, 8, 12); b.setSelBold(true); select(b, 0, 4); b.SelBold(); select(b, 0, 9); })
                                      << "SelBold" << QVariant();
    QTest::newRow("formatted, then grown") << Fill([=](RichTextBox &b) { select(b, 0, 2); b.SelBold(); boldFirstWord(b); select(b, 0, 3); })
                                           << "SelBold" << QVariant(true);
    QTest::newRow("typing format leaves text") << Fill([](RichTextBox &b) { select(b, 6, 6); b.setSelItalic(true); select(b, 4, 7); })
                                               << "SelItalic" << QVariant(false);
}

void TestRichTextBox::mixedValues()
{
    QFETCH(Fill, fill);
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    RichTextBox box;
    threeParagraphs(box);
    fill(box);
    const QVariant value = box.get(name);
    QCOMPARE(value.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(value, expected);
}

void TestRichTextBox::refusedWrites_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("number");
    QTest::newRow("mixed value") << "SelBold" << QVariant() << 380;
    QTest::newRow("unknown name") << "SelBlink" << QVariant(true) << 438;
    QTest::newRow("alignment 5") << "SelAlignment" << QVariant(5) << 380;
    QTest::newRow("indent 40000") << "SelIndent" << QVariant(40000) << 380;
    QTest::newRow("size 0") << "SelFontSize" << QVariant(0.0) << 380;
    QTest::newRow("colour beyond 24 bits") << "SelColor" << QVariant(0x1000000) << 380;
    QTest::newRow("negative margin") << "RightMargin" << QVariant(-1.0) << 380;
    QTest::newRow("read only") << "SelLength" << QVariant(3) << 383;
}

void TestRichTextBox::refusedWrites()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(int, number);
    RichTextBox box;
    threeParagraphs(box);
    select(box, 0, 3);
    const QByteArray before = box.toHtml().toUtf8();
    QCOMPARE(failureOf([&] { box.set(name, value); }), number);
    QCOMPARE(box.toHtml().toUtf8(), before);
}

void TestRichTextBox::roundTripByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("SelBold") << "SelBold" << QVariant(true);
    QTest::newRow("SelAlignment") << "SelAlignment" << QVariant(2);
    QTest::newRow("SelColor") << "SelColor" << QVariant(0x00FF8000);
    QTest::newRow("SelIndent") << "SelIndent" << QVariant(1440);
    QTest::newRow("SelText") << "SelText" << QVariant(QStringLiteral("ñu"));
    QTest::newRow("Text") << "Text" << QVariant(QStringLiteral("a\nb"));
    QTest::newRow("BackColor") << "BackColor" << QVariant(0x00C0FFEE);
    QTest::newRow("RightMargin") << "RightMargin" << QVariant(2345.0);
}

void TestRichTextBox::roundTripByName()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    RichTextBox box;
    threeParagraphs(box);
    select(box, 4, 7);
    box.set(name, value);
    if (name == QLatin1String("SelText")) {   // replacing the selection leaves the caret after it
        QCOMPARE(box.Text(), QStringLiteral("uno\nñu\ntres"));
        return;
    }
    QCOMPARE(box.get(name), value);
}

void TestRichTextBox::selChangeOncePerMove_data()
{
    QTest::addColumn<Fill>("move");
    QTest::addColumn<int>("count");
    QTest::newRow("arrow key") << Fill([](RichTextBox &b) { QTest::keyClick(&b, Qt::Key_Right); }) << 1;
    QTest::newRow("shift arrow") << Fill([](RichTextBox &b) { QTest::keyClick(&b, Qt::Key_Right, Qt::ShiftModifier); }) << 1;
    QTest::newRow("select all") << Fill([](RichTextBox &b) { b.selectAll(); }) << 1;
    QTest::newRow("mouse click") << Fill([](RichTextBox &b) {
        QTest::mouseClick(b.viewport(), Qt::LeftButton, {}, b.cursorRect(QTextCursor(b.document()->lastBlock())).center());
    }) << 1;
    QTest::newRow("format without move") << Fill([](RichTextBox &b) { b.setSelBold(true); }) << 0;
}

void TestRichTextBox::selChangeOncePerMove()
{
    QFETCH(Fill, move);
    QFETCH(int, count);
    RichTextBox box;
    box.resize(300, 200);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    threeParagraphs(box);
    select(box, 0, 0);
    QSignalSpy spy(&box, &RichTextBox::SelChange);
    move(box);
    QCOMPARE(spy.count(), count);
}

void TestRichTextBox::colourLayout()
{
    QCOMPARE(colorFromBgr(0x0000FF), QColor(Qt::red));
    QCOMPARE(colorFromBgr(0xFF0000), QColor(Qt::blue));
    RichTextBox box;
    threeParagraphs(box);
    select(box, 0, 3);
    box.setSelColor(0x0000FF);
    QCOMPARE(box.document()->begin().begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
    box.setBackColor(0xFF0000);
    QCOMPARE(box.viewport()->palette().color(QPalette::Base), QColor(Qt::blue));
}

void TestRichTextBox::loadFailureKeepsText()
{
    RichTextBox box;
    box.setText(QStringLiteral("guardado"));
    const int number = failureOf([&] { box.LoadFile(QStringLiteral("/no/existe/nada.rtf")); });
    QVERIFY(number != 0);
    QCOMPARE(box.Text(), QStringLiteral("guardado"));
}

// SelAlignment names a side of the page, even in a paragraph that runs right to left.
void TestRichTextBox::rightToLeftAlignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("side");
    QTest::newRow("left") << 0 << int(Qt::AlignLeft);
    QTest::newRow("right") << 1 << int(Qt::AlignRight);
    QTest::newRow("centre") << 2 << int(Qt::AlignHCenter);
}

void TestRichTextBox::rightToLeftAlignment()
{
    QFETCH(int, alignment);
    RichTextBox box;
    box.setText(u"שלום"_qs);
    QTextBlockFormat rtl;
    rtl.setLayoutDirection(Qt::RightToLeft);
    box.textCursor().mergeBlockFormat(rtl);
    box.setSelAlignment(alignment);
    QCOMPARE(box.SelAlignment(), std::optional<int>(alignment));
    const Qt::Alignment drawn = QStyle::visualAlignment(Qt::RightToLeft,
                                                        box.document()->begin().blockFormat().alignment());
    QTEST(int(drawn & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter)), "side");
}

QTEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
