#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class CommandButton;
class ControlHost;
class LabelControl;
class LineControl;
class Placement;
class QCheckBox;
class QWidget;

// The window's controls as the layout gives them: places in twips, colours, fonts, and
// each control's name ("Label4(6)" for one of an array), by which tools and tests find it.
namespace Make {

QString indexed(const char *array, int index);

// A rectangle in twips relative to a host's content, in the host's logical coordinates.
QRect placeIn(const ControlHost *host, int left, int top, int width, int height);

// A check box with its caption on a coloured background, its font kept by the placement
// for the zoom; placed by the caller.
QCheckBox *checkBox(Placement &placement, QWidget *parent, const QString &name, const QString &caption, QColor back,
                    QColor text, const QFont &font);

// A command button in its colour, named by its caption for screen readers, its font and
// place (in logical pixels) kept by the placement for the zoom.
CommandButton *button(Placement &placement, QWidget *parent, const QString &name, const QString &caption, QColor back,
                      const QFont &font, QRect place);

// A label (opaque when given a back colour) and a line, on a host, at twips.
LabelControl *label(ControlHost *host, const QString &name, const QString &caption, const QFont &font, QColor text,
                    QColor back, int left, int top, int width, int height);
LineControl *line(ControlHost *host, const QString &name, QColor color, int width, int x1, int y1, int x2, int y2);

} // namespace Make
