#pragma once

#include <QProxyStyle>

// The widget style with the sizes it draws by itself (check box indicators, frames,
// arrows) enlarged by the window's zoom, so those parts grow with the rest.
class ZoomStyle : public QProxyStyle
{
public:
    explicit ZoomStyle(QObject *parent);

    void setZoom(double zoom) { m_zoom = zoom; }
    double zoom() const { return m_zoom; }

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;

private:
    double m_zoom = 1;
};
