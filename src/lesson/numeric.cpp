#include "lesson/numeric.h"

#include <QByteArray>
#include <cmath>
#include <limits>
#include <string>

namespace Numeric {

std::optional<int16_t> toInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<int16_t>::min() || rounded > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return int16_t(rounded);
}

int32_t toInt32Clamped(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (rounded >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return int32_t(rounded);
}

QString numberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral(" NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral(" Inf") : QStringLiteral("-Inf");
    if (value == 0)
        return QStringLiteral(" 0");
    QString digits;
    const double twice = std::fabs(value) * 2;
    if (twice < 1e14 && twice == std::floor(twice)) {
        // Whole numbers and halves (every distance P stands at) the short way: 15 digits
        // of a fraction go through exact big-number arithmetic, a fifth of a millisecond
        // in a browser at every step.
        const qint64 halves = qint64(twice);
        if (halves >= 2)
            digits = QString::number(halves / 2);
        if (halves % 2)
            digits += QLatin1String(".5");
    } else {
        digits = QString::number(std::fabs(value), 'g', 15);
        digits.replace(QLatin1Char('e'), QLatin1Char('E'));
        if (digits.startsWith(QLatin1String("0.")))
            digits.remove(0, 1);
    }
    return (value < 0 ? QLatin1Char('-') : QLatin1Char(' ')) + digits;
}

QString printForm(double value)
{
    return numberText(value) + QLatin1Char(' ');
}

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double leadingNumber(const QString &text)
{
    std::string number;
    bool negative = false;
    bool seenDigit = false, seenPoint = false;
    long long significantBeforePoint = 0; // digits left of the point, leading zeros dropped
    int i = 0;
    const int n = int(text.size());
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };

    skipBlanks();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isBlank(c))
            continue;
        if (isDigit(c)) {
            seenDigit = true;
            if (!seenPoint && (c != QLatin1Char('0') || significantBeforePoint > 0))
                ++significantBeforePoint;
            number += char(c.unicode());
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            number += '.';
        } else {
            break;
        }
    }
    if (!seenDigit)
        return 0;

    long long exponent = 0;
    skipBlanks();
    if (i < n && (text[i].toUpper() == QLatin1Char('E') || text[i].toUpper() == QLatin1Char('D'))) {
        int j = i + 1;
        while (j < n && isBlank(text[j]))
            ++j;
        bool expNegative = false;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-'))) {
            expNegative = text[j] == QLatin1Char('-');
            ++j;
        }
        bool expDigit = false;
        for (; j < n; ++j) {
            if (isBlank(text[j]))
                continue;
            if (!isDigit(text[j]))
                break;
            expDigit = true;
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (text[j].unicode() - '0');
        }
        if (expDigit) {
            if (expNegative)
                exponent = -exponent;
            number += 'e';
            number += std::to_string(exponent);
        }
    }

    // Qt's conversion rounds correctly and ignores the locale; the text is a well-formed
    // number by now, so a failure means it is out of range.
    bool ok = false;
    double value = QByteArray::fromStdString(number).toDouble(&ok);
    if (!ok) {
        // Too large or too small to hold: which one follows from the decimal magnitude.
        value = significantBeforePoint + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace Numeric
