#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

class ControlHost;
class Placement;
class QWidget;
class ZoomStyle;

// Shows the whole window larger for a projector: Ctrl+Plus and Ctrl+Minus step through
// the zoom steps, Ctrl+0 goes back to 100 %, F11 fills the screen at the largest scale
// that fits (Escape leaves). The lesson itself always works in logical pixels.
//
// It lays out what it is given: the window (a host of light controls, which it zooms and
// centres), the placement of the window's controls and the style of their own parts, for
// the window's outer size in the layout's twips.
class WindowZoom : public QObject
{
    Q_OBJECT

public:
    WindowZoom(ControlHost &window, Placement &placement, ZoomStyle &style, QObject *parent = nullptr);

    static constexpr std::array<int, 7> Steps = { 100, 125, 150, 175, 200, 250, 300 };

    void installShortcuts();

    void zoomIn();
    void zoomOut();
    void resetZoom();
    void toggleFullScreen();
    void leaveFullScreen();
    // In a web page the window is the whole page, at the largest scale that fits it, for
    // good: the page's zoom and full screen are the browser's own.
    void fitToPage();

    bool isFullScreen() const { return m_fullScreen; }
    // The zoom now shown: a step in a window, the fitting scale on a full screen.
    double factor() const { return m_factor; }
    int stepPercent() const { return Steps[m_step]; }

    // The largest scale at which a client area fits a screen, and where it then stands
    // so that it is centred.
    struct Fit
    {
        double factor;
        QPoint origin;
    };
    static Fit fitInto(QSize client, QSize screen);

    // The window's outer size in twips, as the layout gives it; the window is laid out
    // again for a new one.
    void setOuterSize(int widthTwips, int heightTwips);
    int outerWidth() const { return m_outerWidth; }
    int outerHeight() const { return m_outerHeight; }

    // Where the lesson's client area is shown in the window: all of it in a window, the
    // part it is centred in on a full screen or page.
    QRect shownClient() const { return m_shownClient; }
    // The client area in the layout's own pixels, as the window's outer size gives it.
    QSize clientSize() const;

    // Lays the window out for its outer size at the current zoom.
    void layOut();
    void windowResized();

private:
    // On a screen or page larger than the lesson, what lies beyond its client area (the
    // panels before 表 and グラフ open them) stays out of sight, as beyond a window's edge.
    void placeCurtains(QRect shownClient, QSize screen);

    ControlHost &window;
    Placement &placement;
    ZoomStyle &style;
    int m_outerWidth = 0;
    int m_outerHeight = 0;
    std::array<QWidget *, 2> m_curtains {};
    int m_step = 0;
    bool m_fullScreen = false;
    bool m_fitToPage = false;
    QPoint m_normalPosition;
    double m_factor = 1;
    QRect m_shownClient;
};
