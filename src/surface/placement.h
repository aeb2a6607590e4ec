#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <optional>
#include <vector>

// Remembers where each widget of a window stands in logical pixels and the font it was
// given, so that the whole window can be laid out again at another zoom.
class Placement
{
public:
    explicit Placement(QWidget *root) : m_root(root) {}

    // Places the widget at a logical rectangle in its parent's coordinates.
    void place(QWidget *widget, QRect logical);
    // Gives the widget a font at its logical size.
    void setFont(QWidget *widget, const QFont &font);

    // Lays every widget out again enlarged by the zoom; the root's own children also stand
    // off by the origin (widget pixels), so the layout can be centred in a larger window.
    void apply(double zoom, QPoint origin);

    double zoom() const { return m_zoom; }
    static QRect scaled(QRect logical, double zoom);

private:
    struct Entry
    {
        QPointer<QWidget> widget;
        std::optional<QRect> rect;
        std::optional<QFont> font;
    };
    Entry &entry(QWidget *widget);
    void applyTo(Entry &entry);

    QWidget *m_root;
    std::vector<Entry> m_entries;
    double m_zoom = 1;
    QPoint m_origin;
};
