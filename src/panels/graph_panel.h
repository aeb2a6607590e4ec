#pragma once

#include <QColor>
#include <QPointF>
#include <cstdint>

class Form1;

// The graph of y against x, to the right of the blackboard.
class GraphPanel
{
public:
    explicit GraphPanel(Form1 &form) : form(form) {}

    // mode 0 clears the panel first, any other value draws over what is there.
    void DrawGraphAxes(int16_t mode);
    // mode 0 after a forward step, 1 after a backward one.
    void PlotGraph(int16_t mode);
    void Check2_Click();

    // Where (x cm, y cm²) lies on the panel.
    static QPointF toPanel(double x, double y);

private:
    Form1 &form;
};
