#include "panels/graph_panel.h"

#include "app/form1.h"
#include "app/numeric.h"
#include "panels/table_panel.h"
#include "surface/palette.h"

QPointF GraphPanel::toPanel(double x, double y)
{
    return QPointF(35 + 30 * x, 480 - 30.0 / 4 * y);
}

void GraphPanel::DrawGraphAxes(int16_t mode)
{
    PictureBox &panel = *form.gamen;
    panel.drawWidth = 1;
    if (mode == 0)
        panel.cls();

    const QColor green = Palette::color(Palette::Green);
    for (int i = 0; i <= 15; ++i)
        panel.line(QPointF(35, 480 - 30 * i), QPointF(385, 480 - 30 * i), green);
    for (int i = 0; i <= 11; ++i)
        panel.line(QPointF(35 + 30 * i, 480), QPointF(35 + 30 * i, 5), green);
    // One pixel outside the first grid lines, so the axes show two pixels thick.
    panel.line(QPointF(34, 481), QPointF(384, 481), green);
    panel.line(QPointF(34, 481), QPointF(34, 6), green);

    panel.foreColor = Palette::color(Palette::Black);
    auto printAt = [&](double left, double top, const QString &text) {
        panel.currentX = left;
        panel.currentY = top;
        panel.print(text);
    };
    for (int i = 1; i <= 10; ++i)
        printAt(29 + 30 * i - (i >= 10 ? 3 : 0), 485, Numeric::numberText(i));
    printAt(362, 485, QStringLiteral("(cm)"));
    printAt(25, 485, QStringLiteral("0"));
    for (int i = 1; i <= 15; ++i)
        printAt(15 + (i < 3 ? 5 : 0), 475 - 30 * i, Numeric::numberText(4 * i));
    // The raised 2 sits in the gap and reads as square centimetres.
    printAt(2, 8, QStringLiteral("(cm  )"));
    printAt(22, 5, QStringLiteral("2"));
}

void GraphPanel::PlotGraph(int16_t mode)
{
    SceneState &s = form.scene;
    if (s.PointPX > 300)
        return;
    const double x = s.distance();
    const int step = s.stepIndex();
    PictureBox &panel = *form.gamen;
    panel.drawWidth = 3;
    panel.foreColor = mode == 0 ? TablePanel::inkColor() : TablePanel::eraseColor();
    if (mode == 0)
        s.GraphY += s.StepRate[step] / 2.0;
    else
        s.GraphY -= s.StepRate[step + 1] / 2.0;
    const QPointF point = toPanel(x, s.GraphY);
    if (form.Check2->isChecked())
        panel.line(QPointF(s.GraphLastX, s.GraphLastY), point);
    s.GraphLastX = point.x();
    s.GraphLastY = point.y();

    panel.drawWidth = 1;
    form.kokuban->fillStyle = PictureBox::FillStyle::Transparent;
    DrawGraphAxes(1);
}

void GraphPanel::Check2_Click()
{
    form.setOuterWidth(form.Check2->isChecked() ? 15700 : 9700);
}
