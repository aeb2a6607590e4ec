#pragma once

#include <QImage>
#include <QRect>
#include <array>
#include <optional>
#include <vector>

namespace LessonTest {

// A QR code's modules, row by row, true for dark.
using QrModules = std::vector<std::vector<bool>>;

// Error-correction levels, weakest first.
enum class QrLevel { L, M, Q, H };

struct QrFormat {
    QrLevel level;
    int mask;
};

// What a 15-bit format word says, as ISO/IEC 18004 defines it and without the library that
// made the code: 5 data bits (2 of level, 3 of mask) and 10 of BCH(15,5) (generator
// x^10 + x^8 + x^5 + x^4 + x^2 + x + 1), all XORed with 0x5412. Anything but one of the 32
// valid words gives nothing: a code drawn whole has no errors to correct.
inline std::optional<QrFormat> qrFormat(int word)
{
    for (int data = 0; data < 32; ++data) {
        int remainder = data << 10;
        for (int bit = 14; bit >= 10; --bit) {
            if (remainder & (1 << bit))
                remainder ^= 0x537 << (bit - 10);
        }
        if (word == (((data << 10) | remainder) ^ 0x5412)) {
            // The level's two bits: L 01, M 00, Q 11, H 10.
            static constexpr QrLevel Levels[] = { QrLevel::M, QrLevel::L, QrLevel::H, QrLevel::Q };
            return QrFormat { Levels[data >> 3], data & 7 };
        }
    }
    return std::nullopt;
}

// The two copies of the format word, most significant bit first: along row 8 and up column 8
// beside the top-left finder, skipping the timing patterns; then up column 8 from the bottom
// beside the bottom-left finder, and along row 8 beside the top-right one.
inline std::array<int, 2> qrFormatWords(const QrModules &modules)
{
    const int n = int(modules.size());
    auto dark = [&](int x, int y) { return int(modules[y][x]); };
    std::array<int, 2> words {};
    for (int x : { 0, 1, 2, 3, 4, 5, 7, 8 })
        words[0] = words[0] << 1 | dark(x, 8);
    for (int y : { 7, 5, 4, 3, 2, 1, 0 })
        words[0] = words[0] << 1 | dark(8, y);
    for (int y = n - 1; y >= n - 7; --y)
        words[1] = words[1] << 1 | dark(8, y);
    for (int x = n - 8; x < n; ++x)
        words[1] = words[1] << 1 | dark(x, 8);
    return words;
}

// The format of a code whose two copies agree on a valid word; nothing otherwise.
inline std::optional<QrFormat> qrFormatOf(const QrModules &modules)
{
    if (modules.size() < 21)
        return std::nullopt;
    const auto words = qrFormatWords(modules);
    return words[0] == words[1] ? qrFormat(words[0]) : std::nullopt;
}

// The modules of the code drawn in the area of a picture (the code with its light quiet
// zone), read as a camera would: the top-left finder's top row, seven modules wide, gives a
// module's size, the top-right finder's right edge the code's. Empty if no code is found.
inline QrModules qrModulesInPicture(const QImage &picture, QRect area)
{
    area &= picture.rect();
    auto dark = [&](int x, int y) { return qGray(picture.pixel(x, y)) < 128; };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int left = -1, right = -1;
        for (int x = area.left(); x <= area.right(); ++x) {
            if (dark(x, y)) {
                left = left < 0 ? x : left;
                right = x;
            }
        }
        if (left < 0)
            continue;
        int run = 0;
        while (left + run <= right && dark(left + run, y))
            ++run;
        const int module = run / 7, width = right - left + 1;
        if (run % 7 || width % module || width / module < 21 || width / module % 4 != 1)
            return {};
        const int n = width / module;
        QrModules modules(n, std::vector<bool>(n));
        for (int row = 0; row < n; ++row) {
            for (int column = 0; column < n; ++column)
                modules[row][column] = dark(left + column * module + module / 2, y + row * module + module / 2);
        }
        return modules;
    }
    return {};
}

} // namespace LessonTest
