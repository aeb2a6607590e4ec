#include "app/qr_code_view.h"

#include "surface/fonts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <qrcodegen.hpp>

namespace {

// The backdrop dims the window, so that the code stands out and a click beside it is
// plainly outside.
const QColor Backdrop(0, 0, 0, 160);
const QColor Card(255, 255, 255);
const QColor Dark(0, 0, 0);

std::vector<std::vector<bool>> encode(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.isEmpty() || utf8.size() > QrCodeView::LongestAddress)
        return {};
    // Level M or better: the code is still read when part of it is lost to glare on a board.
    const auto code = qrcodegen::QrCode::encodeText(utf8.constData(), qrcodegen::QrCode::Ecc::MEDIUM);
    std::vector<std::vector<bool>> modules(code.getSize(), std::vector<bool>(code.getSize()));
    for (int y = 0; y < code.getSize(); ++y) {
        for (int x = 0; x < code.getSize(); ++x)
            modules[y][x] = code.getModule(x, y);
    }
    return modules;
}

} // namespace

QrCodeView::QrCodeView(QWidget *window)
    : QWidget(window)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("QRコード"));
    m_close = new QPushButton(QStringLiteral("閉じる"), this);
    m_close->setAccessibleName(QStringLiteral("閉じる"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
    m_purpose = new QPushButton(this);
    m_purpose->hide();
    connect(m_purpose, &QPushButton::clicked, this, [this] {
        show(showsPractice() ? m_lookAddress : m_practiceAddress);
    });
    window->installEventFilter(this);
    hide();
}

bool QrCodeView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void QrCodeView::showAddress(const QString &address)
{
    m_lookAddress = address;
    m_practiceAddress.clear();
    show(address);
}

void QrCodeView::showAddresses(const QString &address, const QString &practiceAddress)
{
    m_lookAddress = address;
    m_practiceAddress = practiceAddress;
    show(address);
}

void QrCodeView::show(const QString &address)
{
    m_address = address;
    m_purpose->setVisible(!m_practiceAddress.isEmpty());
    m_purpose->setText(showsPractice() ? QStringLiteral("見る用のQRコードにする") : QStringLiteral("練習用のQRコードにする"));
    m_purpose->setAccessibleName(m_purpose->text());
    m_modules = encode(address);
    // An address too long for a code is not written out whole either.
    setAccessibleDescription(address.left(LongestAddress));
    setGeometry(parentWidget()->rect());
    layOut();
    raise();
    QWidget::show();
    setFocus();
    update();
}

int QrCodeView::modulePixels() const
{
    const int side = int(m_modules.size()) + 2 * QuietZone;
    // Whole pixels per module keep the edges sharp for a camera; the code takes three
    // quarters of the height, leaving room for the address and the button.
    return std::max(1, std::min(height() * 3 / 4, width() * 9 / 10) / std::max(side, 1));
}

QRect QrCodeView::codeRect() const
{
    const int side = (int(m_modules.size()) + 2 * QuietZone) * modulePixels();
    return QRect((width() - side) / 2, std::max(0, height() / 40), side, side);
}

QRect QrCodeView::textRect() const
{
    const QRect code = codeRect();
    return QRect(0, code.bottom() + 1, width(), m_close->y() - code.bottom() - 1);
}

void QrCodeView::layOut()
{
    QFont face = Fonts::layoutFont(12, true);
    face.setPixelSize(std::max(12, height() / 30));
    setFont(face);
    m_close->setFont(face);
    const QSize button(face.pixelSize() * 6, face.pixelSize() * 2);
    const int buttonTop = height() - button.height() - face.pixelSize() / 2;
    if (!m_purpose->isHidden()) {
        // Side by side: the purpose wider, for its longer caption.
        const QSize purpose(face.pixelSize() * 14, button.height());
        const int left = (width() - purpose.width() - button.width() - face.pixelSize()) / 2;
        m_purpose->setFont(face);
        m_purpose->setGeometry(left, buttonTop, purpose.width(), purpose.height());
        m_close->setGeometry(left + purpose.width() + face.pixelSize(), buttonTop, button.width(), button.height());
    } else {
        m_close->setGeometry((width() - button.width()) / 2, buttonTop, button.width(), button.height());
    }
}

void QrCodeView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void QrCodeView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Backdrop);
    const QRect code = codeRect();
    const QRect text = textRect();
    painter.fillRect(code.united(QRect(code.left(), text.top(), code.width(), text.height())), Card);
    const int pixels = modulePixels();
    for (int y = 0; y < int(m_modules.size()); ++y) {
        for (int x = 0; x < int(m_modules[y].size()); ++x) {
            if (m_modules[y][x])
                painter.fillRect(code.left() + (QuietZone + x) * pixels, code.top() + (QuietZone + y) * pixels, pixels,
                                 pixels, Dark);
        }
    }
    painter.setPen(Dark);
    const QString caption = m_modules.empty()
        ? QStringLiteral("このアドレスは長すぎてQRコードにできません。\n") + m_address.left(LongestAddress) + QStringLiteral("…")
        : m_address;
    painter.drawText(text.intersected(QRect(code.left(), text.top(), code.width(), text.height())).adjusted(8, 0, -8, 0),
                     Qt::AlignCenter | Qt::TextWrapAnywhere, caption);
}

bool QrCodeView::event(QEvent *event)
{
    // Escape is the view's own while it is shown, not the window's shortcut for leaving
    // full screen.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void QrCodeView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void QrCodeView::mousePressEvent(QMouseEvent *event)
{
    const QRect card = codeRect().united(textRect().intersected(QRect(codeRect().left(), 0, codeRect().width(), height())));
    if (!card.contains(event->position().toPoint()))
        hide();
}
