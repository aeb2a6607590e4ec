#include "panels/table_panel.h"

#include "lesson/numeric.h"
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
    auto printAt = [&](double left, double top, const QString &text) {
        panel.moveTo(QPointF(left, top));
        panel.print(text);
    };
    const double y = AreaFunction::areaAt(lesson.columns(), x);
    if (x == 0) {
        printAt(60, 25, QStringLiteral("0"));
        printAt(60, 70, QStringLiteral("0"));
    } else {
        printAt(50 + 45 * x - (x >= 10 ? 5 : 0), 25, Numeric::printForm(x));
        printAt(50 + 45 * x - (y >= 10 ? 5 : 0), 70, Numeric::printForm(y));
    }
    if (ink == Ink::Write)
        m_shown[x] = y;
    else
        m_shown.erase(x);
    describe();
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
