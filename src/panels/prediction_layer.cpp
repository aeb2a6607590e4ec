#include "panels/prediction_layer.h"

#include "panels/graph_axes.h"
#include "surface/aliased_drawing.h"
#include "surface/fonts.h"
#include "surface/palette.h"
#include "surface/picture_box.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace {

constexpr double PointRadius = 4;
constexpr double RingRadius = 9;
// The cross stands down and right of the true point, clear of a curve that rises or runs level.
const QPointF CrossOffset(11, 11);
constexpr double CrossHalf = 5;

} // namespace

PredictionLayer::PredictionLayer(ControlHost *host, PictureBox &panel, const Lesson &lesson)
    : LightControl(host)
    , panel(panel)
    , lesson(lesson)
{
}

QRectF PredictionLayer::bounds() const
{
    return QRectF(QPointF(), QSizeF(panel.contentSize()));
}

bool PredictionLayer::shown() const
{
    return lesson.isOn(Lesson::Switch::Prediction) && lesson.hasPrediction();
}

void PredictionLayer::refresh()
{
    const bool counted = shown() && lesson.atEnd();
    if (counted && !m_count) {
        QFont face = Fonts::layoutFont(12, true);
        face.setPixelSize(16);
        // Made once it is needed, so that it stands above the points and the 式 list.
        m_count = panel.add<LabelControl>(QString(), face, Palette::predictionInk());
        m_count->setBackColor(panel.backColor());
    }
    if (counted) {
        int right = 0;
        for (int x = 0; x < int(lesson.prediction().size()); ++x)
            right += lesson.isRight(x) ? 1 : 0;
        const QString text = QStringLiteral("予想が合った点 %1 / %2").arg(right).arg(lesson.prediction().size());
        const QFontMetricsF metrics(m_count->font());
        const QSizeF size(std::ceil(metrics.horizontalAdvance(text)) + 6, std::ceil(metrics.height()) + 2);
        const QRectF place = freeSpaceFor(size);
        m_count->setCaption(text);
        m_count->setLeft(place.left());
        m_count->setTop(place.top());
        m_count->setSize(size);
    }
    if (m_count)
        m_count->setVisible(counted);
    // Nothing to paint again while no prediction is shown, before or now.
    const bool now = shown();
    if (now || m_wasShown)
        changed(bounds());
    m_wasShown = now;
}

QRectF PredictionLayer::freeSpaceFor(QSizeF size) const
{
    // Right-aligned in the plotting area, from the bottom up: the first place the curve,
    // the predicted points and the 式 list leave free. One always is, as the curve rises:
    // it is either still low at the right or already high in the middle.
    const double clearance = 4;
    auto clear = [&](const QRectF &box) {
        const QRectF wide = box.adjusted(-clearance, -clearance, clearance, clearance);
        // Over the box's width the rising curve spans from its height at the left edge to
        // that at the right one; the line is 3 px wide.
        if (wide.right() >= GraphAxes::CurveLeft && wide.left() <= GraphAxes::CurveRight) {
            const double from = std::clamp(GraphAxes::fromPanel(wide.topLeft()).x(), 0.0, AreaFunction::Length);
            const double to = std::clamp(GraphAxes::fromPanel(wide.topRight()).x(), 0.0, AreaFunction::Length);
            const double top = GraphAxes::toPanel(to, AreaFunction::areaAt(lesson.columns(), to)).y() - 2;
            const double bottom = GraphAxes::toPanel(from, AreaFunction::areaAt(lesson.columns(), from)).y() + 2;
            if (wide.bottom() >= top && wide.top() <= bottom)
                return false;
        }
        for (int x = 0; x < int(lesson.prediction().size()); ++x) {
            if (const auto &y = lesson.prediction()[x]) {
                const QPointF at = GraphAxes::toPanel(x, *y);
                if (wide.adjusted(-RingRadius, -RingRadius, RingRadius, RingRadius).contains(at))
                    return false;
            }
        }
        for (const QRectF &other : m_clearOf) {
            if (wide.intersects(other))
                return false;
        }
        return true;
    };
    const double right = GraphAxes::PaperRight - 3, bottom = GraphAxes::OriginY - 4, top = GraphAxes::PaperTop + 3;
    for (double y = bottom - size.height(); y >= top; y -= 4) {
        const QRectF box(QPointF(right - size.width(), y), size);
        if (clear(box))
            return box;
    }
    return QRectF(QPointF(right - size.width(), top), size);
}

void PredictionLayer::drawOn(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const Lesson::Prediction &prediction = lesson.prediction();
    const QColor ink = Palette::predictionInk();
    QPen dashed(ink, 2, Qt::DashLine, Qt::FlatCap);
    painter.setPen(dashed);
    std::optional<QPointF> last;
    for (int x = 0; x < int(prediction.size()); ++x) {
        if (!prediction[x])
            continue;
        const QPointF at = GraphAxes::toPanel(x, *prediction[x]);
        if (last)
            painter.drawLine(*last, at);
        last = at;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    for (int x = 0; x < int(prediction.size()); ++x) {
        if (prediction[x])
            painter.drawEllipse(GraphAxes::toPanel(x, *prediction[x]), PointRadius, PointRadius);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 2));
    for (int x = 0; x < int(prediction.size()); ++x) {
        if (!prediction[x] || !lesson.isChecked(x))
            continue;
        if (lesson.isRight(x)) {
            painter.drawEllipse(GraphAxes::toPanel(x, *prediction[x]), RingRadius, RingRadius);
        } else {
            const QPointF c = GraphAxes::toPanel(x, AreaFunction::areaAt(lesson.columns(), x)) + CrossOffset;
            painter.drawLine(c + QPointF(-CrossHalf, -CrossHalf), c + QPointF(CrossHalf, CrossHalf));
            painter.drawLine(c + QPointF(-CrossHalf, CrossHalf), c + QPointF(CrossHalf, -CrossHalf));
        }
    }
}

void PredictionLayer::paint(QPainter &painter) const
{
    if (!shown())
        return;
    // At the resolution painted at, which a picture saved at twice the size raises.
    const QImage layer = panel.drawing().layerAt(painter.deviceTransform().m11());
    if (layer.isNull())
        return;
    // Drawn on an image of the panel's drawing's own resolution, then taken away wherever
    // the true curve is, so that the curve stays on top.
    const QString state = description() + QString::number(lesson.distance());
    if (m_drawn.size() != layer.size() || m_drawnOver != layer.cacheKey() || m_drawnFor != state) {
        m_drawn = QImage(layer.size(), QImage::Format_ARGB32_Premultiplied);
        m_drawn.setDevicePixelRatio(layer.devicePixelRatio());
        m_drawn.fill(Qt::transparent);
        QPainter on;
        beginOnLayer(on, m_drawn);
        drawOn(on);
        on.end();
        const QRgb curve = Palette::panelInk().rgb();
        for (int y = 0; y < layer.height(); ++y) {
            const QRgb *below = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
            QRgb *over = reinterpret_cast<QRgb *>(m_drawn.scanLine(y));
            for (int x = 0; x < layer.width(); ++x) {
                if (qAlpha(over[x]) != 0 && (below[x] | 0xff000000) == curve)
                    over[x] = 0;
            }
        }
        m_drawnOver = layer.cacheKey();
        m_drawnFor = state;
    }
    // Where the panel's drawing stands, as the panel itself places it.
    const QPointF corner = painter.transform().map(QPointF());
    painter.save();
    painter.resetTransform();
    painter.drawImage(QRectF(QPointF(std::round(corner.x()), std::round(corner.y())), layer.deviceIndependentSize() * panel.zoom()),
                      m_drawn);
    painter.restore();
}

QString PredictionLayer::description() const
{
    if (!shown())
        return {};
    QStringList points, right;
    for (int x = 0; x < int(lesson.prediction().size()); ++x) {
        if (const auto &y = lesson.prediction()[x]) {
            points << QStringLiteral("χ = %1 cm, y = %2 cm²").arg(x).arg(*y);
            if (lesson.isChecked(x) && lesson.isRight(x))
                right << QStringLiteral("χ = %1").arg(x);
        }
    }
    QString text = QStringLiteral("予想: ") + points.join(QStringLiteral("; "));
    if (!lesson.atStart())
        text += QStringLiteral(". 合った点: ") + (right.isEmpty() ? QStringLiteral("なし") : right.join(QStringLiteral(", ")));
    if (m_count && m_count->isVisible())
        text += QStringLiteral(". ") + m_count->caption();
    return text;
}
