#include "surface/palette.h"

#include <array>
#include <cstdlib>

namespace Palette {

QColor color(int index)
{
    static constexpr std::array<QRgb, 16> colors = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),     qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0),   qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),     qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0),   qRgb(255, 255, 255),
    };
    if (index < 0 || index >= int(colors.size()))
        return QColor(colors[0]);
    return QColor(colors[index]);
}

QColor fromBgrLiteral(const char *literal)
{
    // "&H00C0FFFF": blue in the high byte, red in the low one.
    const char *digits = literal;
    if (digits[0] == '&' && (digits[1] == 'H' || digits[1] == 'h'))
        digits += 2;
    const unsigned long value = std::strtoul(digits, nullptr, 16);
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

QColor panelBack()
{
    return fromBgrLiteral("&H00C0FFFF");
}

QColor panelInk()
{
    return color(Blue);
}

QColor answerInk()
{
    return QColor(192, 0, 0);
}

QColor predictionInk()
{
    return QColor(255, 128, 0);
}

} // namespace Palette
