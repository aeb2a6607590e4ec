#include "area/area_function.h"
#include "support/lesson_test.h"

#include <QRegularExpression>
#include <cmath>
#include <optional>

// The area function and its expressions by domain, against a closed form of the area
// worked out here and against the text a pupil reads, for every figure the board allows.

using namespace LessonTest;

namespace {

// Every figure: four choices (empty, 2, 4 or 6 cm) in each of five columns.
Composition compositionNumber(int code)
{
    Composition columns {};
    for (int &kind : columns) {
        kind = code % 4;
        code /= 4;
    }
    return columns;
}

// The columns wholly out give 2 cm times their height each; the column crossing the
// mouth gives its height times the part of it that is out.
double closedFormArea(const Composition &columns, double x)
{
    const int whole = std::min(int(std::floor(x / 2)), 5);
    double area = 0;
    for (int i = 0; i < whole; ++i)
        area += 2 * (2 * columns[i]);
    if (whole < 5)
        area += 2 * columns[whole] * (x - 2 * whole);
    return area;
}

// A line as printed, "F≦x≦T のとき y=ax+b", read back into its numbers.
struct PrintedDomain
{
    double from, to, slope, intercept;
};

// "", "6", "−6" as a signed number; empty is none.
std::optional<double> signedNumber(QString text)
{
    const bool negative = text.startsWith(QStringLiteral("−"));
    if (negative)
        text.remove(0, 1);
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-')))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<PrintedDomain> readLine(const QString &line)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+)≦x≦(\\d+) のとき y=(.+)$"));
    const QRegularExpressionMatch m = form.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    PrintedDomain d { m.captured(1).toDouble(), m.captured(2).toDouble(), 0, 0 };
    const QString right = m.captured(3);
    const qsizetype at = right.indexOf(QLatin1Char('x'));
    if (at < 0) {
        const auto constant = signedNumber(right);
        if (!constant)
            return std::nullopt;
        d.intercept = *constant;
        return d;
    }
    const QString coefficient = right.left(at), rest = right.mid(at + 1);
    if (coefficient.isEmpty() || coefficient == QStringLiteral("−"))
        d.slope = coefficient.isEmpty() ? 1 : -1;
    else if (const auto slope = signedNumber(coefficient))
        d.slope = *slope;
    else
        return std::nullopt;
    if (rest.isEmpty())
        return d;
    const auto intercept = signedNumber(rest.startsWith(QLatin1Char('+')) ? rest.mid(1) : rest);
    if (!intercept || !(rest.startsWith(QLatin1Char('+')) || rest.startsWith(QStringLiteral("−"))))
        return std::nullopt;
    d.intercept = *intercept;
    return d;
}

} // namespace

class TestAreaFunction : public QObject
{
    Q_OBJECT

private slots:
    void areaAgreesWithTheClosedForm()
    {
        for (int code = 0; code < 1024; ++code) {
            const Composition columns = compositionNumber(code);
            for (int quarter = 0; quarter <= 40; ++quarter) {
                const double x = quarter / 4.0;
                QVERIFY2(std::abs(AreaFunction::areaAt(columns, x) - closedFormArea(columns, x)) < 1e-12,
                         qPrintable(QStringLiteral("%1 at x = %2").arg(compositionText(columns)).arg(x)));
            }
        }
    }

    // Every printed line, read back, gives the area throughout its domain; the domains
    // cover 0 to 10 once; neighbours differ in their rate of change.
    void printedExpressionsGiveTheArea()
    {
        for (int code = 0; code < 1024; ++code) {
            const Composition columns = compositionNumber(code);
            const QString figure = compositionText(columns);
            std::vector<PrintedDomain> printed;
            for (const AreaFunction::Domain &domain : AreaFunction::domains(columns)) {
                const QString line = AreaFunction::domainText(domain);
                const auto read = readLine(line);
                QVERIFY2(read, qPrintable(figure + QStringLiteral(": unreadable ") + line));
                const bool schoolForm = !line.endsWith(QStringLiteral("+0")) && !line.contains(QStringLiteral("=0x"))
                    && !line.contains(QLatin1Char('-'));
                QVERIFY2(schoolForm, qPrintable(figure + QStringLiteral(": ") + line));
                printed.push_back(*read);
            }

            QCOMPARE(printed.front().from, 0.0);
            QCOMPARE(printed.back().to, 10.0);
            for (size_t i = 0; i < printed.size(); ++i) {
                QVERIFY2(printed[i].from < printed[i].to, qPrintable(figure));
                if (i > 0) {
                    QVERIFY2(printed[i].from == printed[i - 1].to, qPrintable(figure + QStringLiteral(": gap or overlap")));
                    QVERIFY2(printed[i].slope != printed[i - 1].slope,
                             qPrintable(figure + QStringLiteral(": neighbours with one slope")));
                }
                // The rate of change is the height of every column the domain spans.
                for (double c = printed[i].from; c < printed[i].to; c += 2)
                    QCOMPARE(printed[i].slope, 2 * columns[int(c / 2)]);
            }

            for (int half = 0; half <= 20; ++half) {
                const double x = half / 2.0;
                int holding = 0;
                for (const PrintedDomain &d : printed) {
                    if (x < d.from || x > d.to)
                        continue;
                    ++holding;
                    QVERIFY2(std::abs(d.slope * x + d.intercept - closedFormArea(columns, x)) < 1e-12,
                             qPrintable(QStringLiteral("%1 at x = %2").arg(figure).arg(x)));
                }
                // Inside a domain one line holds, on a boundary between two the two.
                QVERIFY(holding == 1 || holding == 2);
            }
        }
    }

    // A domain is listed once P is past its start, and only then.
    void domainsEnteredAsPPasses()
    {
        for (int code = 0; code < 1024; ++code) {
            const Composition columns = compositionNumber(code);
            const auto all = AreaFunction::domains(columns);
            QVERIFY(AreaFunction::domainsEntered(columns, 0).empty());
            for (int half = 1; half <= 20; ++half) {
                const double x = half / 2.0;
                const auto entered = AreaFunction::domainsEntered(columns, x);
                QVERIFY(!entered.empty() && entered.size() <= all.size());
                QVERIFY(std::equal(entered.begin(), entered.end(), all.begin()));
                // P stands in the last one listed, past its start.
                QVERIFY(entered.back().from < x && x <= entered.back().to);
            }
        }
    }

    void theFigureOfTheExercise()
    {
        QStringList lines;
        for (const AreaFunction::Domain &domain : AreaFunction::domains(Composition { 3, 2, 2, 0, 0 }))
            lines << AreaFunction::domainText(domain);
        QCOMPARE(lines, QStringList({ QStringLiteral("0≦x≦2 のとき y=6x"), QStringLiteral("2≦x≦6 のとき y=4x+4"),
                                      QStringLiteral("6≦x≦10 のとき y=28") }));
    }

    void formsOfSchoolMathematics_data()
    {
        QTest::addColumn<double>("slope");
        QTest::addColumn<double>("intercept");
        QTest::addColumn<QString>("text");
        QTest::newRow("no coefficient 1") << 1.0 << 2.0 << QStringLiteral("y=x+2");
        QTest::newRow("no +0") << 6.0 << 0.0 << QStringLiteral("y=6x");
        QTest::newRow("minus sign") << 2.0 << -4.0 << QStringLiteral("y=2x−4");
        QTest::newRow("constant") << 0.0 << 8.0 << QStringLiteral("y=8");
        QTest::newRow("zero") << 0.0 << 0.0 << QStringLiteral("y=0");
    }
    void formsOfSchoolMathematics()
    {
        QFETCH(double, slope);
        QFETCH(double, intercept);
        QFETCH(QString, text);
        QCOMPARE(AreaFunction::expressionText(slope, intercept), text);
        QVERIFY(!text.contains(QLatin1Char('-'))); // the minus sign, never the hyphen
    }
};

LESSON_TEST_MAIN(TestAreaFunction)
#include "tst_area_function.moc"
