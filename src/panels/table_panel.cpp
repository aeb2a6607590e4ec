#include "panels/table_panel.h"

#include "app/form1.h"
#include "app/numeric.h"
#include "surface/palette.h"

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

    const double x = Numeric::leadingNumber(form.Text1->text());
    const auto step = Numeric::halfStepIndex(x);
    if (!step)
        return;

    auto printAt = [&](double left, double top, const QString &text) {
        panel.currentX = left;
        panel.currentY = top;
        panel.print(text);
    };
    const int column = *step / 2;
    if (*step == 0) {
        printAt(60, 25, QStringLiteral("0"));
        printAt(60, 70, QStringLiteral("0"));
    } else if (*step % 2 == 0) {
        printAt(50 + 45 * x - (x >= 10 ? 5 : 0), 25, Numeric::printForm(x));
        if (mode == 0)
            s.TableY += s.StepRate[*step];
        printAt(50 + 45 * x - (s.TableY >= 10 ? 5 : 0), 70, Numeric::printForm(s.TableY));
        if (mode == 1)
            s.TableY -= s.StepRate[*step];
    } else {
        return;
    }
    if (mode == 0)
        m_shown[column] = *step == 0 ? 0 : s.TableY;
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
    // area out of the envelope at the last whole centimetre (the graph's running y always
    // holds the area at P), less whatever the column about to be written adds again.
    SceneState &s = form.scene;
    if (const auto at = Numeric::halfStepIndex((300 - s.PointPX) / 20)) {
        s.TableY = s.GraphY - (*at % 2 == 1 ? s.StepRate[*at] / 2.0 : 0.0);
        const auto written = Numeric::halfStepIndex(Numeric::leadingNumber(form.Text1->text()));
        if (written && *written > 0 && *written % 2 == 0)
            s.TableY -= s.StepRate[*written];
    }
    DrawTable(0);
}
