#include "surface/zoom_style.h"

#include <QStyleFactory>
#include <cmath>

ZoomStyle::ZoomStyle(QObject *parent)
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
    setParent(parent);
}

int ZoomStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_CheckBoxLabelSpacing:
    case PM_DefaultFrameWidth:
    case PM_ComboBoxFrameWidth:
    case PM_ScrollBarExtent:
        return int(std::lround(base * m_zoom));
    default:
        return base;
    }
}
