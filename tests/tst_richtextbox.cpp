#include "richtextbox.h"
#include "rtfcodec.h"
#include "rtfkept.h"
#include "runtimefailure.h"

#include <QFile>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>

namespace {

using Fill = std::function<void(RichTextBox &)>;

void select(RichTextBox &box, int from, int to)
{
    QTextCursor c = box.textCursor();
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    box.setTextCursor(c);
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

Q_DECLARE_METATYPE(Fill)

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
    // On "uno\ndos\ntres": the value read after the fill formats and selects; none when mixed.
    void mixedValues_data()
    {
        QTest::addColumn<Fill>("fill");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        const Fill boldFirstWord = [](RichTextBox &b) { select(b, 0, 3); b.setSelBold(true); };
        QTest::newRow("partly bold") << Fill([=](RichTextBox &b) { boldFirstWord(b); select(b, 0, 6); }) << "SelBold" << QVariant();
        QTest::newRow("paragraph end not counted") << Fill([=](RichTextBox &b) { boldFirstWord(b); select(b, 0, 4); }) << "SelBold" << QVariant(true);
        QTest::newRow("a file's double underline") << Fill([](RichTextBox &b) {
            rtf::read("{\\rtf1 uno {\\uldb dos} tres\\par}", b.document());
            select(b, 4, 7);
        }) << "SelUnderline" << QVariant(true);
        QTest::newRow("mixed colour") << Fill([](RichTextBox &b) { select(b, 0, 1); b.setSelColor(0xFF); select(b, 0, 2); }) << "SelColor" << QVariant();
        QTest::newRow("mixed indent") << Fill([](RichTextBox &b) { select(b, 0, 0); b.setSelIndent(720); select(b, 0, 9); }) << "SelIndent" << QVariant();
        QTest::newRow("uniform indent") << Fill([](RichTextBox &b) { select(b, 0, 12); b.setSelIndent(735); }) << "SelIndent" << QVariant(735);
        QTest::newRow("no selection reads typing format") << Fill([](RichTextBox &b) { select(b, 6, 6); b.setSelItalic(true); }) << "SelItalic" << QVariant(true);
        // A drag grows the selection step by step; each read sees what the step adds.
        QTest::newRow("grown at its start") << Fill([=](RichTextBox &b) { boldFirstWord(b); select(b, 4, 7); b.SelBold(); select(b, 0, 7); }) << "SelBold" << QVariant();
        QTest::newRow("grown at its end") << Fill([](RichTextBox &b) { select(b, 8, 12); b.setSelBold(true); select(b, 0, 4); b.SelBold(); select(b, 0, 9); }) << "SelBold" << QVariant();
        QTest::newRow("formatted, then grown") << Fill([=](RichTextBox &b) { select(b, 0, 2); b.SelBold(); boldFirstWord(b); select(b, 0, 3); }) << "SelBold" << QVariant(true);
        QTest::newRow("typing format leaves text") << Fill([](RichTextBox &b) { select(b, 6, 6); b.setSelItalic(true); select(b, 4, 7); }) << "SelItalic" << QVariant(false);
    }
    void mixedValues()
    {
        QFETCH(Fill, fill);
        QFETCH(QString, name);
        RichTextBox box;
        box.setText(QStringLiteral("uno\ndos\ntres"));
        fill(box);
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
        box.resize(300, 200);
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
        QCOMPARE(box.SelAlignment(), std::optional<int>(0));
        const Qt::Alignment drawn = QStyle::visualAlignment(Qt::RightToLeft, box.document()->begin().blockFormat().alignment());
        QCOMPARE(drawn & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter), Qt::AlignLeft);
        QVERIFY(failureOf([&] { box.LoadFile(QStringLiteral("/no/existe/nada.rtf")); }) != 0);
        QCOMPARE(box.Text(), u"שלום"_qs);
        select(box, 0, 1);
        box.set(QStringLiteral("SelText"), QStringLiteral("ñ"));
        QCOMPARE(box.Text(), u"ñלום"_qs);
    }

    // Edits keep what the control does not show; text typed after a note's mark is body text.
    void editKeepsTheRest()
    {
        RichTextBox box;
        const QString path = dir.filePath(QStringLiteral("in.rtf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(kKept) == kKept.size());
        f.close();
        box.show();
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
                                 "{\\*\\bkmkstart b}", "{\\*\\bkmkend b}", "\\pagebb"})
            QVERIFY2(out.contains(kept), kept);
        QVERIFY(!out.contains("Nota dos."));
        QCOMPARE(out.count("\\footnote"), 1);
        QTextDocument again;
        rtf::read(out, &again);
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
