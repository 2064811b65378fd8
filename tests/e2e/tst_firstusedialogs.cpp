// Qt's real dialogs and the toolbar as a new user meets them on an X server: "Fuentes"
// closes as one dialog and keeps the font it was given, the print dialog offers no page
// range, and each toolbar button's accessible action runs its command.

#include "support/mainwindow.h"

#include "commondialog.h"
#include "richtextbox.h"
#include "support/named.h"
#include "support/scripteddialogs.h"
#include "toolbar.h"

#include <QAccessible>
#include <QAction>
#include <QAbstractButton>
#include <QClipboard>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QPrintDialog>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace shelltest;

namespace {
// Runs `answer` on the modal dialog of class `kind` once it is up.
void whenModal(const std::function<void(QWidget *)> &answer, const char *kind = "QDialog")
{
    auto *timer = new QTimer;
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, kind] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(kind)) {
            timer->stop();
            // The answer may spin an event loop; the timer (and this closure) must outlive it.
            answer(modal);
            timer->deleteLater();
        }
    });
    timer->start();
}

MainWindow documentWithText(const QString &text)
{
    clearSettings();
    MainWindow w = shownMainWindow();
    w->activateWindow();
    QTest::qWaitForWindowActive(w.get());
    QTest::qWaitFor([&w] { return w->activeDocument() != nullptr; }, 5000);
    RichTextBox *box = w->activeDocument()->rtfText;
    box->setText(text);
    box->selectAll();
    return w;
}

QList<QDialog *> openDialogs()
{
    QList<QDialog *> open;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<QDialog *>(top); dialog && dialog->isVisible())
            open.append(dialog);
    }
    return open;
}

// A dialog the keys should have closed but left open would hold the test inside its
// command for ever; after a while it is counted and cancelled instead.
void cancelLeftovers(int *leftOpen)
{
    QTimer::singleShot(1500, [leftOpen] {
        for (QDialog *dialog : openDialogs()) {
            ++*leftOpen;
            dialog->reject();
        }
    });
}
} // namespace

class tst_FirstUseDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(); }
    void fontKeys_data();
    void fontKeys();
    void fontFirstUseKeepsArial();
    void fontColourHasItsOwnTitle();
    void printDialogOffersNoPageRange_data();
    void printDialogOffersNoPageRange();
    void toolbarAccessibleActions_data();
    void toolbarAccessibleActions();
};

void tst_FirstUseDialogs::fontKeys_data()
{
    QTest::addColumn<QString>("focus");      // "list", "size" or "" (the box's own focus)
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("Escape in the font list") << "list" << int(Qt::Key_Escape) << false;
    QTest::newRow("Escape in the size box") << "size" << int(Qt::Key_Escape) << false;
    QTest::newRow("Escape") << "" << int(Qt::Key_Escape) << false;
    QTest::newRow("Enter in the font list") << "list" << int(Qt::Key_Return) << true;
    QTest::newRow("Enter in the size box") << "size" << int(Qt::Key_Return) << true;
}

void tst_FirstUseDialogs::fontKeys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, confirmed);
    MainWindow w = documentWithText(QStringLiteral("hola"));
    RichTextBox *box = w->activeDocument()->rtfText;
    box->setSelFontName(QStringLiteral("DejaVu Serif"));
    QString title;
    int leftOpen = 0;
    whenModal([&](QWidget *modal) {
        title = modal->windowTitle();
        QWidget *target = modal;
        auto *fonts = modal->findChild<QFontDialog *>();
        if (focus == QLatin1String("list") && fonts)
            target = fonts->findChildren<QListView *>().value(0);
        else if (focus == QLatin1String("size") && fonts)
            target = fonts->findChildren<QLineEdit *>().value(2);
        if (target)
            target->setFocus();
        QTest::keyClick(target ? target : modal, Qt::Key(key));
        cancelLeftovers(&leftOpen);
    });
    w->findChild<QPushButton *>(QStringLiteral("Command18"))->click();
    QTRY_VERIFY(openDialogs().isEmpty());
    QCOMPARE(leftOpen, 0);
    QCOMPARE(title, QStringLiteral("Elige una fuente"));
    QCOMPARE(box->SelFontName().value_or(QString()),
             confirmed ? QStringLiteral("Arial") : QStringLiteral("DejaVu Serif"));
}

void tst_FirstUseDialogs::fontFirstUseKeepsArial()
{
    MainWindow w = documentWithText(QStringLiteral("hola"));
    whenModal([](QWidget *modal) {
        auto *buttons = modal->findChild<QDialogButtonBox *>();
        QVERIFY(buttons);
        buttons->button(QDialogButtonBox::Ok)->click();
    });
    w->findChild<QPushButton *>(QStringLiteral("Command18"))->click();
    QTRY_VERIFY(openDialogs().isEmpty());
    QCOMPARE(w->activeDocument()->rtfText->SelFontName().value_or(QString()),
             QStringLiteral("Arial"));
}

void tst_FirstUseDialogs::fontColourHasItsOwnTitle()
{
    MainWindow w = documentWithText(QStringLiteral("hola"));
    QString colourTitle;
    whenModal([&](QWidget *modal) {
        QTimer::singleShot(0, [&, modal] {
            whenModal([&, modal](QWidget *colours) {
                colourTitle = colours->windowTitle();
                qobject_cast<QDialog *>(colours)->reject();
                QTimer::singleShot(0, [modal] { qobject_cast<QDialog *>(modal)->reject(); });
            });
        });
        // The picker is modal over the box: wait for it to replace the box as the modal.
        auto *colour = modal->findChild<QPushButton *>(QStringLiteral("fontColour"));
        QVERIFY(colour);
        QTimer::singleShot(0, colour, &QPushButton::click);
    });
    w->findChild<QPushButton *>(QStringLiteral("Command18"))->click();
    QTRY_VERIFY(openDialogs().isEmpty());
    QVERIFY(!colourTitle.isEmpty());
    QVERIFY(colourTitle != QStringLiteral("Elige una fuente"));
}

void tst_FirstUseDialogs::printDialogOffersNoPageRange_data()
{
    QTest::addColumn<bool>("selection");
    QTest::newRow("nothing selected") << false;
    QTest::newRow("text selected") << true;
}

void tst_FirstUseDialogs::printDialogOffersNoPageRange()
{
    QFETCH(bool, selection);
    MainWindow w = documentWithText(QStringLiteral("hola"));
    if (!selection)
        w->activeDocument()->rtfText->moveCursor(QTextCursor::End);
    QStringList enabledRangeControls;
    bool sawDialog = false;
    whenModal([&](QWidget *modal) {
        sawDialog = true;
        // Qt re-enables its own controls as the dialog updates; look after that.
        QTest::qWait(200);
        for (const char *name : {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit"}) {
            auto *control = modal->findChild<QWidget *>(QLatin1String(name));
            if (control && control->isEnabled())
                enabledRangeControls << QLatin1String(name);
        }
        qobject_cast<QDialog *>(modal)->reject();
    }, "QPrintDialog");
    named<QAction>(*w, QStringLiteral("mnuFilePrint"))->trigger();
    QTRY_VERIFY(openDialogs().isEmpty());
    QVERIFY(sawDialog);
    QCOMPARE(enabledRangeControls, QStringList());
}

void tst_FirstUseDialogs::toolbarAccessibleActions_data()
{
    QTest::addColumn<QString>("key");
    for (const char *key : {"Nuevo", "Abrir", "Guardar", "Imprimir", "Cortar", "Copiar",
                            "Pegar", "Negrita", "Cursiva", "Subrayado",
                            "Alinear a la izquierda", "Centrar", "Alinear a la derecha"})
        QTest::newRow(key) << QString::fromUtf8(key);
}

// What each command leaves behind, read after the button's action ran.
void tst_FirstUseDialogs::toolbarAccessibleActions()
{
    QFETCH(QString, key);
    ScriptedDialogs dialogs;      // every file and print dialog answers with a cancel
    MainWindow w = documentWithText(QStringLiteral("hola"));
    RichTextBox *box = w->activeDocument()->rtfText;
    box->setSelAlignment(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("pegado"));
    auto *bar = w->findChild<Toolbar *>(QStringLiteral("tbToolBar"));
    QVERIFY(bar);
    ToolbarButton *button = bar->Buttons(key);
    QVERIFY(button);
    auto *widget = qobject_cast<QToolButton *>(bar->widgetForAction(button->action()));
    QVERIFY(widget);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), key);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    const int windowsBefore = int(w->documents().size());
    QGuiApplication::clipboard()->setText(QStringLiteral("pegado"));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();

    const bool stateful = button->style() == ToolbarButton::ButtonGroup || key == "Negrita"
                          || key == "Cursiva" || key == "Subrayado";
    if (!stateful) {
        QVERIFY(!widget->isChecked());
        QVERIFY(!iface->state().checked);
    }
    if (key == "Nuevo") {
        QCOMPARE(int(w->documents().size()), windowsBefore + 1);
    } else if (key == "Abrir" || key == "Guardar" || key == "Imprimir") {
        QCOMPARE(dialogs.shows.size(), 1);
    } else if (key == "Cortar" || key == "Copiar") {
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("hola"));
        QCOMPARE(box->Text(), key == "Cortar" ? QString() : QStringLiteral("hola"));
    } else if (key == "Pegar") {
        QCOMPARE(box->Text(), QStringLiteral("pegado"));
    } else if (key == "Negrita" || key == "Cursiva" || key == "Subrayado") {
        const auto on = key == "Negrita" ? box->SelBold()
                        : key == "Cursiva" ? box->SelItalic() : box->SelUnderline();
        QCOMPARE(on, std::optional<bool>(true));
        QCOMPARE(button->Value(), 1);
        QVERIFY(iface->state().checked);
    } else {
        const int wanted = key == "Centrar" ? 2 : key == "Alinear a la derecha" ? 1 : 0;
        QCOMPARE(box->SelAlignment(), std::optional<int>(wanted));
        QCOMPARE(button->Value(), 1);
        QVERIFY(iface->state().checked);
        for (ToolbarButton *other : bar->buttonList()) {
            if (other != button && other->style() == ToolbarButton::ButtonGroup)
                QCOMPARE(other->Value(), 0);
        }
    }
}

QTEST_MAIN(tst_FirstUseDialogs)
#include "tst_firstusedialogs.moc"
