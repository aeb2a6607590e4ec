#pragma once

#include "surface/control_host.h"
#include "surface/damage_tracker.h"
#include "surface/drawing_layer.h"

#include <cstdint>
#include <functional>

// A drawing surface. What is drawn goes on its drawing layer, which is painted below the
// box's light controls at the screen's pixel ratio times the zoom.
//
// Only what a drawing really changed is painted again on the screen: the damage tracker
// keeps a copy of the layer as the screen shows it, and before the next paint compares the
// parts the calls touched with it, asking for the pixels that differ and no others.
class PictureBox : public ControlHost, private DrawingLayer::Viewer
{
public:
    explicit PictureBox(QWidget *parent = nullptr);

    // A thin sunken border, as an ordinary picture box has; coordinates start inside it.
    static constexpr int BorderWidth = 2;
    QPoint contentOffset() const override { return { BorderWidth, BorderWidth }; }
    QRect contentRect() const override;
    QSize contentSize() const { return contentRect().size(); }

    // A new back colour clears the box, as it does an ordinary picture box.
    void setBackColor(QColor color) override;

    DrawingLayer &drawing() { return m_drawing; }
    const DrawingLayer &drawing() const { return m_drawing; }

    // Mouse handlers in the box's coordinates, with the button (1 left, 2 right,
    // 4 middle) and the shift state (1 Shift, 2 Ctrl, 4 Alt) coded as small integers.
    using MouseHandler = std::function<void(int16_t button, int16_t shift, float x, float y)>;
    MouseHandler onMouseDown, onMouseMove, onMouseUp;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintLayer(QPainter &painter) override;
    void zoomChanged() override;

private:
    // Sizes the layer to the content at the screen's pixel ratio times the zoom.
    void fitLayer() override;
    void layerTouched(QRect device) override;
    // Asks the screen for the pixels that differ from what it shows.
    void flushDamage();
    void dispatchMouse(const MouseHandler &handler, QMouseEvent *event, Qt::MouseButtons buttons);

    DrawingLayer m_drawing;
    DamageTracker m_damage;
    bool m_damagePosted = false;
};
