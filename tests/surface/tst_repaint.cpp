#include "support/layer_checks.h"
#include "support/lesson_test.h"
#include "support/painted_area.h"
#include "support/random_drawing.h"
#include "surface/controls.h"
#include "surface/damage_tracker.h"
#include "surface/palette.h"
#include "surface/picture_box.h"
#include "surface/placement.h"

#include <QScreen>
#include <functional>
#include <vector>

using namespace LessonTest;

namespace {

// The box's place in its window, in logical pixels: off the window's corner, border included.
const QRect BoxPlace(3, 5, 164, 124);

struct Step
{
    const char *what;
    std::function<void()> act;
    // The most logical pixels (at 100 %) it may paint again; -1 for no limit.
    int mostPainted;
    // Then the layer, drawn call by call, must equal its kept calls drawn afresh.
    bool redrawn = false;
};

// Paints the damage the tracker hands out from the layer onto the screen; an error when a
// rectangle reaches out of the layer or asks for no pixel that changed.
QString paintDamage(DamageTracker &damage, const QImage &layer, QImage &screen)
{
    for (const QRect &r : damage.takeDamage(layer)) {
        if (!layer.rect().contains(r))
            return QStringLiteral("(%1,%2 %3x%4) outside the layer").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        bool changed = false;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                changed = changed || screen.pixel(x, y) != layer.pixel(x, y);
                screen.setPixel(x, y, layer.pixel(x, y));
            }
        }
        if (!changed)
            return QStringLiteral("(%1,%2 %3x%4) changed nothing").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    return {};
}

// A layer shown as a picture box shows it: the tracker is told of every touch and of the
// layer shown afresh, and `screen` holds what the screen shows.
struct Shown : DrawingLayer::Viewer
{
    DrawingLayer layer;
    DamageTracker damage;
    QImage screen;
    qreal ratio = 1;

    Shown() { layer.setViewer(this); }
    void fitLayer() override
    {
        if (layer.resize(QSize(200, 150), ratio)) {
            damage.showAfresh(layer.image());
            screen = layer.image().copy();
        }
    }
    void layerTouched(QRect device) override { damage.touch(device); }
};

} // namespace

class TestRepaint : public QObject
{
    Q_OBJECT

private slots:
    // What the damage tracker asks to paint again, painted, leaves the screen showing the
    // layer after any run of calls, however many went by between paints; and it asks for
    // no rectangle in which nothing changed.
    void damageMakesTheScreenTheLayer_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("seed");
        QTest::addColumn<RandomDrawing::Mix>("mix");
        for (double ratio : { 1.0, 1.5, 2.0 }) {
            QTest::addRow("figures at ratio %g", ratio) << ratio << 3 << RandomDrawing::Mix::Figures;
            QTest::addRow("axes at ratio %g", ratio) << ratio << 4 << RandomDrawing::Mix::Axes;
        }
    }
    void damageMakesTheScreenTheLayer()
    {
        QFETCH(double, ratio);
        QFETCH(int, seed);
        QFETCH(RandomDrawing::Mix, mix);
        Shown shown;
        shown.ratio = ratio;
        RandomDrawing drawing { quint32(seed), mix };
        QRandomGenerator paints { quint32(seed) };
        for (int i = 0; i < 300; ++i) {
            const RandomDrawing::Call call = drawing.next();
            call.apply(shown.layer);
            if (paints.bounded(4) != 0 && i != 299)
                continue;
            const QString what = QStringLiteral("call %1, %2").arg(i).arg(call.what);
            const QString error = paintDamage(shown.damage, shown.layer.image(), shown.screen);
            QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(what, error)));
            COMPARE_LAYER(shown.screen, shown.layer.image(), what);
            QVERIFY2(shown.damage.shown() == shown.layer.image(), qPrintable(what));
        }
    }

    // The box repaints only what a change touched: what the screen then shows must be, pixel
    // for pixel, what painting the whole window afresh gives, after every drawing call and
    // every move of a light control, however the window is zoomed or uncovered; and a small
    // change repaints a small part.
    // Level lines far enough apart that no two are worth joining, each touched on its own,
    // more of them than the tracker keeps apart: its damage still brings the screen up to
    // the layer.
    void damageOfManyTouches()
    {
        QImage layer(200, 1000, QImage::Format_RGB32);
        layer.fill(Green);
        DamageTracker damage;
        damage.showAfresh(layer);
        QImage screen = layer.copy();
        for (int i = 0; i < 80; ++i) {
            const QRect row(0, 3 + 12 * i, 200, 1);
            for (int x = row.left(); x <= row.right(); ++x)
                layer.setPixel(x, row.top(), (i % 2 ? White : Yellow).rgb());
            damage.touch(row);
        }
        const QString error = paintDamage(damage, layer, screen);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        COMPARE_LAYER(screen, layer, QStringLiteral("after 80 lines"));
        QVERIFY(damage.shown() == layer);
    }

    void screenEqualsAFullRepaint_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }
    void screenEqualsAFullRepaint()
    {
        QFETCH(double, zoom);
        QWidget window;
        auto *box = new PictureBox(&window);
        auto *cover = new QWidget(&window);
        cover->setAutoFillBackground(true);
        cover->hide();
        auto zoomTo = [&](double z) {
            box->setLogicalSize(BoxPlace.size());
            box->setZoom(z);
            box->setGeometry(Placement::scaled(BoxPlace, z));
            cover->setGeometry(Placement::scaled(QRect(40, 30, 50, 40), z));
            window.setFixedSize(Placement::scaled(QRect(0, 0, 172, 134), z).size());
        };
        zoomTo(zoom);
        box->setBackColor(Green);
        box->drawing().setForeColor(White);
        auto *marker = box->add<LineControl>(Red, 5);
        marker->setEnds(20, 100, 60, 100);
        auto *slanted = box->add<LineControl>(Yellow, 2);
        slanted->setEnds(10, 10, 50, 35);
        auto *dot = box->add<ShapeControl>(Red, QSizeF(10, 8));
        dot->setLeft(56);
        dot->setTop(96);
        auto *letter = box->add<LabelControl>(QStringLiteral("Ｐ"), Fonts::layoutFont(24), White);
        letter->setLeft(42);
        letter->setTop(104);
        auto *opaque = box->add<LabelControl>(QStringLiteral("χcm"), Fonts::layoutFont(18), Red);
        opaque->setBackColor(Yellow);
        opaque->setLeft(100);
        opaque->setTop(8);
        opaque->setSize(QSizeF(40, 20));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QColor grey = Palette::color(Palette::LightGrey), black = Palette::color(Palette::Black);
        // An outline of four lines, as the figure's pieces are drawn.
        auto outline = [&](QPointF from, QPointF to, QColor color) {
            const QPointF corners[] = { from, QPointF(to.x(), from.y()), to, QPointF(from.x(), to.y()) };
            for (int i = 0; i < 4; ++i)
                box->drawing().line(corners[i], corners[(i + 1) % 4], color);
        };
        auto figure = [&](int left) {
            box->drawing().cls();
            box->drawing().setDrawWidth(1);
            for (int y = 40; y <= 100; y += 20)
                box->drawing().line(QPointF(10, y), QPointF(150, y), black);
            box->drawing().setDrawWidth(2);
            box->drawing().line(QPointF(90, 30), QPointF(90, 100), Yellow);
            outline(QPointF(left, 50), QPointF(left + 30, 100), Yellow);
            box->drawing().setFillColor(White);
            box->drawing().floodFill(QPointF(left + 3, 90), Yellow);
            box->drawing().setFillColor(grey);
            box->drawing().floodFill(QPointF(left + 27, 90), Yellow);
        };
        auto axisLabel = [&] {
            box->drawing().setFont(Fonts::layoutFont(9));
            box->drawing().moveTo(QPointF(120, 104));
            box->drawing().print(QStringLiteral("(cm)"));
        };
        const std::vector<Step> steps = {
            { "a figure", [&] { figure(100); }, -1 },
            { "its label", axisLabel, 40 * 20 },
            { "the same label again", axisLabel, 0 },
            { "the figure a step on", [&] { figure(90); }, 60 * 80, true },
            { "the figure again where it stands", [&] { figure(90); }, 0 },
            { "a slanted line in the graph's blue", [&] { box->drawing().line(QPointF(20, 110), QPointF(70, 60), Blue); }, -1 },
            { "the grid again over them", [&] { box->drawing().setDrawWidth(1); box->drawing().line(QPointF(10, 80), QPointF(150, 80), black); },
              60 * 5, true },
            { "the label crossed out", [&] { axisLabel(); box->drawing().line(QPointF(115, 112), QPointF(160, 112), Blue); }, -1 },
            { "and written again", axisLabel, 40 * 20, true },
            { "an outline", [&] { outline(QPointF(20, 106), QPointF(50, 120), Yellow); }, 34 * 18 },
            { "filled on its own", [&] { box->drawing().setFillColor(grey); box->drawing().floodFill(QPointF(30, 112), Yellow); }, 34 * 18 },
            { "a solid box", [&] { solidRect(box->drawing(), QPointF(130, 60), QPointF(150, 75), Red); }, 22 * 17 },
            { "the marker grows", [&] { marker->setEnds(20, 100, 70, 100); }, 2 * 55 * 8 },
            { "P moves", [&] { letter->setLeft(32); dot->setLeft(46); }, 2 * (40 * 40 + 14 * 12) },
            { "a slanted control moves", [&] { slanted->setEnds(15, 12, 55, 40); }, -1 },
            { "the opaque label gets a caption", [&] { opaque->setCaption(QStringLiteral("χ")); }, 2 * 44 * 24 },
            { "the marker hides", [&] { marker->setVisible(false); }, 2 * 55 * 8 },
            { "the window covered", [&] { cover->show(); }, -1 },
            { "and uncovered", [&] { cover->hide(); }, -1 },
            { "zoomed by a quarter", [&] { zoomTo(zoom * 1.25); }, -1 },
            { "drawn on at the new zoom", [&] { figure(80); axisLabel(); }, -1 },
            { "the marker shows again", [&] { marker->setVisible(true); }, -1 },
            { "a new back colour", [&] { box->setBackColor(PanelBack); figure(70); }, -1 },
        };

        PaintedArea painted;
        qApp->installEventFilter(&painted);
        for (const Step &step : steps) {
            QCoreApplication::processEvents();
            painted.pixels = 0;
            step.act();
            // The repaints it asked for, and the one more a control painted in part asks for.
            for (int i = 0; i < 8; ++i)
                QCoreApplication::processEvents();
            const qint64 repainted = painted.pixels;
            const QImage shown = window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
            const QImage full = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY2(shown == full, step.what);
            const double scale = box->zoom() * box->zoom();
            QVERIFY2(step.mostPainted < 0 || repainted <= step.mostPainted * scale,
                     qPrintable(QStringLiteral("%1: %2 pixels painted again").arg(QLatin1String(step.what)).arg(repainted)));
            if (step.redrawn) {
                const QImage drawn = box->drawing().image().copy();
                const double now = box->zoom();
                zoomTo(now * 2);
                zoomTo(now);
                QVERIFY2(box->drawing().image() == drawn, step.what);
            }
        }
        qApp->removeEventFilter(&painted);
    }
};

LESSON_TEST_MAIN(TestRepaint)
#include "tst_repaint.moc"
