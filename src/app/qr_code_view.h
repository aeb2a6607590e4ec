#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class QPushButton;

// An address as a large QR code over the window, with the address written beneath it, so
// that every pupil's device in the room can read it from the board: closed by "閉じる",
// by Escape or by a click beside it.
class QrCodeView : public QWidget
{
public:
    explicit QrCodeView(QWidget *window);

    // Shows the code of the address over the whole window, which it follows when resized.
    void showAddress(const QString &address);
    // The same, offering to hand the figure out for practice instead: a button switches the
    // code between the address that opens the figure to look at and the one for practice.
    void showAddresses(const QString &address, const QString &practiceAddress);
    bool showsPractice() const { return !m_practiceAddress.isEmpty() && m_address == m_practiceAddress; }
    QString address() const { return m_address; }
    // The code's modules, true for dark, row by row; empty when the address is too long.
    const std::vector<std::vector<bool>> &modules() const { return m_modules; }
    // Where the code stands with its quiet zone, in the view's pixels.
    QRect codeRect() const;

    // Longer addresses are not made into a code: it would be too dense to read across a room.
    static constexpr int LongestAddress = 1000;
    // The light border around the code that a reader needs, in modules.
    static constexpr int QuietZone = 4;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layOut();
    int modulePixels() const;
    QRect textRect() const;

    QString m_address;
    std::vector<std::vector<bool>> m_modules;
    void show(const QString &address);

    QPushButton *m_close = nullptr;
    // The address for looking and the one for practice, when it offers both.
    QPushButton *m_purpose = nullptr;
    QString m_lookAddress;
    QString m_practiceAddress;
};
