#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <optional>
#include <vector>

// What a picture box draws, kept in an image so that it survives being covered. All calls
// take the program's logical pixels; the image has a pixel ratio of its own (a picture
// box gives it the screen's times its zoom), so drawings stay sharp on high-DPI screens
// and when shown larger. Everything is aliased, so colours are exact and a flood fill can
// rely on them.
//
// The drawing calls made since the last clear are kept, so that a change of resolution
// draws them again rather than stretching the image. A call that would draw exactly what
// an earlier one left there, untouched since, is not drawn again at all.
class DrawingLayer
{
public:
    // Whoever shows the layer: told which device pixels each call may have changed, and
    // asked to size the layer to where it is shown before a clear starts it afresh, and
    // before the first call.
    class Viewer
    {
    public:
        virtual void fitLayer() = 0;
        virtual void layerTouched(QRect device) = 0;

    protected:
        ~Viewer() = default;
    };

    DrawingLayer();
    void setViewer(Viewer *viewer) { m_viewer = viewer; }

    // Sizes the layer in logical pixels at a pixel ratio, drawing the kept calls again;
    // false when it already had both.
    bool resize(QSize size, qreal ratio);

    QColor backColor() const { return m_backColor; }
    // A new back colour clears the layer, as it does an ordinary picture box.
    void setBackColor(QColor color);

    QColor foreColor() const { return m_foreColor; }
    void setForeColor(QColor color) { m_foreColor = color; }
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(QColor color) { m_fillColor = color; }
    int drawWidth() const { return m_drawWidth; }
    void setDrawWidth(int width) { m_drawWidth = width; }
    const QFont &font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }
    // Where print() writes next.
    QPointF currentPosition() const { return m_position; }
    void moveTo(QPointF point) { m_position = point; }

    // Clears to the back colour and moves the current position to 0, 0.
    void cls();
    // A line in the given colour, or the fore colour, at the current width.
    void line(QPointF from, QPointF to, std::optional<QColor> color = {});
    // A line to the point delta away from the first.
    void lineStep(QPointF from, QPointF delta, std::optional<QColor> color = {}) { line(from, from + delta, color); }
    // Prints the text with its top left at the current position, in the fore colour; the
    // current position then moves to the start of the next line.
    void print(const QString &text);
    // Fills with the fill colour from the seed up to pixels of exactly the border colour.
    // Returns false when nothing could be filled.
    bool floodFill(QPointF seed, QColor border);

    // The colour at a logical pixel; invalid outside the layer.
    QColor pixel(int x, int y) const;
    const QImage &image() const { return m_image; }
    // The drawing at a pixel ratio: the image itself at its own, drawn again at another
    // (a picture saved larger than the screen shows it).
    QImage layerAt(qreal ratio) const;
    // The kept calls drawn afresh at the given pixel ratio: at the image's own, what the
    // image must hold, whatever calls were left undone as changing nothing.
    QImage drawnAt(qreal ratio) const;

private:
    struct DrawCall
    {
        enum class Kind { Line, Text, Fill } kind;
        QPointF a, b;
        QColor color, border;
        int width = 0;
        QString text;
        QFont font;
        // What it may have painted, in logical pixels, once drawn; not part of its identity.
        QRectF bounds;
        // Dropped for a later copy of it, not yet cleared out.
        bool dead = false;
        // Covers nothing drawn earlier: left undone, as every pixel it paints had its colour
        // already, and standing for no dropped copy that covered something.
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
    // The rectangle a level line fills, pixel for pixel; none for other calls.
    static std::optional<QRectF> filledRect(const DrawCall &call);
    // What a line paints, known before it is drawn.
    static QRectF reach(const DrawCall &call);
    static QRectF execute(QImage &image, const DrawCall &call);
    bool alreadyPainted(const DrawCall &call) const;
    // Sized as the viewer shows it, or at least to a pixel.
    void fit();
    void touch(QRect device);
    QRect toDevice(QRectF logical) const;

    Viewer *m_viewer = nullptr;
    QSize m_size;
    QImage m_image;
    QColor m_backColor = Qt::white;
    QColor m_foreColor = Qt::black;
    QColor m_fillColor = Qt::black;
    int m_drawWidth = 1;
    QFont m_font;
    QPointF m_position;
    // Drawn on since the last clear (device pixels), and the colour of that clear.
    QRect m_drawn;
    QColor m_clearedTo;
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
