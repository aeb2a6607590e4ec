#include "support/lesson_test.h"

#include <QStringList>

using LessonTest::TestForm;

namespace {

struct Ends
{
    double x1, y1, x2, y2;
};

using Outline = std::array<Ends, 4>;

// The outline of a piece of the given kind whose 40 × 120 cell has its upper left corner
// at (x, y): the piece is 2·kind cm high and stands on the cell's bottom; its four lines
// run clockwise from the upper left corner, each starting where the one before ended.
Outline expectedOutline(int kind, int x, int y)
{
    const double left = x, right = x + 40, bottom = y + 120, top = bottom - 40 * kind;
    return { { { left, top, right, top },
               { right, top, right, bottom },
               { right, bottom, left, bottom },
               { left, bottom, left, top } } };
}

const std::array<LineControl *, 4> &linesOf(const TestForm &form, int kind)
{
    return kind == 1 ? form.Line6 : kind == 2 ? form.Line7 : form.Line9;
}

bool place(TestForm &form, int kind, int16_t x, int16_t y)
{
    switch (kind) {
    case 1: return form.outlines.PlaceLine6Outline(x, y);
    case 2: return form.outlines.PlaceLine7Outline(x, y);
    default: return form.outlines.PlaceLine9Outline(x, y);
    }
}

QString describe(const std::array<LineControl *, 4> &lines)
{
    QStringList parts;
    for (const LineControl *line : lines)
        parts << QStringLiteral("(%1,%2)-(%3,%4)").arg(line->x1()).arg(line->y1()).arg(line->x2()).arg(line->y2());
    return parts.join(QLatin1Char(' '));
}

QString describe(const Outline &outline)
{
    QStringList parts;
    for (const Ends &e : outline)
        parts << QStringLiteral("(%1,%2)-(%3,%4)").arg(e.x1).arg(e.y1).arg(e.x2).arg(e.y2);
    return parts.join(QLatin1Char(' '));
}

QString describeAll(const TestForm &form)
{
    return describe(form.Line6) + QLatin1Char('\n') + describe(form.Line7) + QLatin1Char('\n') + describe(form.Line9);
}

const QPoint homes[4] = { {}, { 350, 5 }, { 400, 5 }, { 450, 5 } };

} // namespace

class TestPieceOutlines : public QObject
{
    Q_OBJECT

private slots:
    // The outlines stand in the tray in a row on y = 125, kind 1 at the left, 10 px apart.
    void homePositions()
    {
        auto form = LessonTest::makeForm();
        QCOMPARE(describe(form->Line6), QStringLiteral("(350,85)-(390,85) (390,85)-(390,125) (390,125)-(350,125) (350,125)-(350,85)"));
        QCOMPARE(describe(form->Line7), QStringLiteral("(400,45)-(440,45) (440,45)-(440,125) (440,125)-(400,125) (400,125)-(400,45)"));
        QCOMPARE(describe(form->Line9), QStringLiteral("(450,5)-(490,5) (490,5)-(490,125) (490,125)-(450,125) (450,125)-(450,5)"));
        for (int kind = 1; kind <= 3; ++kind) {
            QVERIFY(place(*form, kind, int16_t(homes[kind].x()), int16_t(homes[kind].y())));
            QCOMPARE(describe(linesOf(*form, kind)), describe(expectedOutline(kind, homes[kind].x(), homes[kind].y())));
        }
    }

    void placeAnywhere_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        const struct
        {
            const char *name;
            int x, y;
        } points[] = {
            { "origin", 0, 0 },
            { "in the envelope", 300, 180 },
            { "left of the board", -30, 240 },
            { "negative", -20, -60 },
            { "odd values", 123, -7 },
            { "smallest", -32768, -32768 },
            { "largest that fits", 32727, 32647 },
            { "far right", 32000, 100 },
        };
        for (int kind = 1; kind <= 3; ++kind) {
            for (const auto &p : points)
                QTest::addRow("kind %d %s", kind, p.name) << kind << p.x << p.y;
        }
    }
    void placeAnywhere()
    {
        QFETCH(int, kind);
        QFETCH(int, x);
        QFETCH(int, y);
        auto form = LessonTest::makeForm();
        QVERIFY(place(*form, kind, int16_t(x), int16_t(y)));
        const auto &lines = linesOf(*form, kind);
        QCOMPARE(describe(lines), describe(expectedOutline(kind, x, y)));
        // A closed loop: each line starts where the one before it ended.
        for (int i = 0; i < 4; ++i) {
            const LineControl *line = lines[i];
            const LineControl *next = lines[(i + 1) % 4];
            QCOMPARE(next->x1(), line->x2());
            QCOMPARE(next->y1(), line->y2());
        }
    }

    // At one reference point the bottoms coincide and only the tops differ.
    void samePointSameBottom()
    {
        auto form = LessonTest::makeForm();
        for (int kind = 1; kind <= 3; ++kind)
            QVERIFY(place(*form, kind, 60, 70));
        QCOMPARE(form->Line6[2]->y1(), 190.0);
        QCOMPARE(form->Line7[2]->y1(), 190.0);
        QCOMPARE(form->Line9[2]->y1(), 190.0);
        QCOMPARE(form->Line6[0]->y1(), 150.0);
        QCOMPARE(form->Line7[0]->y1(), 110.0);
        QCOMPARE(form->Line9[0]->y1(), 70.0);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(form->Line6[i]->x1(), form->Line9[i]->x1());
            QCOMPARE(form->Line7[i]->x2(), form->Line9[i]->x2());
        }
    }

    // A negative reference point is valid; the board clips what lies outside it.
    void negativeReferencePoint()
    {
        auto form = LessonTest::makeForm();
        QVERIFY(form->outlines.PlaceLine9Outline(-20, -60));
        QCOMPARE(describe(form->Line9), QStringLiteral("(-20,-60)-(20,-60) (20,-60)-(20,60) (20,60)-(-20,60) (-20,60)-(-20,-60)"));
    }

    void movingOneLeavesTheOthers_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("kind 1") << 1;
        QTest::newRow("kind 2") << 2;
        QTest::newRow("kind 3") << 3;
    }
    void movingOneLeavesTheOthers()
    {
        QFETCH(int, kind);
        auto form = LessonTest::makeForm();
        // Somewhere else than home first, so that a stray move would show.
        QVERIFY(form->outlines.PlaceLine6Outline(10, 200));
        QVERIFY(form->outlines.PlaceLine7Outline(60, 210));
        QVERIFY(form->outlines.PlaceLine9Outline(110, 220));
        QString others[4];
        for (int k = 1; k <= 3; ++k)
            others[k] = describe(linesOf(*form, k));

        QVERIFY(place(*form, kind, -20, -60));
        const QString moved = describe(linesOf(*form, kind));
        QCOMPARE(moved, describe(expectedOutline(kind, -20, -60)));
        for (int k = 1; k <= 3; ++k) {
            if (k != kind)
                QCOMPARE(describe(linesOf(*form, k)), others[k]);
        }
        // The same point again leaves everything as it was.
        const QString all = describeAll(*form);
        QVERIFY(place(*form, kind, -20, -60));
        QCOMPARE(describeAll(*form), all);
    }

    // A sum outside the 16-bit range moves nothing: no half-moved outline is left behind.
    void outOfRangeMovesNothing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        const struct
        {
            const char *name;
            int x, y;
        } points[] = {
            { "x 32760", 32760, 5 },
            { "x one too far", 32728, 5 },
            { "x largest", 32767, 100 },
            { "y one too far", 5, 32648 },
            { "y 32700", 100, 32700 },
            { "both", 32767, 32767 },
        };
        for (int kind = 1; kind <= 3; ++kind) {
            for (const auto &p : points)
                QTest::addRow("kind %d %s", kind, p.name) << kind << p.x << p.y;
        }
    }
    void outOfRangeMovesNothing()
    {
        QFETCH(int, kind);
        QFETCH(int, x);
        QFETCH(int, y);
        auto form = LessonTest::makeForm();
        QVERIFY(form->outlines.PlaceLine6Outline(10, 200));
        const QString before = describeAll(*form);
        QVERIFY(!place(*form, kind, int16_t(x), int16_t(y)));
        QCOMPARE(describeAll(*form), before);
    }

    // The outline is what the blackboard shows: yellow at its new place, gone from the tray.
    void outlineShownWhereItWasPut()
    {
        auto form = LessonTest::makeForm();
        const QPoint offset(PictureBox::BorderWidth, PictureBox::BorderWidth);
        const QColor yellow(255, 255, 0);
        QImage shot = form->kokuban->grab().toImage();
        QCOMPARE(shot.pixelColor(QPoint(370, 85) + offset), yellow);
        QCOMPARE(shot.pixelColor(QPoint(350, 105) + offset), yellow);

        QVERIFY(form->outlines.PlaceLine6Outline(30, 150));
        shot = form->kokuban->grab().toImage();
        QCOMPARE(shot.pixelColor(QPoint(50, 230) + offset), yellow);
        QCOMPARE(shot.pixelColor(QPoint(30, 250) + offset), yellow);
        QCOMPARE(shot.pixelColor(QPoint(50, 270) + offset), yellow);
        QCOMPARE(shot.pixelColor(QPoint(70, 250) + offset), yellow);
        QVERIFY(shot.pixelColor(QPoint(50, 250) + offset) != yellow);
        QVERIFY(shot.pixelColor(QPoint(370, 85) + offset) != yellow);
        QVERIFY(shot.pixelColor(QPoint(350, 105) + offset) != yellow);
        // The other two are still in the tray.
        QCOMPARE(shot.pixelColor(QPoint(420, 45) + offset), yellow);
        QCOMPARE(shot.pixelColor(QPoint(470, 5) + offset), yellow);
    }
};

LESSON_TEST_MAIN(TestPieceOutlines)
#include "tst_piece_outlines.moc"
