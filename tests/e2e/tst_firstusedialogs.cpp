// Qt's real dialogs on an X server (file, print, font, colour, and the toolbar's accessible
// actions) as a new user meets them.

#include "support/mainwindow.h"
#include "support/modal.h"
#include "support/named.h"

#include "commondialog.h"
#include "richtextbox.h"
#include "runtimefailure.h"
#include "toolbar.h"

#include <QAccessible>
#include <QColorDialog>
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
        QTest::addColumn<QString>("focus");      // "list" or "size"
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("Escape in the size box") << "size" << int(Qt::Key_Escape) << false;
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
            QWidget *target = focus == "list" ? static_cast<QWidget *>(fonts->findChildren<QListView *>().value(0))
                                              : fonts->findChildren<QLineEdit *>().value(2);
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key));
        }, "QDialog", false, 5000);
        named<QPushButton>(*w, "Command18")->click();   // Fuentes
        QVERIFY(!keys.gaveUp);
        QCOMPARE(keys.titles, QStringList{"Elige una fuente"});
        QCOMPARE(box->SelFontName().value_or(QString()),
                 confirmed ? QStringLiteral("Arial") : QStringLiteral("DejaVu Serif"));
    }
    // Color Texto through Qt's own colour dialog, the choice confirmed with Enter.
    void colourDialog()
    {
        MainWindow w = withSelectedText();
        ModalAnswer picked([](QWidget *modal) {
            auto *colours = qobject_cast<QColorDialog *>(modal);
            colours->setCurrentColor(Qt::red);
            QTest::keyClick(colours, Qt::Key_Return);
        }, "QColorDialog", false, 5000);
        named<QPushButton>(*w, "Command20")->click();   // Color Texto
        QVERIFY(!picked.gaveUp);
        QCOMPARE(w->activeDocument()->rtfText->SelColor(), std::optional<qint32>(0x0000FF));
    }
    // An alignment button run from its accessible action is the only one down in its group.
    void toolbarAccessibleAction()
    {
        MainWindow w = withSelectedText();
        RichTextBox *box = w->activeDocument()->rtfText;
        box->setSelAlignment(1);
        auto *bar = named<Toolbar>(*w, "tbToolBar");
        QAccessibleInterface *iface =
            QAccessible::queryAccessibleInterface(bar->widgetForAction(bar->Buttons("Centrar")->action()));
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Centrar"));
        QCOMPARE(iface->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QStringList down;
        for (ToolbarButton *button : bar->buttonList())
            if (button->style() == ToolbarButton::ButtonGroup && button->Value() == 1)
                down << button->Key();
        QCOMPARE(down, QStringList{"Centrar"});
        QVERIFY(iface->state().checked);
        QCOMPARE(box->SelAlignment(), std::optional<int>(2));
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(tst_FirstUseDialogs)
#include "tst_firstusedialogs.moc"
