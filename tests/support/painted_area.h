#pragma once

#include <QEvent>
#include <QObject>
#include <QPaintEvent>

// Adds up the area of every widget's paint events: how much of the window a change has
// painted again. Installed on the application.
class PaintedArea : public QObject
{
public:
    qint64 pixels = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                pixels += qint64(r.width()) * r.height();
        }
        return QObject::eventFilter(watched, event);
    }
};
