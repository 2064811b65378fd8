// The main window at its first-run size on a real X server: where document windows open, whole
// captions, the keyboard after a formatting button, a selection leaving as plain text only.

#include "support/mainwindow.h"
#include "support/modal.h"
#include "support/named.h"
#include "support/scripteddialogs.h"

#include "captionfit.h"
#include "richtextbox.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

using namespace shelltest;

namespace {
// Exposes what a drag or the control's own copy takes from the selection.
class Probe : public RichTextBox
{
public:
    using RichTextBox::createMimeDataFromSelection;
};

void typeThroughWindow(frmMain &w, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(w.windowHandle(), c.toLatin1());
}
} // namespace

class tst_FirstRunWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { isolateSettings(); }
    void documentWindowsStayUsable_data()
    {
        QTest::addColumn<int>("windows");
        QTest::addColumn<bool>("cascade");     // through Ventana > Cascada, or as they opened
        QTest::addColumn<QSize>("mainSize");   // empty: the first-run size
        for (int n : {1, 3, 5, 8})
            QTest::addRow("%d opened", n) << n << false << QSize();
        for (int n : {2, 5}) {
            QTest::addRow("%d cascaded", n) << n << true << QSize();
            QTest::addRow("%d cascaded, large frame", n) << n << true << QSize(1100, 900);
        }
    }
    // Each window lies in the workspace, right below the one before unless a run starts over, as
    // large as its design where the room left allows.
    void documentWindowsStayUsable()
    {
        QFETCH(int, windows);
        QFETCH(bool, cascade);
        QFETCH(QSize, mainSize);
        MainWindow w = activeFirstRunWindow();
        if (mainSize.isValid()) {
            w->resize(mainSize);
            QTRY_COMPARE(w->size(), mainSize);
        }
        while (w->documents().size() < windows)
            w->CreateDocumentWindow();
        if (cascade)
            named<QAction>(*w, "mnuWindowCascade")->trigger();
        const QRect area = named<QMdiArea>(*w, "mdiArea")->viewport()->rect();
        const QList<frmDocument *> docs = w->documents();
        const int step = windows > 1 ? docs[1]->y() - docs[0]->y() : 0;
        const QSize left = area.size() - QSize(step, step) * (cascade ? windows - 1 : 0);
        for (int i = 0; i < windows; ++i) {
            const QRect g = docs[i]->geometry();
            const QString where = QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7").arg(docs[i]->Caption())
                .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()).arg(area.width()).arg(area.height());
            QVERIFY2(area.contains(g), qPrintable(where));
            QVERIFY2(g.width() >= 150 && g.height() >= 100, qPrintable(where));
            const QSize frame = docs[i]->size() - docs[i]->widget()->size();
            const QSize wanted = (frmDocument::designClientSize() + frame).boundedTo(left);
            QVERIFY2(g.width() >= wanted.width() && g.height() >= wanted.height(), qPrintable(where));
            if (i > 0 && (cascade || g.topLeft() != area.topLeft()))
                QVERIFY2(g.x() > docs[i - 1]->x() && g.y() > docs[i - 1]->y(), qPrintable(where));
        }
    }
    // Every caption of the strip and the panel is whole and readable.
    void captionsFit()
    {
        MainWindow w = activeFirstRunWindow();
        QList<QWidget *> controls;
        for (QWidget *c : w->findChildren<QWidget *>())
            if (qobject_cast<QPushButton *>(c) || (qobject_cast<QLabel *>(c) && !c->property("text").toString().isEmpty()
                                                   && named<QWidget>(*w, "propiedades")->isAncestorOf(c)))
                controls << c;
        QVERIFY(controls.size() >= 20);
        for (QWidget *control : std::as_const(controls)) {
            const QString text = control->property("text").toString();
            const QFontMetrics metrics = control->fontMetrics();
            const QRect room = captionfit::captionRect(control);   // a push button: inside its bevel
            QVERIFY2(metrics.horizontalAdvance(text) <= room.width()
                         && metrics.height() <= room.height(),
                     qPrintable(QStringLiteral("\"%1\" needs %2x%3 px, has %4x%5").arg(text)
                                .arg(metrics.horizontalAdvance(text)).arg(metrics.height())
                                .arg(room.width()).arg(room.height())));
            QVERIFY(control->font().pointSizeF() >= captionfit::smallestReadablePoints);
        }
    }
    void typingGoesOnAfterAButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("Rojo") << "Command2";
        QTest::newRow("Fuentes, cancelled") << "Command18";
        QTest::newRow("Color Fondo, its warning answered") << "Command19";
    }
    void typingGoesOnAfterAButton()
    {
        QFETCH(QString, button);
        ScriptedDialogs dialogs;      // the dialogs of "Fuentes" and the colours: cancelled
        MainWindow w = activeFirstRunWindow();
        frmDocument *doc = w->activeDocument();
        QTRY_VERIFY(doc->rtfText->hasFocus());
        typeThroughWindow(*w, QStringLiteral("ab"));
        ModalAnswer warning([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); });
        QTest::mouseClick(named<QPushButton>(*w, button), Qt::LeftButton);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(!warning.gaveUp);
        typeThroughWindow(*w, QStringLiteral("cd"));
        QCOMPARE(doc->rtfText->Text(), QStringLiteral("abcd"));
    }
    void selectionLeavesAsPlainText()
    {
        Probe box;
        box.setText(QStringLiteral("uno\ndos"));
        box.selectAll();
        box.setSelBold(true);
        std::unique_ptr<QMimeData> data(box.createMimeDataFromSelection());
        QCOMPARE(data->formats(), QStringList{"text/plain"});
        QCOMPARE(data->text(), box.SelText());
    }
};

QTEST_MAIN(tst_FirstRunWindow)
#include "tst_firstrunwindow.moc"
