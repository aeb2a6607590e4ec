#pragma once

#include "area/area_function.h"

#include <QFont>
#include <QObject>
#include <QRectF>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class LabelControl;
class Lesson;
class PictureBox;

// The answer to the lesson's exercise, revealed when the teacher ticks 式: on the graph
// panel, y as an expression of x in each domain P has entered ("0≦x≦2 のとき y=6x").
// The lines are light labels above the panel's drawing layer, so the graph's redraws
// neither erase them nor are changed by them.
class ExpressionList : public QObject
{
    Q_OBJECT

public:
    // Makes the labels on the graph panel, hidden.
    ExpressionList(PictureBox &panel, const Lesson &lesson, QObject *parent = nullptr);

    // 式 switched: shows or hides the list.
    void switched(bool on);
    // Brings the list up to P's distance and the figure.
    void refresh();

    // The face the lines are written in now, fitted to the figure's longest list.
    QFont face() const { return m_face; }
    // The labels that show the lines, from the top.
    const std::array<LabelControl *, 5> &labels() const { return m_labels; }
    // Where the lines stand now, when shown.
    std::vector<QRectF> shownBoxes() const;
    // What a screen reader is told of the list: its lines while shown.
    QString description() const;

private:
    void show();

    PictureBox &panel;
    const Lesson &lesson;
    std::array<LabelControl *, 5> m_labels {};
    QStringList m_lines;
    QFont m_face;
    // The figure the face was fitted to; a face is fitted again only when it changes, so
    // the text keeps its size while the figure is pulled out.
    std::optional<AreaFunction::Columns> m_fittedFor;
};
