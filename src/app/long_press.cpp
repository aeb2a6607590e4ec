#include "app/long_press.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

LongPress::LongPress(QWidget *widget, std::function<void(QPoint)> handler)
    : QObject(widget)
    , m_widget(widget)
    , m_handler(std::move(handler))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(Delay);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_widget)
            m_handler(m_widget->mapFromGlobal(m_pressedAt));
    });
    widget->installEventFilter(this);
}

bool LongPress::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->source() != Qt::MouseEventNotSynthesized) {
            m_pressedAt = mouse->globalPosition().toPoint();
            m_timer.start();
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if ((mouse->globalPosition().toPoint() - m_pressedAt).manhattanLength() > QApplication::startDragDistance())
            m_timer.stop();
        break;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Hide:
        m_timer.stop();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
