// A save that fails, from the menu or from the toolbar, shows the message box naming the
// file and the reason, and leaves the document and the file on disk as they were. The
// failures are real ones that fail for root too (CI runs as root).
#include "frmdocument.h"
#include "frmmain.h"
#include "module1.h"
#include "richtextbox.h"
#include "support/savechecks.h"
#include "support/scripteddialogs.h"
#include "toolbar.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

namespace {

// The toolbar feedback reaches the main window through mainForm, as in the running editor.
struct MainWindow : frmMain
{
    MainWindow() { mainForm = this; }
};

// Closes each message box once it is up and keeps what it said. The timer goes with the
// catcher, so nothing polls after the test.
class MessageCatcher : public QObject
{
public:
    MessageCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, &MessageCatcher::poll);
        m_timer.start(10);
    }
    QStringList texts;
    QString title;

private:
    void poll()
    {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            texts << box->text();
            box->accept();
        }
    }
    QTimer m_timer;
};

void trigger(frmMain &w, const char *action)
{
    auto *item = w.findChild<QAction *>(QLatin1String(action));
    QVERIFY(item);
    item->trigger();
}

void clickToolbar(frmMain &w, const QString &key)
{
    auto *bar = w.findChild<Toolbar *>(QStringLiteral("tbToolBar"));
    QVERIFY(bar);
    bar->Buttons(key)->action()->trigger();
}

} // namespace

class TestSaveFailures : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void saveAsReports_data();
    void saveAsReports();
    void saveReports_data();
    void saveReports();
    void unencodablePictureReports();
    void otherToolbarFailuresStaySilent();

private:
    QTemporaryDir dir;
};

void TestSaveFailures::saveAsReports_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("target is a folder") << "carpeta" << "ya hay una carpeta con ese nombre";
    QTest::newRow("missing folder") << "falta/d.rtf" << "la carpeta no existe";
    QTest::newRow("name too long") << QString(300, u'n') << "el nombre o la ruta es demasiado largo";
}

// Save As names the window after the file first, then writes; a failed write is reported
// and the document is untouched.
void TestSaveFailures::saveAsReports()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QDir(dir.path()).mkdir(QStringLiteral("carpeta"));
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    const QString path = dir.filePath(name);
    dialogs.answers << DialogAnswer::file(path);
    RichTextBox *text = w.activeDocument()->rtfText;
    text->setText(QStringLiteral("sin guardar"));
    const bool modified = text->document()->isModified();
    MessageCatcher catcher;
    trigger(w, "mnuFileSaveAs");
    QCOMPARE(catcher.texts, QStringList{savecheck::message(path, reason)});
    QCOMPARE(catcher.title, QStringLiteral("Editor de textos...."));
    QCOMPARE(w.activeDocument()->Caption(), path);
    QCOMPARE(text->Text(), QStringLiteral("sin guardar"));
    QCOMPARE(text->document()->isModified(), modified);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("carpeta"))).isDir());
}

void TestSaveFailures::saveReports_data()
{
    QTest::addColumn<bool>("toolbar");
    QTest::newRow("menu") << false;
    QTest::newRow("toolbar button") << true;
}

// Save to the file the window is named after, once that name has become a folder: from
// the menu and from the toolbar's "Guardar" alike the failure is reported.
void TestSaveFailures::saveReports()
{
    QFETCH(bool, toolbar);
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    const QString path = dir.filePath(QStringLiteral("luego-carpeta.rtf"));
    dialogs.answers << DialogAnswer::file(path);
    RichTextBox *text = w.activeDocument()->rtfText;
    text->setText(QStringLiteral("primera"));
    trigger(w, "mnuFileSaveAs");
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("luego-carpeta.rtf")));
    text->setText(QStringLiteral("segunda"));
    MessageCatcher catcher;
    if (toolbar)
        clickToolbar(w, QStringLiteral("Guardar"));
    else
        trigger(w, "mnuFileSave");
    QCOMPARE(catcher.texts, QStringList{savecheck::message(path, QStringLiteral("ya hay una carpeta con ese nombre"))});
    QCOMPARE(text->Text(), QStringLiteral("segunda"));
    QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("luego-carpeta.rtf")));
}

// A picture PNG cannot hold (libpng takes at most a million pixels a side) fails the save
// with a reason, instead of going out as an empty picture over the old file.
void TestSaveFailures::unencodablePictureReports()
{
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    const QString path = dir.filePath(QStringLiteral("con-imagen.rtf"));
    QVERIFY(savecheck::writeOld(path));
    dialogs.answers << DialogAnswer::file(path);
    RichTextBox *text = w.activeDocument()->rtfText;
    QImage wide(1000001, 1, QImage::Format_RGB32);
    wide.fill(Qt::red);
    text->document()->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("ancha")), wide);
    text->textCursor().insertImage(QStringLiteral("ancha"));
    MessageCatcher catcher;
    trigger(w, "mnuFileSaveAs");
    QCOMPARE(catcher.texts, QStringList{savecheck::message(
                                path, QStringLiteral("una imagen del documento no se puede convertir a PNG"))});
    QCOMPARE(savecheck::contents(path), savecheck::kOld);
    QCOMPARE(QDir(dir.path()).entryList(QStringList{QStringLiteral("*con-imagen*")},
                                        QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("con-imagen.rtf")});
}

// Only saving was taken out of the toolbar's silence: a failed open from its button still
// shows nothing.
void TestSaveFailures::otherToolbarFailuresStaySilent()
{
    MainWindow w;
    w.show();
    ScriptedDialogs dialogs;
    dialogs.answers << DialogAnswer::file(dir.filePath(QStringLiteral("no-existe.rtf")));
    MessageCatcher catcher;
    clickToolbar(w, QStringLiteral("Abrir"));
    QCOMPARE(dialogs.shows.size(), 1);
    QCOMPARE(catcher.texts, QStringList());
}

QTEST_MAIN(TestSaveFailures)
#include "tst_savefailures.moc"
