#include "lesson/figure_address.h"

namespace FigureAddress {

namespace {

const QLatin1StringView Key("figure=");

} // namespace

std::optional<AreaFunction::Columns> parse(QStringView fragment)
{
    if (fragment.startsWith(QLatin1Char('#')))
        fragment = fragment.mid(1);
    if (fragment.size() != Key.size() + 5 || !fragment.startsWith(Key))
        return std::nullopt;
    AreaFunction::Columns columns {};
    for (int i = 0; i < 5; ++i) {
        const char16_t digit = fragment[Key.size() + i].unicode();
        if (digit < u'0' || digit > u'3')
            return std::nullopt;
        columns[i] = digit - u'0';
    }
    return columns;
}

QString fragment(const AreaFunction::Columns &columns)
{
    QString digits;
    bool empty = true;
    for (double kind : columns) {
        digits += QChar(u'0' + int(kind));
        empty = empty && kind == 0;
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
