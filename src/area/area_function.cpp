#include "area/area_function.h"

#include <algorithm>
#include <cmath>

namespace AreaFunction {

double areaAt(const Columns &columns, double x)
{
    double area = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const double overlap = std::clamp(x - ColumnWidth * double(i), 0.0, ColumnWidth);
        area += heightOf(columns[i]) * overlap;
    }
    return area;
}

QString plain(double value)
{
    return QString::number(value, 'g', 12);
}

std::vector<Domain> domains(const Columns &columns)
{
    std::vector<Domain> result;
    for (size_t i = 0; i < columns.size(); ++i) {
        const double from = ColumnWidth * double(i), to = from + ColumnWidth;
        const double slope = heightOf(columns[i]);
        if (!result.empty() && result.back().slope == slope) {
            result.back().to = to;
            continue;
        }
        result.push_back({ from, to, slope, areaAt(columns, from) - slope * from });
    }
    return result;
}

std::vector<Domain> domainsEntered(const Columns &columns, double x)
{
    std::vector<Domain> result = domains(columns);
    std::erase_if(result, [x](const Domain &d) { return !(d.from < x); });
    return result;
}

QString expressionText(double slope, double intercept)
{
    QString text = QStringLiteral("y=");
    if (slope == 0)
        return text + plain(intercept);
    if (slope == -1)
        text += QStringLiteral("−");
    else if (slope != 1)
        text += (slope < 0 ? QStringLiteral("−") : QString()) + plain(std::fabs(slope));
    text += QLatin1Char('x');
    if (intercept > 0)
        text += QLatin1Char('+') + plain(intercept);
    else if (intercept < 0)
        text += QStringLiteral("−") + plain(-intercept);
    return text;
}

QString domainText(const Domain &domain)
{
    return QStringLiteral("%1≦x≦%2 のとき %3")
        .arg(plain(domain.from), plain(domain.to), expressionText(domain.slope, domain.intercept));
}

} // namespace AreaFunction
