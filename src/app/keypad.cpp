#include "app/keypad.h"

#include "surface/command_button.h"
#include "surface/fonts.h"
#include "surface/placement.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Its caption is drawn, not written: see BackspaceKey.
const QString Backspace = QStringLiteral("\u232B");
const QString Enter = QStringLiteral("確定");

// The key that takes back a character shows ⌫, which neither of the lesson's faces holds:
// drawn as that sign, a tag pointing left with a cross in it, as tall as the digits.
class BackspaceKey : public CommandButton
{
public:
    using CommandButton::CommandButton;

protected:
    void paintCaption(QPainter &painter, const QRect &rect, const QColor &ink) const override
    {
        const QFontMetricsF metrics(font());
        // The faces give no cap height of their own: a digit's is what the other keys show.
        const qreal height = metrics.tightBoundingRect(QStringLiteral("0")).height();
        const qreal width = height * 1.6;
        const QRectF sign(QPointF(rect.center()) + QPointF(0.5 - width / 2, 0.5 - height / 2), QSizeF(width, height));
        const qreal point = height / 2;
        QPainterPath tag;
        tag.moveTo(sign.left(), sign.center().y());
        tag.lineTo(sign.left() + point, sign.top());
        tag.lineTo(sign.topRight());
        tag.lineTo(sign.bottomRight());
        tag.lineTo(sign.left() + point, sign.bottom());
        tag.closeSubpath();
        const QPointF middle((sign.left() + point + sign.right()) / 2, sign.center().y());
        const qreal arm = height * 0.2;

        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ink, std::max(1.0, height / 8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tag);
        painter.drawLine(middle + QPointF(-arm, -arm), middle + QPointF(arm, arm));
        painter.drawLine(middle + QPointF(-arm, arm), middle + QPointF(arm, -arm));
        painter.restore();
    }
};

} // namespace

Keypad::Keypad(QWidget *parent, Placement &placement, QRect place)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("keypad"));
    placement.place(this, place);
    // Laid out as a calculator's: the digits in a block, the signs of an expression beside
    // them, 確定 along the bottom where a thumb rests.
    const QStringList rows[4] = {
        { QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("x"), Backspace },
        { QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("+"), QStringLiteral("−") },
        { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("="), QStringLiteral(".") },
        { QStringLiteral("0"), Enter },
    };
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < rows[row].size(); ++column) {
            const QString caption = rows[row][column];
            const bool wide = caption == Enter;
            const QColor back = wide ? QColor(255, 255, 0) : caption == Backspace ? QColor(255, 192, 128) : QColor(240, 240, 240);
            auto *key = caption == Backspace ? new BackspaceKey(caption, back, this) : new CommandButton(caption, back, this);
            key->setObjectName(QStringLiteral("key ") + caption);
            key->setAccessibleName(caption);
            if (caption == Backspace)
                key->setAccessibleDescription(QStringLiteral("1文字消す"));
            key->setFocusPolicy(Qt::NoFocus);
            // Held down, a key types again, as a keyboard's does.
            key->setAutoRepeat(!wide);
            QFont face = Fonts::layoutFont(16, true);
            placement.setFont(key, face);
            const int width = wide ? (Columns - column) * (KeyWidth + Gap) - Gap : KeyWidth;
            placement.place(key, QRect(column * (KeyWidth + Gap), row * (KeyHeight + Gap), width, KeyHeight));
            connect(key, &QAbstractButton::clicked, this, [this, caption] {
                if (caption == Backspace)
                    emit backspace();
                else if (caption == Enter)
                    emit enter();
                else
                    emit typed(caption);
            });
        }
    }
}
