#include "app/presenter_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QShortcut>

bool PresenterKeys::typing() const
{
    const QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return false;
    for (const QWidget *box : m_textBoxes) {
        // A combo box's own edit field is its child.
        if (box && (focus == box || box->isAncestorOf(focus)))
            return true;
    }
    return false;
}

void PresenterKeys::installShortcuts(const Buttons &buttons, const QList<QWidget *> &textBoxes)
{
    for (QWidget *box : textBoxes)
        m_textBoxes << box;
    auto bind = [this](Qt::Key key, QAbstractButton *button) {
        auto *shortcut = new QShortcut(QKeySequence(key), &window);
        shortcut->setAutoRepeat(true);
        m_shortcuts << shortcut;
        QObject::connect(shortcut, &QShortcut::activated, button, [this, button] {
            // click() does nothing on a disabled button.
            if (!typing())
                button->click();
        });
    };
    bind(Qt::Key_PageDown, buttons.out);
    bind(Qt::Key_Right, buttons.out);
    bind(Qt::Key_PageUp, buttons.in);
    bind(Qt::Key_Left, buttons.in);
    bind(Qt::Key_Home, buttons.start);
}

void PresenterKeys::setEnabled(bool enabled)
{
    for (QShortcut *shortcut : std::as_const(m_shortcuts))
        shortcut->setEnabled(enabled);
}
