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

// The table's and the graph's panel, and what erases on them: a value is erased by writing
// it again in this colour.
QColor panelBack();
// The table's numbers and the graph's curve.
QColor panelInk();
// The answer revealed under 式, dark red as a teacher writes it on the board: apart from
// the blue curve and the black numbers of the axes.
QColor answerInk();
// The class's prediction, orange: apart from the blue curve, the green paper, the black
// scales and the dark red expressions.
QColor predictionInk();

} // namespace Palette
