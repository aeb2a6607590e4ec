#include "app/keypad.h"

#include "surface/command_button.h"
#include "surface/fonts.h"
#include "surface/placement.h"

namespace {

const QString Backspace = QStringLiteral("⌫");
const QString Enter = QStringLiteral("確定");

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
            auto *key = new CommandButton(caption, back, this);
            key->setObjectName(QStringLiteral("key ") + caption);
            key->setAccessibleName(caption == Backspace ? QStringLiteral("1文字消す") : caption);
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
