// Document windows as the main window makes, lists, shows and arranges them; the about box.

#include "support/mainwindow.h"
#include "support/named.h"

#include "form1.h"
#include "module1.h"
#include "richtextbox.h"
#include "runhandler.h"
#include "runtimefailure.h"
#include "support/scripteddialogs.h"
#include "toolbar.h"
#include "twips.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include <limits>
#include <stdexcept>

using namespace shelltest;

namespace {
QRect area(const frmMain &w) { return named<QMdiArea>(w, "mdiArea")->viewport()->rect(); }

// Answers the next modal dialog once it is up: records its title and text, then closes it.
// The polling timer dies with the answer, so a box that never comes stops nothing later.
struct ModalAnswer
{
    QString title, text;
    QTimer poller;
    void arm()
    {
        poller.setInterval(10);
        QObject::connect(&poller, &QTimer::timeout, [this] { poll(); });
        poller.start();
    }
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poller.stop();
        title = box->windowTitle();
        text = box->text();
        box->accept();
    }
};
} // namespace

class tst_ShellWindows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void mainCreatesTheOneWindow();
    void numbering_data();
    void numbering();
    void counterAtItsLargestValue();
    void failureReachesMessageBox_data();
    void failureReachesMessageBox();
    void viewToggles_data();
    void viewToggles();
    void windowList();
    void tiles_data();
    void tiles();
    void cascadeOffsetsEachWindow();
    void arrangeIcons();
    void aboutBoxIsShared();
};

void tst_ShellWindows::mainCreatesTheOneWindow()
{
    QVERIFY(!mainForm);
    Main();
    QVERIFY(mainForm);
    auto *main = dynamic_cast<frmMain *>(mainForm);
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QCOMPARE(captions(*main), QStringList{"Documento 1"});
    QCOMPARE(main->activeDocument(), main->documents().first());
    main->close();
    flushDeletes();
}

using Path = std::function<void(frmMain &)>;
Q_DECLARE_METATYPE(Path)

void tst_ShellWindows::numbering_data()
{
    QTest::addColumn<Path>("path");
    QTest::newRow("New window") << Path([](frmMain &w) { w.mnuWindowNewWindow_Click(); });
    QTest::newRow("menu New window")
        << Path([](frmMain &w) { named<QAction>(w, "mnuWindowNewWindow")->trigger(); });
    QTest::newRow("File New")
        << Path([](frmMain &w) { named<QAction>(w, "mnuFileNew")->trigger(); });
    QTest::newRow("toolbar Nuevo") << Path([](frmMain &w) {
        named<Toolbar>(w, "tbToolBar")->Buttons("Nuevo")->action()->trigger();
    });
    QTest::newRow("Open without document") << Path([](frmMain &w) {
        for (frmDocument *doc : w.documents())
            doc->close();
        flushDeletes();
        ScriptedDialogs cancelAll;
        named<QAction>(w, "mnuFileOpen")->trigger();
    });
}

void tst_ShellWindows::numbering()
{
    QFETCH(Path, path);
    MainWindow w = shownMainWindow();
    QCOMPARE(captions(*w), QStringList{"Documento 1"});
    path(*w);
    QCOMPARE(w->documentCount, 2);
    QCOMPARE(w->activeDocument()->Caption(), QStringLiteral("Documento 2"));
    path(*w);
    QCOMPARE(w->activeDocument()->Caption(), QStringLiteral("Documento 3"));
    // Numbers of closed windows are never handed out again.
    for (frmDocument *doc : w->documents())
        doc->close();
    flushDeletes();
    QVERIFY(!w->activeDocument());
    path(*w);
    QCOMPARE(w->activeDocument()->Caption(), QStringLiteral("Documento 4"));
    QVERIFY(w->activeDocument()->rtfText->toPlainText().isEmpty());
}

void tst_ShellWindows::counterAtItsLargestValue()
{
    MainWindow w = shownMainWindow();
    w->documentCount = std::numeric_limits<qint32>::max() - 1;
    w->CreateDocumentWindow();
    QCOMPARE(w->activeDocument()->Caption(), QStringLiteral("Documento 2147483647"));
    const int open = w->documents().size();
    QVERIFY_THROWS_EXCEPTION(RuntimeFailure, w->CreateDocumentWindow());
    QCOMPARE(w->documentCount, std::numeric_limits<qint32>::max());
    QCOMPARE(w->documents().size(), open);
    // Through the menu the refusal is reported, not thrown into the event loop.
    ModalAnswer answer;
    answer.arm();
    named<QAction>(*w, "mnuWindowNewWindow")->trigger();
    QCOMPARE(answer.title, QStringLiteral("Editor de textos...."));
    QCOMPARE(answer.text, QStringLiteral("No se pueden abrir más documentos."));
    QCOMPARE(w->documents().size(), open);
}

void tst_ShellWindows::failureReachesMessageBox_data()
{
    QTest::addColumn<Path>("handler");
    QTest::addColumn<QString>("message");
    QTest::newRow("run-time failure") << Path([](frmMain &) {
        throw RuntimeFailure(RuntimeFailure::FileNotFound,
                             QStringLiteral("No se encontró el archivo /tmp/x.rtf."));
    }) << "No se encontró el archivo /tmp/x.rtf.";
    QTest::newRow("other exception") << Path([](frmMain &) {
        throw std::runtime_error("memoria agotada");
    }) << "memoria agotada";
}

void tst_ShellWindows::failureReachesMessageBox()
{
    QFETCH(Path, handler);
    QFETCH(QString, message);
    frmMain w;
    ModalAnswer answer;
    answer.arm();
    bool after = false;
    runHandler(&w, [&] { handler(w); after = true; });
    QVERIFY(!after);
    QCOMPARE(answer.title, QStringLiteral("Editor de textos...."));
    QCOMPARE(answer.text, message);
}

void tst_ShellWindows::viewToggles_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("checked");
    QTest::newRow("toolbar once") << "mnuViewToolbar" << "tbToolBar" << 1 << false << false;
    QTest::newRow("toolbar twice") << "mnuViewToolbar" << "tbToolBar" << 2 << true << true;
    QTest::newRow("status bar once") << "mnuViewStatusBar" << "sbStatusBar" << 1 << false << false;
    QTest::newRow("status bar twice") << "mnuViewStatusBar" << "sbStatusBar" << 2 << true << true;
    QTest::newRow("panel once") << "mnuOptionsPage" << "propiedades" << 1 << false << false;
    QTest::newRow("panel twice") << "mnuOptionsPage" << "propiedades" << 2 << true << false;
}

void tst_ShellWindows::viewToggles()
{
    QFETCH(QString, item);
    QFETCH(QString, bar);
    QFETCH(int, clicks);
    QFETCH(bool, visible);
    QFETCH(bool, checked);
    MainWindow w = shownMainWindow();
    w->activeDocument()->showMaximized();
    QCoreApplication::processEvents();
    QMdiArea *documentsArea = named<QMdiArea>(*w, "mdiArea");
    const QSize before = documentsArea->size();
    auto *action = w->findChild<QAction *>(item);
    auto *target = w->findChild<QWidget *>(bar);
    for (int i = 0; i < clicks; ++i)
        action->trigger();
    QCOMPARE(target->isVisible(), visible);
    QCOMPARE(action->isChecked(), checked);
    // The freed room goes to the documents' area.
    QTRY_VERIFY(visible ? documentsArea->size() == before
                        : documentsArea->width() * documentsArea->height()
                              > before.width() * before.height());
    QTRY_COMPARE(w->activeDocument()->geometry().size(), documentsArea->viewport()->size());
}

void tst_ShellWindows::windowList()
{
    MainWindow w = shownMainWindow();
    w->CreateDocumentWindow();
    w->CreateDocumentWindow();
    frmDocument *second = w->documents().at(1);
    named<QMdiArea>(*w, "mdiArea")->setActiveSubWindow(second);
    emit named<QMenu>(*w, "mnuWindow")->aboutToShow();
    const auto entries = [&] {
        QStringList result;
        const QList<QAction *> items = named<QMenu>(*w, "mnuWindow")->actions();
        const QAction *last = named<QAction>(*w, "mnuWindowArrangeIcons");
        for (QAction *a : items.mid(items.indexOf(last) + 1)) {
            if (!a->isSeparator())
                result << a->text() + (a->isChecked() ? "*" : "");
        }
        return result;
    };
    QCOMPARE(entries(), (QStringList{"&1 Documento 1", "&2 Documento 2*", "&3 Documento 3"}));
    w->findChild<QAction *>("mnuWindowList3")->trigger();
    QCOMPARE(w->activeDocument()->Caption(), QStringLiteral("Documento 3"));
    second->close();
    flushDeletes();
    emit named<QMenu>(*w, "mnuWindow")->aboutToShow();
    QCOMPARE(entries(), (QStringList{"&1 Documento 1", "&2 Documento 3*"}));
}

void tst_ShellWindows::tiles_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("stacked");
    QTest::newRow("horizontal: one above another") << 1 << true;
    QTest::newRow("vertical: side by side") << 2 << false;
}

void tst_ShellWindows::tiles()
{
    QFETCH(int, code);
    QFETCH(bool, stacked);
    MainWindow w = shownMainWindow();
    w->CreateDocumentWindow();
    w->CreateDocumentWindow();
    w->activeDocument()->showMaximized();
    w->Arrange(code);
    const QRect client = area(*w);
    const QList<frmDocument *> docs = w->documents();
    int edge = stacked ? client.top() : client.left();
    for (frmDocument *doc : docs) {
        const QRect g = doc->geometry();
        QVERIFY(!doc->isMaximized());
        QCOMPARE(stacked ? g.top() : g.left(), edge);
        QCOMPARE(stacked ? g.width() : g.height(), stacked ? client.width() : client.height());
        edge = stacked ? g.bottom() + 1 : g.right() + 1;
    }
    QCOMPARE(edge, stacked ? client.bottom() + 1 : client.right() + 1);
    // Each control follows its window's new size.
    for (frmDocument *doc : docs)
        QTRY_COMPARE(doc->rtfText->Width(),
                     screenPixelsToTwips(twipsToScreenPixels(doc->ScaleWidth() - 200)));
}

void tst_ShellWindows::cascadeOffsetsEachWindow()
{
    MainWindow w = shownMainWindow();
    w->CreateDocumentWindow();
    w->CreateDocumentWindow();
    w->Arrange(0);
    const QList<frmDocument *> docs = w->documents();
    for (int i = 1; i < docs.size(); ++i) {
        QVERIFY(docs[i]->x() > docs[i - 1]->x());
        QVERIFY(docs[i]->y() > docs[i - 1]->y());
    }
}

void tst_ShellWindows::arrangeIcons()
{
    MainWindow w = shownMainWindow();
    w->resize(900, 600);
    QTRY_COMPARE(w->width(), 900);
    w->CreateDocumentWindow();
    w->CreateDocumentWindow();
    QList<frmDocument *> docs = w->documents();
    docs[0]->setGeometry(40, 30, 200, 150);
    const QRect untouched = docs[0]->geometry();
    w->Arrange(3);      // nothing minimised: nothing moves
    QCOMPARE(docs[0]->geometry(), untouched);
    docs[1]->showMinimized();
    docs[2]->showMinimized();
    docs[1]->move(100, 10);
    docs[2]->move(20, 40);
    w->Arrange(3);
    const QRect client = area(*w);
    QCOMPARE(docs[1]->geometry().bottom(), client.bottom());
    QCOMPARE(docs[2]->geometry().bottom(), client.bottom());
    QCOMPARE(docs[1]->x(), client.left());
    QCOMPARE(docs[2]->x(), docs[1]->geometry().right() + 1);
    QCOMPARE(docs[0]->geometry(), untouched);
}

void tst_ShellWindows::aboutBoxIsShared()
{
    MainWindow w = shownMainWindow();
    named<QAction>(*w, "mnuAcercade")->trigger();
    named<QAction>(*w, "mnuAcercade")->trigger();
    QList<Form1 *> boxes;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<Form1 *>(top); box && box->isVisible())
            boxes << box;
    }
    QCOMPARE(boxes.size(), 1);
    Form1 *about = boxes.first();
    QCOMPARE(about->windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(about->parentWidget(), nullptr);
    QCOMPARE(about->imagen->pixmap().size(), QSize(300, 400));
    QCOMPARE(about->size(), QSize(twipsToScreenPixels(4470), twipsToScreenPixels(5985)));

    // The main window still works while the about box is open.
    named<QAction>(*w, "mnuWindowNewWindow")->trigger();
    QCOMPARE(w->activeDocument()->Caption(), QStringLiteral("Documento 2"));

    // A window of its own that counts for quitting: the program lives until it closes too.
    QVERIFY(about->isWindow());
    QVERIFY(about->testAttribute(Qt::WA_QuitOnClose));
    w->close();
    QCoreApplication::processEvents();
    QVERIFY(about->isVisible());
    about->close();
    QVERIFY(!about->isVisible());
    w->mnuAcercade_Click();     // after a close the same box opens again
    QCOMPARE(Form1::instance(), about);
    QVERIFY(about->isVisible());
    about->close();
}

QTEST_MAIN(tst_ShellWindows)
#include "tst_shellwindows.moc"
