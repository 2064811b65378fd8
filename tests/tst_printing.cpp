// Printing from the File menu to a PDF chosen in the scripted print dialog, which offers the
// selection when there is one: the whole text or the selection, in the printer's pages.
#include "frmmain.h"
#include "richtextbox.h"
#include "support/mainwindow.h"
#include "support/scripteddialogs.h"

#include <QTextCursor>
#include <QtTest>

// Pages in a PDF that Qt wrote: one page object each ("/Pages" is their list).
static int pdfPages(const QString &path)
{
    QFile file(path);
    static const QRegularExpression page(QStringLiteral("/Type /Page[^s]"));
    return file.open(QIODevice::ReadOnly) ? int(QString::fromLatin1(file.readAll()).count(page)) : -1;
}

class TestPrinting : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); shelltest::isolateSettings(); }
    // The control lays its text out in pages of its own for the screen; what it prints is cut
    // into the printer's pages. Page set-up afterwards shows the printer dialog as the print left it.
    void printsTextOrSelection()
    {
        QTemporaryDir dir;
        shelltest::MainWindow w = shelltest::shownMainWindow();
        ScriptedDialogs dialogs;
        RichTextBox *box = w->activeDocument()->rtfText;
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines << QString("párrafo %1 para imprimir en varias hojas").arg(i);
        box->setText(lines.join('\n'));
        const QString whole = dir.filePath("todo.pdf"), selection = dir.filePath("seleccion.pdf");
        dialogs.answers << DialogAnswer::pdf(whole, true);   // the range the dialog leaves counts for nothing
        w->mnuFilePrint_Click();
        QTextCursor first(box->document());   // the first paragraph selected
        first.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        box->setTextCursor(first);
        dialogs.answers << DialogAnswer::pdf(selection, false);
        w->mnuFilePrint_Click();
        w->mnuFilePageSetup_Click();   // empty queue: a cancel
        QCOMPARE(dialogs.shows.size(), 3);
        QCOMPARE(dialogs.shows[0].title, QString("Imprimir"));
        QCOMPARE(dialogs.shows[0].flags, CommonDialog::pdReturnDC | CommonDialog::pdNoPageNums);
        QCOMPARE(dialogs.shows[1].flags, dialogs.shows[0].flags | CommonDialog::pdSelection);
        QCOMPARE(dialogs.shows[2].title, QString("Configurar página"));
        QCOMPARE(dialogs.shows[2].flags, dialogs.shows[1].flags);
        QVERIFY(pdfPages(whole) >= 4);
        QCOMPARE(pdfPages(selection), 1);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
