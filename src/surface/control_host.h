#pragma once

#include "surface/controls.h"

#include <QWidget>
#include <memory>
#include <vector>

// A widget with a background colour that owns and draws light controls (lines, shapes,
// labels). Subclasses may draw a layer of their own below the controls.
//
// Everything on a host is laid out in the program's logical pixels; the host is shown
// enlarged by its zoom factor (1 at 100 %), and its logical origin may stand off its
// widget's corner (a window centred on a larger screen).
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

    // The control of that name and type on this host; none when there is none.
    template<typename T>
    T *control(const QString &name) const
    {
        for (const auto &control : m_controls) {
            if (control->name() == name)
                return dynamic_cast<T *>(control.get());
        }
        return nullptr;
    }

    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    QPoint origin() const { return m_origin; }
    void setOrigin(QPoint origin);

    // The host's size in logical pixels, as it was laid out.
    // Without a logical size of its own, a host is as large as its widget shows it.
    QSize logicalSize() const;
    void setLogicalSize(QSize size);

    // Where the host's own coordinates start, inside any border (logical pixels).
    virtual QPoint contentOffset() const { return {}; }
    virtual QRect contentRect() const { return QRect(QPoint(), logicalSize()); }

    // A point of the widget in the host's content coordinates.
    QPointF toContent(QPointF widgetPoint) const;
    // The widget's pixels that show a rectangle of the content.
    QRect widgetRect(const QRectF &content) const;
    // Paints again the widget's pixels that show a rectangle of the content.
    void updateContent(const QRectF &content);
    // Paints again part of the widget, with the whole of any control there whose pixels
    // would come out differently were it painted in part.
    void updateArea(QRegion area);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Painted in logical pixels, below the light controls.
    virtual void paintLayer(QPainter &painter);
    virtual void zoomChanged() {}

private:
    QColor m_backColor;
    double m_zoom = 1;
    QPoint m_origin;
    QSize m_logicalSize;
    std::vector<std::unique_ptr<LightControl>> m_controls;
    // What the last paint asked to paint again for controls it painted only in part.
    QRegion m_askedWhole;
};
