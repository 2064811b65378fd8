// Every handler of the main window run with no document window open: each menu item, each
// toolbar button and each button of the strip and the panel, found by walking the window,
// so that a new one is covered without a new row. None may crash, ask anything or change
// anything, apart from the few whose job it is to do something without a document.

#include "support/mainwindow.h"
#include "support/modal.h"
#include "support/named.h"
#include "support/scripteddialogs.h"

#include "form1.h"
#include "toolbar.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace shelltest;

namespace {
// What a handler may do with no document, by the name of its item or button key.
const QMap<QString, QString> allowed{
    {"mnuFileNew", "documento"}, {"mnuWindowNewWindow", "documento"}, {"Nuevo", "documento"},
    {"mnuFileOpen", "documento, open"}, {"Abrir", "documento, open"},
    {"mnuFilePageSetup", "printer"}, {"mnuFileExit", "se cierra"},
    {"mnuViewToolbar", "oculta tbToolBar"}, {"mnuViewStatusBar", "oculta sbStatusBar"},
    {"mnuOptionsPage", "oculta propiedades"}, {"mnuAcercade", "Acerca de"},
    // The toolbar's own exclusive group presses the clicked one.
    {"Alinear a la izquierda", "pulsa Alinear a la izquierda"},
    {"Centrar", "pulsa Centrar"}, {"Alinear a la derecha", "pulsa Alinear a la derecha"},
};
const char *const parts[] = {"tbToolBar", "sbStatusBar", "propiedades", "Toolbar1"};

// Everything a handler could change that a user would notice.
QStringList state(frmMain &w)
{
    QStringList seen{QString::number(w.documents().size()),
                     QGuiApplication::clipboard()->text(),
                     named<QLineEdit>(w, "Text1")->text() + named<QLineEdit>(w, "Text2")->text()};
    for (const char *part : parts)
        seen << QString::number(named<QWidget>(w, part)->isVisible());
    for (ToolbarButton *b : named<Toolbar>(w, "tbToolBar")->buttonList())
        seen << QString::number(b->Value()) + QString::number(b->action()->isChecked());
    return seen;
}

using Trigger = std::function<void(frmMain &)>;
} // namespace
Q_DECLARE_METATYPE(Trigger)

class tst_NoDocument : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(); }
    void handler_data();
    void handler();
};

void tst_NoDocument::handler_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<QString>("expected");
    MainWindow w = mainWindow();
    for (QAction *menu : w->menuBar()->actions()) {
        for (QAction *item : menu->menu()->actions()) {
            const QString name = item->objectName();
            if (!item->isSeparator() && item->isVisible())
                QTest::addRow("menú %s", qPrintable(name))
                    << Trigger([name](frmMain &m) { named<QAction>(m, name)->trigger(); })
                    << allowed.value(name);
        }
    }
    for (ToolbarButton *button : named<Toolbar>(*w, "tbToolBar")->buttonList()) {
        const QString key = button->Key();
        QTest::addRow("barra %s", qPrintable(key)) << Trigger([key](frmMain &m) {
            named<Toolbar>(m, "tbToolBar")->Buttons(key)->action()->trigger();
        }) << allowed.value(key);
    }
    for (QPushButton *button : w->findChildren<QPushButton *>()) {
        const QString name = button->objectName();
        QTest::addRow("botón %s", qPrintable(name))
            << Trigger([name](frmMain &m) { named<QPushButton>(m, name)->click(); })
            << allowed.value(name);
    }
}

void tst_NoDocument::handler()
{
    QFETCH(Trigger, trigger);
    QFETCH(QString, expected);
    MainWindow w = shownMainWindow();
    for (frmDocument *doc : w->documents())
        doc->close();
    flushDeletes();
    QVERIFY(!w->activeDocument());
    QGuiApplication::clipboard()->setText(QStringLiteral("antes"));
    named<QLineEdit>(*w, "Text1")->setText(QStringLiteral("letras"));
    const QStringList before = state(*w);
    ScriptedDialogs dialogs;
    ModalAnswer boxes(ModalAnswer::reject(), "QDialog", true);

    trigger(*w);
    QCoreApplication::processEvents();

    QStringList effects;
    if (!w->isVisible())
        effects << QStringLiteral("se cierra");
    else if (const QStringList after = state(*w); after != before) {
        if (after[0] != before[0])
            effects << QStringLiteral("documento");
        for (int i = 0; i < int(std::size(parts)); ++i)
            if (after[3 + i] != before[3 + i])
                effects << QStringLiteral("oculta %1").arg(parts[i]);
        const QList<ToolbarButton *> buttons = named<Toolbar>(*w, "tbToolBar")->buttonList();
        for (int i = 0, at = 3 + int(std::size(parts)); i < buttons.size(); ++i)
            if (after[at + i] != before[at + i])
                effects << QStringLiteral("pulsa %1").arg(buttons[i]->Key());
        if (effects.isEmpty())
            effects << QStringLiteral("cambia: ") + after.join('|');
    }
    for (const DialogShow &show : std::as_const(dialogs.shows))
        effects << show.kind;
    effects << boxes.texts;
    if (Form1::instance()->isVisible())
        effects << QStringLiteral("Acerca de");
    Form1::instance()->close();
    QCOMPARE(effects.join(QStringLiteral(", ")), expected);
}

QTEST_MAIN(tst_NoDocument)
#include "tst_nodocument.moc"
