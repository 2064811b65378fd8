#include "paragraph.h"

#include <QLocale>
#include <QTest>

#include <cfenv>

// Indent text as typed by the user, under the locale the user works in.
class tst_EditingIndent : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void parse_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("es zero") << "es_ES" << "0" << true << 0;
        QTest::newRow("es 720") << "es_ES" << "720" << true << 720;
        QTest::newRow("es comma half even down") << "es_ES" << "2,5" << true << 2;
        QTest::newRow("es comma half even up") << "es_ES" << "3,5" << true << 4;
        QTest::newRow("es negative half") << "es_ES" << "-2,5" << true << -2;
        QTest::newRow("es minus point five") << "es_ES" << "-0,5" << true << 0;
        QTest::newRow("es top") << "es_ES" << "32767" << true << 32767;
        QTest::newRow("es above top") << "es_ES" << "32768" << false << 0;
        QTest::newRow("es bottom") << "es_ES" << "-32768" << true << -32768;
        QTest::newRow("es below bottom") << "es_ES" << "-32769" << false << 0;
        QTest::newRow("es rounds past top") << "es_ES" << "32767,5" << false << 0;
        QTest::newRow("es rounds to top") << "es_ES" << "32767,4" << true << 32767;
        QTest::newRow("es empty") << "es_ES" << "" << false << 0;
        QTest::newRow("es letters") << "es_ES" << "abc" << false << 0;
        QTest::newRow("es number then letters") << "es_ES" << "12cm" << false << 0;
        QTest::newRow("en point half even") << "en_US" << "2.5" << true << 2;
        QTest::newRow("en point up") << "en_US" << "3.5" << true << 4;
        QTest::newRow("en above top") << "en_US" << "32768" << false << 0;
        QTest::newRow("en spaces around") << "en_US" << " 15 " << true << 15;
    }
    void parse()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        QLocale::setDefault(QLocale(locale));
        const std::optional<qint16> got = paragraph::parseIndent(text);
        QCOMPARE(got.has_value(), valid);
        if (valid)
            QCOMPARE(int(*got), value);
    }

    // Rounding must not depend on a rounding mode left behind by other code.
    void roundingModeRestored()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        std::fesetround(FE_UPWARD);
        const std::optional<qint16> got = paragraph::parseIndent(QStringLiteral("2.5"));
        const int mode = std::fegetround();
        std::fesetround(FE_TONEAREST);
        QCOMPARE(int(got.value_or(-1)), 2);
        QCOMPARE(mode, FE_UPWARD);
    }
};

QTEST_MAIN(tst_EditingIndent)
#include "tst_editingindent.moc"
