#include "frmdocument.h"
#include "richtextbox.h"
#include "twips.h"

#include <QMdiArea>
#include <QTest>

// The document window keeps rtfText 100 twips inside its client on every side, with lines
// wrapping 400 twips short of the control's right edge.
class TestFrmDocument : public QObject
{
    Q_OBJECT
private slots:
    void layoutFollowsResize_data();
    void layoutFollowsResize();
    void tinySizeKeepsLastGoodBounds();
    void designSettings();
};

namespace {

QWidget *clientOf(frmDocument &doc)
{
    return doc.widget();
}

void checkLayout(frmDocument &doc)
{
    const QRect bounds = doc.rtfText->geometry();
    QCOMPARE(bounds.topLeft(), QPoint(twipsToScreenPixels(100), twipsToScreenPixels(100)));
    QCOMPARE(bounds.width(), twipsToScreenPixels(doc.ScaleWidth() - 200));
    QCOMPARE(bounds.height(), twipsToScreenPixels(doc.ScaleHeight() - 200));
    QCOMPARE(doc.rtfText->RightMargin(), doc.rtfText->Width() - 400);
    QCOMPARE(doc.rtfText->lineWrapMode(), QTextEdit::FixedPixelWidth);
    QCOMPARE(doc.rtfText->lineWrapColumnOrWidth(), twipsToScreenPixels(doc.rtfText->Width() - 400));
}

} // namespace

void TestFrmDocument::layoutFollowsResize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("design size") << QSize();
    QTest::newRow("wide") << QSize(700, 300);
    QTest::newRow("tall") << QSize(250, 600);
    QTest::newRow("just over the border") << QSize(80, 90);
}

void TestFrmDocument::layoutFollowsResize()
{
    QFETCH(QSize, size);
    QMdiArea area;
    area.resize(900, 800);
    auto *doc = new frmDocument;
    area.addSubWindow(doc);
    area.show();
    doc->show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    if (size.isValid())
        clientOf(*doc)->resize(size);
    checkLayout(*doc);
}

void TestFrmDocument::tinySizeKeepsLastGoodBounds()
{
    QMdiArea area;
    area.resize(900, 800);
    auto *doc = new frmDocument;
    area.addSubWindow(doc);
    area.show();
    doc->show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    clientOf(*doc)->resize(400, 300);
    const QRect good = doc->rtfText->geometry();
    const double margin = doc->rtfText->RightMargin();

    clientOf(*doc)->resize(5, 5);             // less than the border: no move, no margin
    QCOMPARE(doc->rtfText->geometry(), good);
    QCOMPARE(doc->rtfText->RightMargin(), margin);

    clientOf(*doc)->resize(30, 300);          // control narrower than 400 twips
    QCOMPARE(doc->rtfText->height(), twipsToScreenPixels(doc->ScaleHeight() - 200));
    QCOMPARE(doc->rtfText->RightMargin(), margin);

    clientOf(*doc)->resize(500, 400);         // enlarging restores the border
    checkLayout(*doc);
}

void TestFrmDocument::designSettings()
{
    frmDocument doc;
    QCOMPARE(doc.Caption(), QStringLiteral("frmDocument"));
    QCOMPARE(doc.rtfText->objectName(), QStringLiteral("rtfText"));
    QCOMPARE(doc.rtfText->parentWidget(), clientOf(doc));
    QVERIFY(doc.rtfText->Text().isEmpty());
    QCOMPARE(doc.ScaleWidth(), screenPixelsToTwips(twipsToScreenPixels(4680)));
    QCOMPARE(doc.ScaleHeight(), screenPixelsToTwips(twipsToScreenPixels(3090)));
}

QTEST_MAIN(TestFrmDocument)
#include "tst_frmdocument.moc"
