// The practice's questions for every figure against the squares a pupil counts, each
// question's own answer read back by the checker, and how pupils' texts are read.
#include "practice/answer_check.h"
#include "practice/practice_question.h"
#include "support/closed_form.h"
#include "support/composition.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <cmath>

using namespace LessonTest;
using Kind = PracticeQuestion::Kind;
using Named = AnswerCheck::Reading::Named;
using AnswerCheck::Verdict;

namespace {

Composition figureNumber(int code)
{
    Composition figure {};
    for (int &kind : figure) {
        kind = code % 4;
        code /= 4;
    }
    return figure;
}

// The answer with its first digit one more (9 becomes 0): another number or expression.
QString changedNumber(QString text)
{
    const qsizetype at = text.indexOf(QRegularExpression(QStringLiteral("\\d")));
    text[at] = QChar(u'0' + (text[at].unicode() - u'0' + 1) % 10);
    return text;
}

} // namespace

class TestPracticeQuestions : public QObject
{
    Q_OBJECT

private slots:
    void everyFigure()
    {
        for (int code = 0; code < 1024; ++code) {
            const Composition figure = figureNumber(code);
            const std::vector<PracticeQuestion> questions = practiceQuestions(figure);
            const QString where = QStringLiteral("figure %1%2%3%4%5").arg(figure[0]).arg(figure[1]).arg(figure[2]).arg(figure[3]).arg(figure[4]);
            int runs = 1;
            for (int i = 1; i < 5; ++i)
                runs += figure[i] != figure[i - 1];
            const bool rising = *std::max_element(figure.begin(), figure.end()) > 0;
            QVERIFY2(int(questions.size()) == 10 + runs + (rising ? 2 : 0), qPrintable(where));
            QCOMPARE(makesWholeExercise(figure), rising && runs >= 2);

            double reached = 0, yAtX = -1;
            for (size_t i = 0; i < questions.size(); ++i) {
                const PracticeQuestion &q = questions[i];
                const Kind expected = i < 10 ? Kind::TableY : int(i) < 10 + runs ? Kind::Expression : i + 2 == questions.size() ? Kind::YAt : Kind::XAt;
                QVERIFY2(q.kind == expected, qPrintable(where));
                QCOMPARE(AnswerCheck::check(q, q.answerText()), Verdict::Right);
                QCOMPARE(AnswerCheck::check(q, changedNumber(q.answerText())), Verdict::Wrong);
                if (q.kind != Kind::Expression) // within the checker's tolerance
                    QCOMPARE(AnswerCheck::check(q, q.answerText() + (q.answerText().contains(u'.') ? "" : ".") + "00000000001"), Verdict::Right);
                const auto inRisingDomain = [&](double x) {
                    return std::any_of(questions.begin(), questions.end(), [x](const PracticeQuestion &d) {
                        return d.kind == Kind::Expression && d.domain.slope > 0 && d.domain.from < x && x < d.domain.to;
                    });
                };
                switch (q.kind) {
                case Kind::TableY:
                    QCOMPARE(q.x, double(i + 1));
                    QCOMPARE(q.y, trueArea(figure, q.x));
                    QCOMPARE(AnswerCheck::check(q, QStringLiteral("x=") + q.answerText()), Verdict::Wrong);
                    break;
                case Kind::Expression: {
                    // The domains follow on from 0 to 10; the expression read back gives the
                    // squares' count at every half step of its own.
                    QCOMPARE(q.domain.from, reached);
                    reached = q.domain.to;
                    const auto reading = AnswerCheck::read(q.answerText());
                    QVERIFY(reading);
                    for (double x = q.domain.from; x <= q.domain.to; x += 0.5)
                        QVERIFY2(reading->slope * x + reading->intercept == trueArea(figure, x), qPrintable(where));
                    if (q.domain.slope == 0)
                        QCOMPARE(AnswerCheck::check(q, q.answerText().mid(2)), Verdict::Right);
                    break;
                }
                case Kind::YAt:
                    QVERIFY2(std::fmod(q.x, 1) == 0.5 && inRisingDomain(q.x), qPrintable(where));
                    QCOMPARE(q.y, trueArea(figure, q.x));
                    yAtX = q.x;
                    break;
                case Kind::XAt:
                    QVERIFY2(q.x != yAtX && inRisingDomain(q.x), qPrintable(where));
                    QCOMPARE(q.y, trueArea(figure, q.x));
                    for (int step = 0; step <= 20; ++step)
                        QVERIFY2((trueArea(figure, step / 2.0) == q.y) == (step == 2 * q.x), qPrintable(where));
                    QCOMPARE(AnswerCheck::check(q, QStringLiteral("y=") + q.answerText()), Verdict::Wrong);
                    break;
                }
            }
            QCOMPARE(reached, 10.0);
        }
        QRandomGenerator random(7);
        for (int i = 0; i < 100; ++i)
            QVERIFY(makesWholeExercise(randomExerciseFigure(random)));
    }

    // The lesson's own example: y=6x, y=4x+4 up to 6, then level at 28.
    void textsOfAFigure()
    {
        QStringList asked, answers;
        for (const PracticeQuestion &q : practiceQuestions(Composition { 3, 2, 2, 0, 0 })) {
            asked += q.text();
            answers += q.answerText();
        }
        QCOMPARE(asked.mid(2, 1) + asked.mid(10), QStringList({ "x=3 のときの y", "0≦x≦2 のときの式", "2≦x≦6 のときの式", "6≦x≦10 のときの式", "x=1.5 のときの y", "y=18 のときの x" }));
        QCOMPARE(answers.mid(2, 1) + answers.mid(10), QStringList({ "16", "y=6x", "y=4x+4", "y=28", "9", "3.5" }));
    }

    void reading_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<double>("slope");
        QTest::addColumn<double>("intercept");
        QTest::addColumn<bool>("hasX");
        QTest::addColumn<int>("named");
        const int None = int(Named::None), Y = int(Named::Y), X = int(Named::X);
        const struct { const char *typed; double slope, intercept; bool hasX; int named; } read[] = {
            { "y=4x+4", 4, 4, true, Y }, { "ｙ＝４ｘ＋４", 4, 4, true, Y }, { "y = 2x − 4", 2, -4, true, Y },
            { "4+4x", 4, 4, true, None }, { "-x+10", -1, 10, true, None }, { "x", 1, 0, true, None },
            { "0.5x", 0.5, 0, true, None }, { ".5", 0, 0.5, false, None }, { "３．５", 0, 3.5, false, None },
            { "x=3.5", 0, 3.5, false, X }, { "y=32", 0, 32, false, Y }, { "y＝ー２ｘ＋４", -2, 4, true, Y },
            { "Ｙ　＝　Ｘ", 1, 0, true, Y }, { "ｰ3x", -3, 0, true, None }, { "y=4x‐4", 4, -4, true, Y },
            { "y=–x−0.5", -1, -0.5, true, Y }, { "－６", 0, -6, false, None }, { "x=+03", 0, 3, false, X },
            { "y=0x+28", 0, 28, true, Y }, { "\t+7 ", 0, 7, false, None }, { "y=—x―1", -1, -1, true, Y },
        };
        for (const auto &row : read)
            QTest::newRow(row.typed) << QString::fromUtf8(row.typed) << true << row.slope << row.intercept << row.hasX << row.named;
        const char *const refused[] = {
            "", "  ", "あ", "x²", "2xx", "y=", "4x+", "=3", "3=", "y=x=2", "x=4x", "x=x+1", "4/2", "(4)", "2(x+1)",
            "1,5", "３，５", "2x+3+x", "3+5", "+-3", "--3", "3.", ".", "1.2.3", "4*x", "4×x", "z", "xy", "y", "x=y",
            "1e3", "x4", "4x+4=y", "y=y", "x+", "½",
        };
        for (const char *typed : refused)
            QTest::newRow(typed) << QString::fromUtf8(typed) << false << 0.0 << 0.0 << false << None;
    }
    void reading()
    {
        QFETCH(QString, typed);
        QFETCH(bool, readable);
        QFETCH(double, slope);
        QFETCH(double, intercept);
        QFETCH(bool, hasX);
        QFETCH(int, named);
        const std::optional<AnswerCheck::Reading> reading = AnswerCheck::read(typed);
        QCOMPARE(reading.has_value(), readable);
        if (readable)
            QVERIFY(*reading == (AnswerCheck::Reading { slope, intercept, hasX, Named(named) }));
    }
};

QTEST_APPLESS_MAIN(TestPracticeQuestions)
#include "tst_practice_questions.moc"
