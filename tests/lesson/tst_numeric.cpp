#include "lesson/numeric.h"
#include "lesson/lesson.h"
#include "support/lesson_test.h"

#include <cmath>
#include <limits>

class TestNumeric : public QObject
{
    Q_OBJECT

private slots:
    void toInt16_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("expected");
        QTest::newRow("half to even down") << 2.5 << true << 2;
        QTest::newRow("half to even up") << 3.5 << true << 4;
        QTest::newRow("negative half") << -2.5 << true << -2;
        QTest::newRow("below half") << 10.4 << true << 10;
        QTest::newRow("largest") << 32767.0 << true << 32767;
        QTest::newRow("smallest") << -32768.0 << true << -32768;
        QTest::newRow("rounds into range") << 32767.4 << true << 32767;
        QTest::newRow("rounds out of range") << 32767.5 << false << 0;
        QTest::newRow("too small") << -32769.0 << false << 0;
        QTest::newRow("nan") << std::nan("") << false << 0;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << false << 0;
    }
    void toInt16()
    {
        QFETCH(double, value);
        QFETCH(bool, fits);
        QFETCH(int, expected);
        const auto result = Numeric::toInt16(value);
        QCOMPARE(result.has_value(), fits);
        if (fits)
            QCOMPARE(int(*result), expected);
    }

    void toInt32Clamped_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("250") << 250.0 << qint64(250);
        QTest::newRow("half even") << 62.5 << qint64(62);
        QTest::newRow("odd half") << 63.5 << qint64(64);
        QTest::newRow("huge") << 5e12 << qint64(std::numeric_limits<int32_t>::max());
        QTest::newRow("huge negative") << -5e12 << qint64(std::numeric_limits<int32_t>::min());
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << qint64(std::numeric_limits<int32_t>::max());
        QTest::newRow("nan") << std::nan("") << qint64(0);
    }
    void toInt32Clamped()
    {
        QFETCH(double, value);
        QFETCH(qint64, expected);
        QCOMPARE(qint64(Numeric::toInt32Clamped(value)), expected);
    }

    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << " 0";
        QTest::newRow("negative zero") << -0.0 << " 0";
        QTest::newRow("half") << 0.5 << " .5";
        QTest::newRow("one") << 1.0 << " 1";
        QTest::newRow("one and a half") << 1.5 << " 1.5";
        QTest::newRow("ten") << 10.0 << " 10";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("negative below one") << -0.25 << "-.25";
        QTest::newRow("sixty") << 60.0 << " 60";
        QTest::newRow("large") << 1e20 << " 1E+20";
        QTest::newRow("negative half") << -0.5 << "-.5";
        QTest::newRow("largest half, 15 digits") << 49999999999999.5 << " 49999999999999.5";
        QTest::newRow("whole, 14 digits") << 5e13 << " 50000000000000";
        QTest::newRow("whole, 15 digits") << 1e14 << " 100000000000000";
        QTest::newRow("whole, 16 digits") << 1e15 << " 1E+15";
        QTest::newRow("quarter past a whole") << 3.25 << " 3.25";
        QTest::newRow("tiny") << 1e-300 << " 1E-300";
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Numeric::numberText(value), text);
    }

    void printForm()
    {
        QCOMPARE(Numeric::printForm(6), QStringLiteral(" 6 "));
        QCOMPARE(Numeric::printForm(12), QStringLiteral(" 12 "));
        QCOMPARE(Numeric::printForm(-3), QStringLiteral("-3 "));
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("distance") << " 4.5" << 4.5;
        QTest::newRow("speed") << "50" << 50.0;
        QTest::newRow("speed zero") << " 0" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blanks") << "   " << 0.0;
        QTest::newRow("tab and newline") << "\t\n7" << 7.0;
        QTest::newRow("blanks inside") << "1 2" << 12.0;
        QTest::newRow("trailing text") << "20ms" << 20.0;
        QTest::newRow("plus") << "+3" << 3.0;
        QTest::newRow("minus") << "-3" << -3.0;
        QTest::newRow("point only") << "." << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("trailing point") << "3." << 3.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("D exponent") << "2D2" << 200.0;
        QTest::newRow("dangling exponent") << "4e" << 4.0;
        QTest::newRow("dangling exponent sign") << "4e+" << 4.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("hex is not read") << "0x10" << 0.0;
        QTest::newRow("ampersand hex is not read") << "&H10" << 0.0;
        QTest::newRow("nan") << "nan" << 0.0;
        QTest::newRow("NaN") << "NaN" << 0.0;
        QTest::newRow("inf") << "inf" << 0.0;
        QTest::newRow("-inf") << "-inf" << 0.0;
        QTest::newRow("largest") << "1e308" << 1e308;
        QTest::newRow("underflow") << "1e-400" << 0.0;
        QTest::newRow("full-width digits") << QStringLiteral("５０") << 0.0;
        QTest::newRow("arabic-indic digits") << QStringLiteral("٥٠") << 0.0;
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Numeric::leadingNumber(text), value);
    }

    void leadingNumberOverflowIsInfinite()
    {
        QVERIFY(std::isinf(Numeric::leadingNumber(QStringLiteral("1e309"))));
        QVERIFY(Numeric::leadingNumber(QStringLiteral("1e309")) > 0);
        QVERIFY(Numeric::leadingNumber(QStringLiteral("-1e400")) < 0);
        QVERIFY(std::isinf(Numeric::leadingNumber(QStringLiteral("-1e400"))));
        QVERIFY(std::isinf(Numeric::leadingNumber(QStringLiteral("1e99999999999999999999"))));
    }

    void leadingNumberOfHugeTexts()
    {
        const QString million(1'000'000, QLatin1Char('9'));
        QVERIFY(std::isinf(Numeric::leadingNumber(million)));
        QCOMPARE(Numeric::leadingNumber(QStringLiteral("0.") + million), 1.0);

        // Random bytes never crash and never give a value that is not a number.
        QByteArray noise(64 * 1024, '\0');
        quint32 seed = 12345;
        for (char &c : noise) {
            seed = seed * 1664525u + 1013904223u;
            c = char(seed >> 24);
        }
        QVERIFY(!std::isnan(Numeric::leadingNumber(QString::fromUtf8(noise))));
    }

    void distanceTexts()
    {
        QCOMPARE(Lesson::distanceText(0), QStringLiteral(" 0.0"));
        QCOMPARE(Lesson::distanceText(0.5), QStringLiteral(" 0.5"));
        QCOMPARE(Lesson::distanceText(std::nextafter(0.5, 1.0)), QStringLiteral(" 0.5"));
        QCOMPARE(Lesson::distanceText(1), QStringLiteral(" 1.0"));
        QCOMPARE(Lesson::distanceText(1.5), QStringLiteral(" 1.5"));
        QCOMPARE(Lesson::distanceText(9.5), QStringLiteral(" 9.5"));
        QCOMPARE(Lesson::distanceText(10), QStringLiteral(" 10.0"));
        for (int step = 0; step <= 20; ++step) {
            const QString text = Lesson::distanceText(step / 2.0);
            QVERIFY2(text.startsWith(QLatin1Char(' ')) && text.section(QLatin1Char('.'), 1).size() == 1, qPrintable(text));
            QCOMPARE(Numeric::leadingNumber(text), step / 2.0);
        }
    }
};

LESSON_TEST_MAIN(TestNumeric)
#include "tst_numeric.moc"
