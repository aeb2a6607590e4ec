#include "practice/practice_question.h"

#include <QRandomGenerator>
#include <algorithm>

using AreaFunction::plain;

PracticeQuestion::Group PracticeQuestion::group() const
{
    switch (kind) {
    case Kind::TableY: return Group::Table;
    case Kind::Expression: return Group::Expressions;
    case Kind::YAt:
    case Kind::XAt: break;
    }
    return Group::YAndX;
}

QString PracticeQuestion::text() const
{
    switch (kind) {
    case Kind::TableY:
    case Kind::YAt: return QStringLiteral("x=%1 のときの y").arg(plain(x));
    case Kind::Expression: return QStringLiteral("%1≦x≦%2 のときの式").arg(plain(domain.from), plain(domain.to));
    case Kind::XAt: break;
    }
    return QStringLiteral("y=%1 のときの x").arg(plain(y));
}

QString PracticeQuestion::answerText() const
{
    switch (kind) {
    case Kind::TableY:
    case Kind::YAt: return plain(y);
    case Kind::Expression: return AreaFunction::expressionText(domain.slope, domain.intercept);
    case Kind::XAt: break;
    }
    return plain(x);
}

std::vector<PracticeQuestion> practiceQuestions(const AreaFunction::Columns &figure)
{
    using Kind = PracticeQuestion::Kind;
    std::vector<PracticeQuestion> questions;
    for (int x = 1; x <= int(AreaFunction::Length); ++x)
        questions.push_back({ Kind::TableY, double(x), AreaFunction::areaAt(figure, x), {} });

    const std::vector<AreaFunction::Domain> domains = AreaFunction::domains(figure);
    for (const AreaFunction::Domain &domain : domains)
        questions.push_back({ Kind::Expression, 0, 0, domain });

    const auto rising = [](const AreaFunction::Domain &d) { return d.slope > 0; };
    const auto first = std::find_if(domains.begin(), domains.end(), rising);
    if (first == domains.end())
        return questions;
    const auto last = std::find_if(domains.rbegin(), domains.rend(), rising);
    // Domains start and end at even x, so the middle is whole: half a centimetre past it
    // for y, half before it for x, which differ even when both use the same domain. Both y
    // are whole, and finding x takes the expression, not the table.
    const double yAtX = (first->from + first->to) / 2 + 0.5;
    const double xAtX = (last->from + last->to) / 2 - 0.5;
    questions.push_back({ Kind::YAt, yAtX, AreaFunction::areaAt(figure, yAtX), {} });
    questions.push_back({ Kind::XAt, xAtX, AreaFunction::areaAt(figure, xAtX), {} });
    return questions;
}

bool makesWholeExercise(const AreaFunction::Columns &figure)
{
    const bool rising = std::any_of(figure.begin(), figure.end(), [](PieceKind k) { return k != PieceKind::Empty; });
    return rising && AreaFunction::domains(figure).size() >= 2;
}

AreaFunction::Columns randomExerciseFigure(QRandomGenerator &random)
{
    AreaFunction::Columns figure {};
    do {
        for (PieceKind &kind : figure)
            kind = PieceKind(random.bounded(int(PieceKinds.size()) + 1));
    } while (!makesWholeExercise(figure));
    return figure;
}
