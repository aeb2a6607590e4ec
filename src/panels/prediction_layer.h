#pragma once

#include "lesson/lesson.h"
#include "surface/controls.h"

#include <QImage>
#include <QRectF>
#include <QString>

class PictureBox;

// 予想 on the graph: the class's predicted points joined by a dashed line, in a colour of
// their own, above the graph paper and below the true curve; once P has reached a point's
// x, a ring when it was right, a cross beside the true point when it was not; at x = 10,
// how many were right. Drawn over the panel's drawing, never into it, so unticking 予想
// leaves the graph exactly as it is without.
class PredictionLayer : public LightControl
{
public:
    // Made with the panel's add(), before the 式 list, which stays on top of it.
    PredictionLayer(ControlHost *host, PictureBox &panel, const Lesson &lesson);

    // Brings the points, the marks and the count up to the lesson.
    void refresh();
    // The labels of the 式 list, which the count keeps clear of.
    void keepClearOf(std::vector<QRectF> boxes) { m_clearOf = std::move(boxes); }

    // What a screen reader is told: the predicted points, which were right, the count.
    QString description() const;
    // The count's line, shown at x = 10: "予想が合った点 k / 11"; none before it is first needed.
    const LabelControl *count() const { return m_count; }

    void paint(QPainter &painter) const override;
    // Anywhere on the panel: the points may stand wherever the class put them.
    QRectF bounds() const override;

private:
    bool shown() const;
    void drawOn(QPainter &painter) const;
    QRectF freeSpaceFor(QSizeF size) const;

    PictureBox &panel;
    const Lesson &lesson;
    LabelControl *m_count = nullptr;
    std::vector<QRectF> m_clearOf;
    // What was drawn last, kept while neither the panel's drawing nor the prediction changed.
    mutable QImage m_drawn;
    mutable qint64 m_drawnOver = 0;
    mutable QString m_drawnFor;
    bool m_wasShown = false;
};
