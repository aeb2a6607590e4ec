#pragma once

#include "lesson/lesson.h"

#include <QObject>
#include <QRectF>
#include <map>

class DrawingLayer;
class DrawingLayer;
class PictureBox;

// The table of x and y below the blackboard, one column per whole centimetre. Its y is
// the area function's at that x.
class TablePanel : public QObject
{
    Q_OBJECT

public:
    enum class Ink { Write, Erase };

    TablePanel(PictureBox &box, const Lesson &lesson, QObject *parent = nullptr);

    // Brings the table up to a change of the lesson.
    void follow(Lesson::Change change);
    // 表 switched: on, the table starts afresh with the column where P stands.
    void switched(bool on);

    // Writes or erases the column of the half-step index step; nothing at a half centimetre.
    void DrawTable(Ink ink, int step);

    // The table's frame on its box: its rules, the χ and ｙ of its rows, its face.
    static void makeFrame(PictureBox &box);
    enum class Row { X, Y };
    // Writes a value into the column of a whole x, in the pen's colour.
    static void printCell(DrawingLayer &panel, int x, Row row, double value);
    // Where the value of the column of a whole x stands, in the box's coordinates.
    static QRectF cellRect(int x, Row row);
    // Clears the panel.
    void clearPanel();

    // The pairs the panel shows now, x (whole cm) to y.
    const std::map<int, double> &shownPairs() const { return m_shown; }

signals:
    // The window makes room for the panel, or takes it back.
    void roomWanted(bool shown);

private:
    void describe();

    // The box tells screen readers what the table shows; its layer shows it.
    PictureBox &box;
    DrawingLayer &panel;
    const Lesson &lesson;
    std::map<int, double> m_shown;
};
