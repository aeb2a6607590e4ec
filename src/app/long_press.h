#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWidget;

// A finger held still on a widget opens what a right click opens. Touch reaches the
// widgets as mouse events made from it; a press of those held for Delay without moving
// further than a drag would start counts. The mouse's own presses do not.
class LongPress : public QObject
{
public:
    static constexpr int Delay = 600;

    // Watches the presses that reach the widget, its children's included when they pass
    // them on. The handler gets the point pressed, in the widget's coordinates.
    LongPress(QWidget *widget, std::function<void(QPoint)> handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_widget;
    std::function<void(QPoint)> m_handler;
    QTimer m_timer;
    QPoint m_pressedAt; // global
};
