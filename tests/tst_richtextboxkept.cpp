// The rich text control keeps what it does not show through a user's edits: typing in one
// paragraph and deleting another that holds a footnote loses nothing else.
#include "richtextbox.h"
#include "rtfcodec.h"
#include "rtfkept.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

class TestRichTextBoxKept : public QObject
{
    Q_OBJECT
private slots:
    void editKeepsTheRest();
    void typingAfterMarkIsPlainText();
    void newTextDropsKept();

private:
    QString write(const QString &name, const QByteArray &body);
    QByteArray saved(RichTextBox &box);
    void placeCaret(RichTextBox &box, int position);

    QTemporaryDir m_dir;
};

static const QByteArray kDocument =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times;}}"
    "{\\info{\\title Informe}{\\author Ana}}\\paperw11906\\paperh8391\\landscape"
    "\\sectd\\cols2{\\header Cabecera}{\\footer P\\'e1gina {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}}\n"
    "\\pard Primer parrafo{\\super\\chftn}{\\footnote Nota uno.} y texto.\\par\n"
    "\\pard Segundo{\\super\\chftn}{\\footnote Nota dos.} se borra.\\par\n"
    "\\pard Tercero con {\\*\\bkmkstart b}marca{\\*\\bkmkend b}.\\par\n"
    "\\pard\\pagebb Cuarto.\\par}";

QString TestRichTextBoxKept::write(const QString &name, const QByteArray &body)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(body) != body.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray TestRichTextBoxKept::saved(RichTextBox &box)
{
    const QString path = m_dir.filePath(QStringLiteral("saved.rtf"));
    box.SaveFile(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

void TestRichTextBoxKept::placeCaret(RichTextBox &box, int position)
{
    QTextCursor c = box.textCursor();
    c.setPosition(position);
    box.setTextCursor(c);
}

void TestRichTextBoxKept::editKeepsTheRest()
{
    RichTextBox box;
    box.show();
    box.LoadFile(write(QStringLiteral("in.rtf"), kDocument));
    placeCaret(box, 6);   // "Primer| parrafo"
    QTest::keyClicks(&box, QStringLiteral("XYZ"));
    // The second paragraph, its footnote with it.
    const QTextBlock second = box.document()->begin().next();
    QTextCursor c = box.textCursor();
    c.setPosition(second.position());
    c.setPosition(second.next().position(), QTextCursor::KeepAnchor);
    box.setTextCursor(c);
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.Text(), u"PrimerXYZ parrafo1 y texto.\nTercero con marca.\nCuarto."_qs);

    const QByteArray out = saved(box);
    for (const QByteArray &kept : {QByteArray("{\\info{\\title Informe}{\\author Ana}}"),
                                   QByteArray("\\paperw11906\\paperh8391\\landscape"),
                                   QByteArray("\\sectd\\cols2{\\header Cabecera}"),
                                   QByteArray("{\\*\\fldinst PAGE}"),
                                   QByteArray("{\\footnote Nota uno.}"),
                                   QByteArray("{\\*\\bkmkstart b}"), QByteArray("{\\*\\bkmkend b}"),
                                   QByteArray("\\pagebb")})
        QVERIFY2(out.contains(kept), kept.constData());
    QVERIFY(!out.contains("Nota dos."));
    QCOMPARE(out.count("\\footnote"), 1);
}

// Text typed right after a note's mark is body text in the paragraph's own format: not
// superscript and not part of the note.
void TestRichTextBoxKept::typingAfterMarkIsPlainText()
{
    RichTextBox box;
    box.show();
    box.LoadFile(write(QStringLiteral("in.rtf"), kDocument));
    placeCaret(box, 15);   // "Primer parrafo1|"
    QTest::keyClicks(&box, QStringLiteral("!"));
    QCOMPARE(box.document()->begin().text(), u"Primer parrafo1! y texto."_qs);

    QTextDocument again;
    rtf::read(saved(box), &again);
    QTextCursor c(&again);
    c.setPosition(16);   // after the "!"
    QCOMPARE(c.charFormat().verticalAlignment(), QTextCharFormat::AlignNormal);
    QVERIFY(!rtf::anchorsKeptItem(c.charFormat()));
    c.setPosition(15);   // after the mark
    QVERIFY(c.charFormat().hasProperty(rtf::KeptNote));
    QCOMPARE(again.begin().text(), u"Primer parrafo1! y texto."_qs);
}

// A new text replaces the document whole, with what was kept of the old one.
void TestRichTextBoxKept::newTextDropsKept()
{
    RichTextBox box;
    box.LoadFile(write(QStringLiteral("in.rtf"), kDocument));
    box.setText(QStringLiteral("nuevo"));
    const QByteArray out = saved(box);
    for (const char *gone : {"header", "info", "paperw", "sectd", "footnote", "bkmk"})
        QVERIFY2(!out.contains(gone), gone);
}

QTEST_MAIN(TestRichTextBoxKept)
#include "tst_richtextboxkept.moc"
