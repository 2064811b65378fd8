#include "commondialog.h"
#include "frmdocument.h"
#include "frmmain.h"
#include "module1.h"
#include "richtextbox.h"
#include "support/scripteddialogs.h"
#include "support/named.h"

#include <QFile>
#include <QMdiArea>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

// The toolbar feedback reaches the main window through mainForm, as in the running editor.
struct MainWindow : frmMain
{
    MainWindow() { mainForm = this; }
};

class TestPrinting : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void printFlags_data();
    void printFlags();
    void printCancelledPrintsNothing();
    void printWithoutDocumentShowsNothing();
    void pageSetupKeepsPrintFlags_data();
    void pageSetupKeepsPrintFlags();
    void handlesAreFreshAndStaleOnesInvalid();
    void pagesFollowThePrintersPage_data();
    void pagesFollowThePrintersPage();

private:
    QTemporaryDir dir;
};

void TestPrinting::printFlags_data()
{
    QTest::addColumn<bool>("select");
    QTest::addColumn<int>("flags");
    QTest::newRow("nothing selected") << false << 264;
    QTest::newRow("selection") << true << 265;
}

void TestPrinting::printFlags()
{
    QFETCH(bool, select);
    QFETCH(int, flags);
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    RichTextBox *box = w.activeDocument()->rtfText;
    box->setText("una línea para imprimir");
    if (select)
        box->selectAll();
    const QString pdf = dir.filePath(QString("p%1.pdf").arg(flags));
    dialogs.answers << DialogAnswer::pdf(pdf, !select);
    w.mnuFilePrint_Click();
    QCOMPARE(dialogs.shows.size(), 1);
    QCOMPARE(dialogs.shows[0].kind, QString("printer"));
    QCOMPARE(dialogs.shows[0].title, QString("Imprimir"));
    QCOMPARE(dialogs.shows[0].flags, flags);
    QVERIFY(dialogs.shows[0].cancelError);
    QVERIFY(QFileInfo(pdf).size() > 0);
}

void TestPrinting::printCancelledPrintsNothing()
{
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    w.activeDocument()->rtfText->setText("no");
    dialogs.answers << DialogAnswer::cancel();
    w.mnuFilePrint_Click();   // must not throw
    QCOMPARE(dialogs.shows.size(), 1);
    QCOMPARE(named<CommonDialog>(w, "dlgCommonDialog")->hDC, 0);
}

void TestPrinting::printWithoutDocumentShowsNothing()
{
    MainWindow w;
    w.show();
    named<QMdiArea>(w, "mdiArea")->closeAllSubWindows();
    QCoreApplication::processEvents();
    ScriptedDialogs dialogs;
    w.mnuFilePrint_Click();
    QVERIFY(dialogs.shows.isEmpty());
}

void TestPrinting::pageSetupKeepsPrintFlags_data()
{
    QTest::addColumn<bool>("printFirst");
    QTest::addColumn<int>("flags");
    QTest::newRow("before any print") << false << 0;
    QTest::newRow("after a print") << true << 264;
}

void TestPrinting::pageSetupKeepsPrintFlags()
{
    QFETCH(bool, printFirst);
    QFETCH(int, flags);
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    if (printFirst) {
        dialogs.answers << DialogAnswer::pdf(dir.filePath("setup.pdf"));
        w.mnuFilePrint_Click();
    }
    named<QMdiArea>(w, "mdiArea")->closeAllSubWindows();
    QCoreApplication::processEvents();
    w.mnuFilePageSetup_Click();   // empty queue: a cancel, ignored
    QCOMPARE(dialogs.shows.last().title, QString("Configurar página"));
    QCOMPARE(dialogs.shows.last().flags, flags);
}

void TestPrinting::handlesAreFreshAndStaleOnesInvalid()
{
    ScriptedDialogs dialogs;
    CommonDialog dlg;
    dialogs.answers << DialogAnswer() << DialogAnswer();
    dlg.ShowPrinter();
    const qint32 first = dlg.hDC;
    QVERIFY(first != 0);
    QCOMPARE(printerForHandle(first), dlg.printer());
    dlg.ShowPrinter();
    QVERIFY(dlg.hDC != first);
    QVERIFY(!printerForHandle(first));
    QCOMPARE(printerForHandle(dlg.hDC), dlg.printer());
    QVERIFY(!printerForHandle(0));
    QVERIFY(!printerForHandle(-7));
}

namespace {
// Pages in a PDF that Qt wrote: one page object each.
int pdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = file.readAll();
    return int(data.count("/Type /Page\n") + data.count("/Type /Page\r") + data.count("/Type /Page>")
               + data.count("/Type /Page/"));
}
} // namespace

void TestPrinting::pagesFollowThePrintersPage_data()
{
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<int>("minimumPages");
    QTest::newRow("one page") << 3 << 1;
    QTest::newRow("several pages") << 400 << 4;
}

// The control lays its text out in pages of its own for the screen; what it prints is cut
// into the printer's pages, the same whether the whole text or all of it selected is printed.
void TestPrinting::pagesFollowThePrintersPage()
{
    QFETCH(int, paragraphs);
    QFETCH(int, minimumPages);
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    RichTextBox *box = w.activeDocument()->rtfText;
    QStringList lines;
    for (int i = 0; i < paragraphs; ++i)
        lines << QString("párrafo %1 para imprimir en varias hojas").arg(i);
    box->setText(lines.join('\n'));
    const QString whole = dir.filePath(QString("todo%1.pdf").arg(paragraphs));
    dialogs.answers << DialogAnswer::pdf(whole, true);
    w.mnuFilePrint_Click();
    box->selectAll();
    const QString selected = dir.filePath(QString("seleccion%1.pdf").arg(paragraphs));
    dialogs.answers << DialogAnswer::pdf(selected, false);
    w.mnuFilePrint_Click();
    QVERIFY(pdfPages(whole) >= minimumPages);
    QCOMPARE(pdfPages(whole), pdfPages(selected));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
