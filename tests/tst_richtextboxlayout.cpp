// Documents taller than Qt's text layout handles without help: past the height it takes
// for a document with no page height (8,388,607 px), where its layout used to loop for
// ever, and past the deepest point it can place at all (33,554,431 px). Each is laid out
// in the background, as the control does it; a hang shows as the test's time-out.

#include "richtextbox.h"
#include "twips.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

constexpr qreal kUnpagedHeight = 8388607;    // INT_MAX / 256
constexpr qreal kDeepest = 33554431;         // INT_MAX / 64

// Paragraphs of `words` words each, enough of them to reach `height` pixels at the
// control's font and width when each word takes a line of its own.
QString tallText(int paragraphs, int words)
{
    QString paragraph;
    for (int i = 0; i < words; ++i)
        paragraph += QStringLiteral("palabra%1 ").arg(i % 10);
    QStringList all;
    all.reserve(paragraphs);
    for (int i = 0; i < paragraphs; ++i)
        all << paragraph + QString::number(i);
    return all.join(QLatin1Char('\n'));
}

bool laidOut(const RichTextBox &box)
{
    return box.document()->lastBlock().layout()->lineCount() > 0;
}

int paragraphsWithoutLines(const RichTextBox &box)
{
    int count = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        count += block.layout()->lineCount() == 0 ? 1 : 0;
    return count;
}

qreal laidOutHeight(const RichTextBox &box)
{
    const QTextLayout *last = box.document()->lastBlock().layout();
    return last->position().y() + last->boundingRect().bottom();
}

// Runs the event loop, as the window does, until the background layout has reached the
// last paragraph; fails after a bound only a hang would reach.
bool waitForLayout(const RichTextBox &box)
{
    QElapsedTimer clock;
    clock.start();
    while (!laidOut(box) && clock.elapsed() < 240000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return laidOut(box);
}

// A shown control of `width` x 300 pixels whose lines wrap at `wrap` pixels, in a font of
// `points` points: large type and narrow lines make tall documents from little text.
void prepare(RichTextBox &box, int width, int wrap, int points)
{
    QFont font = box.font();
    font.setPointSize(points);
    box.setFont(font);
    box.resize(width, 300);
    box.setRightMargin(screenPixelsToTwips(wrap));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
}

} // namespace

class TestRichTextBoxLayout : public QObject
{
    Q_OBJECT
private slots:
    void pastTheUnpagedHeight_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("wrap");
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<int>("narrowTo");        // a new wrap width while laying out, or 0
        for (int points : {36, 40, 48}) {
            QTest::addRow("%d pt", points) << points << 120 << 15000 << 0;
            QTest::addRow("%d pt, narrowed while laid out", points) << points << 400 << 15000 << 120;
        }
    }

    // The layout goes past the height Qt gives a document without page height, and finishes.
    void pastTheUnpagedHeight()
    {
        QFETCH(int, points);
        QFETCH(int, wrap);
        QFETCH(int, paragraphs);
        QFETCH(int, narrowTo);
        RichTextBox box;
        prepare(box, 500, wrap, points);
        box.setText(tallText(paragraphs, 6));
        if (narrowTo > 0) {
            QTest::qWait(100);
            box.setRightMargin(screenPixelsToTwips(narrowTo));
        }
        QVERIFY2(waitForLayout(box), "the layout did not end");
        QVERIFY2(laidOutHeight(box) > kUnpagedHeight,
                 qPrintable(QStringLiteral("only %1 px: the case is not covered").arg(laidOutHeight(box))));
        QCOMPARE(box.minimumWrapWidth(), 0);
        QCOMPARE(box.document()->blockCount(), paragraphs);
        QCOMPARE(paragraphsWithoutLines(box), 0);
        // Past INT_MAX / 100 px QTextEdit's own scroll range overflows; it follows the layout's end.
        QTRY_VERIFY(box.verticalScrollBar()->maximum() >= laidOutHeight(box) - box.viewport()->height() - 2);
    }

    void tallerThanTheLayoutCanPlace_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<int>("words");
        QTest::addColumn<bool>("fits");           // whether wider lines bring it within range
        QTest::addRow("long paragraphs") << 48 << 70000 << 6 << true;
        // One line a paragraph once a little wider: more width cannot make it shorter, so
        // the lines stop widening and the document stays as tall as it is, whole.
        QTest::addRow("one-word lines") << 96 << 260000 << 0 << false;
    }

    // Too tall to place at the width asked for: the lines get wider, up to a bound, the whole
    // text stays, it can be edited and saved, and, if it fits, its last paragraph is on screen
    // at the end.
    void tallerThanTheLayoutCanPlace()
    {
        QFETCH(int, points);
        QFETCH(int, paragraphs);
        QFETCH(int, words);
        QFETCH(bool, fits);
        RichTextBox box;
        prepare(box, 500, 100, points);
        const QString text = tallText(paragraphs, words);
        box.setText(text);
        QVERIFY2(waitForLayout(box), "the layout did not end");
        QVERIFY(box.minimumWrapWidth() > 100);
        QVERIFY(box.minimumWrapWidth() <= 4000);
        QVERIFY(box.lineWrapColumnOrWidth() >= box.minimumWrapWidth());
        QCOMPARE(laidOutHeight(box) > 0 && laidOutHeight(box) < kDeepest, fits);
        QCOMPARE(box.Text(), text);

        QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(&box, QStringLiteral(" fin"));
        QVERIFY(box.Text().endsWith(QStringLiteral("%1 fin").arg(paragraphs - 1)));
        const QTextBlock last = box.document()->lastBlock();
        const int bottom = int(last.layout()->position().y() + last.layout()->boundingRect().bottom());
        if (fits)
            QVERIFY(box.verticalScrollBar()->value() + box.viewport()->height() >= bottom - 2);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("alto.rtf"));
        box.SaveFile(path);
        RichTextBox reread;
        reread.LoadFile(path);
        QCOMPARE(reread.Text(), box.Text());

        // With no margin of its own, widened text follows a window grown wider than its lines.
        if (fits) {
            box.setRightMargin(0);
            box.resize(box.minimumWrapWidth() + 400, 300);
            QTRY_COMPARE(box.lineWrapColumnOrWidth(), box.viewport()->width());
            box.setRightMargin(screenPixelsToTwips(100));
        }

        // A new text of ordinary height wraps at the width asked for again.
        box.setText(QStringLiteral("corto"));
        QCOMPARE(box.minimumWrapWidth(), 0);
        QCOMPARE(box.lineWrapColumnOrWidth(), 100);
    }
};

QTEST_MAIN(TestRichTextBoxLayout)
#include "tst_richtextboxlayout.moc"
