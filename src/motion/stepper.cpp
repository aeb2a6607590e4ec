#include "motion/stepper.h"

#include "app/form1.h"
#include "app/numeric.h"

#include <cmath>

QString Stepper::distanceText(double centimetres)
{
    QString text = Numeric::numberText(centimetres);
    if (Numeric::leadingNumber(text) == 0.5)
        text = QStringLiteral(" 0") + text.mid(1);
    if (!text.contains(QLatin1Char('.')))
        text += QStringLiteral(".0");
    return text;
}

void Stepper::moveP()
{
    const SceneState &s = form.scene;
    form.Label4[8]->setLeft(s.PointPX - 18);
    form.Shape1->setLeft(s.PointPX - 4);
    form.Text1->setText(distanceText(s.distance()));
}

void Stepper::placeDistanceLabel(double offset)
{
    const double px = form.scene.PointPX;
    form.Label4[6]->setLeft((px + offset) / 2 - 22);
    form.Label4[6]->setTop(px > 230 ? 325 : 300);
}

void Stepper::susumu_Click()
{
    SceneState &s = form.scene;
    if (form.Check3->isChecked() && s.PointPX == 300)
        form.table.DrawTable(0);

    s.PointPX -= 10;
    if (s.PointPX < 100) {
        s.PointPX = 100;
        return;
    }
    moveP();

    // The column that crossed AB in this step; a step ending on a column boundary
    // belongs to the column it has just finished uncovering.
    const int column = int(std::floor((300 - s.PointPX) / 40 - 0.1));
    s.StepRate[s.stepIndex()] = int16_t(2 * s.Slot[column]);

    form.figure.RedrawFigure(int16_t(s.PointPX));
    if (form.Check4->isChecked())
        form.switches.placeMarkerAtP();
    placeDistanceLabel(310);
    form.Label4[6]->setVisible(true);
    if (form.Check1->isChecked())
        form.figure.DrawGrid();
    form.graph.PlotGraph(0);
    form.expressions.refresh();
    if (form.Check3->isChecked())
        form.table.DrawTable(0);
    form.describeScene();
}

void Stepper::modoru_Click()
{
    SceneState &s = form.scene;
    if (form.Check3->isChecked() && s.PointPX != 300)
        form.table.DrawTable(1);

    s.PointPX += 10;
    if (s.PointPX == 300)
        form.Label4[6]->setVisible(false);
    if (s.PointPX > 300) {
        s.PointPX = 300;
        return;
    }
    moveP();
    form.figure.RedrawFigure(int16_t(s.PointPX));
    if (form.Check4->isChecked())
        form.switches.placeMarkerAtP();
    placeDistanceLabel(300);
    if (s.PointPX != 300)
        form.Label4[6]->setVisible(true);
    if (form.Check1->isChecked())
        form.figure.DrawGrid();
    form.graph.PlotGraph(1);
    form.expressions.refresh();
    form.describeScene();
}

void Stepper::Command2_Click()
{
    SceneState &s = form.scene;
    s.PointPX = 290;
    modoru_Click();
    form.table.clearPanel();
    form.table.DrawTable(0);
    form.graph.DrawGraphAxes(0);
    s.GraphLastX = 35;
    s.GraphLastY = 480;
    s.TableY = 0;
    s.GraphY = 0;
    // In the middle of an automatic run the run's own buttons stay, so ストップ can
    // still end it; otherwise there is no run to stop.
    if (form.autoPlay.isRunning())
        form.autoPlay.applyButtons(form.autoPlay.state());
    else
        form.tomeru->setEnabled(false);
    form.Label4[6]->setVisible(false);
    form.graph.PlotGraph(0);
    form.expressions.refresh();
    if (form.Check1->isChecked())
        form.figure.DrawGrid();
    form.describeScene();
}
