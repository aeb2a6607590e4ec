#include "panels/expression_list.h"

#include "lesson/lesson.h"
#include "panels/graph_axes.h"
#include "surface/fonts.h"
#include "surface/palette.h"
#include "surface/picture_box.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {

// The list's top left corner on the panel.
constexpr double Left = 42;
constexpr double Top = 8;
// Every line keeps this many pixels, measured straight up, above the line y = 6x: the
// steepest any figure draws (five 6 cm pieces), so no curve ever meets the list.
constexpr double Clearance = 12;
constexpr int LargestPixelSize = 40;
constexpr int SmallestPixelSize = 10;

// The panel's y pixel of the line y = 6x at the panel's x pixel.
double steepestCurveAt(double panelX)
{
    using namespace GraphAxes;
    // Pixels up per pixel across, exactly, so that a line just fitting still fits.
    constexpr double rise = AreaFunction::SteepestSlope * (SquarePixels / AreaPerSquare) / (SquarePixels / CmPerSquare);
    return OriginY - rise * (panelX - OriginX);
}

// Where the i-th line stands when written in face.
QRectF lineRect(const QFont &face, int index, const QString &text)
{
    const QFontMetricsF metrics(face);
    // The emboldened ink may reach past the advance; the label clips to its box.
    const double width = std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).right()) + 2;
    // A little space between the lines; the boxes meet, so no grid line shows between them.
    const double height = std::ceil(metrics.height() * 1.1);
    return QRectF(Left, Top + index * height, std::ceil(width), height);
}

// The largest bold face in which every line of the list fits above the curves.
QFont fittedFace(const QStringList &lines)
{
    QFont face = Fonts::layoutFont(18, true);
    for (int size = LargestPixelSize; size > SmallestPixelSize; --size) {
        face.setPixelSize(size);
        bool fits = true;
        for (int i = 0; i < lines.size() && fits; ++i) {
            // The line y = 6x falls to the left, so a box's lower right corner is its nearest.
            const QRectF box = lineRect(face, i, lines[i]);
            fits = box.bottom() <= steepestCurveAt(box.right()) - Clearance;
        }
        if (fits)
            return face;
    }
    face.setPixelSize(SmallestPixelSize);
    return face;
}

} // namespace

ExpressionList::ExpressionList(PictureBox &panel, const Lesson &lesson, QObject *parent)
    : QObject(parent)
    , panel(panel)
    , lesson(lesson)
{
    for (auto &label : m_labels) {
        label = panel.add<LabelControl>(QString(), m_face, Palette::answerInk());
        // On the panel's own colour: no grid line crosses the letters, and the grid hidden
        // there is where no curve ever goes.
        label->setBackColor(panel.backColor());
        label->setVisible(false);
    }
}

void ExpressionList::refresh()
{
    const AreaFunction::Columns &columns = lesson.columns();
    bool refitted = false;
    if (m_fittedFor != columns) {
        QStringList all;
        for (const AreaFunction::Domain &domain : AreaFunction::domains(columns))
            all << AreaFunction::domainText(domain);
        m_face = fittedFace(all);
        m_fittedFor = columns;
        refitted = true;
    }

    const double x = lesson.distance();
    QStringList lines;
    for (const AreaFunction::Domain &domain : AreaFunction::domainsEntered(columns, x))
        lines << AreaFunction::domainText(domain);
    // Most steps stay within a domain: the panel is not painted again for them.
    if (lines == m_lines && !refitted)
        return;
    m_lines = lines;
    show();
}

void ExpressionList::switched(bool)
{
    show();
}

void ExpressionList::show()
{
    const bool ticked = lesson.isOn(Lesson::Switch::Expressions);
    for (int i = 0; i < int(m_labels.size()); ++i) {
        LabelControl *label = m_labels[i];
        const bool listed = i < m_lines.size();
        if (listed) {
            const QRectF box = lineRect(m_face, i, m_lines[i]);
            label->setCaption(m_lines[i]);
            label->setFont(m_face);
            label->setLeft(box.left());
            label->setTop(box.top());
            label->setSize(box.size());
        }
        label->setVisible(ticked && listed);
    }
}

std::vector<QRectF> ExpressionList::shownBoxes() const
{
    std::vector<QRectF> boxes;
    for (const LabelControl *label : m_labels) {
        if (label->isVisible())
            boxes.push_back(label->rect());
    }
    return boxes;
}

QString ExpressionList::description() const
{
    return lesson.isOn(Lesson::Switch::Expressions) ? m_lines.join(QStringLiteral("; ")) : QString();
}
