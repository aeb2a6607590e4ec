#include "app/speed_box.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace {

// What Qt's own interface for a list box gives (the list and the edit field as children,
// opening the list as the action), named by its accessible name.
class SpeedBoxAccessible : public QAccessibleWidget
{
public:
    explicit SpeedBoxAccessible(QWidget *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {
    }

    int childCount() const override { return 2; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1)
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == box()->view())
            return 0;
        return child->object() == box()->lineEdit() ? 1 : -1;
    }
    // The edit field never takes the focus itself, yet it is what is being typed in.
    QAccessibleInterface *focusChild() const override { return child(1); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        return s;
    }
    QStringList actionNames() const override { return { showMenuAction(), pressAction() }; }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *speedBoxAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(SpeedBox::staticMetaObject.className()) && object->isWidgetType())
        return new SpeedBoxAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

SpeedBox::SpeedBox(QWidget *parent)
    : QComboBox(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(speedBoxAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
