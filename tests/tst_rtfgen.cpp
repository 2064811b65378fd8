// The benchmarks' and the big-document test's generator: the same seed gives the same
// file, and the codec reads it as the paragraphs asked for, formatted and listed.
#include "rtfcodec.h"
#include "rtfgen.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

class tst_RtfGen : public QObject
{
    Q_OBJECT
private slots:
    void readsAsAsked()
    {
        const QByteArray rtf = rtfgen::document(1000, 42);
        QCOMPARE(rtfgen::document(1000, 42), rtf);
        QTextDocument doc;
        rtf::read(rtf, &doc);
        int paragraphs = 0, bold = 0, listed = 0, centred = 0;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            paragraphs += b.length() > 1;
            listed += b.textList() != nullptr;
            centred += b.blockFormat().alignment() == Qt::AlignHCenter;
            for (auto it = b.begin(); !it.atEnd(); ++it)
                bold += it.fragment().charFormat().fontWeight() >= QFont::Bold;
        }
        QCOMPARE(paragraphs, 1000);
        QVERIFY(bold > 0 && listed > 0 && centred > 0);
    }
};

QTEST_GUILESS_MAIN(tst_RtfGen)
#include "tst_rtfgen.moc"
