#pragma once

#include "practice/practice_question.h"

#include <QString>
#include <optional>

// What a pupil types, read as pupils write it, and checked against a question's answer.
namespace AnswerCheck {

// A number, or a linear expression of x: y = slope·x + intercept. A number has no x.
struct Reading
{
    double slope = 0;
    double intercept = 0;
    bool hasX = false;
    // The letter a leading "y=" or "x=" names: "x=16" does not answer y, nor "y=3.5" x.
    enum class Named { None, Y, X };
    Named named = Named::None;
    bool operator==(const Reading &) const = default;
};

// Reads "y=4x+4", "4x+4", "4+4x", "y = 2x − 4", "y=32", "-x", "0.5x", "x=3.5", with full-width
// digits, letters and signs as a Japanese input method gives them, blanks anywhere, and the
// minus signs of either keyboard ("−", "ー", "－", "-"). Nothing when the text is neither a
// number nor a linear expression of x (empty, "あ", "x²", "2xx", "y=", "4x+", "=3", "1,5"),
// and for an expression left to be tidied, with x or the number twice ("2x+x", "3+5").
std::optional<Reading> read(const QString &typed);

enum class Verdict { Right, Wrong, Unreadable };

// Right when the typed value is the question's answer: the same number (a table's or y's
// "16" or "y=16", an x's "3.5" or "x=3.5"), or the domain's expression (for a level domain
// "y=28" and "28" alike). A readable text of the wrong kind (an expression where a number is
// asked) is wrong, not unreadable.
Verdict check(const PracticeQuestion &question, const QString &typed);

// What is said of an unreadable text; it is not counted as a try.
QString unreadableMessage();

} // namespace AnswerCheck
