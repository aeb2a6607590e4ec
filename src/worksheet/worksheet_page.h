#pragma once

#include "area/area_function.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

class QPainter;

// The lesson as a one-page A4 worksheet for pupils, or its answer sheet: the title and a
// line for the pupil's name, the figure as composed in the envelope ABCD, the question,
// the table of x and y, the graph paper and room for the expressions. Drawn as lines and
// text on any painter (PDF writer, printer, image), black on white so it prints well.
//
// The layout is written in points (1/72 inch) from the paper's top left corner.
class WorksheetPage
{
public:
    enum class Sheet { Problem, Answer };

    WorksheetPage(const AreaFunction::Columns &columns, Sheet sheet) : m_columns(columns), m_sheet(sheet) {}

    // Draws the page so that the paper fills the target (device coordinates of the painter).
    void draw(QPainter &painter, QRectF target) const;

    // A4 portrait.
    static QSizeF paperSize();
    // Where (x cm, y cm²) lies on the graph paper.
    static QPointF graphPoint(double x, double y);
    // The table's cell of x = column (row 0) or of its y (row 1).
    static QRectF tableCell(int row, int column);

private:
    AreaFunction::Columns m_columns;
    Sheet m_sheet;
};
