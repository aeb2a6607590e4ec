#include "panels/table_panel.h"

#include "app/form1.h"
#include "area/area_function.h"
#include "app/numeric.h"
#include "surface/palette.h"

#include <cmath>

QColor TablePanel::inkColor()
{
    return Palette::color(Palette::Blue);
}

QColor TablePanel::eraseColor()
{
    return Palette::fromBgrLiteral("&H00C0FFFF");
}

void TablePanel::DrawTable(int16_t mode)
{
    PictureBox &panel = *form.hyo;
    SceneState &s = form.scene;
    panel.foreColor = mode == 0 ? inkColor() : eraseColor();

    // Nothing is printed at the half centimetres.
    const int step = s.stepIndex();
    if (step % 2 != 0)
        return;
    const double x = s.distance();
    auto printAt = [&](double left, double top, const QString &text) {
        panel.currentX = left;
        panel.currentY = top;
        panel.print(text);
    };
    if (step == 0) {
        printAt(60, 25, QStringLiteral("0"));
        printAt(60, 70, QStringLiteral("0"));
    } else {
        printAt(50 + 45 * x - (x >= 10 ? 5 : 0), 25, Numeric::printForm(x));
        if (mode == 0)
            s.TableY += s.StepRate[step];
        printAt(50 + 45 * x - (s.TableY >= 10 ? 5 : 0), 70, Numeric::printForm(s.TableY));
        if (mode == 1)
            s.TableY -= s.StepRate[step];
    }
    const int column = step / 2;
    if (mode == 0)
        m_shown[column] = step == 0 ? 0 : s.TableY;
    else
        m_shown.erase(column);
    describe();
}

void TablePanel::clearPanel()
{
    form.hyo->cls();
    m_shown.clear();
    describe();
}

void TablePanel::describe()
{
    QStringList pairs;
    for (const auto &[x, y] : m_shown)
        pairs << QStringLiteral("χ = %1 cm, y = %2 cm²").arg(x).arg(y);
    form.hyo->setAccessibleDescription(pairs.join(QStringLiteral("; ")));
}

void TablePanel::Check3_Click()
{
    if (!form.Check3->isChecked()) {
        form.setOuterHeight(8800);
        return;
    }
    form.setOuterHeight(10800);
    clearPanel();

    // The table may come on anywhere along the way: its running y starts from the true
    // area at the last whole centimetre before the column about to be written, which
    // writing it then adds (at x = 0 nothing is added).
    SceneState &s = form.scene;
    s.TableY = AreaFunction::areaAt(s.Slot, std::ceil(s.distance()) - 1);
    DrawTable(0);
}
