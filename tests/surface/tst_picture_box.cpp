#include "support/layer_checks.h"
#include "support/lesson_test.h"
#include "support/random_drawing.h"
#include "surface/controls.h"
#include "surface/flood_fill.h"
#include "surface/palette.h"
#include "surface/picture_box.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <set>
#include <utility>

using namespace LessonTest;

namespace {

constexpr int SurfaceWidth = 200;
constexpr int SurfaceHeight = 150;

using PixelSet = std::set<std::pair<int, int>>;

// A box of SurfaceWidth x SurfaceHeight drawable pixels, cleared to its back colour.
std::unique_ptr<PictureBox> makeBox(QColor back = Green)
{
    auto box = std::make_unique<PictureBox>();
    box->resize(SurfaceWidth + 2 * PictureBox::BorderWidth, SurfaceHeight + 2 * PictureBox::BorderWidth);
    box->setBackColor(back);
    box->drawing().cls();
    return box;
}

// Every logical pixel that is not of the given colour.
PixelSet pixelsNotOf(const PictureBox &box, QColor color)
{
    PixelSet result;
    for (int y = 0; y < SurfaceHeight; ++y) {
        for (int x = 0; x < SurfaceWidth; ++x) {
            if (box.drawing().pixel(x, y) != color)
                result.insert({ x, y });
        }
    }
    return result;
}

PixelSet pixelsOf(const PictureBox &box, QColor color)
{
    PixelSet result;
    for (int y = 0; y < SurfaceHeight; ++y) {
        for (int x = 0; x < SurfaceWidth; ++x) {
            if (box.drawing().pixel(x, y) == color)
                result.insert({ x, y });
        }
    }
    return result;
}

// The first pixel that is neither of the two colours, as text; empty when there is none.
QString strayPixel(const PictureBox &box, QColor a, QColor b)
{
    for (int y = 0; y < SurfaceHeight; ++y) {
        for (int x = 0; x < SurfaceWidth; ++x) {
            const QColor c = box.drawing().pixel(x, y);
            if (c != a && c != b)
                return QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(c.name());
        }
    }
    return {};
}

PixelSet shifted(const PixelSet &pixels, int dx, int dy)
{
    PixelSet result;
    for (const auto &[x, y] : pixels)
        result.insert({ x + dx, y + dy });
    return result;
}

QRect boundsOf(const PixelSet &pixels)
{
    QRect bounds;
    for (const auto &[x, y] : pixels)
        bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage snapshot(const PictureBox &box)
{
    return box.drawing().image().copy();
}

// A closed rectangle outline made of four separate lines, as the figure's pieces are drawn.
void outline(PictureBox &box, QRect r, QColor color)
{
    box.drawing().line(r.topLeft(), QPoint(r.right(), r.top()), color);
    box.drawing().line(QPoint(r.right(), r.top()), r.bottomRight(), color);
    box.drawing().line(r.bottomRight(), QPoint(r.left(), r.bottom()), color);
    box.drawing().line(QPoint(r.left(), r.bottom()), r.topLeft(), color);
}

QImage plainImage(QSize size, QColor back, qreal ratio = 1)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(back);
    return image;
}

} // namespace

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void drawingAreaLiesInsideTheBorder()
    {
        auto box = makeBox();
        QCOMPARE(box->contentSize(), QSize(SurfaceWidth, SurfaceHeight));
        QCOMPARE(box->contentOffset(), QPoint(PictureBox::BorderWidth, PictureBox::BorderWidth));
        QCOMPARE(box->drawing().pixel(0, 0), Green);
        QCOMPARE(box->drawing().pixel(SurfaceWidth - 1, SurfaceHeight - 1), Green);
        QVERIFY(!box->drawing().pixel(-1, 0).isValid());
        QVERIFY(!box->drawing().pixel(SurfaceWidth, 0).isValid());
        QVERIFY(!box->drawing().pixel(0, SurfaceHeight).isValid());
    }

    // Horizontal and vertical lines: exactly `width` pixels thick, across the first
    // point, covering everything between the ends, in one colour.
    void straightLine_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("along1");
        QTest::addColumn<int>("along2");
        QTest::addColumn<int>("across");
        for (int width = 1; width <= 3; ++width) {
            QTest::addRow("horizontal, width %d", width) << false << width << 20 << 120 << 50;
            QTest::addRow("horizontal leftwards, width %d", width) << false << width << 150 << 35 << 90;
            QTest::addRow("vertical, width %d", width) << true << width << 10 << 130 << 70;
            QTest::addRow("vertical upwards, width %d", width) << true << width << 120 << 15 << 33;
        }
    }
    void straightLine()
    {
        QFETCH(bool, vertical);
        QFETCH(int, width);
        QFETCH(int, along1);
        QFETCH(int, along2);
        QFETCH(int, across);
        auto box = makeBox();
        box->drawing().setDrawWidth(width);
        auto point = [&](int along, int acrossAt) { return vertical ? QPoint(acrossAt, along) : QPoint(along, acrossAt); };
        box->drawing().line(point(along1, across), point(along2, across), White);

        const QString stray = strayPixel(*box, Green, White);
        QVERIFY2(stray.isEmpty(), qPrintable(stray));

        std::set<int> acrossValues;
        std::set<int> alongValues;
        for (const auto &[x, y] : pixelsOf(*box, White)) {
            acrossValues.insert(vertical ? x : y);
            alongValues.insert(vertical ? y : x);
        }
        QCOMPARE(int(acrossValues.size()), width);
        QCOMPARE(*acrossValues.rbegin() - *acrossValues.begin() + 1, width);
        QVERIFY(acrossValues.count(across));

        const int low = qMin(along1, along2), high = qMax(along1, along2);
        for (int a = low + 1; a < high; ++a) {
            for (int c : acrossValues)
                QCOMPARE(box->drawing().pixel(point(a, c).x(), point(a, c).y()), White);
        }
        // The ends reach no further than half the width past the given points.
        QVERIFY2(*alongValues.begin() >= low - width && *alongValues.rbegin() <= high + width,
                 qPrintable(QStringLiteral("line runs %1..%2").arg(*alongValues.begin()).arg(*alongValues.rbegin())));
        QVERIFY(alongValues.count(low));
    }

    // A slanted line: no antialiasing, one unbroken run of pixels per column (or row, for a
    // steep line), as thick as the width allows, on the ideal line.
    void slantedLine_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        for (int width = 1; width <= 3; ++width) {
            QTest::addRow("shallow, width %d", width) << width << QPoint(20, 30) << QPoint(120, 80);
            QTest::addRow("steep, width %d", width) << width << QPoint(40, 10) << QPoint(80, 130);
            QTest::addRow("diagonal, width %d", width) << width << QPoint(30, 20) << QPoint(130, 120);
            QTest::addRow("rising, width %d", width) << width << QPoint(10, 140) << QPoint(190, 60);
        }
    }
    void slantedLine()
    {
        QFETCH(int, width);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        auto box = makeBox();
        box->drawing().setDrawWidth(width);
        box->drawing().line(from, to, Yellow);

        const QString stray = strayPixel(*box, Green, Yellow);
        QVERIFY2(stray.isEmpty(), qPrintable(stray));

        const bool steep = std::abs(to.y() - from.y()) > std::abs(to.x() - from.x());
        const double major1 = steep ? from.y() : from.x(), major2 = steep ? to.y() : to.x();
        const double minor1 = steep ? from.x() : from.y(), minor2 = steep ? to.x() : to.y();
        const double slope = (minor2 - minor1) / (major2 - major1);
        const int thickest = int(std::ceil(width * std::sqrt(1 + slope * slope))) + 1;

        int previousLow = 0, previousHigh = 0;
        const int first = int(qMin(major1, major2)) + 1, last = int(qMax(major1, major2)) - 1;
        for (int m = first; m <= last; ++m) {
            std::vector<int> run;
            const int limit = steep ? SurfaceWidth : SurfaceHeight;
            for (int n = 0; n < limit; ++n) {
                if ((steep ? box->drawing().pixel(n, m) : box->drawing().pixel(m, n)) == Yellow)
                    run.push_back(n);
            }
            QVERIFY2(!run.empty(), qPrintable(QStringLiteral("gap at %1").arg(m)));
            const int low = run.front(), high = run.back();
            QVERIFY2(high - low + 1 == int(run.size()), qPrintable(QStringLiteral("broken run at %1").arg(m)));
            if (width == 1)
                QVERIFY2(run.size() == 1, qPrintable(QStringLiteral("%1 pixels at %2").arg(run.size()).arg(m)));
            else
                QVERIFY2(int(run.size()) >= width && int(run.size()) <= thickest,
                         qPrintable(QStringLiteral("%1 pixels at %2").arg(run.size()).arg(m)));
            const double ideal = minor1 + slope * (m - major1);
            QVERIFY2(ideal >= low - 1 && ideal <= high + 1,
                     qPrintable(QStringLiteral("run %1..%2 misses %3 at %4").arg(low).arg(high).arg(ideal).arg(m)));
            if (m > first)
                QVERIFY2(low <= previousHigh + 1 && high >= previousLow - 1,
                         qPrintable(QStringLiteral("line breaks between %1 and %2").arg(m - 1).arg(m)));
            previousLow = low;
            previousHigh = high;
        }
    }

    // An erase draws the same line again in the back colour; that only works when the same
    // line gives the same pixels wherever it is drawn.
    void lineIsTranslationInvariant_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        for (int width = 1; width <= 3; ++width) {
            QTest::addRow("horizontal, width %d", width) << width << QPointF(5, 5) << QPointF(45, 5);
            QTest::addRow("vertical, width %d", width) << width << QPointF(5, 5) << QPointF(5, 45);
            QTest::addRow("slanted, width %d", width) << width << QPointF(5, 5) << QPointF(42, 23);
            QTest::addRow("graph step, width %d", width) << width << QPointF(5, 30) << QPointF(20, 22.5);
            QTest::addRow("steep graph step, width %d", width) << width << QPointF(5, 40) << QPointF(20, 17.5);
        }
    }
    void lineIsTranslationInvariant()
    {
        QFETCH(int, width);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        auto reference = makeBox();
        reference->drawing().setDrawWidth(width);
        reference->drawing().line(from, to, White);
        const PixelSet pixels = pixelsOf(*reference, White);
        QVERIFY(!pixels.empty());

        for (const QPoint offset : { QPoint(1, 0), QPoint(0, 1), QPoint(37, 11), QPoint(123, 77), QPoint(90, 101) }) {
            auto box = makeBox();
            box->drawing().setDrawWidth(width);
            box->drawing().line(from + offset, to + offset, White);
            QVERIFY2(pixelsOf(*box, White) == shifted(pixels, offset.x(), offset.y()),
                     qPrintable(QStringLiteral("differs at offset %1, %2").arg(offset.x()).arg(offset.y())));
            // Drawn again in the back colour it leaves no trace.
            box->drawing().line(from + offset, to + offset, Green);
            QVERIFY(pixelsNotOf(*box, Green).empty());
        }
    }

    void lineStepIsLineToTheSum_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("delta");
        for (int width = 1; width <= 3; ++width) {
            QTest::addRow("grid row, width %d", width) << width << QPointF(20, 40) << QPointF(160, 0);
            QTest::addRow("grid column, width %d", width) << width << QPointF(20, 20) << QPointF(0, 120);
            QTest::addRow("backwards, width %d", width) << width << QPointF(150, 100) << QPointF(-70, -45);
        }
    }
    void lineStepIsLineToTheSum()
    {
        QFETCH(int, width);
        QFETCH(QPointF, from);
        QFETCH(QPointF, delta);
        auto stepped = makeBox();
        stepped->drawing().setDrawWidth(width);
        stepped->drawing().lineStep(from, delta, Yellow);
        auto direct = makeBox();
        direct->drawing().setDrawWidth(width);
        direct->drawing().line(from, from + delta, Yellow);
        QVERIFY(!pixelsOf(*direct, Yellow).empty());
        QCOMPARE(snapshot(*stepped), snapshot(*direct));

        // Without a colour both take the fore colour.
        stepped->drawing().setForeColor(Red);
        direct->drawing().setForeColor(Red);
        stepped->drawing().lineStep(from, delta);
        direct->drawing().line(from, from + delta);
        QVERIFY(pixelsOf(*direct, Yellow).empty());
        QCOMPARE(snapshot(*stepped), snapshot(*direct));
    }

    void lineColour()
    {
        auto box = makeBox();
        box->drawing().setForeColor(White);
        box->drawing().setDrawWidth(1);
        box->drawing().line(QPointF(10, 10), QPointF(100, 10));
        box->drawing().line(QPointF(10, 20), QPointF(100, 20), Red);
        QCOMPARE(box->drawing().pixel(50, 10), White);
        QCOMPARE(box->drawing().pixel(50, 20), Red);
        // An explicit colour is for that line only.
        QCOMPARE(box->drawing().foreColor(), White);
        box->drawing().line(QPointF(10, 30), QPointF(100, 30));
        QCOMPARE(box->drawing().pixel(50, 30), White);
        const PixelSet red = pixelsOf(*box, Red);
        QVERIFY(!red.empty());
        QCOMPARE(boundsOf(red).top(), 20);
        QCOMPARE(boundsOf(red).bottom(), 20);
        QCOMPARE(int(pixelsNotOf(*box, Green).size() - red.size()), int(pixelsOf(*box, White).size()));
    }

    // A rectangle outlined with four lines, as the figure's pieces are, and filled from
    // inside when solid.
    void outlinedRect_data()
    {
        QTest::addColumn<bool>("solid");
        QTest::addColumn<bool>("explicitColour");
        QTest::addColumn<int>("width");
        for (int width = 1; width <= 2; ++width) {
            QTest::addRow("solid, fore colour, width %d", width) << true << false << width;
            QTest::addRow("solid, explicit colour, width %d", width) << true << true << width;
            QTest::addRow("transparent, fore colour, width %d", width) << false << false << width;
            QTest::addRow("transparent, explicit colour, width %d", width) << false << true << width;
        }
    }
    void outlinedRect()
    {
        QFETCH(bool, solid);
        QFETCH(bool, explicitColour);
        QFETCH(int, width);
        auto surface = makeBox();
        // Something already drawn inside, which only a solid fill covers.
        surface->drawing().setDrawWidth(1);
        surface->drawing().line(QPointF(40, 60), QPointF(120, 60), Yellow);
        const QImage before = snapshot(*surface);
        surface->drawing().setDrawWidth(width);
        surface->drawing().setForeColor(explicitColour ? Red : White);
        surface->drawing().setFillColor(Grey);
        const QColor edge = White;
        const QRect r(30, 40, 101, 61); // (30, 40) to (130, 100)
        const QPointF corners[] = { r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft() };
        for (int i = 0; i < 4; ++i) {
            if (explicitColour)
                surface->drawing().line(corners[i], corners[(i + 1) % 4], edge);
            else
                surface->drawing().line(corners[i], corners[(i + 1) % 4]);
        }
        if (solid)
            QVERIFY(surface->drawing().floodFill(r.center(), edge));

        // The four edges in the line colour.
        for (int x = r.left(); x <= r.right(); ++x) {
            QCOMPARE(surface->drawing().pixel(x, r.top()), edge);
            QCOMPARE(surface->drawing().pixel(x, r.bottom()), edge);
        }
        for (int y = r.top(); y <= r.bottom(); ++y) {
            QCOMPARE(surface->drawing().pixel(r.left(), y), edge);
            QCOMPARE(surface->drawing().pixel(r.right(), y), edge);
        }
        // Inside: the fill colour everywhere, or what was there before.
        const QRect inside = r.adjusted(width + 1, width + 1, -width - 1, -width - 1);
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                QVERIFY(solid || y != 60 || x < 40 || x > 120 || QColor(before.pixel(x, y)) == Yellow);
                const QColor expected = solid ? Grey : QColor(before.pixel(x, y));
                QCOMPARE(surface->drawing().pixel(x, y), expected);
            }
        }
        // Outside untouched.
        const QRect around = r.adjusted(-width - 1, -width - 1, width + 1, width + 1);
        for (const auto &[x, y] : pixelsNotOf(*surface, Green))
            QVERIFY2(around.contains(x, y), qPrintable(QStringLiteral("(%1, %2) outside the box").arg(x).arg(y)));
        if (explicitColour)
            QCOMPARE(surface->drawing().foreColor(), Red);
    }

    // A filled rectangle in one colour throughout: a thick level line, which takes the line
    // colour whatever the fill colour, or an outline filled from inside in its colour.
    void filledRect_data()
    {
        QTest::addColumn<bool>("explicitColour");
        QTest::addColumn<bool>("outlined");
        QTest::newRow("thick line, fore colour") << false << false;
        QTest::newRow("thick line, explicit colour") << true << false;
        QTest::newRow("outline filled, fore colour") << false << true;
        QTest::newRow("outline filled, explicit colour") << true << true;
    }
    void filledRect()
    {
        QFETCH(bool, explicitColour);
        QFETCH(bool, outlined);
        auto surface = makeBox();
        DrawingLayer &layer = surface->drawing();
        layer.setForeColor(explicitColour ? Red : Yellow);
        layer.setFillColor(outlined ? Yellow : Grey);
        auto line = [&](QPointF from, QPointF to) {
            if (explicitColour)
                layer.line(from, to, Yellow);
            else
                layer.line(from, to);
        };
        if (outlined) {
            const QPointF corners[] = { { 20, 30 }, { 80, 30 }, { 80, 70 }, { 20, 70 } };
            for (int i = 0; i < 4; ++i)
                line(corners[i], corners[(i + 1) % 4]);
            QVERIFY(layer.floodFill(QPointF(50, 50), Yellow));
        } else {
            // 40 thick about y = 50, reaching 20 past each end: (20, 30) to (80, 70).
            layer.setDrawWidth(40);
            line(QPointF(40, 50), QPointF(60, 50));
        }
        for (int y = 31; y < 70; ++y) {
            for (int x = 21; x < 80; ++x)
                QCOMPARE(surface->drawing().pixel(x, y), Yellow);
        }
        const QString stray = strayPixel(*surface, Green, Yellow);
        QVERIFY2(stray.isEmpty(), qPrintable(stray));
        QVERIFY(QRect(QPoint(19, 29), QPoint(81, 71)).contains(boundsOf(pixelsOf(*surface, Yellow))));
    }

    // The region bounded by a white rectangle, with strokes of other colours in it.
    void floodFillStopsAtTheBorderColour()
    {
        auto surface = makeBox();
        surface->drawing().setDrawWidth(1);
        const QRect frame(QPoint(20, 20), QPoint(100, 80));
        outline(*surface, frame, White);
        surface->drawing().line(QPointF(30, 30), QPointF(90, 70), Red);
        surface->drawing().line(QPointF(30, 70), QPointF(60, 25), QColor(254, 255, 255)); // almost white
        surface->drawing().line(QPointF(120, 30), QPointF(180, 30), Red);                 // outside
        const QImage before = snapshot(*surface);

        surface->drawing().setFillColor(Grey);
        QVERIFY(surface->drawing().floodFill(QPointF(50, 60), White));
        for (int y = 0; y < SurfaceHeight; ++y) {
            for (int x = 0; x < SurfaceWidth; ++x) {
                const QColor was(before.pixel(x, y));
                const QColor now = surface->drawing().pixel(x, y);
                if (frame.adjusted(1, 1, -1, -1).contains(x, y))
                    QVERIFY2(now == Grey, qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(now.name())));
                else
                    QVERIFY2(now == was, qPrintable(QStringLiteral("(%1, %2) changed").arg(x).arg(y)));
            }
        }
    }

    void floodFillPaintsNothing_data()
    {
        QTest::addColumn<QPointF>("seed");
        QTest::newRow("seed on the border") << QPointF(20, 50);
        QTest::newRow("seed on a border corner") << QPointF(100, 80);
        QTest::newRow("seed left of the surface") << QPointF(-1, 50);
        QTest::newRow("seed above the surface") << QPointF(50, -1);
        QTest::newRow("seed right of the surface") << QPointF(SurfaceWidth, 50);
        QTest::newRow("seed below the surface") << QPointF(50, SurfaceHeight);
        QTest::newRow("seed far away") << QPointF(-30000, 30000);
    }
    void floodFillPaintsNothing()
    {
        QFETCH(QPointF, seed);
        auto surface = makeBox();
        surface->drawing().setDrawWidth(1);
        outline(*surface, QRect(QPoint(20, 20), QPoint(100, 80)), White);
        const QImage before = snapshot(*surface);
        surface->drawing().setFillColor(Grey);
        QVERIFY(!surface->drawing().floodFill(seed, White));
        QCOMPARE(snapshot(*surface), before);
    }

    // A fill colour that the region already holds still reaches all of the region.
    void floodFillInAColourAlreadyThere()
    {
        auto surface = makeBox();
        surface->drawing().setDrawWidth(1);
        const QRect frame(QPoint(10, 10), QPoint(150, 100));
        outline(*surface, frame, White);
        solidRect(surface->drawing(), QPointF(60, 11), QPointF(70, 100), Yellow); // a wall of yellow across
        solidRect(surface->drawing(), QPointF(100, 40), QPointF(120, 60), Red);
        surface->drawing().setFillColor(Green);
        QVERIFY(surface->drawing().floodFill(QPointF(20, 50), White));
        for (int y = frame.top() + 1; y < frame.bottom(); ++y) {
            for (int x = frame.left() + 1; x < frame.right(); ++x)
                QCOMPARE(surface->drawing().pixel(x, y), Green);
        }

        // Filled again with the same colour: the whole region once more, and nothing else.
        QImage image = plainImage(QSize(30, 20), Green);
        for (int x = 0; x < 30; ++x)
            image.setPixel(x, 10, White.rgb());
        QCOMPARE(floodFillToBorder(image, QPoint(3, 3), White.rgb(), Green.rgb()), 30 * 10);
        QCOMPARE(floodFillToBorder(image, QPoint(3, 3), White.rgb(), Green.rgb()), 30 * 10);
        QCOMPARE(floodFillToBorder(image, QPoint(3, 15), White.rgb(), Green.rgb()), 30 * 9);
    }

    // Only the four neighbours count: a border that is connected only diagonally holds.
    void floodFillIsFourConnected()
    {
        QImage image = plainImage(QSize(40, 40), Green);
        for (int i = 0; i < 40; ++i)
            image.setPixel(i, i, White.rgb()); // a staircase of corners only
        const int painted = floodFillToBorder(image, QPoint(30, 5), White.rgb(), Grey.rgb());
        QCOMPARE(painted, 40 * 39 / 2);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const QRgb expected = x > y ? Grey.rgb() : x == y ? White.rgb() : Green.rgb();
                QCOMPARE(image.pixel(x, y) & RGB_MASK, expected & RGB_MASK);
            }
        }

        // A single missing side pixel does leak.
        QImage leaky = plainImage(QSize(20, 20), Green);
        for (int i = 0; i < 20; ++i)
            leaky.setPixel(10, i, White.rgb());
        leaky.setPixel(10, 7, Green.rgb());
        QCOMPARE(floodFillToBorder(leaky, QPoint(2, 2), White.rgb(), Grey.rgb()), 20 * 20 - 19);
    }

    void floodFillCountsWhatItPaints()
    {
        QImage image = plainImage(QSize(50, 30), Green);
        QCOMPARE(floodFillToBorder(image, QPoint(0, 0), White.rgb(), Red.rgb()), 50 * 30);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 50; ++x)
                QCOMPARE(image.pixel(x, y) & RGB_MASK, Red.rgb() & RGB_MASK);
        }
        QCOMPARE(floodFillToBorder(image, QPoint(50, 0), White.rgb(), Grey.rgb()), 0);
        QCOMPARE(floodFillToBorder(image, QPoint(0, -1), White.rgb(), Grey.rgb()), 0);
    }

    // Pieces are outlined with four lines of the board's width and filled from inside:
    // the corners must close whatever the width.
    void outlinedRegionHolds_data()
    {
        QTest::addColumn<int>("width");
        for (int width = 1; width <= 3; ++width)
            QTest::addRow("width %d", width) << width;
    }
    void outlinedRegionHolds()
    {
        QFETCH(int, width);
        auto surface = makeBox();
        surface->drawing().setDrawWidth(width);
        surface->drawing().setForeColor(White);
        const QRect frame(QPoint(40, 20), QPoint(80, 140));
        outline(*surface, frame, White);
        surface->drawing().setFillColor(Grey);
        QVERIFY(surface->drawing().floodFill(QPointF(45, 130), surface->drawing().foreColor()));
        QCOMPARE(surface->drawing().pixel(60, 80), Grey);
        QCOMPARE(surface->drawing().pixel(frame.left() + width + 1, frame.top() + width + 1), Grey);
        QCOMPARE(surface->drawing().pixel(frame.right() - width - 1, frame.bottom() - width - 1), Grey);
        for (const auto &[x, y] : pixelsOf(*surface, Grey))
            QVERIFY2(frame.contains(x, y), qPrintable(QStringLiteral("fill leaked to (%1, %2)").arg(x).arg(y)));
        QCOMPARE(surface->drawing().pixel(10, 10), Green);
        QCOMPARE(surface->drawing().pixel(150, 100), Green);
    }

    // A line or a text drawn over by the same one in another colour, that one drawn again,
    // then the first once more: the first shows, as the kept calls drawn afresh show it.
    void sameCallBackOverAnother_data()
    {
        QTest::addColumn<bool>("text");
        QTest::newRow("line") << false;
        QTest::newRow("text") << true;
    }
    void sameCallBackOverAnother()
    {
        QFETCH(bool, text);
        auto box = makeBox();
        DrawingLayer &layer = box->drawing();
        layer.setDrawWidth(2);
        layer.setFont(Fonts::layoutFont(14.25, true));
        for (const QColor &colour : { Yellow, Black, Black, Yellow }) {
            layer.setForeColor(colour);
            if (text) {
                layer.moveTo(QPointF(40, 70));
                layer.print(QStringLiteral("12"));
            } else {
                layer.line(QPointF(45, 82), QPointF(105, 82));
            }
        }
        QVERIFY(!pixelsOf(*box, Yellow).empty());
        QVERIFY(pixelsOf(*box, Black).empty());
        COMPARE_LAYER(layer.image(), layer.drawnAt(layer.image().devicePixelRatio()), QStringLiteral("the kept calls"));
    }

    // A fill reads the outline around it: drawn again after many calls were dropped for
    // later copies and cleared out, the outline still comes before the fill drawn afresh.
    void fillKeepsTheOutlineItRead()
    {
        auto box = makeBox();
        DrawingLayer &layer = box->drawing();
        const QRect frame(QPoint(20, 20), QPoint(100, 80));
        outline(*box, frame, White);
        layer.setFillColor(Grey);
        QVERIFY(layer.floodFill(QPointF(50, 50), White));
        for (int i = 0; i < 80; ++i)
            layer.line(QPointF(120, 30), QPointF(180, 30), Red);
        outline(*box, frame, White);
        QCOMPARE(layer.pixel(10, 10), Green);
        COMPARE_LAYER(layer.image(), layer.drawnAt(layer.image().devicePixelRatio()), QStringLiteral("the kept calls"));
    }

    // A layer on its own, without a widget, at a screen's ratios and below full size: after
    // every call its image is what its kept calls give drawn afresh, so the calls it left
    // undone or dropped changed nothing indeed, and it is what a picture box's layer shows
    // after the same calls. Drawn at another ratio and back, it comes out the same again.
    void layerWithoutAWidget_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("seed");
        QTest::addColumn<RandomDrawing::Mix>("mix");
        for (double ratio : { 1.0, 1.5, 2.0, 0.776 }) {
            QTest::addRow("figures at ratio %g", ratio) << ratio << 1 << RandomDrawing::Mix::Figures;
            QTest::addRow("axes at ratio %g", ratio) << ratio << 2 << RandomDrawing::Mix::Axes;
        }
    }
    void layerWithoutAWidget()
    {
        QFETCH(double, ratio);
        QFETCH(int, seed);
        QFETCH(RandomDrawing::Mix, mix);
        const QSize size(SurfaceWidth, SurfaceHeight);
        PictureBox box;
        box.setLogicalSize(size + 2 * QSize(PictureBox::BorderWidth, PictureBox::BorderWidth));
        box.setZoom(ratio);
        box.drawing().cls();
        const qreal shownAt = box.drawing().image().devicePixelRatio();
        DrawingLayer layer;
        QVERIFY(layer.resize(size, shownAt));
        RandomDrawing drawing { quint32(seed), mix };
        for (int i = 0; i < 250; ++i) {
            const RandomDrawing::Call call = drawing.next();
            call.apply(layer);
            call.apply(box.drawing());
            const QString what = QStringLiteral("call %1, %2").arg(i).arg(call.what);
            COMPARE_LAYER(layer.image(), layer.drawnAt(shownAt), what);
            COMPARE_LAYER(layer.image(), box.drawing().image(), what);
        }
        const QImage drawn = layer.image().copy();
        QVERIFY(layer.resize(size, 3));
        QVERIFY(!layer.resize(size, 3));
        QVERIFY(layer.resize(size, shownAt));
        COMPARE_LAYER(layer.image(), drawn, QStringLiteral("drawn again at its ratio"));
    }

    // The layer takes the screen's pixel ratio, and a fill works in device pixels.
    void layerFollowsThePixelRatio()
    {
        auto surface = makeBox();
        surface->show();
        QVERIFY(QTest::qWaitForWindowExposed(surface.get()));
        QCOMPARE(surface->drawing().image().devicePixelRatio(), surface->devicePixelRatioF());
        QCOMPARE(surface->drawing().image().deviceIndependentSize().toSize(), surface->contentSize());
        QCOMPARE(surface->drawing().image().size(), surface->contentSize() * surface->devicePixelRatioF());
    }

    // A window fitted to a screen smaller than itself shows its boxes below 100 %: text and
    // slanted lines land where the level lines and fills do, scaled, not at full size.
    void layerBelowFullSize_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::newRow("96.5 %") << 0.965;
        QTest::newRow("77.6 %") << 0.776;
        QTest::newRow("50 %") << 0.5;
    }
    void layerBelowFullSize()
    {
        QFETCH(double, zoom);
        const QColor back(255, 255, 192);
        auto inkOf = [&](double z, auto draw) {
            PictureBox box;
            box.setLogicalSize(QSize(393, 513));
            box.setZoom(z);
            box.setBackColor(back);
            box.drawing().setFont(Fonts::defaultFont());
            draw(box);
            QRect ink;
            const QImage &layer = box.drawing().image();
            for (int y = 0; y < layer.height(); ++y) {
                for (int x = 0; x < layer.width(); ++x) {
                    if (layer.pixelColor(x, y) != back)
                        ink |= QRect(x, y, 1, 1);
                }
            }
            return ink;
        };
        auto text = [](PictureBox &box) {
            box.drawing().moveTo(QPointF(300, 485));
            box.drawing().print(QStringLiteral(" 10"));
        };
        auto slanted = [](PictureBox &box) {
            box.drawing().setDrawWidth(3);
            box.drawing().line(QPointF(35, 480), QPointF(335, 30), QColor(0, 0, 255));
        };
        for (const auto &[what, draw] : { std::pair<const char *, std::function<void(PictureBox &)>> { "text", text },
                                          { "slanted line", slanted } }) {
            const QRect full = inkOf(1, draw), shown = inkOf(zoom, draw);
            QVERIFY2(!shown.isEmpty(), what);
            const QRectF expected(QPointF(full.topLeft()) * zoom, QPointF(full.bottomRight() + QPoint(1, 1)) * zoom);
            QVERIFY2(qAbs(shown.left() - expected.left()) <= 1.5 && qAbs(shown.top() - expected.top()) <= 1.5
                         && qAbs(shown.right() + 1 - expected.right()) <= 1.5 && qAbs(shown.bottom() + 1 - expected.bottom()) <= 1.5,
                     qPrintable(QStringLiteral("%1 at %2: (%3,%4 %5x%6), expected about (%7,%8 %9x%10)")
                                    .arg(QLatin1String(what)).arg(zoom).arg(shown.x()).arg(shown.y()).arg(shown.width())
                                    .arg(shown.height()).arg(expected.x()).arg(expected.y()).arg(expected.width()).arg(expected.height())));
        }
    }

    void floodFillOnADoubleDensityImage_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("RGB32") << int(QImage::Format_RGB32);
        QTest::newRow("ARGB32") << int(QImage::Format_ARGB32);
        QTest::newRow("ARGB32 premultiplied") << int(QImage::Format_ARGB32_Premultiplied);
    }
    void floodFillOnADoubleDensityImage()
    {
        QFETCH(int, format);
        // 40 x 30 logical pixels at ratio 2; a border one device pixel thin, half a logical one.
        QImage image = plainImage(QSize(80, 60), Green, 2).convertToFormat(QImage::Format(format));
        image.setDevicePixelRatio(2);
        const QRect frame(QPoint(11, 9), QPoint(51, 41));
        for (int x = frame.left(); x <= frame.right(); ++x) {
            image.setPixel(x, frame.top(), White.rgb());
            image.setPixel(x, frame.bottom(), White.rgb());
        }
        for (int y = frame.top(); y <= frame.bottom(); ++y) {
            image.setPixel(frame.left(), y, White.rgb());
            image.setPixel(frame.right(), y, White.rgb());
        }
        const int painted = floodFillToBorder(image, QPoint(30, 30), White.rgb(), Grey.rgb());
        QCOMPARE(painted, (frame.width() - 2) * (frame.height() - 2));
        QCOMPARE(image.devicePixelRatio(), 2.0);
        QCOMPARE(image.size(), QSize(80, 60));
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 80; ++x) {
                const QRgb now = image.pixel(x, y);
                QCOMPARE(qAlpha(now), 255);
                const bool inside = frame.adjusted(1, 1, -1, -1).contains(x, y);
                const bool onBorder = frame.contains(x, y) && !inside;
                const QRgb expected = inside ? Grey.rgb() : onBorder ? White.rgb() : Green.rgb();
                QCOMPARE(now & RGB_MASK, expected & RGB_MASK);
            }
        }
    }

    void clearGoesBackToTheBackColour()
    {
        auto surface = makeBox();
        surface->drawing().setDrawWidth(3);
        surface->drawing().line(QPointF(0, 0), QPointF(199, 149), White);
        solidRect(surface->drawing(), QPointF(10, 10), QPointF(50, 50), Red);
        surface->drawing().moveTo(QPointF(77, 33));
        surface->drawing().cls();
        QVERIFY(pixelsNotOf(*surface, Green).empty());
        QCOMPARE(surface->drawing().currentPosition().x(), 0.0);
        QCOMPARE(surface->drawing().currentPosition().y(), 0.0);

        surface->setBackColor(PanelBack);
        surface->drawing().line(QPointF(0, 0), QPointF(199, 149), White);
        surface->drawing().cls();
        QVERIFY(pixelsNotOf(*surface, PanelBack).empty());
    }

    // Text starts at the current position, in the fore colour only, and printing it
    // again in the back colour takes it away completely.
    void print_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QPointF>("at");
        QTest::newRow("zero") << QStringLiteral("0") << 14.25 << true << QPointF(60, 25);
        QTest::newRow("print form") << QStringLiteral(" 12 ") << 14.25 << true << QPointF(95, 70);
        QTest::newRow("ten") << QStringLiteral(" 10 ") << 14.25 << true << QPointF(145, 25);
        QTest::newRow("unit") << QStringLiteral("(cm  )") << 9.0 << false << QPointF(2, 8);
        QTest::newRow("japanese") << QStringLiteral("χ６") << 18.0 << false << QPointF(31, 97);
    }
    void print()
    {
        QFETCH(QString, text);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(QPointF, at);
        auto surface = makeBox(PanelBack);
        surface->drawing().setFont(Fonts::layoutFont(points, bold));
        const QColor ink = Palette::color(Palette::Blue);
        surface->drawing().setForeColor(ink);
        surface->drawing().moveTo(QPointF(at.x(), at.y()));
        surface->drawing().print(text);

        const QString stray = strayPixel(*surface, PanelBack, ink);
        QVERIFY2(stray.isEmpty(), qPrintable(stray));
        const PixelSet pixels = pixelsOf(*surface, ink);
        QVERIFY(!pixels.empty());
        const QFontMetrics metrics(surface->drawing().font());
        const QRect bounds = boundsOf(pixels);
        const QRect allowed(int(at.x()) - 1, int(at.y()), metrics.horizontalAdvance(text) + 3, metrics.height());
        QVERIFY2(allowed.contains(bounds), qPrintable(QStringLiteral("ink at %1,%2 %3x%4")
                 .arg(bounds.x()).arg(bounds.y()).arg(bounds.width()).arg(bounds.height())));
        QVERIFY(bounds.top() < at.y() + metrics.ascent());
        QVERIFY(bounds.left() < at.x() + metrics.height());

        // The same text elsewhere gives the same pixels.
        auto other = makeBox(PanelBack);
        other->drawing().setFont(surface->drawing().font());
        other->drawing().setForeColor(ink);
        other->drawing().moveTo(QPointF(at.x() + 13, at.y() + 7));
        other->drawing().print(text);
        QVERIFY(pixelsOf(*other, ink) == shifted(pixels, 13, 7));

        surface->drawing().setForeColor(PanelBack);
        surface->drawing().moveTo(QPointF(at.x(), at.y()));
        surface->drawing().print(text);
        QVERIFY(pixelsNotOf(*surface, PanelBack).empty());
    }

    // Light controls show above what is drawn and below child widgets, and are no part of
    // the drawing, so fills never see them.
    void lightControlsStackBetweenLayerAndChildren()
    {
        auto host = makeBox();
        const QColor blue = Palette::color(Palette::Blue);
        solidRect(host->drawing(), QPointF(0, 0), QPointF(SurfaceWidth, SurfaceHeight), blue);

        auto *line = host->add<LineControl>(White, 3);
        line->setEnds(10, 50, 150, 50);
        auto *dot = host->add<ShapeControl>(Red, QSizeF(10, 8));
        dot->setLeft(100);
        dot->setTop(100);
        auto *opaque = host->add<LabelControl>(QStringLiteral("A"), Fonts::layoutFont(12), White);
        opaque->setBackColor(Yellow);
        opaque->setLeft(120);
        opaque->setTop(10);
        opaque->setSize(QSizeF(40, 20));
        auto *transparent = host->add<LabelControl>(QStringLiteral("Ｂ"), Fonts::layoutFont(24), White);
        transparent->setLeft(20);
        transparent->setTop(90);
        auto *hidden = host->add<LineControl>(Red, 5);
        hidden->setEnds(10, 130, 190, 130);
        hidden->setVisible(false);

        auto *child = new QWidget(host.get());
        QPalette palette = child->palette();
        palette.setColor(QPalette::Window, QColor(255, 0, 255));
        child->setPalette(palette);
        child->setAutoFillBackground(true);
        child->setGeometry(QRect(QPoint(60, 40) + host->contentOffset(), QSize(20, 20)));

        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        const QImage shot = host->grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        auto at = [&](int x, int y) {
            const QPoint p = QPoint(x, y) + host->contentOffset();
            return QColor(shot.pixel(int(p.x() * ratio), int(p.y() * ratio)));
        };
        QCOMPARE(at(0, 0), blue);
        QCOMPARE(at(5, 20), blue);
        QCOMPARE(at(30, 50), White);
        QCOMPARE(at(140, 50), White);
        QCOMPARE(at(70, 50), QColor(255, 0, 255));
        QCOMPARE(at(105, 104), Red);
        QCOMPARE(at(158, 28), Yellow);
        QCOMPARE(at(50, 130), blue);

        bool labelInk = false, labelShowsLayer = false;
        const QRectF labelBox = transparent->rect();
        QVERIFY(labelBox.width() > 10 && labelBox.height() > 10);
        for (int y = int(labelBox.top()); y < int(labelBox.bottom()); ++y) {
            for (int x = int(labelBox.left()); x < int(labelBox.right()); ++x) {
                labelInk |= at(x, y) == White;
                labelShowsLayer |= at(x, y) == blue;
            }
        }
        QVERIFY(labelInk);
        QVERIFY(labelShowsLayer);

        // The drawing under the controls is unchanged.
        QCOMPARE(host->drawing().pixel(30, 50), blue);
        QCOMPARE(host->drawing().pixel(105, 104), blue);
        host->drawing().setFillColor(Grey);
        QVERIFY(host->drawing().floodFill(QPointF(5, 5), White));
        QCOMPARE(host->drawing().pixel(30, 50), Grey);
        QVERIFY(pixelsNotOf(*host, Grey).empty());

        line->setVisible(false);
        hidden->setVisible(true);
        const QImage again = host->grab().toImage();
        auto againAt = [&](int x, int y) {
            const QPoint p = QPoint(x, y) + host->contentOffset();
            return QColor(again.pixel(int(p.x() * ratio), int(p.y() * ratio)));
        };
        QCOMPARE(againAt(30, 50), Grey);
        QCOMPARE(againAt(50, 130), Red);
    }

    void paletteColours_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QColor>("color");
        QTest::newRow("0 black") << 0 << QColor(0, 0, 0);
        QTest::newRow("2 green") << 2 << QColor(0, 128, 0);
        QTest::newRow("6 dark yellow") << 6 << QColor(128, 128, 0);
        QTest::newRow("7 light grey") << 7 << QColor(192, 192, 192);
        QTest::newRow("9 blue") << 9 << QColor(0, 0, 255);
        QTest::newRow("14 yellow") << 14 << QColor(255, 255, 0);
        QTest::newRow("15 white") << 15 << QColor(255, 255, 255);
    }
    void paletteColours()
    {
        QFETCH(int, index);
        QFETCH(QColor, color);
        QCOMPARE(Palette::color(index), color);
    }

    void bgrLiterals_data()
    {
        QTest::addColumn<QString>("literal");
        QTest::addColumn<QColor>("color");
        QTest::newRow("panel background") << "&H00C0FFFF" << QColor(255, 255, 192);
        QTest::newRow("red in the low byte") << "&H000000FF" << QColor(255, 0, 0);
        QTest::newRow("blue in the high byte") << "&H00FF0000" << QColor(0, 0, 255);
        QTest::newRow("lower case") << "&h0080FF00" << QColor(0, 255, 128);
    }
    void bgrLiterals()
    {
        QFETCH(QString, literal);
        QFETCH(QColor, color);
        QCOMPARE(Palette::fromBgrLiteral(literal.toLatin1().constData()), color);
    }
};

LESSON_TEST_MAIN(TestPictureBox)
#include "tst_picture_box.moc"
