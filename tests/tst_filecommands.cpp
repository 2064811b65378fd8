#include "commondialog.h"
#include "frmdocument.h"
#include "frmmain.h"
#include "module1.h"
#include "richtextbox.h"
#include "rtfgen.h"
#include "runtimefailure.h"
#include "support/scripteddialogs.h"
#include "support/named.h"

#include <QFile>
#include <QMdiArea>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

// The toolbar feedback reaches the main window through mainForm, as in the running editor.
struct MainWindow : frmMain
{
    MainWindow() { mainForm = this; }
};

class TestFileCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void untitledTest_data();
    void untitledTest();
    void noDocument_data();
    void noDocument();
    void saveUntitledKeepsCaption();
    void saveAsThenSaveWritesWithoutDialog();
    void openReplacesTextAndCaption();
    void openWithoutWindowCreatesOne();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void failedOpenKeepsTextAndCaption_data();
    void failedOpenKeepsTextAndCaption();
    void failedSaveAsKeepsNewCaptionAndOldFile();
    void bigOpenKeepsTurning_data();
    void bigOpenKeepsTurning();
    void closeEmptiesDocument();
    void richTextRoundTrip();
    void cancelErrorRaisesOnlyWhenSet();

private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
};

static frmDocument *active(MainWindow &w) { return w.activeDocument(); }

void TestFileCommands::untitledTest_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("asks");
    QTest::newRow("numbered") << "Documento 3" << true;
    QTest::newRow("exactly eight") << "Document" << true;
    QTest::newRow("shorter") << "Docu" << false;
    QTest::newRow("lower case") << "documento 1" << false;
    QTest::newRow("absolute path") << "/tmp/Documento 1.txt" << false;
}

// Whether Save shows a dialog depends only on the caption's first eight characters.
void TestFileCommands::untitledTest()
{
    QFETCH(QString, caption);
    QFETCH(bool, asks);
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    dialogs.answers << DialogAnswer::cancel();
    const QString target = caption.startsWith('/') ? path("untitled.txt") : caption;
    active(w)->setCaption(caption.startsWith('/') ? target : caption);
    QDir::setCurrent(dir.path());
    try {
        w.mnuFileSave_Click();
    } catch (const RuntimeFailure &) {
    }
    QCOMPARE(dialogs.shows.size(), asks ? 1 : 0);
    if (asks)
        QCOMPARE(dialogs.shows[0].title, QString("Guardar"));
}

void TestFileCommands::noDocument_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("save") << 0;
    QTest::newRow("save as") << 1;
    QTest::newRow("close") << 2;
}

void TestFileCommands::noDocument()
{
    QFETCH(int, command);
    MainWindow w;
    w.show();
    named<QMdiArea>(w, "mdiArea")->closeAllSubWindows();
    QCoreApplication::processEvents();
    QVERIFY(!w.activeDocument());
    ScriptedDialogs dialogs;
    dialogs.answers << DialogAnswer::file(path("never.txt"));
    void (frmMain::*handlers[])() = {&frmMain::mnuFileSave_Click, &frmMain::mnuFileSaveAs_Click,
                                     &frmMain::mnuFileClose_Click};
    QVERIFY_THROWS_NO_EXCEPTION((w.*handlers[command])());
    QCoreApplication::processEvents();
    QVERIFY(dialogs.shows.isEmpty());
    QVERIFY(!QFile::exists(path("never.txt")));
    // None of them opens a document window to act on.
    QVERIFY(w.documents().isEmpty());
}

void TestFileCommands::saveUntitledKeepsCaption()
{
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    const QString caption = active(w)->Caption();
    active(w)->rtfText->setText("hola");
    dialogs.answers << DialogAnswer::file(path("a.txt")) << DialogAnswer::cancel();
    w.mnuFileSave_Click();
    QVERIFY(QFile::exists(path("a.txt")));
    QCOMPARE(active(w)->Caption(), caption);
    w.mnuFileSave_Click();
    QCOMPARE(dialogs.shows.size(), 2);
    QCOMPARE(dialogs.shows[0].title, QString("Guardar"));
    QCOMPARE(dialogs.shows[0].filter, QString("Archivos de texto (*.txt)|*.txt"));
    QCOMPARE(dialogs.shows[0].cancelError, false);
    // The second dialog opens on the name the first one returned.
    QCOMPARE(dialogs.shows[1].fileName, path("a.txt"));
}

void TestFileCommands::saveAsThenSaveWritesWithoutDialog()
{
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    active(w)->rtfText->setText("primero");
    dialogs.answers << DialogAnswer::file(path("b.txt"));
    w.mnuFileSaveAs_Click();
    QCOMPARE(active(w)->Caption(), path("b.txt"));
    QCOMPARE(dialogs.shows[0].title, QString("Guardar como"));
    active(w)->rtfText->setText("segundo");
    w.mnuFileSave_Click();
    QCOMPARE(dialogs.shows.size(), 1);
    active(w)->rtfText->setText(QString());
    active(w)->rtfText->LoadFile(path("b.txt"));
    QCOMPARE(active(w)->rtfText->Text().trimmed(), QString("segundo"));
}

void TestFileCommands::openReplacesTextAndCaption()
{
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    active(w)->rtfText->setText("en el fichero");
    active(w)->rtfText->SaveFile(path("c.txt"));
    active(w)->rtfText->setText("texto previo");
    const int windows = w.documents().size();
    dialogs.answers << DialogAnswer::file(path("c.txt"));
    w.mnuFileOpen_Click();
    QCOMPARE(w.documents().size(), windows);
    QCOMPARE(active(w)->Caption(), path("c.txt"));
    QCOMPARE(active(w)->rtfText->Text().trimmed(), QString("en el fichero"));
    QCOMPARE(dialogs.shows[0].title, QString("Abrir"));
    QCOMPARE(dialogs.shows[0].kind, QString("open"));
}

void TestFileCommands::openWithoutWindowCreatesOne()
{
    MainWindow w;
    w.show();
    named<QMdiArea>(w, "mdiArea")->closeAllSubWindows();
    QCoreApplication::processEvents();
    ScriptedDialogs dialogs;
    dialogs.answers << DialogAnswer::cancel();
    w.mnuFileOpen_Click();
    QVERIFY(w.activeDocument());
    QVERIFY(active(w)->Caption().startsWith("Documento "));
    QVERIFY(active(w)->rtfText->Text().isEmpty());
    QCOMPARE(dialogs.shows.size(), 1);
}

void TestFileCommands::cancelChangesNothing_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("open") << 0;
    QTest::newRow("save") << 1;
    QTest::newRow("save as") << 2;
}

void TestFileCommands::cancelChangesNothing()
{
    QFETCH(int, command);
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    named<CommonDialog>(w, "dlgCommonDialog")->FileName = path("previous.txt");
    active(w)->rtfText->setText("sin tocar");
    const QString caption = active(w)->Caption();
    dialogs.answers << DialogAnswer::cancel();
    void (frmMain::*handlers[])() = {&frmMain::mnuFileOpen_Click, &frmMain::mnuFileSave_Click,
                                     &frmMain::mnuFileSaveAs_Click};
    (w.*handlers[command])();
    QCOMPARE(active(w)->Caption(), caption);
    QCOMPARE(active(w)->rtfText->Text(), QString("sin tocar"));
    QVERIFY(named<CommonDialog>(w, "dlgCommonDialog")->FileName.isEmpty());
    QVERIFY(!QFile::exists(path("previous.txt")));
}

void TestFileCommands::failedOpenKeepsTextAndCaption_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");   // %1 stands for the path
    QTest::newRow("missing") << "missing.txt" << "No se encontró el archivo «%1».";
    QTest::newRow("%1 in a folder's name") << "dir%1x.rtf" << "No se puede abrir el archivo «%1»: es una carpeta.";
}

void TestFileCommands::failedOpenKeepsTextAndCaption()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QDir(dir.path()).mkdir(QStringLiteral("dir%1x.rtf"));
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    active(w)->rtfText->setText("se queda");
    const QString caption = active(w)->Caption();
    dialogs.answers << DialogAnswer::file(path(name));
    try {
        w.mnuFileOpen_Click();
        QFAIL("the open did not fail");
    } catch (const RuntimeFailure &f) {
        QCOMPARE(f.description(), message.replace(QStringLiteral("%1"), path(name)));
    }
    QCOMPARE(active(w)->Caption(), caption);
    QCOMPARE(active(w)->rtfText->Text(), QString("se queda"));
}

void TestFileCommands::failedSaveAsKeepsNewCaptionAndOldFile()
{
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    const QString bad = path("no-such-dir/d.txt");
    dialogs.answers << DialogAnswer::file(bad);
    QVERIFY_THROWS_EXCEPTION(RuntimeFailure, w.mnuFileSaveAs_Click());
    QCOMPARE(active(w)->Caption(), bad);
}

// While a large file is read the window goes on answering: timers fire during Open. What
// they do meanwhile, as a window manager or a screen reader may, neither breaks the open
// nor loses the file's text: a close waits for the end of the open, a second open of the
// same document is refused with a message.
void TestFileCommands::bigOpenKeepsTurning_data()
{
    QTest::addColumn<QString>("during");
    QTest::newRow("nothing") << "";
    QTest::newRow("close the document") << "close document";
    QTest::newRow("close the main window") << "close main";
    QTest::newRow("open again") << "open";
}

void TestFileCommands::bigOpenKeepsTurning()
{
    QFETCH(QString, during);
    constexpr int kParagraphs = 5000;
    const QString big = path(QStringLiteral("grande.rtf"));
    if (!QFile::exists(big))
        QVERIFY(rtfgen::writeDocument(big, kParagraphs, 42));
    MainWindow w;
    w.show();
    QPointer<frmDocument> doc = active(w);
    ScriptedDialogs dialogs;
    dialogs.answers << DialogAnswer::file(big) << DialogAnswer::file(big);
    bool opening = false;
    int firedDuringOpen = 0;
    QString refusal;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (!opening || firedDuringOpen++ > 0)
            return;
        if (during == QLatin1String("close document"))
            doc->close();
        else if (during == QLatin1String("close main"))
            w.close();
        else if (during == QLatin1String("open"))
            try {
                w.mnuFileOpen_Click();
            } catch (const RuntimeFailure &f) {
                refusal = f.description();
            }
    });
    ticker.start();
    opening = true;
    w.mnuFileOpen_Click();
    opening = false;
    QVERIFY(firedDuringOpen > 0);
    QVERIFY(doc);
    QCOMPARE(doc->Caption(), big);
    QCOMPARE(doc->rtfText->document()->blockCount(), kParagraphs);
    QCOMPARE(refusal.isEmpty(), during != QLatin1String("open"));
    // A close asked for during the open is carried out once it is over.
    ticker.stop();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(doc.isNull(), during.startsWith(QLatin1String("close")));
    QCOMPARE(w.isVisible(), during != QLatin1String("close main"));
}

void TestFileCommands::closeEmptiesDocument()
{
    MainWindow w;
    w.show();
    active(w)->rtfText->setText("adiós");
    const QString caption = active(w)->Caption();
    const int windows = w.documents().size();
    w.mnuFileClose_Click();
    QVERIFY(active(w)->rtfText->Text().isEmpty());
    QCOMPARE(active(w)->Caption(), caption);
    QCOMPARE(w.documents().size(), windows);
}

// A ".txt" name still holds rich text, and Open brings the formatting back.
void TestFileCommands::richTextRoundTrip()
{
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    RichTextBox *box = active(w)->rtfText;
    box->setText("negrita");
    box->selectAll();
    box->setSelBold(true);
    dialogs.answers << DialogAnswer::file(path("e.txt")) << DialogAnswer::file(path("e.txt"));
    w.mnuFileSaveAs_Click();
    QFile f(path("e.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith("{\\rtf"));
    box->setText(QString());
    w.mnuFileOpen_Click();
    box = active(w)->rtfText;
    box->selectAll();
    QCOMPARE(box->SelBold(), std::optional<bool>(true));
}

void TestFileCommands::cancelErrorRaisesOnlyWhenSet()
{
    ScriptedDialogs dialogs;
    CommonDialog dlg;
    dlg.FileName = "x";
    dlg.CancelError = true;
    try {
        dlg.ShowOpen();
        QFAIL("cancel with CancelError set must fail");
    } catch (const RuntimeFailure &f) {
        QCOMPARE(f.number(), 32755);
        QCOMPARE(f.description(), QString("Se ha seleccionado Cancelar."));
    }
    QVERIFY(dlg.FileName.isEmpty());
    dlg.CancelError = false;
    dlg.Color = 0x123456;
    dlg.ShowColor();
    QCOMPARE(dlg.Color, 0x123456);
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
