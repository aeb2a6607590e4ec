#pragma once

#include "surface/controls.h"

#include <QWidget>
#include <memory>
#include <vector>

// A widget with a background colour that owns and draws light controls (lines, shapes,
// labels). Subclasses may draw a layer of their own below the controls.
class ControlHost : public QWidget
{
public:
    explicit ControlHost(QWidget *parent = nullptr);

    QColor backColor() const { return m_backColor; }
    virtual void setBackColor(QColor color);

    // Creates a control on this host; the host owns it. Controls are painted in the
    // order they were added, later ones on top.
    template<typename T, typename... Args>
    T *add(Args &&...args)
    {
        auto control = std::make_unique<T>(this, std::forward<Args>(args)...);
        T *raw = control.get();
        m_controls.push_back(std::move(control));
        update();
        return raw;
    }

    // Where the host's own coordinates start, inside any border.
    virtual QPoint contentOffset() const { return {}; }
    virtual QRect contentRect() const { return rect(); }

    // The one way lines are drawn, on layers and as controls: aliased, square ends, so the
    // same line gives the same pixels wherever it is drawn.
    static void drawAliasedLine(QPainter &painter, QPointF from, QPointF to, QColor color, int width);

protected:
    void paintEvent(QPaintEvent *event) override;
    virtual void paintLayer(QPainter &painter);

private:
    QColor m_backColor;
    std::vector<std::unique_ptr<LightControl>> m_controls;
};
