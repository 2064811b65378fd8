// Qt's real dialogs and the toolbar as a new user meets them on an X server: the file
// dialogs take a typed name and show the filter, a cancel can be an error, Archivo > Imprimir
// offers the selection but no page range and prints to a PDF, "Fuentes" closes with one key and
// keeps the font it was given, and each kind of toolbar button runs from its accessible action.

#include "support/mainwindow.h"
#include "support/modal.h"
#include "support/named.h"

#include "commondialog.h"
#include "richtextbox.h"
#include "runtimefailure.h"
#include "toolbar.h"

#include <QAccessible>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace shelltest;

namespace {
// A first run's Documento 1 holding "hola", all of it selected.
MainWindow withSelectedText()
{
    MainWindow w = activeFirstRunWindow();
    w->activeDocument()->rtfText->setText(QStringLiteral("hola"));
    w->activeDocument()->rtfText->selectAll();
    return w;
}
} // namespace

class tst_FirstUseDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(); }
    void fileDialogs_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("name");   // typed into the dialog; empty: cancelled, with CancelError set
        QTest::newRow("save, no extension") << false << "sinextension";
        QTest::newRow("open, file missing") << true << "noexiste.txt";
        QTest::newRow("save cancelled") << false << "";
    }
    void fileDialogs()
    {
        QFETCH(bool, open);
        QFETCH(QString, name);
        CommonDialog dlg;
        dlg.DialogTitle = "Título";
        dlg.Filter = "Archivos de texto (*.txt)|*.txt|Todos|*.*";
        dlg.FileName = dir.filePath("antes.txt");
        dlg.CancelError = name.isEmpty();
        QStringList filters;
        ModalAnswer typed([&](QWidget *modal) {
            auto *fd = qobject_cast<QFileDialog *>(modal);
            filters = fd->nameFilters();
            fd->findChild<QLineEdit *>("fileNameEdit")->setText(dir.filePath(name));
            name.isEmpty() ? static_cast<QDialog *>(fd)->reject() : static_cast<QDialog *>(fd)->accept();
        }, "QFileDialog");
        if (name.isEmpty())
            QVERIFY_THROWS_EXCEPTION(RuntimeFailure, dlg.ShowSave());
        else
            open ? dlg.ShowOpen() : dlg.ShowSave();
        QCOMPARE(typed.titles, QStringList{"Título"});
        QCOMPARE(filters, (QStringList{"Archivos de texto (*.txt)", "Todos (*.*)"}));
        QCOMPARE(dlg.FileName, name.isEmpty() ? QString() : dir.filePath(name));
    }
    void printToPdf_data()
    {
        QTest::addColumn<bool>("selection");
        QTest::newRow("nothing selected") << false;
        QTest::newRow("text selected") << true;
    }
    void printToPdf()
    {
        QFETCH(bool, selection);
        MainWindow w = withSelectedText();
        if (!selection)
            w->activeDocument()->rtfText->moveCursor(QTextCursor::End);
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(selection));
        QStringList enabledRangeControls;
        bool selectionChosen = false;
        ModalAnswer toFile([&](QWidget *modal) {
            auto *pd = qobject_cast<QPrintDialog *>(modal);
            // Qt re-enables its own controls as the dialog updates; look after that.
            QTest::qWait(200);
            for (const char *name : {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit"}) {
                auto *control = pd->findChild<QWidget *>(QLatin1String(name));
                if (control && control->isEnabled())
                    enabledRangeControls << QLatin1String(name);
            }
            selectionChosen = pd->testOption(QAbstractPrintDialog::PrintSelection)
                              && pd->printRange() == QAbstractPrintDialog::Selection;
            // The printer list ends with the print-to-file entry, which offers a PDF name.
            auto *printers = pd->findChild<QComboBox *>("printers");
            printers->setCurrentIndex(printers->count() - 1);
            pd->findChild<QLineEdit *>("filename")->setText(pdf);
            static_cast<QDialog *>(pd)->accept();
        }, "QPrintDialog");
        named<QAction>(*w, "mnuFilePrint")->trigger();
        QCOMPARE(toFile.answered, 1);
        QCOMPARE(enabledRangeControls, QStringList());
        QCOMPARE(selectionChosen, selection);
        QVERIFY(QFileInfo(pdf).size() > 0);
    }
    void fontKeys_data()
    {
        QTest::addColumn<QString>("focus");      // "list", "size" or "" (the box's own focus)
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("Escape in the size box") << "size" << int(Qt::Key_Escape) << false;
        QTest::newRow("Escape") << "" << int(Qt::Key_Escape) << false;
        QTest::newRow("Enter in the font list") << "list" << int(Qt::Key_Return) << true;
    }
    // One key closes the whole dialog; a confirmed first use gives the dialog's Arial.
    void fontKeys()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, confirmed);
        MainWindow w = withSelectedText();
        RichTextBox *box = w->activeDocument()->rtfText;
        box->setSelFontName(QStringLiteral("DejaVu Serif"));
        ModalAnswer keys([&](QWidget *modal) {
            auto *fonts = modal->findChild<QFontDialog *>();
            QWidget *target = focus == "list" ? fonts->findChildren<QListView *>().value(0)
                              : focus == "size" ? fonts->findChildren<QLineEdit *>().value(2)
                                                : modal;
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key));
        }, "QDialog", false, 5000);
        named<QPushButton>(*w, "Command18")->click();   // Fuentes
        QVERIFY(!keys.gaveUp);
        QCOMPARE(keys.titles, QStringList{"Elige una fuente"});
        QCOMPARE(box->SelFontName().value_or(QString()),
                 confirmed ? QStringLiteral("Arial") : QStringLiteral("DejaVu Serif"));
    }
    void toolbarAccessibleActions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("effect");
        QTest::newRow("a command") << "Nuevo" << "documento";
        QTest::newRow("a toggle") << "Negrita" << "pulsado, negrita";
        QTest::newRow("a group") << "Centrar" << "pulsado, solo, alineación 2";
    }
    void toolbarAccessibleActions()
    {
        QFETCH(QString, key);
        QFETCH(QString, effect);
        MainWindow w = withSelectedText();
        RichTextBox *box = w->activeDocument()->rtfText;
        box->setSelAlignment(1);
        auto *bar = named<Toolbar>(*w, "tbToolBar");
        ToolbarButton *button = bar->Buttons(key);
        QAccessibleInterface *iface =
            QAccessible::queryAccessibleInterface(bar->widgetForAction(button->action()));
        QCOMPARE(iface->text(QAccessible::Name), key);
        QCOMPARE(iface->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();

        QStringList seen;
        seen << (w->documents().size() > 1 ? "documento" : "");
        seen << (button->Value() == 1 && iface->state().checked ? "pulsado" : "");
        int groupDown = 0;
        for (ToolbarButton *other : bar->buttonList())
            groupDown += other->style() == ToolbarButton::ButtonGroup && other->Value() == 1;
        seen << (button->style() == ToolbarButton::ButtonGroup && groupDown == 1 ? "solo" : "");
        seen << (box->SelBold() == std::optional<bool>(true) ? "negrita" : "");
        if (box->SelAlignment() != std::optional<int>(1))
            seen << QStringLiteral("alineación %1").arg(box->SelAlignment().value_or(-1));
        seen.removeAll(QString());
        QCOMPARE(seen.join(", "), effect);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(tst_FirstUseDialogs)
#include "tst_firstusedialogs.moc"
