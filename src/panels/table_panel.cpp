#include "panels/table_panel.h"

#include "lesson/numeric.h"
#include "surface/control_builders.h"
#include "surface/fonts.h"
#include "surface/palette.h"
#include "surface/picture_box.h"

TablePanel::TablePanel(PictureBox &box, const Lesson &lesson, QObject *parent)
    : QObject(parent)
    , box(box)
    , panel(box.drawing())
    , lesson(lesson)
{
}

void TablePanel::follow(Lesson::Change change)
{
    const bool shown = lesson.isOn(Lesson::Switch::Table);
    switch (change) {
    case Lesson::Change::StepOut:
        if (!shown)
            return;
        // The first step from the start writes the starting column before its own.
        if (lesson.stepIndex() == 1)
            DrawTable(Ink::Write, 0);
        DrawTable(Ink::Write, lesson.stepIndex());
        break;
    case Lesson::Change::StepIn:
        // The column P has just left.
        if (shown)
            DrawTable(Ink::Erase, lesson.stepIndex() + 1);
        break;
    default:
        // Started over, also while hidden: the starting column is there when it opens.
        clearPanel();
        DrawTable(Ink::Write, 0);
        break;
    }
}

void TablePanel::switched(bool on)
{
    emit roomWanted(on);
    if (!on)
        return;
    clearPanel();
    DrawTable(Ink::Write, lesson.stepIndex());
}

void TablePanel::DrawTable(Ink ink, int step)
{
    panel.setForeColor(ink == Ink::Write ? Palette::panelInk() : Palette::panelBack());
    // Nothing is printed at the half centimetres.
    if (step % 2 != 0)
        return;
    const int x = step / 2;
    const double y = AreaFunction::areaAt(lesson.columns(), x);
    printCell(panel, x, Row::X, x);
    printCell(panel, x, Row::Y, y);
    if (ink == Ink::Write)
        m_shown[x] = y;
    else
        m_shown.erase(x);
    describe();
}

namespace {

// The rows' tops, and the left of the column of x = 1; each column is 45 px on.
constexpr double RowTop[2] = { 25, 70 };
constexpr double FirstColumn = 95;
constexpr double ColumnStep = 45;

} // namespace

void TablePanel::printCell(DrawingLayer &panel, int x, Row row, double value)
{
    // The column of x = 0 holds a bare "0"; the others the number with its blanks, two
    // digits a little to the left.
    const double left = x == 0 ? 60 : FirstColumn + ColumnStep * (x - 1) - (value >= 10 ? 5 : 0);
    panel.moveTo(QPointF(left, RowTop[int(row)]));
    panel.print(x == 0 ? QStringLiteral("0") : Numeric::printForm(value));
}

QRectF TablePanel::cellRect(int x, Row row)
{
    return QRectF(FirstColumn + ColumnStep * (x - 1) - 12, RowTop[int(row)] - 7, 42, 30);
}

void TablePanel::makeFrame(PictureBox &box)
{
    box.drawing().setFont(Fonts::layoutFont(14.25, true));
    Make::line(&box, QStringLiteral("Line3"), Qt::black, 3, 120, 840, 9000, 840);
    Make::line(&box, QStringLiteral("Line2"), Qt::black, 3, 480, 120, 480, 1560);
    Make::label(&box, QStringLiteral("Label5"), QStringLiteral("χ"), Fonts::layoutFont(24, true), Qt::black, Palette::panelBack(), 0,
                240, 495, 495);
    Make::label(&box, QStringLiteral("Label7"), QStringLiteral("ｙ"), Fonts::layoutFont(24, true), Qt::black, Palette::panelBack(),
                120, 960, 255, 495);
}

void TablePanel::clearPanel()
{
    panel.cls();
    m_shown.clear();
    describe();
}

void TablePanel::describe()
{
    QStringList pairs;
    for (const auto &[x, y] : m_shown)
        pairs << QStringLiteral("χ = %1 cm, y = %2 cm²").arg(x).arg(y);
    box.setAccessibleDescription(pairs.join(QStringLiteral("; ")));
}
