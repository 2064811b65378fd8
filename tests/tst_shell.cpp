// The main window's make-up and its remembered placement.

#include "support/mainwindow.h"
#include "support/named.h"

#include "frmmain.h"
#include "commondialog.h"
#include "richtextbox.h"
#include "settingsstore.h"
#include "toolbar.h"
#include "twips.h"

#include <QAction>
#include <QDate>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QtTest>

using namespace shelltest;

using Stored = QMap<QString, QString>;
Q_DECLARE_METATYPE(Stored)

namespace {
// What a twip value reads back as once the window system has rounded it to pixels.
double onScreen(double twips) { return screenPixelsToTwips(twipsToScreenPixels(twips)); }

void store(const Stored &values)
{
    clearSettings();
    auto settings = shelltest::store();
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(QStringLiteral("Settings/") + it.key(), it.value());
    settings.sync();
}
} // namespace

class tst_Shell : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void settingText_data();
    void settingText();
    void settingNumber_data();
    void settingNumber();
    void restoredPlacement_data();
    void restoredPlacement();
    void savedPlacement_data();
    void savedPlacement();
    void exitDiscardsUnsavedText();
    void menuItems_data();
    void menuItems();
    void menuOrder();
    void toolbarButtons_data();
    void toolbarButtons();
    void toolbarPictures();
    void alignmentGroupIsExclusive();
    void plainButtonDoesNotStayDown();
    void placedControls_data();
    void placedControls();
    void statusBarPanels();
    void barsStretchWithWindow();
};

void tst_Shell::settingText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 1000.0f << "1000";
    QTest::newRow("negative whole") << -1500.0f << "-1500";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("fraction") << 0.5f << "0.5";
    QTest::newRow("seven digits") << 1234.567f << "1234.567";
    QTest::newRow("third") << 1.0f / 3.0f << "0.3333333";
    QTest::newRow("beyond integer precision") << 16777216.0f << "16777216";
    QTest::newRow("large") << 3.0e9f << "3000000000";
}

void tst_Shell::settingText()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(::settingText(value), text);
    QCOMPARE(::settingNumber(text, -1), value);
}

void tst_Shell::settingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("value");
    QTest::newRow("integer") << "6500" << 6500.0f;
    QTest::newRow("negative") << "-300" << -300.0f;
    QTest::newRow("fraction") << "12.5" << 12.5f;
    QTest::newRow("exponent") << "1e3" << 1000.0f;
    QTest::newRow("blanks") << " 42 " << 42.0f;
    QTest::newRow("empty") << "" << 77.0f;
    QTest::newRow("word") << "ancho" << 77.0f;
    QTest::newRow("decimal comma") << "1,5" << 77.0f;
    QTest::newRow("trailing garbage") << "100px" << 77.0f;
    QTest::newRow("infinity") << "inf" << 77.0f;
    QTest::newRow("not a number") << "nan" << 77.0f;
    QTest::newRow("overflow") << "1e60" << 77.0f;
}

void tst_Shell::settingNumber()
{
    QFETCH(QString, text);
    QFETCH(float, value);
    QCOMPARE(::settingNumber(text, 77), value);
}

void tst_Shell::restoredPlacement_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<QList<double>>("expected");   // left, top, width, height
    QTest::newRow("first run") << Stored{} << QList<double>{1000, 1000, 6500, 6500};
    QTest::newRow("all stored")
        << Stored{{"MainLeft", "1500"}, {"MainTop", "750"}, {"MainWidth", "9000"},
                  {"MainHeight", "7500"}}
        << QList<double>{1500, 750, 9000, 7500};
    QTest::newRow("left alone") << Stored{{"MainLeft", "2000"}}
                                << QList<double>{2000, 1000, 6500, 6500};
    QTest::newRow("height alone") << Stored{{"MainHeight", "5000"}}
                                  << QList<double>{1000, 1000, 6500, 5000};
    QTest::newRow("negative") << Stored{{"MainLeft", "-1500"}, {"MainTop", "-300"}}
                              << QList<double>{-1500, -300, 6500, 6500};
    QTest::newRow("not a number")
        << Stored{{"MainLeft", "izquierda"}, {"MainWidth", ""}, {"MainHeight", "7000"}}
        << QList<double>{1000, 1000, 6500, 7000};
    QTest::newRow("fraction") << Stored{{"MainTop", "1200.5"}}
                              << QList<double>{1000, 1200.5, 6500, 6500};
}

void tst_Shell::restoredPlacement()
{
    QFETCH(Stored, stored);
    QFETCH(QList<double>, expected);
    ::store(stored);
    MainWindow w = shownMainWindow();
    // The offscreen platform nudges a frame that starts off screen in by its border.
    const double border = screenPixelsToTwips(w->geometry().x() - w->frameGeometry().x());
    QVERIFY(std::abs(w->Left() - onScreen(expected[0])) <= (expected[0] < 0 ? border : 0));
    QVERIFY(std::abs(w->Top() - onScreen(expected[1])) <= (expected[1] < 0 ? border : 0));
    QCOMPARE(w->Width(), onScreen(expected[2]));
    QCOMPARE(w->Height(), onScreen(expected[3]));
    QCOMPARE(captions(*w), QStringList{"Documento 1"});
}

void tst_Shell::savedPlacement_data()
{
    QTest::addColumn<int>("state");   // 0 normal, 1 minimised, 2 maximised
    QTest::newRow("normal") << 0;
    QTest::newRow("minimised") << 1;
    QTest::newRow("maximised") << 2;
}

void tst_Shell::savedPlacement()
{
    QFETCH(int, state);
    const Stored before{{"MainLeft", "450"}, {"MainTop", "600"}, {"MainWidth", "7050"},
                        {"MainHeight", "6000"}};
    ::store(before);
    MainWindow w = shownMainWindow();
    if (state == 1)
        w->showMinimized();
    if (state == 2)
        w->showMaximized();
    QTRY_COMPARE(w->WindowState(), state);
    if (state == 2)
        QTRY_COMPARE(w->frameGeometry(), w->screen()->availableGeometry());
    const QList<double> bounds{w->Left(), w->Top(), w->Width(), w->Height()};
    w->close();

    auto settings = shelltest::store();
    const QStringList keys{"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < keys.size(); ++i) {
        const QString text = settings.value("Settings/" + keys[i]).toString();
        if (state == 1)
            QCOMPARE(text, before.value(keys[i]));
        else
            QCOMPARE(text, ::settingText(float(bounds[i])));
    }
    if (state != 2)
        return;
    QVERIFY(bounds[2] != onScreen(7050));
    // The maximised bounds are the next start's bounds.
    MainWindow next = shownMainWindow();
    QCOMPARE(next->WindowState(), 0);
    QCOMPARE((QList<double>{next->Left(), next->Top(), next->Width(), next->Height()}), bounds);
}

void tst_Shell::exitDiscardsUnsavedText()
{
    MainWindow w = shownMainWindow();
    w->CreateDocumentWindow();
    for (frmDocument *doc : w->documents())
        doc->rtfText->setPlainText(QStringLiteral("sin guardar"));
    named<QAction>(*w, "mnuFileExit")->trigger();
    QVERIFY(!w->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    flushDeletes();
    QVERIFY(w->documents().isEmpty());
    QVERIFY(shelltest::store().contains(QStringLiteral("Settings/MainHeight")));
}

void tst_Shell::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("checked");
    const auto row = [](const char *name, const char *caption, const char *keys = "",
                        bool visible = true, bool checked = false) {
        QTest::newRow(name) << name << QString::fromUtf8(caption) << keys << visible << checked;
    };
    row("mnuFileNew", "&Nuevo", "Ctrl+N");
    row("mnuFileOpen", "A&brir...", "Ctrl+O");
    row("mnuFileClose", "&Cerrar");
    row("mnuFileSave", "&Guardar");
    row("mnuFileSaveAs", "G&uardar como...");
    row("mnuFilePageSetup", "C&onfigurar página...");
    row("mnuFilePrint", "I&mprimir...");
    row("mnuFileMRU1", "", "", false);
    row("mnuFileMRU2", "", "", false);
    row("mnuFileMRU3", "", "", false);
    row("mnuFileBar5", "", "", false);
    row("mnuFileExit", "&Salir");
    row("mnuEditCut", "Cor&tar", "Ctrl+X");
    row("mnuEditCopy", "&Copiar", "Ctrl+C");
    row("mnuEditPaste", "&Pegar", "Ctrl+V");
    row("mnuViewToolbar", "&Barra de herramientas", "", true, true);
    row("mnuViewStatusBar", "B&arra de estado", "", true, true);
    row("mnuOptionsPage", "Opciones de pagina");
    row("mnuWindowNewWindow", "&Nueva ventana");
    row("mnuWindowCascade", "Casca&da");
    row("mnuWindowTileHorizontal", "Mosaico &horizontal");
    row("mnuWindowTileVertical", "Mosaico &vertical");
    row("mnuWindowArrangeIcons", "&Organizar iconos");
    row("mnuAcercade", "Acerca de...");
}

void tst_Shell::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, visible);
    QFETCH(bool, checked);
    frmMain w;
    auto *item = w.findChild<QAction *>(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut().toString(QKeySequence::PortableText), shortcut);
    QCOMPARE(item->isVisible(), visible);
    QCOMPARE(item->isChecked(), checked);
    QVERIFY(!visible || item->isEnabled());
}

void tst_Shell::menuOrder()
{
    frmMain w;
    QStringList titles;
    for (QAction *menu : w.menuBar()->actions())
        titles << menu->text();
    QCOMPARE(titles, (QStringList{"&Archivo", "&Edición", "&Ver", "Ve&ntana", "Ayuda"}));
    QStringList file;
    for (QAction *item : named<QMenu>(w, "mnuFile")->actions()) {
        if (item->isVisible())
            file << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    QCOMPARE(file, (QStringList{"&Nuevo", "A&brir...", "&Cerrar", "-", "&Guardar",
                                "G&uardar como...", "-", "C&onfigurar página...",
                                "I&mprimir...", "-", "&Salir"}));
}

void tst_Shell::toolbarButtons_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("style");
    const char *keys[] = {"Nuevo", "Abrir", "Guardar", "Imprimir", "Cortar", "Copiar",
                          "Pegar", "Negrita", "Cursiva", "Subrayado",
                          "Alinear a la izquierda", "Centrar", "Alinear a la derecha"};
    for (int i = 0; i < 13; ++i)
        QTest::newRow(keys[i]) << i << keys[i]
                               << int(i < 10 ? ToolbarButton::Plain : ToolbarButton::ButtonGroup);
}

void tst_Shell::toolbarButtons()
{
    QFETCH(int, index);
    QFETCH(QString, key);
    QFETCH(int, style);
    frmMain w;
    const QList<ToolbarButton *> buttons = named<Toolbar>(w, "tbToolBar")->buttonList();
    QCOMPARE(buttons.size(), 13);
    ToolbarButton *button = buttons[index];
    QCOMPARE(button->Key(), key);
    QCOMPARE(named<Toolbar>(w, "tbToolBar")->Buttons(key), button);
    QCOMPARE(button->action()->toolTip(), key);
    QCOMPARE(int(button->style()), style);
    QCOMPARE(button->Value(), 0);
    QWidget *tool = named<Toolbar>(w, "tbToolBar")->widgetForAction(button->action());
    QVERIFY(tool);
    QCOMPARE(tool->size(), QSize(23, 22));
    QVERIFY(!button->action()->icon().isNull());
}

void tst_Shell::toolbarPictures()
{
    frmMain w;
    QCOMPARE(named<ImageList>(w, "imlToolbarIcons")->keys(),
             (QStringList{"New", "Open", "Save", "Print", "Cut", "Copy", "Paste", "Bold",
                          "Italic", "Underline", "Align Left", "Center", "Align Right"}));
    for (const QString &key : named<ImageList>(w, "imlToolbarIcons")->keys()) {
        const QImage picture = named<ImageList>(w, "imlToolbarIcons")->picture(key).toImage();
        QCOMPARE(picture.size(), QSize(16, 16));
        int transparent = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QColor c = picture.pixelColor(x, y);
                transparent += c.alpha() == 0;
                QVERIFY2(c.alpha() == 0 || c.rgb() != qRgb(192, 192, 192), qPrintable(key));
            }
        QVERIFY2(transparent > 0 && transparent < 256, qPrintable(key));
    }
    // Separators sit where the groups of buttons change.
    const QList<QAction *> actions = named<Toolbar>(w, "tbToolBar")->actions();
    QCOMPARE(actions.size(), 17);
    for (int i : {3, 5, 9, 13})
        QVERIFY(actions[i]->isSeparator());
}

void tst_Shell::alignmentGroupIsExclusive()
{
    Toolbar bar;
    ToolbarButton *left = bar.addButton("Izq", QPixmap(), ToolbarButton::ButtonGroup);
    ToolbarButton *centre = bar.addButton("Cen", QPixmap(), ToolbarButton::ButtonGroup);
    ToolbarButton *right = bar.addButton("Der", QPixmap(), ToolbarButton::ButtonGroup);
    QSignalSpy clicks(&bar, &Toolbar::ButtonClick);
    const auto values = [&] { return QList<int>{left->Value(), centre->Value(), right->Value()}; };

    centre->action()->trigger();
    QCOMPARE(values(), (QList<int>{0, 1, 0}));
    right->action()->trigger();
    QCOMPARE(values(), (QList<int>{0, 0, 1}));
    right->action()->trigger();       // clicking the pressed one leaves it pressed
    QCOMPARE(values(), (QList<int>{0, 0, 1}));
    QCOMPARE(clicks.size(), 3);
    QCOMPARE(clicks.last().first().value<ToolbarButton *>(), right);
    // A mixed selection releases all three.
    right->setValue(0);
    QCOMPARE(values(), (QList<int>{0, 0, 0}));
    left->setValue(1);
    QCOMPARE(values(), (QList<int>{1, 0, 0}));
}

void tst_Shell::plainButtonDoesNotStayDown()
{
    Toolbar bar;
    ToolbarButton *bold = bar.addButton("Negrita", QPixmap(), ToolbarButton::Plain);
    QList<int> seen;
    connect(&bar, &Toolbar::ButtonClick, this, [&](ToolbarButton *b) { seen << b->Value(); });
    bold->action()->trigger();
    QCOMPARE(bold->Value(), 0);
    QVERIFY(!bold->action()->isChecked());
    bold->setValue(1);
    bold->action()->trigger();
    QCOMPARE(bold->Value(), 1);
    QVERIFY(bold->action()->isChecked());
    QCOMPARE(seen, (QList<int>{0, 1}));   // the handler sees the value the program set
}

void tst_Shell::placedControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    const auto row = [](const char *name, const char *caption, int l, int t, int w, int h) {
        QTest::newRow(name) << name << QString::fromUtf8(caption) << QRect(l, t, w, h);
    };
    row("Command2", "Rojo", 120, 0, 975, 195);
    row("Command3", "Azul", 120, 360, 975, 195);
    row("Command4", "Amarillo", 1320, 0, 975, 195);
    row("Command5", "Verde", 1320, 360, 975, 195);
    row("Command6", "Negro", 2520, 0, 975, 195);
    row("Command7", "Gris", 2520, 360, 975, 195);
    row("Command8", "8", 3840, 0, 375, 255);
    row("Command9", "10", 3840, 360, 375, 255);
    row("Command10", "12", 4320, 0, 375, 255);
    row("Command11", "14", 4320, 360, 375, 255);
    row("Command12", "16", 4800, 0, 375, 255);
    row("Command13", "18", 4800, 360, 375, 255);
    row("Command18", "Fuentes", 5520, 120, 735, 255);
    row("Command16", "Viñetas", 6480, 120, 975, 255);
    row("Label1", "Propiedades de pagina", 0, 0, 2535, 255);
    row("Label2", "A. Derecha", 0, 360, 975, 255);
    row("Text1", "0", 960, 360, 495, 285);
    row("Command14", "Alinear", 1560, 360, 855, 255);
    row("Label3", "A. Izquierda", 0, 840, 855, 255);
    row("Text2", "0", 960, 840, 495, 285);
    row("Command15", "Alinear", 1560, 840, 855, 255);
    row("Command19", "Color Fondo", 360, 1440, 1575, 375);
    row("Command20", "Color Texto", 360, 2040, 1575, 375);
}

void tst_Shell::placedControls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    MainWindow w = shownMainWindow();
    auto *control = w->findChild<QWidget *>(name);
    QVERIFY(control);
    QString text;
    if (auto *button = qobject_cast<QPushButton *>(control))
        text = button->text();
    else if (auto *label = qobject_cast<QLabel *>(control))
        text = label->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        text = edit->text();
    QCOMPARE(text, caption);
    const QRect pixels(twipsToScreenPixels(twips.x()), twipsToScreenPixels(twips.y()),
                       twipsToScreenPixels(twips.width()), twipsToScreenPixels(twips.height()));
    QCOMPARE(control->geometry(), pixels);
    const bool onStrip = name.startsWith("Command") && !QStringList{"Command14", "Command15",
        "Command19", "Command20"}.contains(name);
    QVERIFY(onStrip ? named<QToolBar>(*w, "Toolbar1")->isAncestorOf(control)
                    : named<QDockWidget>(*w, "propiedades")->isAncestorOf(control));
}

void tst_Shell::statusBarPanels()
{
    MainWindow w = shownMainWindow();
    const QList<QLabel *> panels = named<QStatusBar>(*w, "sbStatusBar")->findChildren<QLabel *>();
    QCOMPARE(panels.size(), 3);
    QCOMPARE(panels[0]->text(), QStringLiteral("Estado"));
    QCOMPARE(panels[1]->text(), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    QVERIFY(QRegularExpression("^\\d\\d:\\d\\d$").match(panels[2]->text()).hasMatch());
    QVERIFY(panels[1]->width() >= twipsToScreenPixels(1440));
    QVERIFY(panels[2]->width() >= twipsToScreenPixels(1440));
    QVERIFY(panels[0]->width() > panels[1]->width());
    QVERIFY(named<QDockWidget>(*w, "propiedades")->isVisible());
    QCOMPARE(named<CommonDialog>(*w, "dialog")->FontName, QStringLiteral("Arial"));
}

void tst_Shell::barsStretchWithWindow()
{
    MainWindow w = shownMainWindow();
    QPushButton *bullets = named<QPushButton>(*w, "Command16");
    QToolBar *strip = named<QToolBar>(*w, "Toolbar1");
    QDockWidget *panel = named<QDockWidget>(*w, "propiedades");
    QStatusBar *status = named<QStatusBar>(*w, "sbStatusBar");
    const QRect before = bullets->geometry();
    for (int width : {500, 900}) {
        w->resize(width, 500);
        QTRY_COMPARE(w->width(), width);
        QCOMPARE(named<Toolbar>(*w, "tbToolBar")->width(), w->width());
        QCOMPARE(strip->width(), w->width());
        QCOMPARE(status->width(), w->width());
        QCOMPARE(panel->width(), twipsToScreenPixels(2625));
        QVERIFY(panel->geometry().top() >= strip->geometry().bottom());
        QVERIFY(panel->geometry().bottom() < status->geometry().top());
        QCOMPARE(bullets->geometry(), before);
    }
}

QTEST_MAIN(tst_Shell)
#include "tst_shell.moc"
