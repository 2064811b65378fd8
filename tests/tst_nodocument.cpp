// Every handler of the main window (menu items, toolbar, strip and panel buttons, found by walking
// the window) run with no document open: none may crash, ask or change anything but its own job.

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
// Everything a handler could change that a user would notice, by the name of the change.
QMap<QString, QString> state(frmMain &w)
{
    QMap<QString, QString> seen{{"documento", QString::number(w.documents().size())},
                                {"cambia", QGuiApplication::clipboard()->text() + named<QLineEdit>(w, "Text1")->text()
                                               + named<QLineEdit>(w, "Text2")->text()}};
    for (const char *part : {"tbToolBar", "sbStatusBar", "propiedades", "Toolbar1"})
        seen[QStringLiteral("oculta ") + part] = QString::number(named<QWidget>(w, part)->isVisible());
    for (ToolbarButton *b : named<Toolbar>(w, "tbToolBar")->buttonList())
        seen["pulsa " + b->Key()] = QString::number(b->Value()) + QString::number(b->action()->isChecked());
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
    void handler_data()
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
    void handler()
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
        const QMap<QString, QString> before = state(*w);
        ScriptedDialogs dialogs;
        ModalAnswer boxes(ModalAnswer::reject(), "QDialog", true);

        trigger(*w);
        QCoreApplication::processEvents();

        QStringList effects;
        const QMap<QString, QString> after = state(*w);
        for (auto it = before.begin(); w->isVisible() && it != before.end(); ++it)
            if (after[it.key()] != it.value())
                effects << (it.key() == "cambia" ? "cambia: " + after[it.key()] : it.key());
        if (!w->isVisible())
            effects << QStringLiteral("se cierra");
        for (const DialogShow &show : std::as_const(dialogs.shows))
            effects << show.kind;
        effects << boxes.texts;
        if (Form1::instance()->isVisible())
            effects << QStringLiteral("Acerca de");
        Form1::instance()->close();
        QCOMPARE(effects.join(QStringLiteral(", ")), expected);
    }
};

QTEST_MAIN(tst_NoDocument)
#include "tst_nodocument.moc"
