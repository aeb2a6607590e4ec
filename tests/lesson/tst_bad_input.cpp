// Every text the program reads as a number, put where a user can put it: the distance
// box Text1 (read by the table) and the speed box (read before every pause).
#include "support/lesson_test.h"

#include "lesson/numeric.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cmath>
#include <map>
#include <limits>

using namespace LessonTest;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

QString randomUtf8(int bytes)
{
    QRandomGenerator random(64);
    QByteArray raw(bytes, '\0');
    for (char &c : raw)
        c = char(random.bounded(256));
    return QString::fromUtf8(raw);
}

bool panelIsBlank(const PictureBox &panel)
{
    const QImage &layer = panel.drawing().image();
    const QRgb back = panel.backColor().rgb();
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            if (layer.pixel(x, y) != back)
                return false;
        }
    }
    return true;
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

private:
    void texts_data()
    {
        // The number each text reads as: its leading number, blanks skipped, 0 when it
        // does not start with one, an infinity when it is too large to hold. A distance
        // box holding anything but 0, 0.5, ..., 10 prints nothing.
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("blanks") << QStringLiteral("   ") << 0.0;
        QTest::newRow("nan") << QStringLiteral("nan") << 0.0;
        QTest::newRow("NaN") << QStringLiteral("NaN") << 0.0;
        QTest::newRow("inf") << QStringLiteral("inf") << 0.0;
        QTest::newRow("-inf") << QStringLiteral("-inf") << 0.0;
        QTest::newRow("1e308") << QStringLiteral("1e308") << 1e308;
        QTest::newRow("1e309") << QStringLiteral("1e309") << inf;
        QTest::newRow("-1e400") << QStringLiteral("-1e400") << -inf;
        QTest::newRow("1e-400") << QStringLiteral("1e-400") << 0.0;
        QTest::newRow("1,5") << QStringLiteral("1,5") << 1.0;
        QTest::newRow("0x10") << QStringLiteral("0x10") << 0.0;
        QTest::newRow("&H10") << QStringLiteral("&H10") << 0.0;
        QTest::newRow("+3") << QStringLiteral("+3") << 3.0;
        QTest::newRow("3.") << QStringLiteral("3.") << 3.0;
        QTest::newRow("-0") << QStringLiteral("-0") << 0.0;
        QTest::newRow("4.5") << QStringLiteral(" 4.5") << 4.5;
        QTest::newRow("0.25") << QStringLiteral("0.25") << 0.25;
        QTest::newRow("100") << QStringLiteral("100") << 100.0;
        QTest::newRow("full-width digits") << QStringLiteral("１０") << 0.0;
        QTest::newRow("arabic-indic digits") << QStringLiteral("٣") << 0.0;
        QTest::newRow("a million digits") << QString(1'000'000, QLatin1Char('7')) << inf;
        QTest::newRow("64 KiB of random UTF-8") << randomUtf8(64 * 1024) << -1.0;
    }

private slots:
    void distanceBox_data() { texts_data(); }
    void distanceBox()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        auto form = makeForm();
        form->lesson.compose(LessonTest::Composition { 3, 3, 3, 3, 3 });
        form->Command2_Click();
        form->Text1->setText(text);
        const double read = Numeric::leadingNumber(form->Text1->text());
        QVERIFY(!std::isnan(read));
        if (value != -1.0)
            QCOMPARE(read, value);

        // Whatever the box says, the table writes the column where P stands.
        form->Check3->setChecked(true);
        QVERIFY(!panelIsBlank(*form->hyo));
        QCOMPARE(form->table.shownPairs(), (std::map<int, double> { { 0, 0.0 } }));
        QCOMPARE(tableY(*form), 0.0);

        // A step rewrites the box; the graph never reads a typed text.
        QTest::mouseClick(form->susumu, Qt::LeftButton);
        QCOMPARE(form->Text1->text(), QStringLiteral(" 0.5"));
        QCOMPARE(form->lesson.y(), trueArea(form->lesson.scene().Slot, 0.5));
        QTest::mouseClick(form->modoru, Qt::LeftButton);
        QCOMPARE(form->lesson.y(), 0.0);
    }

    void speedBox_data() { texts_data(); }
    void speedBox()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        auto form = makeForm();
        form->Combo1->setEditText(text);
        const double read = Numeric::leadingNumber(form->Combo1->currentText());
        QVERIFY(!std::isnan(read));
        if (value != -1.0)
            QCOMPARE(read, value);
        // The pause is the number times 5 ms, held in 32 bits; none for a negative one.
        const double wanted = std::nearbyint(read * 5);
        const qint64 expected = wanted >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
            : wanted <= std::numeric_limits<int32_t>::min()                   ? std::numeric_limits<int32_t>::min()
                                                                               : qint64(wanted);
        QCOMPARE(qint64(form->lesson.pauseMilliseconds()), expected);
        if (expected <= 0) {
            // No pause at all: the run goes straight to the end.
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(form->jidou, Qt::LeftButton);
            QCOMPARE(LessonTest::pointPX(form->lesson), 100.0);
            QVERIFY(clock.elapsed() < 5000);
        }
    }
};

LESSON_TEST_MAIN(TestBadInput)
#include "tst_bad_input.moc"
