#include "practice/answer_check.h"

#include <cmath>

namespace AnswerCheck {

namespace {

bool isMinusLike(char16_t c)
{
    // The non-breaking hyphen, which no face of the page holds, is only read, never shown.
    switch (c) {
    case u'−': case u'ー': case u'ｰ': case u'‐': case u'\u2011': case u'–': case u'—': case u'―': case u'－':
        return true;
    }
    return false;
}

// Full width to ASCII, every minus the keyboard's, capitals x and y small, no blanks.
QString normalised(const QString &typed)
{
    QString text;
    for (QChar c : typed.normalized(QString::NormalizationForm_KC)) {
        if (c.isSpace())
            continue;
        if (isMinusLike(c.unicode()))
            c = QLatin1Char('-');
        else if (c == QLatin1Char('X') || c == QLatin1Char('Y'))
            c = c.toLower();
        text += c;
    }
    return text;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Digits with at most one point, a digit after it ("3", "3.5", ".5"; not "3."), from at on.
std::optional<double> number(QStringView text, qsizetype &at)
{
    const qsizetype start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    if (at < text.size() && text[at] == QLatin1Char('.')) {
        const qsizetype point = ++at;
        while (at < text.size() && isDigit(text[at]))
            ++at;
        if (at == point)
            return std::nullopt;
    }
    if (at == start)
        return std::nullopt;
    bool ok = false;
    const double value = text.mid(start, at - start).toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

std::optional<Reading> read(const QString &typed)
{
    const QString text = normalised(typed);
    QStringView rest(text);
    Reading reading;
    if (rest.startsWith(u"y=")) {
        reading.named = Reading::Named::Y;
        rest = rest.mid(2);
    } else if (rest.startsWith(u"x=")) {
        reading.named = Reading::Named::X;
        rest = rest.mid(2);
    }
    if (rest.isEmpty())
        return std::nullopt;

    bool hasConstant = false;
    for (qsizetype at = 0; at < rest.size();) {
        // One sign per term; only the first may go without.
        double sign = 1;
        if (rest[at] == QLatin1Char('+') || rest[at] == QLatin1Char('-'))
            sign = rest[at++] == QLatin1Char('-') ? -1 : 1;
        else if (at > 0)
            return std::nullopt;
        const qsizetype start = at;
        const std::optional<double> value = number(rest, at);
        if (!value && at != start)
            return std::nullopt; // a point without digits, or too large a number
        const bool isX = at < rest.size() && rest[at] == QLatin1Char('x');
        if (isX)
            ++at;
        if ((!value && !isX) || (isX ? reading.hasX : hasConstant))
            return std::nullopt;
        (isX ? reading.slope : reading.intercept) = sign * value.value_or(1);
        (isX ? reading.hasX : hasConstant) = true;
    }
    // "x=" gives x's value, never an expression.
    if (reading.named == Reading::Named::X && reading.hasX)
        return std::nullopt;
    return reading;
}

Verdict check(const PracticeQuestion &question, const QString &typed)
{
    const std::optional<Reading> reading = read(typed);
    if (!reading)
        return Verdict::Unreadable;
    const auto equal = [](double a, double b) { return std::fabs(a - b) <= 1e-9; };
    using Kind = PracticeQuestion::Kind;
    using Named = Reading::Named;
    bool right = false;
    switch (question.kind) {
    case Kind::TableY:
    case Kind::YAt:
        right = !reading->hasX && reading->named != Named::X && equal(reading->intercept, question.y);
        break;
    case Kind::XAt:
        right = !reading->hasX && reading->named != Named::Y && equal(reading->intercept, question.x);
        break;
    case Kind::Expression:
        // A level domain's "28" is its expression too: its slope is 0.
        right = reading->named != Named::X && equal(reading->slope, question.domain.slope)
            && equal(reading->intercept, question.domain.intercept);
        break;
    }
    return right ? Verdict::Right : Verdict::Wrong;
}

QString unreadableMessage()
{
    return QStringLiteral("数か x の式で答えましょう");
}

} // namespace AnswerCheck
