#include "app/window_zoom.h"

#include "app/browser_page.h"
#include "surface/control_host.h"
#include "surface/placement.h"
#include "surface/twips.h"
#include "surface/zoom_style.h"

#include <QScreen>
#include <QShortcut>
#include <algorithm>

WindowZoom::WindowZoom(ControlHost &window, Placement &placement, ZoomStyle &style, QObject *parent)
    : QObject(parent)
    , window(window)
    , placement(placement)
    , style(style)
{
}

void WindowZoom::installShortcuts()
{
    // In a browser these keys zoom the page and make it fill the screen, and the window
    // follows the page; taking them would leave a teacher without the browser's own.
    if (BrowserPage::isBrowser)
        return;
    auto bind = [this](const QKeySequence &keys, auto action) {
        auto *shortcut = new QShortcut(keys, &window);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    bind(QKeySequence::ZoomIn, [this] { zoomIn(); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomIn(); });
    bind(QKeySequence::ZoomOut, [this] { zoomOut(); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { resetZoom(); });
    bind(QKeySequence(Qt::Key_F11), [this] { toggleFullScreen(); });
    bind(QKeySequence(Qt::Key_Escape), [this] { leaveFullScreen(); });
}

void WindowZoom::zoomIn()
{
    m_step = std::min(m_step + 1, int(Steps.size()) - 1);
    layOut();
}

void WindowZoom::zoomOut()
{
    m_step = std::max(m_step - 1, 0);
    layOut();
}

void WindowZoom::resetZoom()
{
    m_step = 0;
    layOut();
}

void WindowZoom::toggleFullScreen()
{
    if (m_fullScreen) {
        leaveFullScreen();
        return;
    }
    m_fullScreen = true;
    m_normalPosition = window.pos();
    window.setMinimumSize(0, 0);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window.showFullScreen();
    // Without a window manager to honour the request, cover the screen ourselves.
    if (window.screen())
        window.setGeometry(window.screen()->geometry());
    layOut();
}

void WindowZoom::fitToPage()
{
    m_fitToPage = true;
    m_fullScreen = true;
    window.showFullScreen();
    layOut();
}

void WindowZoom::leaveFullScreen()
{
    if (!m_fullScreen || m_fitToPage)
        return;
    m_fullScreen = false;
    window.showNormal();
    layOut();
    window.move(m_normalPosition);
}

void WindowZoom::windowResized()
{
    if (m_fullScreen)
        layOut();
}

WindowZoom::Fit WindowZoom::fitInto(QSize client, QSize screen)
{
    const double factor = std::min(double(screen.width()) / client.width(), double(screen.height()) / client.height());
    const QSize shown = Placement::scaled(QRect(QPoint(), client), factor).size();
    return { factor, QPoint((screen.width() - shown.width()) / 2, (screen.height() - shown.height()) / 2) };
}

QSize WindowZoom::clientSize() const
{
    return Twips::clientSizeForOuter(m_outerWidth, m_outerHeight);
}

void WindowZoom::setOuterSize(int widthTwips, int heightTwips)
{
    m_outerWidth = widthTwips;
    m_outerHeight = heightTwips;
    layOut();
}

void WindowZoom::layOut()
{
    const QSize client = clientSize();
    if (client.isEmpty())
        return;
    QPoint origin;
    if (m_fullScreen) {
        const QSize screen = window.screen() ? window.screen()->geometry().size() : window.size();
        const Fit fit = fitInto(client, screen);
        m_factor = fit.factor;
        origin = fit.origin;
    } else {
        m_factor = Steps[m_step] / 100.0;
    }
    style.setZoom(m_factor);
    window.setZoom(m_factor);
    window.setOrigin(origin);
    placement.apply(m_factor, origin);
    const QSize shown = Placement::scaled(QRect(QPoint(), client), m_factor).size();
    m_shownClient = QRect(origin, shown);
    if (!m_fullScreen)
        window.setFixedSize(shown);
    placeCurtains(m_fullScreen ? QRect(origin, shown) : QRect(), window.screen() ? window.screen()->geometry().size() : window.size());
}

void WindowZoom::placeCurtains(QRect shownClient, QSize screen)
{
    if (shownClient.isNull()) {
        for (QWidget *curtain : m_curtains) {
            if (curtain)
                curtain->hide();
        }
        return;
    }
    const QSize whole = screen.expandedTo(window.size());
    const QRect beyond[2] = {
        QRect(QPoint(shownClient.right() + 1, 0), QPoint(whole.width(), whole.height())),
        QRect(QPoint(0, shownClient.bottom() + 1), QPoint(shownClient.right(), whole.height())),
    };
    for (int i = 0; i < 2; ++i) {
        QWidget *&curtain = m_curtains[i];
        if (!curtain) {
            curtain = new QWidget(&window);
            QPalette palette = curtain->palette();
            palette.setColor(QPalette::Window, window.backColor());
            curtain->setPalette(palette);
            curtain->setAutoFillBackground(true);
        }
        curtain->setGeometry(beyond[i]);
        curtain->raise();
        curtain->show();
    }
}
