// The main window offscreen: its remembered placement and its document windows.

#include "support/mainwindow.h"
#include "support/modal.h"
#include "support/named.h"

#include "richtextbox.h"
#include "settingsstore.h"
#include "twips.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QScreen>
#include <QtTest>

#include <limits>

using namespace shelltest;

using Path = std::function<void(frmMain &)>;
Q_DECLARE_METATYPE(Path)

namespace {
// What a twip value reads back as once the window system has rounded it to pixels.
double onScreen(double twips) { return screenPixelsToTwips(twipsToScreenPixels(twips)); }
QList<double> bounds(const frmMain &w) { return {w.Left(), w.Top(), w.Width(), w.Height()}; }
QRect area(const frmMain &w) { return named<QMdiArea>(w, "mdiArea")->viewport()->rect(); }
const QStringList placementKeys{"MainLeft", "MainTop", "MainWidth", "MainHeight"};

void store(const QStringList &values)
{
    clearSettings();
    auto settings = shelltest::store();
    for (int i = 0; i < values.size(); ++i)
        settings.setValue("Settings/" + placementKeys[i], values[i]);
}

MainWindow withDocuments(int count)
{
    MainWindow w = shownMainWindow();
    while (w->documents().size() < count)
        w->CreateDocumentWindow();
    return w;
}

QStringList windowList(frmMain &w)
{
    auto *menu = named<QMenu>(w, "mnuWindow");
    emit menu->aboutToShow();
    QStringList entries;
    const QList<QAction *> items = menu->actions();
    for (QAction *a : items.mid(items.indexOf(named<QAction>(w, "mnuWindowArrangeIcons")) + 1))
        if (!a->isSeparator())
            entries << a->text() + (a->isChecked() ? "*" : "");
    return entries;
}
} // namespace

class tst_Shell : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void restoredPlacement_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QList<double>>("expected");   // left, top, width, height
        QTest::newRow("first run") << QStringList{} << QList<double>{1000, 1000, 6500, 6500};
        QTest::newRow("all stored") << QStringList{"1500", "750.5", "9000", "7500"} << QList<double>{1500, 750.5, 9000, 7500};
        QTest::newRow("not numbers") << QStringList{"izquierda", "1,5", "inf", "nan"} << QList<double>{1000, 1000, 6500, 6500};
    }
    void restoredPlacement()
    {
        QFETCH(QStringList, stored);
        QFETCH(QList<double>, expected);
        ::store(stored);
        MainWindow w = shownMainWindow();
        for (double &twips : expected)
            twips = onScreen(twips);
        QCOMPARE(bounds(*w), expected);
    }

    void savedPlacement_data()
    {
        QTest::addColumn<int>("state");   // 0 normal, 1 minimised, 2 maximised
        QTest::newRow("normal") << 0;
        QTest::newRow("minimised: left as it was") << 1;
        QTest::newRow("maximised: the next start's bounds") << 2;
    }
    void savedPlacement()
    {
        QFETCH(int, state);
        const QStringList before{"450", "600", "7050", "6000"};
        ::store(before);
        MainWindow w = shownMainWindow();
        w->move(w->pos() + QPoint(40, 30));     // moved by the user since the start
        QTRY_COMPARE(w->Left(), onScreen(450) + screenPixelsToTwips(40));
        if (state)
            state == 1 ? w->showMinimized() : w->showMaximized();
        QTRY_COMPARE(w->WindowState(), state);
        if (state == 2)
            QTRY_COMPARE(w->frameGeometry(), w->screen()->availableGeometry());
        const QList<double> shown = bounds(*w);
        w->close();
        for (int i = 0; i < placementKeys.size(); ++i)
            QCOMPARE(shelltest::store().value("Settings/" + placementKeys[i]).toString(),
                     state == 1 ? before[i] : ::settingText(float(shown[i])));
        MainWindow next = shownMainWindow();
        QCOMPARE(next->WindowState(), 0);
        if (state != 1)
            QCOMPARE(bounds(*next), shown);
    }

    void numbering_data()
    {
        QTest::addColumn<Path>("path");
        QTest::newRow("Ventana > Nueva ventana") << Path([](frmMain &w) { named<QAction>(w, "mnuWindowNewWindow")->trigger(); });
        // Archivo > Nuevo by its key, while the document's control has the keyboard.
        QTest::newRow("Ctrl+N") << Path([](frmMain &w) {
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QTRY_VERIFY(w.activeDocument()->rtfText->hasFocus());
            QTest::keyClick(w.activeDocument()->rtfText, Qt::Key_N, Qt::ControlModifier);
        });
    }
    // New windows never reuse a closed window's number; the Ventana menu lists and activates them.
    void numbering()
    {
        QFETCH(Path, path);
        MainWindow w = shownMainWindow();
        path(*w);
        path(*w);
        QCOMPARE(::windowList(*w), (QStringList{"&1 Documento 1", "&2 Documento 2", "&3 Documento 3*"}));
        named<QAction>(*w, "mnuWindowList2")->trigger();
        QCOMPARE(w->activeDocument()->Caption(), QStringLiteral("Documento 2"));
        w->documents().at(2)->close();
        flushDeletes();
        QCOMPARE(::windowList(*w), (QStringList{"&1 Documento 1", "&2 Documento 2*"}));
        path(*w);
        QCOMPARE(::windowList(*w), (QStringList{"&1 Documento 1", "&2 Documento 2", "&3 Documento 4*"}));
    }

    void counterAtItsLargestValue()
    {
        MainWindow w = shownMainWindow();
        w->documentCount = std::numeric_limits<qint32>::max() - 1;
        w->CreateDocumentWindow();
        QCOMPARE(w->activeDocument()->Caption(), QStringLiteral("Documento 2147483647"));
        ModalAnswer answer;
        named<QAction>(*w, "mnuWindowNewWindow")->trigger();
        QCOMPARE(answer.texts, QStringList{"No se pueden abrir más documentos."});
        QCOMPARE(w->documents().size(), 2);
    }

    void tiles_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("stacked");
        QTest::newRow("horizontal: one above another") << "mnuWindowTileHorizontal" << true;
        QTest::newRow("vertical: side by side") << "mnuWindowTileVertical" << false;
    }
    void tiles()
    {
        QFETCH(QString, item);
        QFETCH(bool, stacked);
        MainWindow w = withDocuments(3);
        w->activeDocument()->showMaximized();
        named<QAction>(*w, item)->trigger();
        const QRect client = area(*w);
        QRegion covered;
        for (frmDocument *doc : w->documents()) {
            const QRect g = doc->geometry();
            QVERIFY(!covered.intersects(g));
            QCOMPARE(stacked ? g.width() : g.height(), stacked ? client.width() : client.height());
            covered += g;
        }
        QCOMPARE(covered, QRegion(client));
    }

    void arrangeIcons()
    {
        MainWindow w = withDocuments(3);
        w->resize(900, 600);
        QTRY_COMPARE(w->width(), 900);
        QList<frmDocument *> docs = w->documents();
        docs[0]->setGeometry(40, 30, 200, 150);
        docs[1]->showMinimized();
        docs[2]->showMinimized();
        docs[1]->move(100, 10);
        docs[2]->move(20, 40);
        named<QAction>(*w, "mnuWindowArrangeIcons")->trigger();
        const QRect client = area(*w);
        QCOMPARE(docs[1]->geometry().bottomLeft(), client.bottomLeft());
        QCOMPARE(docs[2]->geometry().bottomLeft(), QPoint(docs[1]->geometry().right() + 1, client.bottom()));
        QCOMPARE(docs[0]->geometry(), QRect(40, 30, 200, 150));
    }

    void documentControlFillsItsWindow_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as opened") << QSize();
        QTest::newRow("wide") << QSize(700, 300);
    }
    // The text control fills the window's client area, with an even border all round.
    void documentControlFillsItsWindow()
    {
        QFETCH(QSize, size);
        MainWindow w = shownMainWindow();
        w->resize(900, 800);
        frmDocument *doc = w->activeDocument();
        if (size.isValid())
            doc->widget()->resize(size);
        const QRect client = doc->widget()->rect();
        const QRect text = doc->rtfText->geometry();
        // Pixel rounding may take one from the right and bottom.
        for (int side : {text.left(), text.top(), client.right() - text.right(), client.bottom() - text.bottom()})
            QVERIFY2(side >= text.left() - 1 && side <= text.left() && side > 0 && side < 12,
                     qPrintable(QDebug::toString(text) + " inside " + QDebug::toString(client)));
    }
};

QTEST_MAIN(tst_Shell)
#include "tst_shell.moc"
