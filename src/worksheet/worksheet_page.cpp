#include "worksheet/worksheet_page.h"

#include "panels/graph_axes.h"
#include "worksheet/page_figure.h"
#include "worksheet/page_pen.h"

#include <QPainter>
#include <QPolygonF>

namespace {

// The page's grid of places, in points from the paper's top left corner.
constexpr double Left = 48;
constexpr double Right = 547;

// The envelope at its true size: its corner A.
constexpr double EnvelopeLeft = 216;
constexpr double EnvelopeTop = 232;

constexpr double TableTop = 462;
constexpr double TableLabelWidth = 70;
constexpr double TableRowHeight = 24;
// A column for each whole x from 0 to the figure's length.
constexpr int TableColumns = int(AreaFunction::Length) + 1;
constexpr double TableCellWidth = (Right - Left - TableLabelWidth) / TableColumns;

// Graph paper: squares of 1 cm across and 4 cm² up, as on the graph panel.
constexpr double GraphLeft = 80;
constexpr double GraphBottom = 792;
constexpr double GraphSquare = 15;
constexpr int GraphColumns = GraphAxes::Columns;
constexpr int GraphRows = GraphAxes::Rows;

constexpr double AnswerLeft = 312;

void drawHeader(PagePen &pen, WorksheetPage::Sheet sheet)
{
    pen.textAt(QPointF(Left, 74), QStringLiteral("関数の利用"), 22, true);
    if (sheet == WorksheetPage::Sheet::Answer) {
        const QRectF stamp(Right - 66, 50, 66, 30);
        pen.box(stamp, 1.2);
        pen.text(stamp, Qt::AlignCenter, QStringLiteral("解答"), 15, true);
    }

    // "　　年　　組　　番　名前＿＿＿＿" with room to write before each word.
    const double baseline = 108;
    double x = 236;
    for (const QString &word : { QStringLiteral("年"), QStringLiteral("組"), QStringLiteral("番") }) {
        x += 30;
        pen.textAt(QPointF(x, baseline), word, 11);
        x += pen.width(word, 11);
    }
    x += 12;
    pen.textAt(QPointF(x, baseline), QStringLiteral("名前"), 11);
    pen.line(QPointF(236, baseline + 4), QPointF(Right, baseline + 4), 0.6);

    pen.line(QPointF(Left, 124), QPointF(Right, 124), 1.2);
}

void drawQuestion(PagePen &pen)
{
    const QString story = QStringLiteral(
        "下の図のように、縦6cm、横10cmの長方形の封筒ABCDに、幅2cmの長方形の紙を組み合わせた図形が"
        "入っています。この図形を、矢印の向きにまっすぐ引き出します。図形の左下の頂点Ｐは、"
        "はじめ頂点Ｂの位置にあります。");
    pen.text(QRectF(Left, 134, Right - Left, 58), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, story, 10.5);
    pen.textAt(QPointF(Left + 10.5, 186),
               QStringLiteral("点Ｐが動いた距離を x cm、封筒から出た部分の面積を y cm² とします。"), 10.5, true);
}

void drawTable(PagePen &pen, const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet)
{
    pen.textAt(QPointF(Left, TableTop - 10), QStringLiteral("(1)  x と y の関係を、下の表にまとめなさい。"), 10.5);

    const QRectF labels(Left, TableTop, TableLabelWidth, 2 * TableRowHeight);
    pen.box(labels, 0, QColor(242, 242, 242));
    pen.text(QRectF(Left, TableTop, TableLabelWidth, TableRowHeight), Qt::AlignCenter, QStringLiteral("x (cm)"), 11);
    pen.text(QRectF(Left, TableTop + TableRowHeight, TableLabelWidth, TableRowHeight), Qt::AlignCenter,
             QStringLiteral("y (cm²)"), 11);

    for (int x = 0; x < TableColumns; ++x) {
        pen.text(WorksheetPage::tableCell(0, x), Qt::AlignCenter, QString::number(x), 11);
        if (sheet == WorksheetPage::Sheet::Answer)
            pen.text(WorksheetPage::tableCell(1, x), Qt::AlignCenter, AreaFunction::plain(AreaFunction::areaAt(columns, x)), 11, true);
    }

    const double right = Left + TableLabelWidth + TableColumns * TableCellWidth;
    for (int row = 0; row <= 2; ++row) {
        const double y = TableTop + row * TableRowHeight;
        pen.line(QPointF(Left, y), QPointF(right, y), row == 1 ? 0.6 : 1.2);
    }
    pen.line(QPointF(Left, TableTop), QPointF(Left, TableTop + 2 * TableRowHeight), 1.2);
    for (int column = 0; column <= TableColumns; ++column) {
        const double x = Left + TableLabelWidth + column * TableCellWidth;
        pen.line(QPointF(x, TableTop), QPointF(x, TableTop + 2 * TableRowHeight), column == 0 || column == TableColumns ? 1.2 : 0.6);
    }
}

void drawGraph(PagePen &pen, const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet)
{
    pen.textAt(QPointF(Left, TableTop + 2 * TableRowHeight + 30),
               QStringLiteral("(2)  x と y の関係を表すグラフをかきなさい。"), 10.5);

    const QPointF origin = WorksheetPage::graphPoint(0, 0);
    const double top = origin.y() - GraphRows * GraphSquare, right = origin.x() + GraphColumns * GraphSquare;
    for (int i = 1; i <= GraphColumns; ++i)
        pen.line(QPointF(origin.x() + i * GraphSquare, origin.y()), QPointF(origin.x() + i * GraphSquare, top), 0.4, PageInk::Grid);
    for (int j = 1; j <= GraphRows; ++j)
        pen.line(QPointF(origin.x(), origin.y() - j * GraphSquare), QPointF(right, origin.y() - j * GraphSquare), 0.4, PageInk::Grid);
    pen.line(origin, QPointF(right + 8, origin.y()), 1);
    pen.line(origin, QPointF(origin.x(), top - 8), 1);

    for (int x = 1; x <= int(AreaFunction::Length); ++x) {
        const QPointF at = WorksheetPage::graphPoint(x, 0);
        pen.text(QRectF(at.x() - 10, at.y() + 2, 20, 12), Qt::AlignHCenter | Qt::AlignTop, QString::number(x), 8);
    }
    for (int y = int(GraphAxes::AreaPerSquare); y <= int(GraphAxes::AreaPerSquare) * GraphRows; y += int(GraphAxes::AreaPerSquare)) {
        const QPointF at = WorksheetPage::graphPoint(0, y);
        pen.text(QRectF(at.x() - 24, at.y() - 6, 20, 12), Qt::AlignRight | Qt::AlignVCenter, QString::number(y), 8);
    }
    pen.text(QRectF(origin.x() - 14, origin.y() + 2, 10, 12), Qt::AlignRight | Qt::AlignTop, QStringLiteral("O"), 9);
    pen.text(QRectF(right + 10, origin.y() - 7, 40, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("x (cm)"), 9);
    pen.text(QRectF(origin.x() - 20, top - 24, 60, 14), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("y (cm²)"), 9);

    if (sheet != WorksheetPage::Sheet::Answer)
        return;
    QPolygonF curve;
    for (int x = 0; x <= int(AreaFunction::Length); ++x)
        curve << WorksheetPage::graphPoint(x, AreaFunction::areaAt(columns, x));
    pen.polyline(curve, 1.6);
    for (const AreaFunction::Domain &domain : AreaFunction::domains(columns)) {
        pen.dot(WorksheetPage::graphPoint(domain.from, AreaFunction::areaAt(columns, domain.from)), 2);
        pen.dot(WorksheetPage::graphPoint(domain.to, AreaFunction::areaAt(columns, domain.to)), 2);
    }
}

void drawExpressions(PagePen &pen, const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet)
{
    const double top = TableTop + 2 * TableRowHeight + 18;
    pen.text(QRectF(AnswerLeft, top, Right - AnswerLeft, 32), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             QStringLiteral("(3)  x の変域ごとに、y を x の式で表しなさい。"), 10.5);

    const double first = top + 62, spacing = 32;
    if (sheet == WorksheetPage::Sheet::Answer) {
        double baseline = first;
        for (const AreaFunction::Domain &domain : AreaFunction::domains(columns)) {
            pen.textAt(QPointF(AnswerLeft + 10, baseline), AreaFunction::domainText(domain), 12, true);
            baseline += spacing;
        }
        return;
    }
    // Lines to write on, as many as the function can have pieces.
    for (int i = 0; i < 5; ++i) {
        const double y = first + 4 + i * spacing;
        pen.line(QPointF(AnswerLeft + 10, y), QPointF(Right, y), 0.5, PageInk::Grid);
    }
}

} // namespace

QSizeF WorksheetPage::paperSize()
{
    return PagePen::paperSize();
}

QPointF WorksheetPage::graphPoint(double x, double y)
{
    return QPointF(GraphLeft + GraphSquare / GraphAxes::CmPerSquare * x, GraphBottom - GraphSquare / GraphAxes::AreaPerSquare * y);
}

QRectF WorksheetPage::tableCell(int row, int column)
{
    return QRectF(Left + TableLabelWidth + column * TableCellWidth, TableTop + row * TableRowHeight, TableCellWidth,
                  TableRowHeight);
}

void WorksheetPage::draw(QPainter &painter, QRectF target) const
{
    PagePen pen(painter, target);
    drawHeader(pen, m_sheet);
    drawQuestion(pen);
    PageFigure::draw(pen, m_columns, QPointF(EnvelopeLeft, EnvelopeTop));
    drawTable(pen, m_columns, m_sheet);
    drawGraph(pen, m_columns, m_sheet);
    drawExpressions(pen, m_columns, m_sheet);
}
