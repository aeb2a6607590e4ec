#include "surface/control_builders.h"

#include "surface/command_button.h"

#include "surface/control_host.h"
#include "surface/controls.h"
#include "surface/placement.h"
#include "surface/twips.h"

#include <QCheckBox>

namespace Make {

QString indexed(const char *array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

QRect placeIn(const ControlHost *host, int left, int top, int width, int height)
{
    return Twips::rect(left, top, width, height).translated(host->contentOffset());
}

QCheckBox *checkBox(Placement &placement, QWidget *parent, const QString &name, const QString &caption, QColor back,
                    QColor text, const QFont &font)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Button, back);
    palette.setColor(QPalette::WindowText, text);
    box->setPalette(palette);
    box->setAutoFillBackground(true);
    placement.setFont(box, font);
    box->setAccessibleName(caption);
    return box;
}

CommandButton *button(Placement &placement, QWidget *parent, const QString &name, const QString &caption, QColor back,
                      const QFont &font, QRect place)
{
    auto *button = new CommandButton(caption, back, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    placement.setFont(button, font);
    placement.place(button, place);
    return button;
}

LabelControl *label(ControlHost *host, const QString &name, const QString &caption, const QFont &font, QColor text,
                    QColor back, int left, int top, int width, int height)
{
    auto *label = host->add<LabelControl>(caption, font, text);
    label->setName(name);
    if (back.isValid())
        label->setBackColor(back);
    const QRect r = Twips::rect(left, top, width, height);
    label->setLeft(r.left());
    label->setTop(r.top());
    label->setSize(r.size());
    return label;
}

LineControl *line(ControlHost *host, const QString &name, QColor color, int width, int x1, int y1, int x2, int y2)
{
    auto *line = host->add<LineControl>(color, width);
    line->setName(name);
    line->setEnds(Twips::toPixels(x1), Twips::toPixels(y1), Twips::toPixels(x2), Twips::toPixels(y2));
    return line;
}

} // namespace Make
