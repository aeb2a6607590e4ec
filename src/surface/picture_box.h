#pragma once

#include "surface/control_host.h"

#include <QFont>
#include <QImage>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// A drawing surface. What is drawn is kept in an image (so it survives being covered)
// and painted below the box's light controls. All calls take the program's logical
// pixels; the image has the screen's pixel ratio times the zoom, so drawings stay sharp
// on high-DPI screens and when the window is shown larger. Everything is aliased, so
// colours are exact and a flood fill can rely on them.
//
// The drawing calls made since the last clear are kept, so that a change of resolution
// draws them again rather than stretching the image.
class PictureBox : public ControlHost
{
public:
    enum class FillStyle { Solid, Transparent };

    explicit PictureBox(QWidget *parent = nullptr);

    // A thin sunken border, as an ordinary picture box has; coordinates start inside it.
    static constexpr int BorderWidth = 2;
    QPoint contentOffset() const override { return { BorderWidth, BorderWidth }; }
    QRect contentRect() const override;
    QSize contentSize() const { return contentRect().size(); }

    // A new back colour clears the box, as it does an ordinary picture box.
    void setBackColor(QColor color) override;

    QColor foreColor = Qt::black;
    QColor fillColor = Qt::black;
    FillStyle fillStyle = FillStyle::Transparent;
    int drawWidth = 1;
    double currentX = 0;
    double currentY = 0;
    QFont font;

    // Clears to the back colour and moves the current position to 0, 0.
    void cls();
    // A line in the given colour, or the fore colour, at the current width.
    void line(QPointF from, QPointF to, std::optional<QColor> color = {});
    // A line to the point delta away from the first.
    void lineStep(QPointF from, QPointF delta, std::optional<QColor> color = {});
    // A rectangle outline, filled inside with the fill colour when the fill style is solid.
    void box(QPointF from, QPointF to, std::optional<QColor> color = {});
    // A rectangle filled wholly with the line colour.
    void filledBox(QPointF from, QPointF to, std::optional<QColor> color = {});
    // Prints the text with its top left at the current position, in the fore colour; the
    // current position then moves to the start of the next line.
    void print(const QString &text);
    // Fills with the fill colour from the seed up to pixels of exactly the border colour.
    // Returns false when nothing could be filled.
    bool floodFill(QPointF seed, QColor border);

    // The colour at a logical pixel; invalid outside the surface.
    QColor pixel(int x, int y) const;
    const QImage &layer() const { return m_layer; }

    // Mouse handlers in the box's coordinates, with the button (1 left, 2 right,
    // 4 middle) and the shift state (1 Shift, 2 Ctrl, 4 Alt) coded as small integers.
    using MouseHandler = std::function<void(int16_t button, int16_t shift, float x, float y)>;
    MouseHandler onMouseDown, onMouseMove, onMouseUp;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintLayer(QPainter &painter) override;
    void zoomChanged() override;

private:
    struct DrawCall
    {
        enum class Kind { Line, Rect, Text, Fill } kind;
        QPointF a, b;
        QColor color, border;
        int width = 0;
        QString text;
        QFont font;
        bool operator==(const DrawCall &other) const;
    };

    void draw(DrawCall call);
    QRectF execute(QImage &layer, const DrawCall &call) const;
    static void fillLayer(QImage &layer, QRectF logical, QColor color);
    void ensureLayer();
    // The kept calls drawn afresh on a layer of the given pixel ratio.
    QImage drawnAt(qreal ratio) const;
    void dispatchMouse(const MouseHandler &handler, QMouseEvent *event, Qt::MouseButtons buttons);

    QImage m_layer;
    std::vector<DrawCall> m_calls;
    // Calls from here on come after the last fill, which read the pixels before it.
    size_t m_sinceFill = 0;
};
