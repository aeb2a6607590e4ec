#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

class PracticeSheet;
class QPainter;

// A pupil's practice as one A4 page to hand in: the title, 年・組・番・名前 as typed, the
// figure, every question with the answer given and its mark, the count large and the result
// by group. Drawn as lines and text on any painter (PDF writer, printer, image), black on
// white to save toner, like the worksheet.
//
// The layout is written in points (1/72 inch) from the paper's top left corner.
class ResultPage
{
public:
    enum class Column { Question, Answer, Mark };

    explicit ResultPage(const PracticeSheet &sheet) : m_sheet(sheet) {}

    // Draws the page so that the paper fills the target (device coordinates of the painter).
    void draw(QPainter &painter, QRectF target) const;

    // A4 portrait.
    static QSizeF paperSize();
    // A cell of a question's row, the questions in the sheet's order.
    static QRectF cell(int question, Column column);
    // Where "正解 k / n" stands.
    static QRectF countBox();
    // The line of 年・組・番・名前, and the result by group below it.
    static QRectF nameLine();
    static QRectF groupLine();

    // A field of 年・組・番・名前 as typed, as one line, without the field's own word where the
    // pupil typed it too ("2年" in 年 is 2): the page and the file's name write the words.
    static QString nameField(const PracticeSheet &sheet, int field);
    // The words of the fields.
    static QString fieldWord(int field);

    // What a pupil typed, as one line: breaks and other control characters are blanks, runs
    // of blanks one, none at either end.
    static QString oneLine(const QString &typed);

private:
    const PracticeSheet &m_sheet;
};
