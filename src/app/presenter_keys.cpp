#include "app/presenter_keys.h"

#include "app/form1.h"

#include <QApplication>
#include <QShortcut>

bool PresenterKeys::typing() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus && (focus == form.Text1 || focus == form.Combo1 || form.Combo1->isAncestorOf(focus));
}

void PresenterKeys::installShortcuts()
{
    auto bind = [this](Qt::Key key, CommandButton *button) {
        auto *shortcut = new QShortcut(QKeySequence(key), &form);
        shortcut->setAutoRepeat(true);
        QObject::connect(shortcut, &QShortcut::activated, &form, [this, button] {
            // click() does nothing on a disabled button.
            if (!typing())
                button->click();
        });
    };
    bind(Qt::Key_PageDown, form.susumu);
    bind(Qt::Key_Right, form.susumu);
    bind(Qt::Key_PageUp, form.modoru);
    bind(Qt::Key_Left, form.modoru);
    bind(Qt::Key_Home, form.Command2);
}
