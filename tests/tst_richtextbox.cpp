#include "richtextbox.h"
#include "rtfcodec.h"
#include "rtfkept.h"
#include "runtimefailure.h"

#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <functional>
#include <map>

namespace {

void select(RichTextBox &box, int from, int to)
{
    QTextCursor c = box.textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    box.setTextCursor(c);
}

// Runs steps such as "0-3 bold, 4-7 read, 0-7" on "uno\ndos\ntres", "dos" underlined with a
// heavy wave: each selects a range, then may format it or read SelBold.
void run(RichTextBox &box, const QString &steps)
{
    const std::map<QString, std::function<void()>> actions = {
        {u"bold"_qs, [&] { box.setSelBold(true); }},
        {u"italic"_qs, [&] { box.setSelItalic(true); }},
        {u"red"_qs, [&] { box.setSelColor(0xFF); }},
        {u"indent"_qs, [&] { box.setSelIndent(720); }},
        {u"read"_qs, [&] { box.SelBold(); }},
    };
    for (const QString &step : steps.split(u", "_qs)) {
        const QStringList words = step.split(u' ');
        select(box, words[0].section(u'-', 0, 0).toInt(), words[0].section(u'-', 1, 1).toInt());
        if (words.size() > 1)
            actions.at(words[1])();
    }
}

int failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const RuntimeFailure &f) {
        return f.number();
    }
    return 0;
}

// Notes, a header with a field, page set-up, a bookmark and a page break the control does not show.
const QByteArray kKept =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times;}}"
    "{\\info{\\title Informe}{\\author Ana}}\\paperw11906\\paperh8391\\landscape"
    "\\sectd\\cols2{\\header Cabecera}{\\footer P\\'e1gina {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}}\n"
    "\\pard Primer parrafo{\\super\\chftn}{\\footnote Nota uno.} y texto.\\par\n"
    "\\pard Segundo{\\super\\chftn}{\\footnote Nota dos.} se borra.\\par\n"
    "\\pard Tercero con {\\*\\bkmkstart b}marca{\\*\\bkmkend b}.\\par\n"
    "\\pard\\pagebb Cuarto.\\par}";

} // namespace

class TestRichTextBox : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

    QByteArray saved(RichTextBox &box)
    {
        const QString path = dir.filePath(QStringLiteral("saved.rtf"));
        box.SaveFile(path);
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    // The value read after the steps, none when mixed.
    void mixedValues_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("partly bold") << "0-3 bold, 0-6" << "SelBold" << QVariant();
        QTest::newRow("paragraph end not counted") << "0-3 bold, 0-4" << "SelBold" << QVariant(true);
        QTest::newRow("a file's heavy wave underline") << "4-7" << "SelUnderline" << QVariant(true);
        QTest::newRow("mixed colour") << "0-1 red, 0-2" << "SelColor" << QVariant();
        QTest::newRow("mixed indent") << "0-0 indent, 0-9" << "SelIndent" << QVariant();
        QTest::newRow("no selection reads typing format") << "6-6 italic" << "SelItalic" << QVariant(true);
        QTest::newRow("typing format leaves text") << "6-6 italic, 4-7" << "SelItalic" << QVariant(false);
        // A drag grows the selection step by step; each read sees what the step adds.
        QTest::newRow("grown at its start") << "0-3 bold, 4-7 read, 0-7" << "SelBold" << QVariant();
        QTest::newRow("grown at its end") << "8-12 bold, 0-4 read, 0-9" << "SelBold" << QVariant();
        QTest::newRow("formatted, then grown") << "0-2 read, 0-3 bold" << "SelBold" << QVariant(true);
    }
    void mixedValues()
    {
        QFETCH(QString, steps);
        QFETCH(QString, name);
        RichTextBox box;
        rtf::read("{\\rtf1 uno\\par {\\ulhwave dos}\\par tres}", box.document());
        run(box, steps);
        QTEST(box.get(name), "expected");
    }

    // A refused write fails with its number and changes nothing.
    void writesByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("number");
        QTest::newRow("mixed value") << "SelBold" << QVariant() << 380;
        QTest::newRow("unknown name") << "SelBlink" << QVariant(true) << 438;
        QTest::newRow("alignment 5") << "SelAlignment" << QVariant(5) << 380;
        QTest::newRow("indent 40000") << "SelIndent" << QVariant(40000) << 380;
        QTest::newRow("size 0") << "SelFontSize" << QVariant(0.0) << 380;
        QTest::newRow("colour beyond 24 bits") << "SelColor" << QVariant(0x1000000) << 380;
        QTest::newRow("negative margin") << "RightMargin" << QVariant(-1.0) << 380;
        QTest::newRow("read only") << "SelLength" << QVariant(3) << 383;
    }
    void writesByName()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(int, number);
        RichTextBox box;
        box.setText(QStringLiteral("uno\ndos\ntres"));
        select(box, 4, 7);
        const QString before = box.toHtml();
        QCOMPARE(failureOf([&] { box.set(name, value); }), number);
        QCOMPARE(box.toHtml(), before);
    }

    // SelChange once for a move by key or mouse, though Qt signals two changes; none for a format.
    void selChangeOncePerMove()
    {
        RichTextBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.setText(QStringLiteral("uno\ndos\ntres"));
        select(box, 0, 0);
        QSignalSpy spy(&box, &RichTextBox::SelChange);
        QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(spy.count(), 1);
        box.setSelBold(true);
        QCOMPARE(spy.count(), 1);
        const QPoint lastLine = box.cursorRect(QTextCursor(box.document()->lastBlock())).center();
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, lastLine);
        QCOMPARE(spy.count(), 2);
    }

    // Colours and alignment as drawn (a side of the page, even right to left); a failed load keeps the text.
    void drawnAsSetAndLoadFailure()
    {
        RichTextBox box;
        box.setText(u"שלום"_qs);
        select(box, 0, 4);
        box.setSelColor(0x0000FF);
        QCOMPARE(box.document()->begin().begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
        box.setBackColor(0xFF0000);
        QCOMPARE(box.viewport()->palette().color(QPalette::Base), QColor(Qt::blue));
        QTextBlockFormat rtl;
        rtl.setLayoutDirection(Qt::RightToLeft);
        box.textCursor().mergeBlockFormat(rtl);
        box.setSelAlignment(0);
        const auto drawn = QStyle::visualAlignment(Qt::RightToLeft, box.document()->begin().blockFormat().alignment());
        QCOMPARE(drawn & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter), Qt::AlignLeft);
        QVERIFY(failureOf([&] { box.LoadFile(QStringLiteral("/no/existe/nada.rtf")); }) != 0);
        QCOMPARE(box.Text(), u"שלום"_qs);
    }

    // A big document opened over goes away in the background, a table across a cut whole.
    void openOverBigDocument()
    {
        QByteArray big = "{\\rtf1 ";
        for (int i = 0; i < 12000; ++i)
            big += i >= 6000 && i < 9000 ? "\\trowd\\cellx900\\pard\\intbl c\\cell\\row\n" : "p\\par\n";
        RichTextBox box;
        for (const QByteArray &text : {big + "fin}", QByteArray("{\\rtf1 corto}")}) {
            QFile f(dir.filePath(QStringLiteral("grande.rtf")));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
            f.close();
            const QPointer<QTextDocument> old = box.document();
            box.LoadFile(f.fileName());
            QTRY_VERIFY_WITH_TIMEOUT(box.document()->lastBlock().layout()->lineCount() > 0, 20000);
            QTRY_VERIFY_WITH_TIMEOUT(old.isNull(), 20000);
        }
        QCOMPARE(box.Text(), QStringLiteral("corto"));
    }

    // Edits keep what the control does not show, in its place; text typed after a note's mark is
    // body text.
    void editKeepsTheRest()
    {
        RichTextBox box;
        const QString path = dir.filePath(QStringLiteral("in.rtf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(kKept) == kKept.size());
        f.close();
        box.LoadFile(path);
        select(box, 15, 15);   // "Primer parrafo1|"
        QTest::keyClicks(&box, QStringLiteral("!"));
        select(box, 6, 6);   // "Primer| parrafo"
        QTest::keyClicks(&box, QStringLiteral("XYZ"));
        const QTextBlock second = box.document()->begin().next();
        select(box, second.position(), second.next().position());
        QTest::keyClick(&box, Qt::Key_Delete);
        QCOMPARE(box.Text(), u"PrimerXYZ parrafo1! y texto.\nTercero con marca.\nCuarto."_qs);
        const QByteArray out = saved(box);
        for (const char *kept : {"{\\info{\\title Informe}{\\author Ana}}", "\\paperw11906\\paperh8391\\landscape",
                                 "\\sectd\\cols2{\\header Cabecera}", "{\\*\\fldinst PAGE}", "{\\footnote Nota uno.}",
                                 "con }{\\*\\bkmkstart b}{", "marca}{\\*\\bkmkend b}{", "\\pagebb"})
            QVERIFY2(out.contains(kept), kept);
        QCOMPARE(out.count("\\footnote"), 1);
        QTextDocument again;
        rtf::read(out, &again);
        QCOMPARE(again.begin().text(), u"PrimerXYZ parrafo1! y texto."_qs);
        QTextCursor c(&again);
        c.setPosition(19);   // after the "!"
        QCOMPARE(c.charFormat().verticalAlignment(), QTextCharFormat::AlignNormal);
        QVERIFY(!rtf::anchorsKeptItem(c.charFormat()));
        c.setPosition(18);   // after the mark
        QVERIFY(c.charFormat().hasProperty(rtf::KeptNote));
        // A new text replaces the document whole, with what was kept of the old one.
        box.setText(QStringLiteral("nuevo"));
        const QByteArray replaced = saved(box);
        for (const char *gone : {"header", "info", "paperw", "sectd", "footnote", "bkmk"})
            QVERIFY2(!replaced.contains(gone), gone);
    }
};

QTEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
