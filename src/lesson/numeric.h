#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The numeric conversions the lesson relies on, in one place.
namespace Numeric {

// Nearest 16-bit integer, halves to the even neighbour; nothing when the value is not a
// number or does not fit.
std::optional<int16_t> toInt16(double value);

// Nearest 32-bit integer, halves to the even neighbour, clamped to the 32-bit range; a
// value that is not a number gives 0.
int32_t toInt32Clamped(double value);

// A number as text: a leading blank when it is not negative, the shortest decimal form,
// no zero before the point below 1 (" .5", " 1.5", " 10", "-2.5").
QString numberText(double value);

// A number as it is printed on a panel: the text above followed by one blank (" 6 ").
QString printForm(double value);

// The number a text starts with: blanks anywhere in it are skipped, then an optional
// sign, digits with an optional point and an optional exponent (E or D). A text that
// does not start with a number gives 0; one too large to hold gives an infinity of its
// sign. Never fails, whatever the text.
double leadingNumber(const QString &text);

} // namespace Numeric
