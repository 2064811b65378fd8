#include "messages.h"
#include "richtextbox.h"
#include "rtfunits.h"
#include "support/mainwindow.h"
#include "support/named.h"
#include "support/scripteddialogs.h"
#include "toolbar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <cfenv>

// The editing commands as a user gives them in a real main window: toolbar and buttons.
class tst_Editing : public QObject
{
    Q_OBJECT
private:
    shelltest::MainWindow w;
    QList<messages::Shown> shown;

    RichTextBox *text() { return w->activeDocument()->rtfText; }
    void openWithText(const QString &plain)
    {
        w->CreateDocumentWindow();
        text()->setText(plain);
    }
    void select(int from, int to, RichTextBox *box = nullptr)
    {
        box = box ? box : text();
        QTextCursor c = box->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        box->setTextCursor(c);
    }
    Toolbar *toolbar() { return named<Toolbar>(*w, "tbToolBar"); }
    void press(const QString &button) { named<QPushButton>(*w, button)->click(); }
    // Each property's value, space-separated.
    QString read(const QStringList &properties)
    {
        QStringList out;
        for (const QString &name : properties)
            out << text()->get(name).toString();
        return out.join(u' ');
    }

private slots:
    void initTestCase() { shelltest::isolateSettings(); }
    void init()
    {
        w = shelltest::shownMainWindow();
        qDeleteAll(w->documents());
        shown.clear();
        messages::setRecorder(&shown);
    }
    void cleanup()
    {
        messages::setRecorder(nullptr);
        w.reset();
    }

    // The buttons follow the selection as Right then Shift+Right move it from `from` to `to`.
    void selectionFeedback_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("elsewhere");   // another window active, the toolbar hidden
        QTest::addColumn<QString>("down");
        const QString left = QStringLiteral("Alinear a la izquierda");
        QTest::newRow("caret in bold") << 3 << 3 << false << "Negrita, " + left;
        QTest::newRow("italic word") << 8 << 15 << false << "Cursiva, " + left;
        QTest::newRow("underlined word") << 16 << 25 << false << "Subrayado, " + left;
        QTest::newRow("bold and italic") << 4 << 10 << false << left;
        QTest::newRow("centred") << 38 << 38 << false << "Centrar";
        QTest::newRow("right") << 44 << 46 << false << "Alinear a la derecha";
        QTest::newRow("from a window behind") << 3 << 5 << true << "Negrita, " + left;
    }
    void selectionFeedback()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, elsewhere);
        QFETCH(QString, down);
        openWithText(QStringLiteral("negrita cursiva subrayado\nizquierda\ncentro\nderecha"));
        RichTextBox *box = text();
        const char *const feedback[] = {"Negrita", "Cursiva", "Subrayado", "Alinear a la izquierda", "Centrar",
                                        "Alinear a la derecha"};
        // Negrita twice on "subrayado" leaves it plain; on the mixed "negrita cursiva", mixed.
        const std::tuple<int, int, const char *> formats[] = {{0, 7, "Negrita"}, {8, 15, "Cursiva"},
            {16, 25, "Subrayado"}, {16, 25, "Negrita"}, {16, 25, "Negrita"}, {0, 15, "Negrita"},
            {36, 42, "Centrar"}, {43, 50, "Alinear a la derecha"}};
        for (const auto &[start, end, key] : formats) {
            select(start, end);
            w->tbToolBar_ButtonClick(toolbar()->Buttons(QLatin1String(key)));
        }
        if (elsewhere) {
            openWithText(QStringLiteral("plano"));
            toolbar()->hide();
        }
        select(from - 1, from - 1, box);
        // Every button the other way round from what the selection shows.
        for (const char *key : feedback)
            toolbar()->Buttons(QLatin1String(key))->setValue(down.contains(QLatin1String(key)) ? 0 : 1);
        QTest::keyClick(box, Qt::Key_Right);
        for (int i = from; i < to; ++i)
            QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
        QStringList pressed;
        for (const char *key : feedback)
            if (toolbar()->Buttons(QLatin1String(key))->Value())
                pressed << QLatin1String(key);
        QCOMPARE(pressed.join(u", "), down);
    }

    // The indent as typed in the user's locale; anything but a number in range is refused with a
    // message. Halves round to even whatever rounding mode is set, and the mode is left as it was.
    void indentButtons_data()
    {
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");   // left and right indent; -: refused
        QTest::newRow("right") << true << "es_ES" << "720" << "100 720";
        QTest::newRow("left") << false << "es_ES" << "720" << "720 200";
        QTest::newRow("half down to even") << false << "es_ES" << "2,5" << "2 200";
        QTest::newRow("half up to even") << false << "es_ES" << "3,5" << "4 200";
        QTest::newRow("top") << true << "es_ES" << "32767" << "100 32767";
        QTest::newRow("above top") << true << "es_ES" << "32768" << "-";
        QTest::newRow("below bottom") << false << "es_ES" << "-32769" << "-";
        QTest::newRow("rounds past top") << true << "es_ES" << "32767,5" << "-";
        QTest::newRow("number then letters") << false << "es_ES" << "12cm" << "-";
        QTest::newRow("English point") << false << "en_US" << "2.5" << "2 200";
    }
    void indentButtons()
    {
        QFETCH(bool, right);
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        openWithText(QStringLiteral("uno"));
        select(0, 3);
        text()->setSelIndent(100);
        text()->setSelRightIndent(200);
        auto *box = named<QLineEdit>(*w, right ? "Text1" : "Text2");
        box->setText(typed);
        std::fesetround(FE_UPWARD);
        press(right ? u"Command14"_qs : u"Command15"_qs);
        const int mode = std::fegetround();
        std::fesetround(FE_TONEAREST);
        QLocale::setDefault(previous);
        QCOMPARE(mode, FE_UPWARD);
        const bool refused = expected == QLatin1String("-");
        QCOMPARE(read({u"SelIndent"_qs, u"SelRightIndent"_qs}), refused ? u"100 200"_qs : expected);
        QCOMPARE(box->text(), typed);
        QCOMPARE(shown.size(), refused ? 1 : 0);
        if (refused)
            QCOMPARE(shown[0].text, u"La sangría debe ser un número entero entre -32768 y 32767."_qs);
    }

    // Viñetas on 20,000 paragraphs, the first bulleted: bullets on all, in short lists (Qt's cost
    // of an item grows with its list), kept when typing on at the end; a second click, all off.
    void bulletsOnManyParagraphs()
    {
        constexpr int kParagraphs = 20000;
        openWithText(QStringLiteral("línea\n").repeated(kParagraphs - 1) + QStringLiteral("línea"));
        const QTextDocument *doc = text()->document();
        select(0, 0);
        text()->setSelBullet(true);
        select(0, doc->characterCount() - 1);
        press(u"Command16"_qs);
        QSet<const QTextList *> lists;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            QVERIFY(rtf::isBulletList(b.textList()));
            lists.insert(b.textList());
        }
        QCOMPARE_LE(lists.size(), kParagraphs / 16);
        select(doc->characterCount() - 1, doc->characterCount() - 1);
        QTest::keyClick(text(), Qt::Key_Return);
        QTest::keyClicks(text(), QStringLiteral("otra"));
        QVERIFY(rtf::isBulletList(doc->lastBlock().textList()));
        select(0, doc->characterCount() - 1);
        press(u"Command16"_qs);
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            QVERIFY(!b.textList());
    }

    // Quick, font and colour buttons, dialogs answered by the test backend; Color Fondo always warns.
    void formatButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");   // the dialog's: 1 confirmed, 0 cancelled, -1 none shown
        QTest::addColumn<QString>("expected");   // colour, font, size, bold, italic, background
        const QString before = QStringLiteral("1193046 Arial 30 true false ffffff");
        QTest::newRow("Rojo") << "Command2" << -1 << "255 Arial 30 true false ffffff";
        QTest::newRow("18") << "Command13" << -1 << "1193046 Arial 18 true false ffffff";
        QTest::newRow("text colour cancelled") << "Command20" << 0 << before;
        QTest::newRow("background") << "Command19" << 1 << "1193046 Arial 30 true false ff00";
        QTest::newRow("background cancelled") << "Command19" << 0 << before;
        QTest::newRow("font") << "Command18" << 1 << "65280 Courier 15 false true ffffff";
    }
    void formatButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        ScriptedDialogs scripted;
        DialogAnswer a = DialogAnswer::colour(0x00FF00);
        a.confirm = answer == 1;
        a.fontName = QStringLiteral("Courier");
        a.fontSize = 15;
        a.italic = true;
        scripted.answers << a;
        openWithText(QStringLiteral("texto"));
        select(0, 5);
        text()->setBackColor(0xFFFFFF);
        const std::pair<const char *, QVariant> formats[] = {{"SelColor", 0x123456},
            {"SelFontName", u"Arial"_qs}, {"SelFontSize", 30.0}, {"SelBold", true}};
        for (const auto &[name, value] : formats)
            text()->set(QLatin1String(name), value);
        press(button);
        QCOMPARE(scripted.shows.size(), answer < 0 ? 0 : 1);
        QTEST(read({u"SelColor"_qs, u"SelFontName"_qs, u"SelFontSize"_qs, u"SelBold"_qs, u"SelItalic"_qs})
                  + u' ' + QString::number(text()->BackColor(), 16), "expected");
        const bool warns = button == QLatin1String("Command19");
        QCOMPARE(shown.size(), warns ? 1 : 0);
        if (warns)
            QCOMPARE(shown[0].text, QStringLiteral("El color de fondo no se guardara"));
    }
};

QTEST_MAIN(tst_Editing)
#include "tst_editing.moc"
