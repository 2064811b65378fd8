// The File menu and the toolbar's Abrir and Guardar through the scripted file dialog, as a user
// sees them: caption, text, the file on disk, and the message box when a file fails.
#include "commondialog.h"
#include "frmmain.h"
#include "richtextbox.h"
#include "rtfgen.h"
#include "runtimefailure.h"
#include "support/mainwindow.h"
#include "support/modal.h"
#include "support/named.h"
#include "support/savechecks.h"
#include "support/scripteddialogs.h"
#include "toolbar.h"

#include <QAction>
#include <QImage>
#include <QTextDocument>
#include <QtTest>

using shelltest::MainWindow;

// A menu command by its action's name, or a toolbar button by its key.
static void run(frmMain &w, const QString &name)
{
    if (name.startsWith(u"mnu")) {
        auto *item = w.findChild<QAction *>(name);
        QVERIFY(item);
        item->trigger();
    } else {
        w.findChild<Toolbar *>(QStringLiteral("tbToolBar"))->Buttons(name)->action()->trigger();
    }
}

static RichTextBox *text(const MainWindow &w)
{
    return w->activeDocument()->rtfText;
}

class TestFileCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); shelltest::isolateSettings(); }
    // Save of an untitled document asks for a name; Save As renames the window and Save then
    // writes there; a ".txt" name holds rich text, Open brings text and formatting back.
    void saveAsThenSaveThenOpen()
    {
        MainWindow w = shelltest::shownMainWindow();
        ScriptedDialogs dialogs;
        const QString caption = w->activeDocument()->Caption();
        text(w)->setText("primero");
        dialogs.answers << DialogAnswer::file(path("a.txt")) << DialogAnswer::file(path("b.txt"))
                        << DialogAnswer::file(path("b.txt"));
        w->mnuFileSave_Click();
        QVERIFY(QFile::exists(path("a.txt")));
        QCOMPARE(w->activeDocument()->Caption(), caption);
        w->mnuFileSaveAs_Click();
        QCOMPARE(w->activeDocument()->Caption(), path("b.txt"));
        text(w)->setText("segundo");
        text(w)->selectAll();
        text(w)->setSelBold(true);
        w->mnuFileSave_Click();
        QCOMPARE(dialogs.shows.size(), 2);
        QCOMPARE(dialogs.shows[0].title, QString("Guardar"));
        QCOMPARE(dialogs.shows[0].filter, QString("Archivos de texto (*.txt)|*.txt"));
        QCOMPARE(dialogs.shows[1].title, QString("Guardar como"));
        QCOMPARE(dialogs.shows[1].fileName, path("a.txt"));   // opens on the name it gave last
        text(w)->setText("texto previo");
        const int windows = w->documents().size();
        w->mnuFileOpen_Click();
        QCOMPARE(w->activeDocument()->Caption(), path("b.txt"));
        QCOMPARE(text(w)->Text().trimmed(), QString("segundo"));
        text(w)->selectAll();
        QCOMPARE(text(w)->SelBold(), std::optional<bool>(true));
        w->mnuFileClose_Click();   // Cerrar empties the document and keeps its window
        QVERIFY(text(w)->Text().isEmpty());
        QCOMPARE(w->documents().size(), windows);
    }

    void nothingChanges_data()
    {
        QTest::addColumn<QString>("command");   // a menu item, or a toolbar button
        QTest::addColumn<QString>("caption");   // empty: the numbered one; else a name in the folder
        QTest::addColumn<QString>("name");      // the file dialog's answer, in the folder; empty: cancel
        QTest::addColumn<QString>("message");   // %1 stands for the file; empty: no message
        QTest::addColumn<bool>("renames");      // the window takes the file's name
        const QString open = QStringLiteral("No se puede abrir el archivo «%1»: ");
        const QString folder = QStringLiteral("No se puede guardar el archivo «%1»: ya hay una carpeta con ese nombre.");
        QTest::newRow("open cancelled") << "mnuFileOpen" << "" << "" << "" << false;
        QTest::newRow("save as cancelled") << "mnuFileSaveAs" << "" << "" << "" << false;
        QTest::newRow("save asks for a numbered caption") << "mnuFileSave" << "" << "" << "" << false;
        QTest::newRow("save asks for exactly eight") << "mnuFileSave" << "Document" << "" << "" << false;
        QTest::newRow("save takes a shorter caption") << "mnuFileSave" << "Docu" << "" << folder << false;
        QTest::newRow("save takes a lower case one") << "mnuFileSave" << "documento 1" << "" << folder << false;
        QTest::newRow("open a folder with %1 in its name") << "mnuFileOpen" << "" << "dir%1x.rtf" << open + "es una carpeta." << false;
        QTest::newRow("toolbar: open stays silent") << "Abrir" << "" << "falta.rtf" << "" << false;
        QTest::newRow("save as over a folder") << "mnuFileSaveAs" << "" << "carpeta" << folder << true;
        QTest::newRow("toolbar: save to a name that became a folder") << "Guardar" << "carpeta" << "" << folder << false;
        QTest::newRow("save as with a picture PNG cannot hold") << "mnuFileSaveAs" << "" << "viejo.rtf"
            << "No se puede guardar el archivo «%1»: una imagen del documento no se puede convertir a PNG." << true;
    }

    // A cancelled dialog changes nothing. Save asks only while the caption starts with
    // "Document", and otherwise saves under it. A file that cannot be opened or saved gets one
    // message box naming it and the reason, in Spanish; the text and the files stay.
    void nothingChanges()
    {
        QFETCH(QString, command);
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(bool, renames);
        QTemporaryDir here;
        for (const char *folder : {"carpeta", "dir%1x.rtf", "Docu", "documento 1"})
            QVERIFY(QDir(here.path()).mkdir(QLatin1String(folder)));
        QVERIFY(savecheck::writeOld(here.filePath("viejo.rtf")));
        QDir::setCurrent(here.path());   // where Save writes under the caption
        MainWindow w = shelltest::shownMainWindow();
        ScriptedDialogs dialogs;   // with an empty queue, a show is a cancel
        if (!name.isEmpty())
            dialogs.answers << DialogAnswer::file(here.filePath(name));
        named<CommonDialog>(*w, "dlgCommonDialog")->FileName = here.filePath("anterior.txt");   // no cancel saves there
        if (!caption.isEmpty())
            w->activeDocument()->setCaption(caption);
        caption = w->activeDocument()->Caption();
        text(w)->setText("se queda");
        if (name == u"viejo.rtf") {
            QImage wide(1000001, 1, QImage::Format_RGB32);   // libpng takes a million pixels a side
            text(w)->document()->addResource(QTextDocument::ImageResource, QUrl("ancha"), wide);
            text(w)->textCursor().insertImage("ancha");
        }
        const QStringList before = savecheck::tree(here.path());
        ModalAnswer box(ModalAnswer::accept(), "QMessageBox");
        run(*w, command);
        const QString file = name.isEmpty() ? caption : here.filePath(name);
        QCOMPARE(box.texts, message.isEmpty() ? QStringList() : QStringList{QString(message).replace("%1", file)});
        QCOMPARE(box.titles, message.isEmpty() ? QStringList() : QStringList{"Editor de textos...."});
        QCOMPARE(w->activeDocument()->Caption(), renames ? file : caption);
        QVERIFY(text(w)->Text().contains("se queda"));
        QCOMPARE(savecheck::tree(here.path()), before);
        QCOMPARE(savecheck::contents(here.filePath("viejo.rtf")), savecheck::kOld);
    }

    // Timers fire while a large file is read; a close they ask for waits for the end of the
    // open, a second open of the same document is refused, and the file's text is all there.
    void bigOpenKeepsTurning_data()
    {
        QTest::addColumn<QString>("during");
        QTest::newRow("nothing") << "";
        QTest::newRow("close the document") << "close document";
        QTest::newRow("close the main window") << "close main";
        QTest::newRow("open again") << "open";
    }

    void bigOpenKeepsTurning()
    {
        QFETCH(QString, during);
        constexpr int kParagraphs = 5000;
        const QString big = path(QStringLiteral("grande.rtf"));
        if (!QFile::exists(big))
            QVERIFY(rtfgen::writeDocument(big, kParagraphs, 42));
        MainWindow w = shelltest::shownMainWindow();
        QPointer<frmDocument> doc = w->activeDocument();
        ScriptedDialogs dialogs;
        dialogs.answers << DialogAnswer::file(big) << DialogAnswer::file(big);
        int fired = 0;
        QTimer ticker;
        ticker.callOnTimeout([&] {
            if (fired++ > 0)
                return;
            if (during == u"close document")
                doc->close();
            else if (during == u"close main")
                w->close();
            else if (during == u"open")
                QVERIFY_THROWS_EXCEPTION(RuntimeFailure, w->mnuFileOpen_Click());   // the document is busy
        });
        ticker.start(0);
        w->mnuFileOpen_Click();
        ticker.stop();   // what it did, it did during the open
        QVERIFY(fired > 0);
        QVERIFY(doc);
        QCOMPARE(doc->Caption(), big);
        QCOMPARE(doc->rtfText->document()->blockCount(), kParagraphs);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(doc.isNull(), during.startsWith(u"close"));   // carried out once the open is over
        QCOMPARE(w->isVisible(), during != u"close main");
    }

private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
