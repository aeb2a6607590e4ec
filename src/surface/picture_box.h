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
//
// Only what a drawing really changed is painted again on the screen: the box keeps a copy of
// the layer as the screen shows it, and before the next paint compares the parts the calls
// touched with it, asking for the pixels that differ and no others. A call that would draw
// exactly what an earlier one left there, untouched since, is not drawn again at all.
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
    // The drawing at a pixel ratio: the layer itself at its own, drawn again at another
    // (a picture saved larger than the screen shows it).
    QImage layerAt(qreal ratio) const;
    // The kept calls drawn afresh on a layer of the given pixel ratio: at the layer's own,
    // what the layer must hold, whatever calls were left undone as changing nothing.
    QImage drawnAt(qreal ratio) const;

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
    struct DrawCall
    {
        enum class Kind { Line, Rect, Text, Fill } kind;
        QPointF a, b;
        QColor color, border;
        int width = 0;
        QString text;
        QFont font;
        // What it may have painted, in logical pixels, once drawn; not part of its identity.
        QRectF bounds;
        // Dropped for a later copy of it, not yet cleared out.
        bool dead = false;
        // Left undone: every pixel it paints had its colour already, so nothing drawn
        // earlier was covered by it.
        bool changedNothing = false;
        // The colour its pixels take.
        QRgb ink = 0;
        bool operator==(const DrawCall &other) const;
    };

    // Returns whether the call is kept (a fill that paints nothing is not).
    bool draw(DrawCall call);
    struct Lookup
    {
        // The last kept copy of a call, where one matters.
        std::optional<size_t> copy;
        // True when the call would paint again just what that copy painted, nothing having
        // been drawn over it since.
        bool redundant = false;
    };
    Lookup lookUp(const DrawCall &call) const;
    // The rectangle a box or a level line fills, pixel for pixel; none for other calls.
    static std::optional<QRectF> filledRect(const DrawCall &call);
    // What a line or box paints, known before it is drawn.
    static QRectF reach(const DrawCall &call);
    QRectF execute(QImage &layer, const DrawCall &call) const;
    static QRect filledPixels(const QImage &layer, QRectF logical);
    static void fillLayer(QImage &layer, QRectF logical, QColor color);
    bool alreadyPainted(const DrawCall &call) const;
    void ensureLayer();
    // Notes device pixels of the layer that may have changed since the screen was last told.
    void touch(QRect device);
    // Asks the screen for the pixels that differ from what it shows, and notes them as shown.
    void flushDamage();
    QRect toDevice(QRectF logical) const;
    void dispatchMouse(const MouseHandler &handler, QMouseEvent *event, Qt::MouseButtons buttons);

    QImage m_layer;
    // The layer as the screen shows it, or will once the paints asked for are done.
    QImage m_shown;
    // Parts of the layer (device pixels) touched since then, and drawn on since the last clear.
    std::vector<QRect> m_touched;
    QRect m_drawn;
    QColor m_clearedTo;
    bool m_damagePosted = false;
    std::vector<DrawCall> m_calls;
    size_t m_dead = 0;
    struct PrintFace
    {
        QFont font;
        QFont face;
        double lineHeight;
    };
    std::optional<PrintFace> m_printFace;
    // Calls from here on come after the last fill, which read the pixels before it.
    size_t m_sinceFill = 0;
};
