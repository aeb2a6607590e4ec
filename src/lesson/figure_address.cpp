#include "lesson/figure_address.h"

namespace FigureAddress {

namespace {

const QLatin1StringView Key("figure=");
const QLatin1StringView Practice("&practice");

// The fragment without its '#' and without "&practice", and whether it had that.
std::pair<QStringView, bool> figurePart(QStringView fragment)
{
    if (fragment.startsWith(QLatin1Char('#')))
        fragment = fragment.mid(1);
    const bool practice = fragment.endsWith(Practice);
    return { practice ? fragment.chopped(Practice.size()) : fragment, practice };
}

} // namespace

bool forPractice(QStringView fragment)
{
    return parse(fragment) && figurePart(fragment).second;
}

std::optional<AreaFunction::Columns> parse(QStringView fragment)
{
    fragment = figurePart(fragment).first;
    AreaFunction::Columns columns {};
    if (fragment.size() != Key.size() + qsizetype(columns.size()) || !fragment.startsWith(Key))
        return std::nullopt;
    const char16_t highest = u'0' + int(PieceKinds.back());
    for (size_t i = 0; i < columns.size(); ++i) {
        const char16_t digit = fragment[Key.size() + qsizetype(i)].unicode();
        if (digit < u'0' || digit > highest)
            return std::nullopt;
        columns[i] = PieceKind(digit - u'0');
    }
    return columns;
}

QString fragment(const AreaFunction::Columns &columns, bool practice)
{
    QString digits;
    bool empty = true;
    for (PieceKind kind : columns) {
        digits += QChar(u'0' + int(kind));
        empty = empty && kind == PieceKind::Empty;
    }
    if (practice)
        return Key + digits + Practice;
    return empty ? QString() : Key + digits;
}

QString withFigure(const QString &address, const AreaFunction::Columns &columns, bool practice)
{
    const qsizetype hash = address.indexOf(QLatin1Char('#'));
    const QString base = hash < 0 ? address : address.left(hash);
    const QString figure = fragment(columns, practice);
    return figure.isEmpty() ? base : base + QLatin1Char('#') + figure;
}

} // namespace FigureAddress
