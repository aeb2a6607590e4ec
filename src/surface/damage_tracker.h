#pragma once

#include <QImage>
#include <QRect>
#include <vector>

// Which pixels of a drawing layer the screen must be given again. It keeps a copy of the
// layer as the screen shows it and the parts the layer's calls touched since, and on
// request compares the two there, so that only the pixels a drawing really changed are
// painted again: a call that drew what was already there asks for nothing.
class DamageTracker
{
public:
    // The layer is shown afresh as a whole: the screen's copy is the layer as it is now.
    void showAfresh(const QImage &layer);
    // Notes device pixels of the layer that may have changed since the screen was last told.
    void touch(QRect device);
    // The pixels of the touched parts where the layer differs from the screen's copy, as a
    // few rectangles of device pixels; the copy then takes them, as the screen will once it
    // paints them.
    std::vector<QRect> takeDamage(const QImage &layer);
    // The layer as the screen shows it, or will once the rectangles handed out are painted.
    const QImage &shown() const { return m_shown; }

private:
    QImage m_shown;
    std::vector<QRect> m_touched;
};
