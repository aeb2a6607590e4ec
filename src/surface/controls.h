#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QStaticText>
#include <QString>

class ControlHost;
class QPainter;

// Light controls that live on a ControlHost: they have no window of their own, are drawn
// above what is drawn on the host and below its child widgets, and take no mouse input.
class LightControl
{
public:
    explicit LightControl(ControlHost *host);
    virtual ~LightControl() = default;
    LightControl(const LightControl &) = delete;
    LightControl &operator=(const LightControl &) = delete;

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

    // What the window calls it ("Label4(6)"), so that tools and tests find it on its host.
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

    virtual void paint(QPainter &painter) const = 0;
    // Every pixel paint() may touch, in the host's content coordinates.
    virtual QRectF bounds() const = 0;
    // Whether its pixels may come out differently when only part of it is painted: the
    // painter rasterizes slanted edges from where the clip starts.
    virtual bool dependsOnClip() const { return false; }

protected:
    // After a change: the host paints again where the control stood and where it stands.
    void changed(const QRectF &before);
    // Sets a field of its place or looks, painting again only if the value is new.
    template<typename T>
    void reshape(T &field, const T &value)
    {
        if (field == value)
            return;
        const QRectF before = bounds();
        field = value;
        changed(before);
    }

private:
    ControlHost *m_host;
    bool m_visible = true;
    QString m_name;
};

class LineControl : public LightControl
{
public:
    LineControl(ControlHost *host, QColor color, int width);

    double x1() const { return m_x1; }
    double y1() const { return m_y1; }
    double x2() const { return m_x2; }
    double y2() const { return m_y2; }
    // Sets the ends in the order x1, y1, x2, y2.
    void setEnds(double x1, double y1, double x2, double y2);

    QColor color() const { return m_color; }
    int width() const { return m_width; }

    void paint(QPainter &painter) const override;
    QRectF bounds() const override;
    bool dependsOnClip() const override;

private:
    double m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    QColor m_color;
    int m_width;
};

// A circle inscribed in its box, border and solid fill in one colour.
class ShapeControl : public LightControl
{
public:
    ShapeControl(ControlHost *host, QColor color, QSizeF size);

    double left() const { return m_left; }
    double top() const { return m_top; }
    void setLeft(double v);
    void setTop(double v);
    QSizeF size() const { return m_size; }
    QColor color() const { return m_color; }

    void paint(QPainter &painter) const override;
    QRectF bounds() const override;
    bool dependsOnClip() const override { return true; }

private:
    double m_left = 0, m_top = 0;
    QSizeF m_size;
    QColor m_color;
};

class LabelControl : public LightControl
{
public:
    LabelControl(ControlHost *host, const QString &caption, const QFont &font, QColor foreColor);

    QString caption() const { return m_caption; }
    QFont font() const { return m_font; }
    QColor foreColor() const { return m_foreColor; }
    void setCaption(const QString &caption);
    void setFont(const QFont &font);

    // Opaque labels paint their box in the back colour; transparent ones only their text.
    void setBackColor(QColor color);
    QColor backColor() const { return m_backColor; }
    bool isTransparent() const { return !m_backColor.isValid(); }

    double left() const { return m_left; }
    double top() const { return m_top; }
    void setLeft(double v);
    void setTop(double v);
    // A label without a size of its own takes the size of its text.
    void setSize(QSizeF size);
    QRectF rect() const;

    void paint(QPainter &painter) const override;
    QRectF bounds() const override;

private:
    QString m_caption;
    QFont m_font;
    QColor m_foreColor;
    QColor m_backColor;
    double m_left = 0, m_top = 0;
    QSizeF m_size;
    // Laid out once; the board paints its labels on every step.
    mutable QStaticText m_text;
    mutable bool m_textReady = false;
    // The text's size, measured once for its caption and font.
    mutable QSizeF m_textSize;
};
