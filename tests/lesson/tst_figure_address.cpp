// The figure in a page address: every figure goes there and back unchanged, and nothing
// that is not a figure is ever taken for one.
#include "lesson/figure_address.h"
#include "support/composition.h"

#include <QTest>

using Columns = AreaFunction::Columns;
using LessonTest::Composition;

class TestFigureAddress : public QObject
{
    Q_OBJECT

private slots:
    void everyFigureThereAndBack()
    {
        for (int code = 0; code < 1024; ++code) {
            Columns columns {};
            for (int i = 0, rest = code; i < 5; ++i, rest /= 4)
                columns[i] = PieceKind(rest % 4);
            const QString fragment = FigureAddress::fragment(columns);
            if (code == 0) {
                QCOMPARE(fragment, QString()); // the empty envelope takes the fragment away
                continue;
            }
            QCOMPARE(fragment.size(), 12);
            QCOMPARE(FigureAddress::parse(fragment), std::optional<Columns>(columns));
            QCOMPARE(FigureAddress::parse(QLatin1Char('#') + fragment), std::optional<Columns>(columns));
            QVERIFY(!FigureAddress::forPractice(fragment));
            // For practice: the same figure, and said so; even an empty envelope is written.
            const QString practice = FigureAddress::fragment(columns, true);
            QCOMPARE(practice, fragment + QStringLiteral("&practice"));
            QCOMPARE(FigureAddress::parse(QLatin1Char('#') + practice), std::optional<Columns>(columns));
            QVERIFY(FigureAddress::forPractice(QLatin1Char('#') + practice));
        }
        QCOMPARE(FigureAddress::fragment(Columns {}, true), QStringLiteral("figure=00000&practice"));
        QCOMPARE(FigureAddress::fragment(Composition { 3, 1, 2, 0, 3 }), QStringLiteral("figure=31203"));
    }

    void notAFigure_data()
    {
        QTest::addColumn<QString>("fragment");
        const char *const rows[] = {
            "", "#", "figure=", "figure=3120", "figure=312033", "figure=31204", "figure=3120a", "figure=-1203",
            "figure=3 203", "figure= 31203", "figure=31203 ", "figure=31203\n", "figure=+3120", "figure=3.120",
            "figure=%33%31%32%30%33", "figure%3D31203", "FIGURE=31203", "Figure=31203", "31203", "=31203",
            "##figure=31203", "figure=31203&figure=12312", "figure=31203figure=12312", "figure=31203#figure=12312",
            "<img src=x onerror=alert(1)>", "figure=<b>3</b>", "javascript:alert(1)", "figure=0x1f3",
            "figure=31203&practic", "figure=31203&practice&practice", "figure=31203&Practice", "figure=31203&practice ",
            "&practice", "figure=&practice", "figure=3120&practice", "practice&figure=31203", "figure=31203&practice=1",
        };
        for (const char *row : rows)
            QTest::newRow(row) << QString::fromUtf8(row);
        QTest::newRow("full-width digits") << QStringLiteral("figure=３１２０３");
        QTest::newRow("Arabic-Indic digits") << QStringLiteral("figure=٣١٢٠٣");
        QTest::newRow("10 000 characters") << QStringLiteral("figure=") + QString(9993, QLatin1Char('3'));
        QTest::newRow("a nul inside") << QStringLiteral("figure=31") + QChar(0) + QStringLiteral("03");
    }
    void notAFigure()
    {
        QFETCH(QString, fragment);
        QCOMPARE(FigureAddress::parse(fragment), std::nullopt);
        QVERIFY(!FigureAddress::forPractice(fragment));
    }

    void addressTakesTheFigure_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<Columns>("columns");
        QTest::addColumn<QString>("expected");
        const QString site = QStringLiteral("https://school.example/lesson/index.html");
        QTest::newRow("no fragment") << site << Columns(Composition { 3, 1, 2, 0, 3 }) << site + QStringLiteral("#figure=31203");
        QTest::newRow("another figure") << site + QStringLiteral("#figure=11111") << Columns(Composition { 0, 0, 0, 0, 2 })
                                        << site + QStringLiteral("#figure=00002");
        QTest::newRow("anything else") << site + QStringLiteral("#top") << Columns(Composition { 1, 0, 0, 0, 0 })
                                       << site + QStringLiteral("#figure=10000");
        QTest::newRow("empty envelope") << site + QStringLiteral("#figure=11111") << Columns {} << site;
        QTest::newRow("for practice") << site + QStringLiteral("#figure=11111") << Columns(Composition { 3, 1, 2, 0, 3 })
                                      << site + QStringLiteral("#figure=31203&practice");
    }
    void addressTakesTheFigure()
    {
        QFETCH(QString, address);
        QFETCH(Columns, columns);
        QFETCH(QString, expected);
        QCOMPARE(FigureAddress::withFigure(address, columns, expected.endsWith(QStringLiteral("&practice"))), expected);
    }
};

QTEST_APPLESS_MAIN(TestFigureAddress)
#include "tst_figure_address.moc"
