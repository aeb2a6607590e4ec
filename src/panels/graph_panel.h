#pragma once

#include "lesson/lesson.h"

#include <QObject>
#include <QPointF>

class DrawingLayer;

// The graph of y against x, to the right of the blackboard: a broken line that grows by
// one segment per half-centimetre step, its y the area function's.
class GraphPanel : public QObject
{
    Q_OBJECT

public:
    enum class Axes { ClearFirst, OverDrawing };
    enum class Plot { Forward, Backward };

    GraphPanel(DrawingLayer &panel, const Lesson &lesson, QObject *parent = nullptr);

    // Brings the graph up to a change of the lesson.
    void follow(Lesson::Change change);
    // グラフ switched: only the room for the panel changes; it keeps what it shows.
    void switched(bool on) { emit roomWanted(on); }

    void DrawGraphAxes(Axes axes);
    // The segment of the step just taken (drawn) or taken back (erased) while the graph is
    // shown, then the axes over it.
    void PlotGraph(Plot plot);

    // The curve's point at x for the figure composed now.
    QPointF pointAt(double x) const;

signals:
    // The window makes room for the panel, or takes it back.
    void roomWanted(bool shown);

private:
    DrawingLayer &panel;
    const Lesson &lesson;
};
