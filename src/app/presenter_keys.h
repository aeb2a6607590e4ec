#pragma once

#include <QList>
#include <QPointer>

class QAbstractButton;
class QShortcut;
class QWidget;

// Keys a presenter remote sends: PageDown and Right step out, PageUp and Left step in,
// Home goes back to the start; not while a text box is being typed into, and not while the
// button they stand for is disabled.
class PresenterKeys
{
public:
    // The buttons the keys press, and the boxes whose keys are for their text.
    struct Buttons
    {
        QAbstractButton *out;
        QAbstractButton *in;
        QAbstractButton *start;
    };

    // Its shortcuts belong to the window.
    explicit PresenterKeys(QWidget &window) : window(window) {}

    void installShortcuts(const Buttons &buttons, const QList<QWidget *> &textBoxes);
    // True while one of the text boxes has the focus: its keys are for the text.
    bool typing() const;
    // Off while another part of the window has the keys (practice over the lesson).
    void setEnabled(bool enabled);

private:
    QWidget &window;
    QList<QPointer<QWidget>> m_textBoxes;
    QList<QShortcut *> m_shortcuts;
};
