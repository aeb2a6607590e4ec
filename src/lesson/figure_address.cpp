#include "lesson/figure_address.h"

namespace FigureAddress {

namespace {

const QLatin1StringView Key("figure=");

} // namespace

std::optional<AreaFunction::Columns> parse(QStringView fragment)
{
    if (fragment.startsWith(QLatin1Char('#')))
        fragment = fragment.mid(1);
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

QString fragment(const AreaFunction::Columns &columns)
{
    QString digits;
    bool empty = true;
    for (PieceKind kind : columns) {
        digits += QChar(u'0' + int(kind));
        empty = empty && kind == PieceKind::Empty;
    }
    return empty ? QString() : Key + digits;
}

QString withFigure(const QString &address, const AreaFunction::Columns &columns)
{
    const qsizetype hash = address.indexOf(QLatin1Char('#'));
    const QString base = hash < 0 ? address : address.left(hash);
    const QString figure = fragment(columns);
    return figure.isEmpty() ? base : base + QLatin1Char('#') + figure;
}

} // namespace FigureAddress
