#pragma once

#include <QColor>

namespace Palette {

// The classic 16-colour palette, by index. Out-of-range indexes give black.
QColor color(int index);

enum Index {
    Black = 0,
    Green = 2,
    DarkYellow = 6,
    LightGrey = 7,
    Blue = 9,
    Yellow = 14,
    White = 15,
};

// Colours written as "&H00BBGGRR" literals, as the panels name their background.
QColor fromBgrLiteral(const char *literal);

} // namespace Palette
