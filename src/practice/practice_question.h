#pragma once

#include "area/area_function.h"

#include <QString>
#include <vector>

class QRandomGenerator;

// One question of the lesson's exercise about a figure, with its right answer.
struct PracticeQuestion
{
    enum class Kind {
        TableY,     // y at a whole x, as the table asks it
        Expression, // the expression of one domain
        YAt,        // y at an x that is not whole
        XAt,        // x at a y that has a single answer
    };
    // The parts of the result: 表, 式, y と x.
    enum class Group { Table, Expressions, YAndX };

    Kind kind = Kind::TableY;
    // TableY and YAt: the x asked about; XAt: the answer.
    double x = 0;
    // TableY and YAt: the answer; XAt: the y given.
    double y = 0;
    // Expression: the domain asked about.
    AreaFunction::Domain domain;

    Group group() const;
    // As the question is read out: "x=3 のときの y", "2≦x≦6 のときの式", "x=3.5 のときの y",
    // "y=20 のときの x".
    QString text() const;
    // The right answer as a pupil writes it: "16", "y=4x+4", "y=28", "3.5".
    QString answerText() const;
};

// The questions about a figure, in the order they are asked: y at x = 1 to 10; each
// domain's expression from the left; y at one x that is not whole, in a rising domain; x at
// one y that only one x gives, a whole or half number inside a rising domain. The same
// figure always gets the same questions. A figure without a rising domain has no y and x
// questions.
std::vector<PracticeQuestion> practiceQuestions(const AreaFunction::Columns &figure);

// Whether a figure makes a whole exercise: at least two domains and a rising one.
bool makesWholeExercise(const AreaFunction::Columns &figure);
// A figure drawn at random that makes a whole exercise ("新しい問題").
AreaFunction::Columns randomExerciseFigure(QRandomGenerator &random);
