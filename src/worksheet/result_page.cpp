#include "worksheet/result_page.h"

#include "practice/practice_sheet.h"
#include "worksheet/page_figure.h"
#include "worksheet/page_pen.h"

#include <QPainter>
#include <algorithm>
#include <array>

namespace {

constexpr double Left = 48;
constexpr double Right = 547;

constexpr double NameBaseline = 108;
constexpr double RuleY = 124;

// The envelope at its true size, its corner A here: its letters clear the group line and
// its width written beneath clears the questions.
const QPointF EnvelopeCorner(216, 184);

// The questions: a header, then a row each, as many as a figure can ask (five domains).
constexpr double TableTop = 394;
constexpr double HeaderHeight = 18;
constexpr double RowHeight = 22;
constexpr double AnswerLeft = 286;
constexpr double MarkLeft = 466;
constexpr double Padding = 8;

using Mark = PracticeSheet::Mark;

void drawHeader(PagePen &pen, const PracticeSheet &sheet)
{
    // No bold on this page: the PDF writer draws a font without a bold face twice, a
    // fraction of a printer's dot apart, so that its bold prints as regular, and the PDF and
    // the picture are to look the same.
    pen.textAt(QPointF(Left, 74), QStringLiteral("関数の利用 練習の結果"), 22);
    pen.text(ResultPage::countBox(), Qt::AlignRight | Qt::AlignVCenter, sheet.countText(), 26);
    pen.text(QRectF(Right - 220, ResultPage::countBox().bottom(), 220, 12), Qt::AlignRight | Qt::AlignTop,
             QStringLiteral("1回目で正しく答えた問題の数"), 8.5);

    // "2 年 3 組 15 番 名前 山田 花子" as typed; what is not typed stays blank, to be written in.
    const double wordSize = 11, valueSize = 12;
    double x = Left;
    for (int i = 0; i < PracticeSheet::NameFields; ++i) {
        const QString word = ResultPage::fieldWord(i);
        const QString typed = ResultPage::nameField(sheet, i);
        if (i == PracticeSheet::NameFields - 1) {
            x += 12;
            pen.textAt(QPointF(x, NameBaseline), word, wordSize);
            x += pen.width(word, wordSize) + 8;
            pen.textAt(QPointF(x, NameBaseline), pen.elided(typed, Right - x, valueSize), valueSize);
            break;
        }
        const QString value = pen.elided(typed, 90, valueSize);
        const double width = pen.width(value, valueSize);
        const double slot = std::max(30.0, width + 10);
        pen.textAt(QPointF(x + slot - 4 - width, NameBaseline), value, valueSize);
        x += slot;
        pen.textAt(QPointF(x, NameBaseline), word, wordSize);
        x += pen.width(word, wordSize);
    }
    pen.line(QPointF(Left, NameBaseline + 4), QPointF(Right, NameBaseline + 4), 0.6);
    pen.line(QPointF(Left, RuleY), QPointF(Right, RuleY), 1.2);

    int open = 0;
    for (int i = 0; i < sheet.questionCount(); ++i)
        open += sheet.isOpen(i);
    QString groups = sheet.resultText();
    if (open > 0)
        groups += QStringLiteral("　（残り %1 問）").arg(open);
    pen.text(ResultPage::groupLine(), Qt::AlignLeft | Qt::AlignVCenter, groups, 12);
}

void drawQuestions(PagePen &pen, const PracticeSheet &sheet)
{
    const int rows = sheet.questionCount();
    const double bottom = TableTop + HeaderHeight + rows * RowHeight;
    pen.box(QRectF(Left, TableTop, Right - Left, HeaderHeight), 0, QColor(242, 242, 242));
    const QRectF header(Left, TableTop, Right - Left, HeaderHeight);
    pen.text(QRectF(Left + Padding, header.top(), AnswerLeft - Left, HeaderHeight), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("問題"), 10);
    pen.text(QRectF(AnswerLeft + Padding, header.top(), MarkLeft - AnswerLeft, HeaderHeight), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("答え"), 10);
    pen.text(QRectF(MarkLeft, header.top(), Right - MarkLeft, HeaderHeight), Qt::AlignCenter, QStringLiteral("○×"), 10);

    for (int i = 0; i < rows; ++i) {
        const PracticeQuestion &question = sheet.questions()[i];
        const PracticeSheet::Answer &answer = sheet.answer(i);
        auto inset = [](QRectF cell) { return cell.adjusted(Padding, 0, -Padding, 0); };
        pen.text(inset(ResultPage::cell(i, ResultPage::Column::Question)), Qt::AlignLeft | Qt::AlignVCenter, question.text(), 11);

        const QRectF answerCell = inset(ResultPage::cell(i, ResultPage::Column::Answer));
        const QString given = answer.mark == Mark::Shown ? QStringLiteral("答えは ") + question.answerText()
                                                         : ResultPage::oneLine(answer.typed);
        pen.text(answerCell, Qt::AlignLeft | Qt::AlignVCenter, pen.elided(given, answerCell.width(), 12), 12);

        const QRectF markCell = ResultPage::cell(i, ResultPage::Column::Mark);
        if (answer.mark == Mark::Right && !answer.rightFirstTime) {
            // Right at the second try: a mark, but not one the count counts.
            pen.text(markCell.adjusted(0, 0, -markCell.width() / 2, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("○"), 15);
            pen.text(markCell.adjusted(markCell.width() / 2 + 3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("2回目"), 8.5);
        } else if (answer.mark != Mark::None) {
            pen.text(markCell, Qt::AlignCenter, answer.mark == Mark::Right ? QStringLiteral("○") : QStringLiteral("×"), 15);
        }

        // The groups (表, 式, y と x) apart by a stronger line.
        const bool groupEnds = i + 1 < rows && sheet.questions()[i + 1].group() != question.group();
        const double y = ResultPage::cell(i, ResultPage::Column::Question).bottom();
        if (i + 1 < rows)
            pen.line(QPointF(Left, y), QPointF(Right, y), groupEnds ? 1.2 : 0.4, groupEnds ? PageInk::Black : PageInk::Grid);
    }
    pen.box(QRectF(Left, TableTop, Right - Left, bottom - TableTop), 1.2);
    pen.line(QPointF(Left, TableTop + HeaderHeight), QPointF(Right, TableTop + HeaderHeight), 0.8);
    for (double x : { AnswerLeft, MarkLeft })
        pen.line(QPointF(x, TableTop), QPointF(x, bottom), 0.6);
}

} // namespace

QSizeF ResultPage::paperSize()
{
    return PagePen::paperSize();
}

QRectF ResultPage::cell(int question, Column column)
{
    const double top = TableTop + HeaderHeight + question * RowHeight;
    switch (column) {
    case Column::Question: return QRectF(Left, top, AnswerLeft - Left, RowHeight);
    case Column::Answer: return QRectF(AnswerLeft, top, MarkLeft - AnswerLeft, RowHeight);
    case Column::Mark: break;
    }
    return QRectF(MarkLeft, top, Right - MarkLeft, RowHeight);
}

QRectF ResultPage::countBox()
{
    return QRectF(Right - 220, 44, 220, 36);
}

QRectF ResultPage::nameLine()
{
    return QRectF(Left, NameBaseline - 18, Right - Left, 24);
}

QRectF ResultPage::groupLine()
{
    return QRectF(Left, RuleY + 8, Right - Left, 20);
}

QString ResultPage::fieldWord(int field)
{
    static const std::array<QString, PracticeSheet::NameFields> words { QStringLiteral("年"), QStringLiteral("組"),
                                                                        QStringLiteral("番"), QStringLiteral("名前") };
    return words.at(field);
}

QString ResultPage::nameField(const PracticeSheet &sheet, int field)
{
    QString typed = oneLine(sheet.name().at(field));
    if (field < PracticeSheet::NameFields - 1 && typed.endsWith(fieldWord(field)))
        typed = typed.chopped(fieldWord(field).size()).trimmed();
    return typed;
}

QString ResultPage::oneLine(const QString &typed)
{
    // By code point: a name may hold a character beyond the first plane (𠮷).
    QString line;
    for (const uint c : typed.toUcs4()) {
        const char32_t point = c;
        line += QChar::isPrint(point) ? QString::fromUcs4(&point, 1) : QStringLiteral(" ");
    }
    return line.simplified();
}

void ResultPage::draw(QPainter &painter, QRectF target) const
{
    PagePen pen(painter, target);
    drawHeader(pen, m_sheet);
    PageFigure::draw(pen, m_sheet.figure(), EnvelopeCorner);
    drawQuestions(pen, m_sheet);
}
