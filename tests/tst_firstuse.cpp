// Offscreen checks of the pieces behind a new user's first impressions: where document
// windows are placed and cascaded, how captions are fitted, and that the rich text
// control trades only plain text with the clipboard.

#include "captionfit.h"
#include "documentplacement.h"
#include "richtextbox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

class tst_FirstUse : public QObject
{
    Q_OBJECT
private slots:
    void nextWindow_data();
    void nextWindow();
    void cascade_data();
    void cascade();
    void captionsShrinkTheFont();
    void captionTooLongGrowsItsControl();
    void mimeDataIsPlainText();
    void pasteTakesPlainTextOnly_data();
    void pasteTakesPlainTextOnly();
    void clipboardKeysAreLeftToTheMenu_data();
    void clipboardKeysAreLeftToTheMenu();
};

void tst_FirstUse::nextWindow_data()
{
    QTest::addColumn<QRect>("workspace");
    QTest::addColumn<QRect>("previous");
    QTest::addColumn<QSize>("design");
    QTest::addColumn<QRect>("expected");
    const QSize design(330, 240);
    QTest::newRow("first, roomy") << QRect(0, 0, 800, 600) << QRect() << design
                                  << QRect(0, 0, 330, 240);
    QTest::newRow("first, narrow workspace") << QRect(0, 0, 252, 312) << QRect() << design
                                             << QRect(0, 0, 252, 240);
    QTest::newRow("first, tiny workspace") << QRect(0, 0, 100, 80) << QRect() << design
                                           << QRect(0, 0, 100, 80);
    QTest::newRow("cascades from the last") << QRect(0, 0, 800, 600) << QRect(0, 0, 330, 240)
                                            << design << QRect(25, 25, 330, 240);
    QTest::newRow("from a moved window") << QRect(0, 0, 800, 600) << QRect(100, 50, 330, 240)
                                         << design << QRect(125, 75, 330, 240);
    QTest::newRow("past the bottom: starts over") << QRect(0, 0, 800, 600)
                                                  << QRect(200, 350, 330, 240) << design
                                                  << QRect(0, 0, 330, 240);
    QTest::newRow("past the right: starts over") << QRect(0, 0, 252, 312) << QRect(0, 0, 252, 240)
                                                 << design << QRect(0, 0, 252, 240);
}

void tst_FirstUse::nextWindow()
{
    QFETCH(QRect, workspace);
    QFETCH(QRect, previous);
    QFETCH(QSize, design);
    QFETCH(QRect, expected);
    QCOMPARE(placement::nextWindowRect(workspace, previous, design, 25), expected);
}

void tst_FirstUse::cascade_data()
{
    QTest::addColumn<QSize>("workspace");
    QTest::addColumn<int>("windows");
    QTest::addColumn<QSize>("size");        // of every window
    QTest::addColumn<int>("perRun");        // windows before the cascade starts over
    const QSize design(330, 240);
    QTest::newRow("roomy, keeps design") << QSize(900, 700) << 5 << design << 5;
    QTest::newRow("first run, one") << QSize(252, 312) << 1 << QSize(252, 240) << 1;
    QTest::newRow("first run, five") << QSize(252, 312) << 5 << QSize(152, 212) << 5;
    QTest::newRow("first run, eight: starts over") << QSize(252, 312) << 8 << QSize(152, 212) << 5;
    QTest::newRow("tiny: never below the minimum") << QSize(120, 90) << 3 << QSize(150, 100) << 1;
}

void tst_FirstUse::cascade()
{
    QFETCH(QSize, workspace);
    QFETCH(int, windows);
    QFETCH(QSize, size);
    QFETCH(int, perRun);
    const QList<QSize> small(windows, QSize(120, 28));   // as Qt's own cascade left them
    const QList<QRect> rects =
        placement::cascadeRects(QRect(QPoint(0, 0), workspace), small, QSize(330, 240), 25);
    QCOMPARE(rects.size(), windows);
    for (int i = 0; i < windows; ++i) {
        QCOMPARE(rects[i].size(), size);
        QCOMPARE(rects[i].topLeft(), QPoint(25, 25) * (i % perRun));
    }
}

void tst_FirstUse::captionsShrinkTheFont()
{
    QWidget container;
    QFont font = container.font();
    font.setPointSizeF(12);
    container.setFont(font);
    auto *button = new QPushButton(QStringLiteral("Rojo"), &container);
    button->setGeometry(8, 0, 65, 13);
    QVERIFY(!captionfit::captionFits(button));
    QCOMPARE(captionfit::fitCaptions(&container), QList<QWidget *>());
    QVERIFY(captionfit::captionFits(button));
    QCOMPARE(button->geometry(), QRect(8, 0, 65, 13));
    QVERIFY(button->font().pointSizeF() < 12);
    QVERIFY(button->font().pointSizeF() >= captionfit::smallestReadablePoints);
}

void tst_FirstUse::captionTooLongGrowsItsControl()
{
    QWidget container;
    auto *label = new QLabel(QStringLiteral("Un texto demasiado largo"), &container);
    label->setGeometry(0, 0, 30, 6);
    auto *other = new QLabel(QStringLiteral("A"), &container);
    other->setGeometry(0, 20, 40, 20);
    QCOMPARE(captionfit::fitCaptions(&container), QList<QWidget *>{label});
    QVERIFY(captionfit::captionFits(label));
    QCOMPARE(label->pos(), QPoint(0, 0));
    QCOMPARE(other->geometry(), QRect(0, 20, 40, 20));
    QCOMPARE(label->font().pointSizeF(), captionfit::smallestReadablePoints);
}

namespace {
// Exposes the control's clipboard conversions, which QTextEdit keeps protected.
class Probe : public RichTextBox
{
public:
    using RichTextBox::canInsertFromMimeData;
    using RichTextBox::createMimeDataFromSelection;
    using RichTextBox::insertFromMimeData;
};
} // namespace

void tst_FirstUse::mimeDataIsPlainText()
{
    Probe box;
    box.setText(QStringLiteral("uno\ndos"));
    box.selectAll();
    box.setSelBold(true);
    std::unique_ptr<QMimeData> data(box.createMimeDataFromSelection());
    QCOMPARE(data->formats(), QStringList{QStringLiteral("text/plain")});
    QCOMPARE(data->text(), box.SelText());
}

void tst_FirstUse::pasteTakesPlainTextOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("text and HTML") << "llano" << "<b>rico</b>" << "xllano" << true;
    QTest::newRow("HTML only") << "" << "<b>rico</b>" << "x" << false;
    QTest::newRow("text only") << "llano" << "" << "xllano" << true;
}

void tst_FirstUse::pasteTakesPlainTextOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, html);
    QFETCH(QString, expected);
    QFETCH(bool, accepted);
    Probe box;
    box.setText(QStringLiteral("x"));
    box.moveCursor(QTextCursor::End);
    QMimeData data;
    if (!text.isEmpty())
        data.setText(text);
    if (!html.isEmpty())
        data.setHtml(html);
    QCOMPARE(box.canInsertFromMimeData(&data), accepted);
    box.insertFromMimeData(&data);
    QCOMPARE(box.Text(), expected);
    box.selectAll();
    QCOMPARE(box.SelBold(), std::optional<bool>(false));
}

void tst_FirstUse::clipboardKeysAreLeftToTheMenu_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("leftToMenu");
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+A stays the control's") << int(Qt::Key_A) << int(Qt::ControlModifier) << false;
}

void tst_FirstUse::clipboardKeysAreLeftToTheMenu()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, leftToMenu);
    RichTextBox box;
    box.setText(QStringLiteral("hola"));
    box.selectAll();
    QKeyEvent override(QEvent::ShortcutOverride, key, Qt::KeyboardModifiers(modifiers));
    override.ignore();
    QApplication::sendEvent(&box, &override);
    QCOMPARE(override.isAccepted(), !leftToMenu);
}

QTEST_MAIN(tst_FirstUse)
#include "tst_firstuse.moc"
