#include "app/start_up.h"

#include "app/form1.h"

void StartUp::Form_Load()
{
    form.setOuterSize(9700, 8800);
    // Already clear at start, so their handlers do not run.
    form.Check1->setChecked(false);
    form.Check2->setChecked(false);
    form.Check3->setChecked(false);
    form.Check6->setChecked(false);
    // Every surface works in pixels from here on; the blackboard draws 2 px lines.
    form.kokuban->drawWidth = 2;
    ShowInitialScreen();
}

void StartUp::ShowInitialScreen()
{
    SceneState &s = form.scene;
    // P and the distance it shows go back together: the table's first column, written
    // before the envelope is laid out again, is the one at P.
    s.PointPX = 300;
    form.Text1->setText(QStringLiteral(" 0.0"));

    s.DragKind = 0;
    s.TableY = 0;
    s.GraphY = 0;
    s.Slot.fill(0);

    form.switches.Check5_Click();
    form.kokuban->cls();
    form.table.clearPanel();
    form.table.DrawTable(0);
    form.graph.DrawGraphAxes(0);

    s.PointAX = 300;
    s.PointAY = 180;
    s.PointBX = 300;
    s.PointBY = 300;
    s.PointCX = 500;
    s.PointCY = 300;
    s.PointDX = 500;
    s.PointDY = 180;
    s.PointPX = 300;
    s.BaseLineY = 300;

    auto placeLabel = [&](int index, double left, double top) {
        form.Label4[index]->setLeft(left);
        form.Label4[index]->setTop(top);
    };
    placeLabel(0, s.PointAX - 8, s.PointAY - 35);
    placeLabel(1, s.PointBX + 4, s.PointBY);
    placeLabel(2, s.PointCX - 8, s.PointCY);
    placeLabel(3, s.PointDX - 8, int16_t(s.PointDY - 35));
    placeLabel(4, (s.PointBX + s.PointCX) / 2 - 20, s.PointBY + 5);
    placeLabel(5, s.PointCX + 5, int16_t(s.PointDY + 20));
    placeLabel(8, s.PointPX - 18, s.PointBY);
    form.Shape1->setLeft(s.PointBX - 4);
    form.Shape1->setTop(s.PointBY - 4);

    auto &line = form.Line5;
    line[0]->setEnds(20, s.BaseLineY, s.PointCX, s.PointCY);
    line[1]->setEnds(s.PointCX, s.PointCY, s.PointDX, s.PointDY);
    line[2]->setEnds(s.PointDX, s.PointDY, s.PointAX, s.PointAY);
    line[3]->setEnds(s.PointAX, s.PointAY, s.PointBX, s.PointBY);
    line[4]->setEnds(310, 800, s.PointPX, 800);
    line[5]->setEnds(s.PointAX, s.PointAY, s.PointAX - 20, s.PointAY + 15);
    line[6]->setEnds(s.PointAX - 20, s.PointAY + 15, s.PointBX - 20, s.PointBY - 15);
    line[7]->setEnds(s.PointBX - 20, s.PointBY - 15, s.PointBX, s.PointBY);

    placeLabel(6, 300, 330);
    form.Label4[6]->setVisible(false);

    form.outlines.sendHome();

    s.GraphLastX = 35;
    s.GraphLastY = 480;
    form.tomeru->setEnabled(false);
    form.graph.PlotGraph(0);
    form.expressions.refresh();
    if (form.Check1->isChecked())
        form.figure.DrawGrid();
    form.describeScene();
}

void StartUp::Command1_Click()
{
    ShowInitialScreen();
}
