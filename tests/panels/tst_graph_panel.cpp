#include "support/layer_checks.h"
#include "surface/fonts.h"

#include <QImage>
#include <QPointingDevice>
#include <QRandomGenerator>
#include <cmath>
#include <vector>

// The graph to the right of the blackboard: its grid, axes and labels, the broken line of
// y against x drawn and erased step by step, and its running y.

using namespace LessonTest;

namespace {

// (x cm, y cm²) on the panel: 30 px per cm across, 30 px per 4 cm² up from (35, 480).
QPointF graphPoint(double x, double y)
{
    return QPointF(35 + 30 * x, 480 - 7.5 * y);
}

struct Label
{
    int left;
    int top;
    QString text;
};

std::vector<Label> axisLabels()
{
    std::vector<Label> labels;
    for (int i = 1; i <= 10; ++i)
        labels.push_back({ 29 + 30 * i - (i >= 10 ? 3 : 0), 485, QStringLiteral(" %1").arg(i) });
    labels.push_back({ 362, 485, QStringLiteral("(cm)") });
    labels.push_back({ 25, 485, QStringLiteral("0") });
    for (int i = 1; i <= 15; ++i)
        labels.push_back({ 15 + (i < 3 ? 5 : 0), 475 - 30 * i, QStringLiteral(" %1").arg(4 * i) });
    labels.push_back({ 2, 8, QStringLiteral("(cm  )") });
    labels.push_back({ 22, 5, QStringLiteral("2") });
    return labels;
}

// The empty graph as it should look: 1 px green grid lines and axes set pixel by pixel,
// the labels printed by hand in black in the panel's font on a scratch box.
QImage expectedAxes(const PictureBox &like)
{
    PictureBox scratch;
    prepareScratch(scratch, like, PanelBack, Fonts::defaultFont(), Black);
    for (const Label &label : axisLabels())
        printAt(scratch, label.left, label.top, label.text);

    QImage image(like.drawing().image().size(), QImage::Format_RGB32);
    image.fill(PanelBack);
    auto set = [&](int x, int y) {
        if (image.rect().contains(x, y))
            image.setPixelColor(x, y, Green);
    };
    for (int i = 0; i <= 15; ++i) {
        for (int x = 35; x <= 385; ++x)
            set(x, 480 - 30 * i);
    }
    for (int i = 0; i <= 11; ++i) {
        for (int y = 5; y <= 480; ++y)
            set(35 + 30 * i, y);
    }
    for (int x = 34; x <= 384; ++x)
        set(x, 481);
    for (int y = 6; y <= 481; ++y)
        set(34, y);
    const QImage &text = scratch.drawing().image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (text.pixelColor(x, y) == Black)
                image.setPixelColor(x, y, Black);
        }
    }
    return image;
}

// The panel as it shows, at the zoom's resolution.
QImage shown(const TestForm &form)
{
    return form.gamen->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels of the prediction's colour within r of a panel point.
int inkNear(const TestForm &form, const QImage &image, QPointF point, int r)
{
    const double zoom = form.gamen->zoom();
    const QPointF centre = (point + QPointF(Border)) * zoom;
    int count = 0;
    for (int y = int(centre.y() - r * zoom); y <= int(centre.y() + r * zoom); ++y) {
        for (int x = int(centre.x() - r * zoom); x <= int(centre.x() + r * zoom); ++x)
            count += image.valid(x, y) && image.pixelColor(x, y) == Palette::predictionInk() ? 1 : 0;
    }
    return count;
}

// A click on the graph panel at a panel point, at the zoom it is shown at.
QPoint onGraph(const TestForm &form, QPointF point)
{
    return ((point + QPointF(Border)) * form.gamen->zoom()).toPoint();
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 == 0 ? 0 : std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

// A 3 px line with square ends reaches at most this far from its centre line, measured to
// the centres of the pixels it sets.
constexpr double LineReach = 2.6;

using Polyline = std::vector<QPointF>;

// Empty when every blue pixel lies on the broken line; otherwise the first stray one.
QString strayBlue(const PictureBox &panel, const Polyline &points)
{
    const QImage &layer = panel.drawing().image();
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            if (layer.pixelColor(x, y) != Blue)
                continue;
            const QPointF centre(x + 0.5, y + 0.5);
            bool near = false;
            for (size_t i = 0; i < points.size() && !near; ++i) {
                const QPointF to = i + 1 < points.size() ? points[i + 1] : points[i];
                near = distanceToSegment(centre, points[i], to) <= LineReach;
            }
            if (!near)
                return QStringLiteral("blue at %1, %2").arg(x).arg(y);
        }
    }
    return {};
}

// The segment shows in blue along its length, except where the grid, the axes or a label
// were drawn over it; there the pixel beside it, still inside the 3 px line, is checked.
QString segmentMissing(const PictureBox &panel, const QImage &axes, QPointF a, QPointF b)
{
    int checked = 0;
    for (double t : { 0.15, 0.3, 0.45, 0.6, 0.75, 0.9 }) {
        const QPointF p = a + t * (b - a);
        const int x = int(std::floor(p.x())), y = int(std::floor(p.y()));
        for (int dy : { 0, -1, 1 }) {
            if (axes.pixelColor(x, y + dy) != PanelBack)
                continue;
            ++checked;
            if (panel.drawing().pixel(x, y + dy) != Blue)
                return QStringLiteral("no blue at %1, %2 on the segment").arg(x).arg(y + dy);
            break;
        }
    }
    return checked > 0 ? QString() : QStringLiteral("nothing of the segment could be checked");
}

void addFigures()
{
    QTest::addColumn<Composition>("composition");
    QTest::newRow("empty columns") << Composition { 0, 0, 0, 0, 0 };
    QTest::newRow("2 cm pieces") << Composition { 1, 1, 1, 1, 1 };
    QTest::newRow("4 cm pieces") << Composition { 2, 2, 2, 2, 2 };
    QTest::newRow("6 cm pieces") << Composition { 3, 3, 3, 3, 3 };
    QTest::newRow("mixed") << Composition { 1, 2, 3, 0, 2 };
    QTest::newRow("falling") << Composition { 3, 0, 2, 1, 0 };
}

} // namespace

class TestGraphPanel : public QObject
{
    Q_OBJECT

private slots:
    void gridAxesAndLabelsAtTheirPlaces()
    {
        auto form = LessonTest::makeForm();
        const QImage axes = expectedAxes(*form->gamen);
        COMPARE_LAYER(form->gamen->drawing().image(), axes, "the empty graph");

        // The origin and both axes show two pixels thick in green.
        QCOMPARE(form->gamen->drawing().pixel(35, 480), Green);
        QCOMPARE(form->gamen->drawing().pixel(34, 481), Green);
        QCOMPARE(form->gamen->drawing().pixel(200, 481), Green);
        QCOMPARE(form->gamen->drawing().pixel(34, 200), Green);
        QCOMPARE(form->gamen->drawing().pixel(385, 30), Green);
        QCOMPARE(form->gamen->drawing().pixel(365, 5), Green);
        QCOMPARE(form->gamen->drawing().pixel(386, 30), PanelBack);
        QCOMPARE(form->gamen->drawing().pixel(365, 4), PanelBack);
        QCOMPARE(form->gamen->drawing().pixel(50, 470), PanelBack);

        // Each label on its own, printed by hand at its place, is there in black whole.
        for (const Label &label : axisLabels()) {
            PictureBox single;
            prepareScratch(single, *form->gamen, PanelBack, Fonts::defaultFont(), Black);
            printAt(single, label.left, label.top, label.text);
            int inked = 0;
            for (int y = 0; y < single.drawing().image().height(); ++y) {
                for (int x = 0; x < single.drawing().image().width(); ++x) {
                    if (single.drawing().pixel(x, y) != Black)
                        continue;
                    ++inked;
                    QVERIFY2(form->gamen->drawing().pixel(x, y) == Black,
                             qPrintable(QStringLiteral("label %1: no ink at %2, %3").arg(label.text).arg(x).arg(y)));
                }
            }
            QVERIFY(inked > 0);
        }

        // Drawn over, the axes change nothing; mode 0 clears what was plotted.
        form->graph.DrawGraphAxes(GraphPanel::Axes::OverDrawing);
        COMPARE_LAYER(form->gamen->drawing().image(), axes, "axes drawn over themselves");
        form->Check2->click();
        form->lesson.compose(LessonTest::Composition { 3, 1, 2, 3, 1 });
        form->Command2_Click();
        for (int i = 0; i < 9; ++i)
            form->susumu_Click();
        QVERIFY(form->gamen->drawing().image() != axes);
        form->graph.DrawGraphAxes(GraphPanel::Axes::ClearFirst);
        COMPARE_LAYER(form->gamen->drawing().image(), axes, "cleared and drawn afresh");
    }

    void segmentsForwardAndErasedBack_data() { addFigures(); }
    void segmentsForwardAndErasedBack()
    {
        QFETCH(Composition, composition);
        auto form = LessonTest::makeForm();
        const QImage axes = expectedAxes(*form->gamen);
        form->lesson.compose(composition);
        form->Command2_Click();
        form->Check2->click();
        QVERIFY(form->Check2->isChecked());
        COMPARE_LAYER(form->gamen->drawing().image(), axes, "ticking draws nothing");

        Polyline points { graphPoint(0, 0) };
        std::vector<QImage> before(21);
        before[0] = form->gamen->drawing().image().copy();
        for (int step = 1; step <= 20; ++step) {
            form->susumu_Click();
            const double x = step / 2.0;
            const double y = LessonTest::trueArea(composition, x);
            const QPointF end = graphPoint(x, y);
            QCOMPARE(form->lesson.y(), y);

            const QString missing = segmentMissing(*form->gamen, axes, points.back(), end);
            QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("x = %1: %2").arg(x).arg(missing)));
            points.push_back(end);
            const QString stray = strayBlue(*form->gamen, points);
            QVERIFY2(stray.isEmpty(), qPrintable(QStringLiteral("x = %1: %2").arg(x).arg(stray)));
            // The grid and the labels stay on top of the line.
            for (int gy = 0; gy < axes.height(); ++gy) {
                for (int gx = 0; gx < axes.width(); ++gx) {
                    const QColor c = axes.pixelColor(gx, gy);
                    if (c != PanelBack && form->gamen->drawing().pixel(gx, gy) != c)
                        QFAIL(qPrintable(QStringLiteral("x = %1: grid pixel %2, %3 covered").arg(x).arg(gx).arg(gy)));
                }
            }
            before[step] = form->gamen->drawing().image().copy();
        }

        for (int step = 20; step >= 1; --step) {
            form->modoru_Click();
            const double x = (step - 1) / 2.0;
            const double y = LessonTest::trueArea(composition, x);
            const QPointF last = graphPoint(x, y);
            QCOMPARE(form->lesson.y(), y);
            points.pop_back();
            const QString stray = strayBlue(*form->gamen, points);
            QVERIFY2(stray.isEmpty(), qPrintable(QStringLiteral("back to x = %1: %2").arg(x).arg(stray)));

            // As before the step, but for the joint where the erased 3 px line met the one
            // before it: the erasure may take a corner off that line's end.
            const QImage &now = form->gamen->drawing().image();
            const QImage &then = before[step - 1];
            for (int py = 0; py < now.height(); ++py) {
                for (int px = 0; px < now.width(); ++px) {
                    if (now.pixel(px, py) == then.pixel(px, py))
                        continue;
                    const bool nibble = then.pixelColor(px, py) == Blue && now.pixelColor(px, py) == PanelBack
                        && distanceToSegment(QPointF(px + 0.5, py + 0.5), last, last) <= LineReach;
                    if (!nibble)
                        QFAIL(qPrintable(QStringLiteral("back to x = %1: pixel %2, %3 is %4, was %5")
                                             .arg(x).arg(px).arg(py)
                                             .arg(now.pixelColor(px, py).name(), then.pixelColor(px, py).name())));
                }
            }
        }
        COMPARE_LAYER(form->gamen->drawing().image(), axes, "every segment erased, grid and labels whole");
    }

    void fiveTallPiecesReachTheTopGridLine()
    {
        auto form = LessonTest::makeForm();
        const QImage axes = expectedAxes(*form->gamen);
        form->lesson.compose(LessonTest::Composition { 3, 3, 3, 3, 3 });
        form->Command2_Click();
        form->Check2->click();
        for (int i = 0; i < 20; ++i)
            form->susumu_Click();
        QCOMPARE(form->lesson.y(), 60.0);

        // The line's end meets the top grid line at x = 10, which stays green over it.
        const QString missing = segmentMissing(*form->gamen, axes, QPointF(320, 52.5), QPointF(335, 30));
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        QCOMPARE(form->gamen->drawing().pixel(335, 30), Green);
        QCOMPARE(form->gamen->drawing().pixel(334, 31), Blue);
        // Nothing beyond the end: the line stops at x = 10 and does not pass the top.
        QCOMPARE(form->gamen->drawing().pixel(340, 25), PanelBack);
        QCOMPARE(form->gamen->drawing().pixel(330, 26), PanelBack);
        // Each half step rose by 3 cm², 22.5 px.
        form->modoru_Click();
        QCOMPARE(form->lesson.y(), 57.0);
    }

    void graphFollowsWhileHidden()
    {
        const Composition composition { 2, 3, 0, 1, 3 };
        auto form = LessonTest::makeForm();
        const QImage axes = expectedAxes(*form->gamen);
        form->lesson.compose(composition);
        form->Command2_Click();
        QVERIFY(!form->Check2->isChecked());
        for (int step = 1; step <= 9; ++step) {
            form->susumu_Click();
            const double y = LessonTest::trueArea(composition, step / 2.0);
            QCOMPARE(form->lesson.y(), y);
            COMPARE_LAYER(form->gamen->drawing().image(), axes, QStringLiteral("hidden, x = %1").arg(step / 2.0));
        }
        form->modoru_Click();
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(composition, 4));
        form->susumu_Click();

        // Shown again, the next step draws only its own segment, from where P stood.
        form->Check2->click();
        COMPARE_LAYER(form->gamen->drawing().image(), axes, "ticking draws nothing");
        form->susumu_Click();
        const QPointF from = graphPoint(4.5, LessonTest::trueArea(composition, 4.5));
        const QPointF to = graphPoint(5, LessonTest::trueArea(composition, 5));
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(composition, 5));
        const QString missing = segmentMissing(*form->gamen, axes, from, to);
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        const QString stray = strayBlue(*form->gamen, { from, to });
        QVERIFY2(stray.isEmpty(), qPrintable(stray));
    }

    // 予想: a tap or a click goes to the nearest whole x and the nearest even y within the
    // graph, a drag moves it up and down there; it is drawn over the panel, never into its
    // drawing, and below the true curve; unticking leaves the panel as it was. At 100 %,
    // 200 %, and fitted to a screen smaller than the window (zoomSteps -1), below 100 %.
    void predictionSnapsAndLeavesTheGraphAsItIs_data()
    {
        QTest::addColumn<int>("zoomSteps");
        QTest::addColumn<QPointF>("tap");
        QTest::addColumn<int>("x");
        QTest::addColumn<double>("y");
        for (int zoom : { 0, 4, -1 }) {
            const char *at = zoom < 0 ? "fitted" : zoom ? "200 %" : "100 %";
            QTest::addRow("%s, nearer 3 and 18", at) << zoom << QPointF(3.4, 17.1) << 3 << 18.0;
            QTest::addRow("%s, nearer 4 and 16", at) << zoom << QPointF(3.6, 16.9) << 4 << 16.0;
            QTest::addRow("%s, below and left of the origin", at) << zoom << QPointF(-0.4, -5) << 0 << 0.0;
            QTest::addRow("%s, above the top", at) << zoom << QPointF(10.45, 64) << 10 << 60.0;
            QTest::addRow("%s, right of x = 10", at) << zoom << QPointF(11.2, 30) << 10 << 30.0;
        }
    }
    void predictionSnapsAndLeavesTheGraphAsItIs()
    {
        QFETCH(int, zoomSteps);
        QFETCH(QPointF, tap);
        QFETCH(int, x);
        QFETCH(double, y);
        auto form = LessonTest::makeForm();
        for (int i = 0; i < zoomSteps; ++i)
            form->windowZoom.zoomIn();
        if (zoomSteps < 0)
            form->windowZoom.fitToPage();
        form->Check2->click();
        QVERIFY(zoomSteps >= 0 || form->gamen->zoom() < 1);
        form->lesson.compose(LessonTest::Composition { 3, 1, 2, 0, 3 });
        stepForward(*form, 20);
        const QImage without = shown(*form);
        const QImage layer = form->gamen->drawing().image().copy();

        form->Check7->click();
        QTest::mouseClick(form->gamen, Qt::LeftButton, {}, onGraph(*form, graphPoint(tap.x(), tap.y())));
        QCOMPARE(form->lesson.prediction()[x], std::optional<double>(y));
        int predicted = 0;
        for (const auto &point : form->lesson.prediction())
            predicted += point ? 1 : 0;
        QCOMPARE(predicted, 1);
        // Dragged up: the same x, the new height.
        const QPoint from = onGraph(*form, graphPoint(x, y)), to = onGraph(*form, graphPoint(x + 0.3, 40.8));
        QTest::mousePress(form->gamen, Qt::LeftButton, {}, from);
        QTest::mouseMove(form->gamen, to);
        QTest::mouseRelease(form->gamen, Qt::LeftButton, {}, to);
        QCOMPARE(form->lesson.prediction()[x], std::optional<double>(40));
        // A right click is the graph's menu, never a prediction.
        form->gamen->onMouseDown(2, 0, float(graphPoint(1, 50).x()), float(graphPoint(1, 50).y()));
        QCOMPARE(form->lesson.prediction()[1], std::nullopt);

        const QImage with = shown(*form);
        QCOMPARE(form->gamen->drawing().image(), layer);
        QVERIFY(inkNear(*form, with, graphPoint(x, 40), 3) > 0);
        // Below the true curve: wherever the curve shows, it still does.
        for (int py = 0; py < with.height(); ++py) {
            for (int px = 0; px < with.width(); ++px) {
                if (without.pixelColor(px, py) == Blue)
                    QVERIFY2(with.pixelColor(px, py) == Blue, qPrintable(QStringLiteral("curve covered at %1, %2").arg(px).arg(py)));
            }
        }
        form->Check7->click();
        QCOMPARE(shown(*form), without);
        form->Check7->click();
        QCOMPARE(shown(*form), with);
    }

    // As P reaches each whole x, the prediction there is marked right or wrong; at x = 10
    // the count of right points stands clear of the curve and of the 式 list. 戻す and 最初に
    // take marks back, a drop and 初期画面 take the prediction away. Random figures and
    // predictions, checked against the closed form.
    void predictionMarkedAsPPasses()
    {
        QRandomGenerator random(20261208);
        for (int round = 0; round < 12; ++round) {
            Composition columns;
            for (int &kind : columns)
                kind = random.bounded(4);
            auto form = LessonTest::makeForm();
            form->Check2->click();
            form->Check6->setChecked(round % 2 == 0);
            form->Check7->click();
            form->lesson.compose(columns);
            std::array<int, 11> kind {}; // 0 none, 1 right, 2 wrong
            int right = 0;
            for (int x = 0; x <= 10; ++x) {
                kind[x] = random.bounded(3);
                const double truth = LessonTest::trueArea(columns, x);
                if (kind[x] == 1)
                    form->lesson.predict(x, truth);
                else if (kind[x] == 2)
                    form->lesson.predict(x, truth >= 58 ? truth - 2 : truth + 2);
                right += kind[x] == 1 ? 1 : 0;
            }
            const QString figure = compositionText(columns);
            // What a step adds in the prediction's colour is exactly the mark of the point P
            // has just reached: a ring around a right point, a cross beside the true point
            // of a wrong one; nothing where no point was predicted, nothing elsewhere.
            QImage before = shown(*form);
            for (int step = 1; step <= 20; ++step) {
                form->susumu_Click();
                const QImage after = shown(*form);
                const int reached = step == 1 ? 0 : step / 2;
                const bool marks = (step == 1 || step % 2 == 0) && kind[reached] != 0;
                const QPointF truth = graphPoint(reached, LessonTest::trueArea(columns, reached));
                const QRectF mark = kind[reached] == 1 ? QRectF(truth, QSizeF()).adjusted(-11, -11, 11, 11)
                                                       : QRectF(truth + QPointF(11, 11), QSizeF()).adjusted(-7, -7, 7, 7);
                const QRectF count = step == 20 && form->prediction->count() ? form->prediction->count()->rect() : QRectF();
                const double zoom = form->gamen->zoom();
                int added = 0;
                for (int py = 0; py < after.height(); ++py) {
                    for (int px = 0; px < after.width(); ++px) {
                        if (after.pixelColor(px, py) != Palette::predictionInk() || before.pixelColor(px, py) == Palette::predictionInk())
                            continue;
                        const QPointF at = QPointF(px + 0.5, py + 0.5) / zoom - QPointF(Border);
                        if (count.contains(at))
                            continue;
                        QVERIFY2(marks && mark.contains(at),
                                 qPrintable(QStringLiteral("%1, step %2: a mark at %3, %4").arg(figure).arg(step).arg(at.x()).arg(at.y())));
                        ++added;
                    }
                }
                QVERIFY2(added > 0 || !marks, qPrintable(QStringLiteral("%1: no mark at x = %2").arg(figure).arg(reached)));
                before = after;
            }
            const QString description = form->gamen->accessibleDescription();
            if (right + std::count(kind.begin(), kind.end(), 2) == 0) {
                QVERIFY(description.isEmpty() || !description.contains(QStringLiteral("予想")));
                continue;
            }
            const LabelControl *count = form->prediction->count();
            QVERIFY(count && count->isVisible());
            QCOMPARE(count->caption(), QStringLiteral("予想が合った点 %1 / 11").arg(right));
            QVERIFY2(description.contains(count->caption()), qPrintable(description));
            const QRectF box = count->rect();
            for (int py = int(box.top()) - 2; py <= int(box.bottom()) + 2; ++py) {
                for (int px = int(box.left()) - 2; px <= int(box.right()) + 2; ++px)
                    QVERIFY2(form->gamen->drawing().pixel(px, py) != Blue, qPrintable(figure + QStringLiteral(": the count covers the curve")));
            }
            for (const QRectF &line : form->expressions.shownBoxes())
                QVERIFY2(!line.intersects(box), qPrintable(figure + QStringLiteral(": the count covers the 式 list")));

            form->modoru_Click();
            QVERIFY(!count->isVisible() && !form->lesson.isChecked(10) && form->lesson.isChecked(9));
            form->Command2_Click();
            for (int x = 0; x <= 10; ++x)
                QVERIFY(!form->lesson.isChecked(x));
            QVERIFY(form->lesson.hasPrediction());
            form->Command1_Click();
            QVERIFY(!form->lesson.hasPrediction());
            QVERIFY(form->Check7->isChecked());
        }
    }

    // A finger's tap makes a prediction as a click does.
    void predictionByTouch()
    {
        auto form = LessonTest::makeForm();
        form->Check2->click();
        form->Check7->click();
        form->move(0, 0);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const std::unique_ptr<QPointingDevice> touch(QTest::createTouchDevice());
        const QPoint at = onGraph(*form, graphPoint(1.2, 32.6));
        QTest::touchEvent(form->gamen, touch.get()).press(0, at, form->gamen);
        QTest::touchEvent(form->gamen, touch.get()).release(0, at, form->gamen);
        QCoreApplication::processEvents();
        QCOMPARE(form->lesson.prediction()[1], std::optional<double>(32));
    }

    void graphTickOnlyResizesTheWindow()
    {
        auto form = LessonTest::makeForm();
        QCOMPARE(form->outerWidth(), 9700);
        QVERIFY2(form->gamen->x() >= form->width(), "the graph lies right of the window at first");
        form->lesson.compose(LessonTest::Composition { 1, 2, 3, 2, 1 });
        form->Command2_Click();
        form->Check2->click();
        for (int i = 0; i < 7; ++i)
            form->susumu_Click();

        const QImage shown = form->gamen->drawing().image().copy();
        const double y = LessonTest::trueArea(LessonTest::Composition { 1, 2, 3, 2, 1 }, 3.5);
        form->Check2->click();
        QCOMPARE(form->outerWidth(), 9700);
        QVERIFY(form->gamen->x() >= form->width());
        COMPARE_LAYER(form->gamen->drawing().image(), shown, "unticking draws nothing");
        form->Check2->click();
        QCOMPARE(form->outerWidth(), 15700);
        QVERIFY2(form->gamen->geometry().right() < form->width(), "the graph comes into view");
        COMPARE_LAYER(form->gamen->drawing().image(), shown, "ticking draws nothing");
        QCOMPARE(form->lesson.y(), y);
    }
};

LESSON_TEST_MAIN(TestGraphPanel)
#include "tst_graph_panel.moc"
