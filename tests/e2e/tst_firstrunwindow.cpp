// The main window at its first-run size on a real X server: where document windows open
// and how a cascade leaves them, whether every caption is whole, and where the keyboard
// goes after a formatting button.

#include "support/mainwindow.h"

#include "captionfit.h"
#include "richtextbox.h"
#include "support/named.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QtTest>

using namespace shelltest;

namespace {
QRect workspace(frmMain &w)
{
    return w.findChild<QMdiArea *>(QStringLiteral("mdiArea"))->viewport()->rect();
}

QSize designOuter(const frmDocument *doc)
{
    return frmDocument::designClientSize() + (doc->size() - doc->widget()->size());
}

// The main window as a first run shows it: no settings, so 6500 x 6500 twips.
MainWindow firstRun()
{
    clearSettings();
    MainWindow w = shownMainWindow();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("main window not active");
    QTest::qWaitFor([&w] { return !w->documents().isEmpty(); }, 5000);
    return w;
}

void typeThroughWindow(frmMain &w, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(w.windowHandle(), c.toLatin1());
}
} // namespace

class tst_FirstRunWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(); }
    void newWindowsOpenInsideTheWorkspace_data();
    void newWindowsOpenInsideTheWorkspace();
    void cascadeKeepsWindowsUsable_data();
    void cascadeKeepsWindowsUsable();
    void captionsFit_data();
    void captionsFit();
    void typingGoesOnAfterAButton_data();
    void typingGoesOnAfterAButton();
};

void tst_FirstRunWindow::newWindowsOpenInsideTheWorkspace_data()
{
    QTest::addColumn<int>("windows");
    for (int n : {1, 2, 3, 4, 5, 8})
        QTest::addRow("%d windows", n) << n;
}

void tst_FirstRunWindow::newWindowsOpenInsideTheWorkspace()
{
    QFETCH(int, windows);
    MainWindow w = firstRun();
    for (int i = 1; i < windows; ++i)
        w->CreateDocumentWindow();
    const QRect area = workspace(*w);
    const QList<frmDocument *> docs = w->documents();
    QCOMPARE(docs.size(), windows);
    for (int i = 0; i < docs.size(); ++i) {
        const QRect g = docs[i]->geometry();
        QVERIFY2(area.contains(g), qPrintable(QStringLiteral("%1: %2,%3 %4x%5 outside %6x%7")
                 .arg(docs[i]->Caption()).arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                 .arg(area.width()).arg(area.height())));
        // As large as the design where the workspace allows it.
        QCOMPARE(g.size(), designOuter(docs[i]).boundedTo(area.size()));
        if (i > 0 && g.topLeft() != area.topLeft()) {
            QVERIFY(g.x() > docs[i - 1]->x());
            QVERIFY(g.y() > docs[i - 1]->y());
        }
    }
}

void tst_FirstRunWindow::cascadeKeepsWindowsUsable_data()
{
    QTest::addColumn<int>("windows");
    QTest::addColumn<QSize>("mainSize");    // empty: the first-run size
    for (int n = 1; n <= 5; ++n) {
        QTest::addRow("first run, %d windows", n) << n << QSize();
        QTest::addRow("large frame, %d windows", n) << n << QSize(1100, 900);
    }
}

void tst_FirstRunWindow::cascadeKeepsWindowsUsable()
{
    QFETCH(int, windows);
    QFETCH(QSize, mainSize);
    MainWindow w = firstRun();
    if (mainSize.isValid()) {
        w->resize(mainSize);
        QTRY_COMPARE(w->size(), mainSize);
    }
    for (int i = 1; i < windows; ++i)
        w->CreateDocumentWindow();
    named<QAction>(*w, QStringLiteral("mnuWindowCascade"))->trigger();
    const QRect area = workspace(*w);
    const QList<frmDocument *> docs = w->documents();
    const int offsets = docs.size() > 1 ? docs[1]->y() - docs[0]->y() : 0;
    const QSize left = area.size() - QSize(offsets, offsets) * (windows - 1);
    for (int i = 0; i < docs.size(); ++i) {
        const QRect g = docs[i]->geometry();
        QVERIFY(area.contains(g));
        QVERIFY(g.width() >= 150 && g.height() >= 100);
        const QSize wanted = designOuter(docs[i]).boundedTo(left);
        QVERIFY2(g.width() >= wanted.width() && g.height() >= wanted.height(),
                 qPrintable(QStringLiteral("%1 is %2x%3").arg(docs[i]->Caption())
                            .arg(g.width()).arg(g.height())));
        if (i > 0) {
            QVERIFY(g.x() > docs[i - 1]->x());
            QVERIFY(g.y() > docs[i - 1]->y());
        }
    }
}

void tst_FirstRunWindow::captionsFit_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"Command2", "Command3", "Command4", "Command5", "Command6",
                             "Command7", "Command8", "Command9", "Command10", "Command11",
                             "Command12", "Command13", "Command18", "Command16", "Label1",
                             "Label2", "Label3", "Command14", "Command15", "Command19",
                             "Command20"})
        QTest::newRow(name) << name;
}

void tst_FirstRunWindow::captionsFit()
{
    QFETCH(QString, name);
    MainWindow w = firstRun();
    auto *control = w->findChild<QWidget *>(name);
    QVERIFY(control);
    const QString text = qobject_cast<QLabel *>(control)
                             ? qobject_cast<QLabel *>(control)->text()
                             : qobject_cast<QPushButton *>(control)->text();
    const QFontMetrics metrics = control->fontMetrics();
    const QRect area = captionfit::captionRect(control);   // a push button: inside its bevel
    QVERIFY2(metrics.horizontalAdvance(text) <= area.width(),
             qPrintable(QStringLiteral("\"%1\" needs %2 px, has %3").arg(text)
                        .arg(metrics.horizontalAdvance(text)).arg(area.width())));
    QVERIFY2(metrics.height() <= area.height(),
             qPrintable(QStringLiteral("\"%1\" needs %2 px high, has %3").arg(text)
                        .arg(metrics.height()).arg(area.height())));
    QVERIFY(control->font().pointSizeF() >= captionfit::smallestReadablePoints);
}

void tst_FirstRunWindow::typingGoesOnAfterAButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Rojo") << "Command2";
    QTest::newRow("12") << "Command10";
    QTest::newRow("Viñetas") << "Command16";
    QTest::newRow("Alinear") << "Command14";
    QTest::newRow("Fuentes") << "Command18";
    QTest::newRow("Color Texto") << "Command20";
    QTest::newRow("Color Fondo") << "Command19";
}

void tst_FirstRunWindow::typingGoesOnAfterAButton()
{
    QFETCH(QString, button);
    ScriptedDialogs dialogs;      // the dialogs of "Fuentes" and the colours: cancelled
    MainWindow w = firstRun();
    // "Color Fondo" warns first; its box is answered as soon as it is up.
    QTimer answer;
    connect(&answer, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            QTest::keyClick(modal, Qt::Key_Return);
    });
    answer.start(50);
    frmDocument *doc = w->activeDocument();
    QTRY_VERIFY(doc->rtfText->hasFocus());
    typeThroughWindow(*w, QStringLiteral("ab"));
    auto *target = w->findChild<QPushButton *>(button);
    QVERIFY(target && target->isVisible());
    QTest::mouseClick(target, Qt::LeftButton);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    typeThroughWindow(*w, QStringLiteral("cd"));
    QCOMPARE(doc->rtfText->Text(), QStringLiteral("abcd"));
}

QTEST_MAIN(tst_FirstRunWindow)
#include "tst_firstrunwindow.moc"
