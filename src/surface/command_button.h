#pragma once

#include <QImage>
#include <QPushButton>

class QPainter;

// A push button drawn flat in its own background colour with a raised edge, whatever the
// widget style; a disabled button shows its caption greyed.
class CommandButton : public QPushButton
{
public:
    CommandButton(const QString &caption, QColor backColor, QWidget *parent = nullptr);

    QColor backColor() const { return m_backColor; }

protected:
    bool event(QEvent *event) override;
    // Draws the caption in one ink inside the face; a key whose sign no font holds draws
    // it itself.
    virtual void paintCaption(QPainter &painter, const QRect &rect, const QColor &ink) const;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void paintFace(QPainter &painter) const;

    QColor m_backColor;
    // What a face shows, besides being up or down.
    struct Look
    {
        QSize size;
        qreal ratio = 0;
        QString text;
        QFont font;
        bool enabled = false;
        bool focused = false;
        bool operator==(const Look &) const = default;
    };
    Look look() const;
    // The last faces painted, up and down: a click paints the button at its press and again
    // at its release, and laying out the caption is most of a paint.
    struct Face
    {
        Look look;
        QImage image;
    };
    Face m_faces[2];
};
