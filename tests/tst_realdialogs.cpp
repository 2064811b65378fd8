#include "commondialog.h"
#include "runtimefailure.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Drives Qt's own dialogs: each test answers the modal dialog from a timer.
class TestRealDialogs : public QObject
{
    Q_OBJECT
private slots:
    void fileDialogs_data();
    void fileDialogs();
    void fileDialogCancel();
    void printerDialogToPdf();

private:
    QTemporaryDir dir;
};

template <typename Answer>
static void whenModal(Answer answer)
{
    auto *timer = new QTimer;
    timer->setInterval(50);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            // The answer may spin an event loop; the timer (and this closure) must outlive it.
            answer(modal);
            timer->deleteLater();
        }
    });
    timer->start();
}

void TestRealDialogs::fileDialogs_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("name");
    QTest::newRow("save, no extension") << false << "sinextension";
    QTest::newRow("open, file missing") << true << "noexiste.txt";
}

void TestRealDialogs::fileDialogs()
{
    QFETCH(bool, open);
    QFETCH(QString, name);
    CommonDialog dlg;
    dlg.DialogTitle = "Título";
    dlg.Filter = "Archivos de texto (*.txt)|*.txt";
    const QString typed = dir.filePath(name);
    QString title, filter;
    whenModal([&](QWidget *modal) {
        auto *fd = qobject_cast<QFileDialog *>(modal);
        if (!fd)
            return modal->close();
        title = fd->windowTitle();
        filter = fd->nameFilters().join(';');
        fd->findChild<QLineEdit *>("fileNameEdit")->setText(typed);
        static_cast<QDialog *>(fd)->accept();
        return true;
    });
    open ? dlg.ShowOpen() : dlg.ShowSave();
    QCOMPARE(title, QString("Título"));
    QCOMPARE(filter, QString("Archivos de texto (*.txt)"));
    QCOMPARE(dlg.FileName, typed);
}

void TestRealDialogs::fileDialogCancel()
{
    CommonDialog dlg;
    dlg.FileName = dir.filePath("x.txt");
    dlg.CancelError = true;
    whenModal([](QWidget *modal) { qobject_cast<QDialog *>(modal)->reject(); });
    QVERIFY_THROWS_EXCEPTION(RuntimeFailure, dlg.ShowSave());
    QVERIFY(dlg.FileName.isEmpty());
}

void TestRealDialogs::printerDialogToPdf()
{
    CommonDialog dlg;
    dlg.DialogTitle = "Imprimir";
    dlg.Flags = CommonDialog::pdReturnDC | CommonDialog::pdNoPageNums | CommonDialog::pdSelection;
    bool selectionOffered = false;
    whenModal([&](QWidget *modal) {
        auto *pd = qobject_cast<QPrintDialog *>(modal);
        if (!pd)
            return qobject_cast<QDialog *>(modal)->reject();
        selectionOffered = pd->testOption(QAbstractPrintDialog::PrintSelection)
                && pd->printRange() == QAbstractPrintDialog::Selection;
        // The printer list ends with the print-to-file entry, which offers a PDF name.
        if (auto *printers = pd->findChild<QComboBox *>("printers"))
            printers->setCurrentIndex(printers->count() - 1);
        if (auto *name = pd->findChild<QLineEdit *>("filename"))
            name->setText(dir.filePath("real.pdf"));
        static_cast<QDialog *>(pd)->accept();
    });
    dlg.ShowPrinter();
    QVERIFY(selectionOffered);
    QVERIFY(dlg.hDC != 0);
    QPrinter *printer = printerForHandle(dlg.hDC);
    QVERIFY(printer);
    QCOMPARE(printer->outputFileName(), dir.filePath("real.pdf"));
}

QTEST_MAIN(TestRealDialogs)
#include "tst_realdialogs.moc"
