#include "frmdocument.h"
#include "frmmain.h"
#include "messages.h"
#include "module1.h"
#include "richtextbox.h"
#include "rtfbulletruns.h"
#include "rtfunits.h"
#include "support/scripteddialogs.h"
#include "support/named.h"
#include "toolbar.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <memory>

namespace {
// Puts the default locale back however the test ends.
struct LocaleGuard
{
    const QLocale previous;
    ~LocaleGuard() { QLocale::setDefault(previous); }
};
} // namespace

// The editing commands driven through a real main window and its document windows.
class tst_Editing : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<frmMain> w;
    QList<messages::Shown> shown;

    RichTextBox *text() { return w->activeDocument()->rtfText; }
    void openWithText(const QString &plain)
    {
        w->CreateDocumentWindow();
        text()->setText(plain);
    }
    void select(int from, int to)
    {
        QTextCursor c = text()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        text()->setTextCursor(c);
    }
    Toolbar *toolbar() { return named<Toolbar>(*w, "tbToolBar"); }
    QPushButton *button(const char *name) { return named<QPushButton>(*w, name); }
    QLineEdit *lineEdit(const char *name) { return named<QLineEdit>(*w, name); }
    void click(const QString &key) { w->tbToolBar_ButtonClick(toolbar()->Buttons(key)); }
    int value(const QString &key) { return toolbar()->Buttons(key)->Value(); }

private slots:
    void init()
    {
        w = std::make_unique<frmMain>();
        mainForm = w.get();
        w->show();
        for (frmDocument *d : w->documents())
            delete d;
        shown.clear();
        messages::setRecorder(&shown);
    }
    void cleanup()
    {
        messages::setRecorder(nullptr);
        w.reset();
    }

    void toggle_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("property");
        QTest::newRow("bold") << "Negrita" << "SelBold";
        QTest::newRow("italic") << "Cursiva" << "SelItalic";
        QTest::newRow("underline") << "Subrayado" << "SelUnderline";
    }
    void toggle()
    {
        QFETCH(QString, key);
        QFETCH(QString, property);
        openWithText(QStringLiteral("hola mundo"));
        select(0, 4);
        click(key);
        QCOMPARE(text()->get(property), QVariant(true));
        QCOMPARE(value(key), 1);
        click(key);
        QCOMPARE(text()->get(property), QVariant(false));
        QCOMPARE(value(key), 0);
    }

    void toggleMixedKeepsFormat_data() { toggle_data(); }
    void toggleMixedKeepsFormat()
    {
        QFETCH(QString, key);
        QFETCH(QString, property);
        openWithText(QStringLiteral("hola mundo"));
        select(0, 4);
        text()->set(property, true);
        select(0, 10);
        toolbar()->Buttons(key)->setValue(1);
        click(key);
        QVERIFY(!text()->get(property).isValid());
        QCOMPARE(value(key), 0);
        select(0, 4);
        QCOMPARE(text()->get(property), QVariant(true));
    }

    void toggleWithoutDocument()
    {
        toolbar()->Buttons(QStringLiteral("Negrita"))->setValue(1);
        click(QStringLiteral("Negrita"));
        click(QStringLiteral("Centrar"));
        QCOMPARE(value(QStringLiteral("Negrita")), 1);
        QVERIFY(w->documents().isEmpty());
        click(QStringLiteral("Nuevo"));
        QCOMPARE(w->documents().size(), 1);
    }

    void alignment_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << "Alinear a la izquierda" << 0;
        QTest::newRow("centre") << "Centrar" << 2;
        QTest::newRow("right") << "Alinear a la derecha" << 1;
    }
    void alignment()
    {
        QFETCH(QString, key);
        QFETCH(int, alignment);
        openWithText(QStringLiteral("uno\ndos"));
        select(0, 5);
        click(key);
        QCOMPARE(text()->get(QStringLiteral("SelAlignment")).toInt(), alignment);
    }

    void keysAreExact_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("lower case") << "negrita";
        QTest::newRow("upper case") << "NEGRITA";
        QTest::newRow("trailing space") << "Negrita ";
    }
    void keysAreExact()
    {
        QFETCH(QString, key);
        openWithText(QStringLiteral("hola"));
        select(0, 4);
        ToolbarButton odd(key, ToolbarButton::Plain, nullptr, nullptr);
        w->tbToolBar_ButtonClick(&odd);
        QCOMPARE(text()->get(QStringLiteral("SelBold")), QVariant(false));
        QCOMPARE(odd.Value(), 0);
    }

    void feedback_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("bold");
        QTest::newRow("caret in bold") << 2 << 2 << 1;
        QTest::newRow("caret in plain") << 7 << 7 << 0;
        QTest::newRow("bold range") << 0 << 4 << 1;
        QTest::newRow("partly bold") << 0 << 8 << 0;
    }
    void feedback()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, bold);
        openWithText(QStringLiteral("hola mundo"));
        select(0, 4);
        text()->setSelBold(true);
        select(from, to);
        w->activeDocument()->rtfText_SelChange();
        QCOMPARE(value(QStringLiteral("Negrita")), bold);
    }

    void feedbackAlignment()
    {
        openWithText(QStringLiteral("uno\ndos"));
        select(0, 5);
        text()->setSelAlignment(2);
        w->activeDocument()->rtfText_SelChange();
        QCOMPARE(value(QStringLiteral("Centrar")), 1);
        QCOMPARE(value(QStringLiteral("Alinear a la izquierda")), 0);
        QCOMPARE(value(QStringLiteral("Alinear a la derecha")), 0);
        select(0, 0);
        text()->setSelAlignment(0);
        select(5, 5);
        text()->setSelAlignment(1);
        select(0, 5);
        w->activeDocument()->rtfText_SelChange();
        QCOMPARE(value(QStringLiteral("Centrar")), 0);
        QCOMPARE(value(QStringLiteral("Alinear a la izquierda")), 0);
        QCOMPARE(value(QStringLiteral("Alinear a la derecha")), 0);
    }

    void feedbackFromInactiveWindowAndHiddenToolbar()
    {
        openWithText(QStringLiteral("negrita"));
        frmDocument *first = w->activeDocument();
        select(0, 7);
        text()->setSelBold(true);
        openWithText(QStringLiteral("plano"));
        QVERIFY(w->activeDocument() != first);
        toolbar()->hide();
        first->rtfText_SelChange();
        QCOMPARE(value(QStringLiteral("Negrita")), 1);
    }

    void clipboard_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu") << "menu";
        QTest::newRow("button") << "button";
    }
    void clipboard()
    {
        QFETCH(QString, how);
        openWithText(QStringLiteral("abcdef"));
        select(1, 3);
        auto run = [&](const QString &key, QAction *menu) {
            if (how == QLatin1String("menu"))
                menu->trigger();
            else
                click(key);
        };
        run(QStringLiteral("Copiar"), named<QAction>(*w, "mnuEditCopy"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("bc"));
        QCOMPARE(text()->Text(), QStringLiteral("abcdef"));
        run(QStringLiteral("Cortar"), named<QAction>(*w, "mnuEditCut"));
        QCOMPARE(text()->Text(), QStringLiteral("adef"));
        QGuiApplication::clipboard()->setText(QStringLiteral("XYZ"));
        select(1, 3);
        run(QStringLiteral("Pegar"), named<QAction>(*w, "mnuEditPaste"));
        QCOMPARE(text()->Text(), QStringLiteral("aXYZf"));
    }

    void clipboardWithoutDocument()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("antes"));
        w->mnuEditCopy_Click();
        w->mnuEditCut_Click();
        w->mnuEditPaste_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("antes"));
        QVERIFY(shown.isEmpty());
    }

    void quickButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("property");
        QTest::addColumn<double>("expected");
        QTest::newRow("Rojo") << "Command2" << "SelColor" << double(0x0000FF);
        QTest::newRow("Azul") << "Command3" << "SelColor" << double(0xFF0000);
        QTest::newRow("Amarillo") << "Command4" << "SelColor" << double(0x00FFFF);
        QTest::newRow("Verde") << "Command5" << "SelColor" << double(0x00C000);
        QTest::newRow("Negro") << "Command6" << "SelColor" << double(0x000000);
        QTest::newRow("Gris") << "Command7" << "SelColor" << double(0x808080);
        QTest::newRow("8") << "Command8" << "SelFontSize" << 8.0;
        QTest::newRow("10") << "Command9" << "SelFontSize" << 10.0;
        QTest::newRow("12") << "Command10" << "SelFontSize" << 12.0;
        QTest::newRow("14") << "Command11" << "SelFontSize" << 14.0;
        QTest::newRow("16") << "Command12" << "SelFontSize" << 16.0;
        QTest::newRow("18") << "Command13" << "SelFontSize" << 18.0;
    }
    void quickButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, property);
        QFETCH(double, expected);
        openWithText(QStringLiteral("mezcla de texto"));
        select(0, 6);
        text()->setSelColor(0x123456);
        text()->setSelFontSize(30);
        select(0, 15);
        auto *b = w->findChild<QPushButton *>(button);
        QVERIFY(b);
        b->click();
        b->click();
        QCOMPARE(text()->get(property).toDouble(), expected);
    }

    void indentButtons_data()
    {
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("indent");
        QTest::newRow("right 720") << true << "720" << true << 720;
        QTest::newRow("left 720") << false << "720" << true << 720;
        QTest::newRow("left zero") << false << "0" << true << 0;
        QTest::newRow("left comma") << false << "2,5" << true << 2;
        QTest::newRow("right too big") << true << "32768" << false << 0;
        QTest::newRow("left letters") << false << "abc" << false << 0;
        QTest::newRow("right empty") << true << "" << false << 0;
    }
    void indentButtons()
    {
        QFETCH(bool, right);
        QFETCH(QString, typed);
        QFETCH(bool, written);
        QFETCH(int, indent);
        const LocaleGuard keepLocale;
        QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
        openWithText(QStringLiteral("uno"));
        select(0, 3);
        text()->setSelIndent(100);
        text()->setSelRightIndent(200);
        QLineEdit *box = right ? lineEdit("Text1") : lineEdit("Text2");
        box->setText(typed);
        (right ? button("Command14") : button("Command15"))->click();
        const int other = text()->get(right ? QStringLiteral("SelIndent")
                                            : QStringLiteral("SelRightIndent")).toInt();
        const int mine = text()->get(right ? QStringLiteral("SelRightIndent")
                                           : QStringLiteral("SelIndent")).toInt();
        QCOMPARE(other, right ? 100 : 200);
        QCOMPARE(mine, written ? indent : (right ? 200 : 100));
        QCOMPARE(box->text(), typed);
        QCOMPARE(shown.size(), written ? 0 : 1);
    }

    void bullets()
    {
        openWithText(QStringLiteral("uno\ndos"));
        select(0, 0);
        text()->setSelBullet(true);
        select(0, 5);
        button("Command16")->click();
        QCOMPARE(text()->get(QStringLiteral("SelBullet")), QVariant(true));
        button("Command16")->click();
        QCOMPARE(text()->get(QStringLiteral("SelBullet")), QVariant(false));
    }

    // Viñetas on 20,000 paragraphs: a run of bullets is built of short lists, since Qt's
    // cost of adding an item grows with its list's length. Typing on at the end of the run
    // keeps the bullets; a second click takes them all off.
    void bulletsOnManyParagraphs()
    {
        constexpr int kParagraphs = 20000;
        openWithText(QStringLiteral("línea\n").repeated(kParagraphs - 1) + QStringLiteral("línea"));
        const QTextDocument *doc = text()->document();
        select(0, doc->characterCount() - 1);
        button("Command16")->click();
        QSet<const QTextList *> lists;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            QVERIFY(rtf::isBulletList(b.textList()));
            QCOMPARE_LE(b.textList()->count(), rtf::kBulletRunItems);
            lists.insert(b.textList());
        }
        QCOMPARE(lists.size(), (kParagraphs + rtf::kBulletRunItems - 1) / rtf::kBulletRunItems);
        select(doc->characterCount() - 1, doc->characterCount() - 1);
        QTest::keyClick(text(), Qt::Key_Return);
        QTest::keyClicks(text(), QStringLiteral("otra"));
        QCOMPARE(doc->blockCount(), kParagraphs + 1);
        QCOMPARE(doc->lastBlock().text(), QStringLiteral("otra"));
        QVERIFY(rtf::isBulletList(doc->lastBlock().textList()));
        select(0, doc->characterCount() - 1);
        button("Command16")->click();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            QVERIFY(!b.textList());
    }

    void buttonsWithoutDocument()
    {
        ScriptedDialogs dialogs;
        lineEdit("Text1")->setText(QStringLiteral("letras"));
        for (const char *name : {"Command2", "Command8", "Command14", "Command16", "Command18",
                                 "Command19", "Command20"})
            button(name)->click();
        QVERIFY(shown.isEmpty());
        QVERIFY(dialogs.shows.isEmpty());
    }

    void fontDialog_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void fontDialog()
    {
        QFETCH(bool, confirm);
        ScriptedDialogs dialogs;
        DialogAnswer a;
        a.confirm = confirm;
        a.fontName = QStringLiteral("Courier");
        a.fontSize = 15;
        a.color = 0x0000FF;
        a.italic = true;
        dialogs.answers << a;
        openWithText(QStringLiteral("texto"));
        select(0, 5);
        text()->setSelUnderline(true);
        text()->setSelBold(true);
        button("Command18")->click();
        QCOMPARE(dialogs.shows.size(), 1);
        QCOMPARE(dialogs.shows[0].title, QStringLiteral("Elige una fuente"));
        QCOMPARE(text()->get(QStringLiteral("SelUnderline")), QVariant(!confirm));
        QCOMPARE(text()->get(QStringLiteral("SelBold")), QVariant(!confirm));
        QCOMPARE(text()->get(QStringLiteral("SelItalic")), QVariant(confirm));
        if (confirm) {
            QCOMPARE(text()->get(QStringLiteral("SelFontName")).toString(), QStringLiteral("Courier"));
            QCOMPARE(text()->get(QStringLiteral("SelFontSize")).toDouble(), 15.0);
            QCOMPARE(text()->get(QStringLiteral("SelColor")).toInt(), 0x0000FF);
        }
        QVERIFY(shown.isEmpty());
    }

    void colourDialogs_data()
    {
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("text confirmed") << false << true;
        QTest::newRow("text cancelled") << false << false;
        QTest::newRow("background confirmed") << true << true;
        QTest::newRow("background cancelled") << true << false;
    }
    void colourDialogs()
    {
        QFETCH(bool, background);
        QFETCH(bool, confirm);
        ScriptedDialogs dialogs;
        dialogs.answers << (confirm ? DialogAnswer::colour(0x00FF00) : DialogAnswer::cancel());
        openWithText(QStringLiteral("texto"));
        select(0, 5);
        const qint32 back = text()->BackColor();
        const int colour = text()->get(QStringLiteral("SelColor")).toInt();
        (background ? button("Command19") : button("Command20"))->click();
        QCOMPARE(dialogs.shows.size(), 1);
        QCOMPARE(dialogs.shows[0].title, background ? QStringLiteral("Elige un color")
                                                    : QStringLiteral("Elige un color para la letra"));
        QCOMPARE(shown.size(), background ? 1 : 0);
        if (background) {
            QCOMPARE(shown[0].title, QStringLiteral("Aviso"));
            QCOMPARE(shown[0].text, QStringLiteral("El color de fondo no se guardara"));
            QCOMPARE(shown[0].kind, QStringLiteral("information"));
        }
        QCOMPARE(text()->BackColor(), background && confirm ? 0x00FF00 : back);
        QCOMPARE(text()->get(QStringLiteral("SelColor")).toInt(),
                 !background && confirm ? 0x00FF00 : colour);
    }

    // The real colour dialog, answered as a user would.
    void realColourDialog()
    {
        openWithText(QStringLiteral("texto"));
        select(0, 5);
        QTimer::singleShot(200, [] {
            auto *dlg = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            dlg->setCurrentColor(QColor(0, 0, 255));
            dlg->accept();
        });
        button("Command20")->click();
        QCOMPARE(text()->get(QStringLiteral("SelColor")).toInt(), 0xFF0000);
    }

    // The real font dialog, cancelled: nothing changes.
    void realFontDialogCancelled()
    {
        openWithText(QStringLiteral("texto"));
        select(0, 5);
        text()->setSelBold(true);
        // The timer dies with the test, so a dialog that never shows cannot leave it
        // waiting for a later test's dialog.
        QString shownTitle;
        QTimer closer;
        closer.setInterval(50);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget *dlg = QApplication::activeModalWidget();
            if (!dlg || !dlg->findChild<QFontDialog *>())
                return;
            shownTitle = dlg->windowTitle();
            closer.stop();
            QMetaObject::invokeMethod(dlg, "reject");
        });
        closer.start();
        button("Command18")->click();
        QCOMPARE(shownTitle, QStringLiteral("Elige una fuente"));
        QCOMPARE(text()->get(QStringLiteral("SelBold")), QVariant(true));
    }
};

QTEST_MAIN(tst_Editing)
#include "tst_editing.moc"
