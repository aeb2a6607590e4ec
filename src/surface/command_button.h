#pragma once

#include <QPushButton>

// A push button drawn flat in its own background colour with a raised edge, whatever the
// widget style; a disabled button shows its caption greyed.
class CommandButton : public QPushButton
{
public:
    CommandButton(const QString &caption, QColor backColor, QWidget *parent = nullptr);

    QColor backColor() const { return m_backColor; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_backColor;
};
