#pragma once

#include "practice/practice_question.h"

#include <QObject>
#include <QString>
#include <array>
#include <vector>

// A pupil's practice on one figure: the questions, what was typed into each, the marks, the
// question that has the focus and the count of answers right at the first try. It has no
// widget; the practice panel follows it. Everything in it can be kept as text and read back,
// so that a reload or a restart loses nothing.
class PracticeSheet : public QObject
{
    Q_OBJECT

public:
    enum class Mark {
        None,  // not checked yet
        Wrong, // one wrong try; it may be tried again
        Right,
        Shown, // wrong twice: the right answer is shown instead
    };

    struct Answer
    {
        QString typed;
        Mark mark = Mark::None;
        // Right at the first try: what the count counts.
        bool rightFirstTime = false;
        bool operator==(const Answer &) const = default;
    };

    explicit PracticeSheet(QObject *parent = nullptr);

    // Starts afresh on a figure: every answer empty, the focus on the first question.
    void start(const AreaFunction::Columns &figure);
    const AreaFunction::Columns &figure() const { return m_figure; }
    const std::vector<PracticeQuestion> &questions() const { return m_questions; }
    const Answer &answer(int index) const { return m_answers.at(index); }

    // The question with the focus. Moving it (Tab, a tap on a cell) checks nothing.
    int current() const { return m_current; }
    void setCurrent(int index);
    // Whether a question still takes an answer: not right, not shown.
    bool isOpen(int index) const;

    // What the pupil has typed into a question's cell; an answered one keeps its answer.
    void setTyped(int index, const QString &text);

    // Enter or 確定: checks the current question's text.
    // - Unreadable: nothing changes and it is not a try; the status says how to answer.
    // - Right: marked ○ and the focus moves to the next open question.
    // - Wrong the first time: marked ×, the focus stays.
    // - Wrong the second time: the right answer is shown and the focus moves on.
    // - Already right or shown: nothing changes; the line says how it was answered.
    // Moving on goes to the next open question after this one, else the first from the top.
    // Returns the status line, as the page's status region and the desktop's description
    // read it: "x=3 のときの y 16 ○。次は x=4 のときの y", "x=2 のときの y 13 ×", and after the
    // last question "…。正解 k / n".
    QString check();

    // Answers right at the first try, of all questions.
    int rightAtFirstTry() const;
    int questionCount() const { return int(m_questions.size()); }
    // "正解 k / n".
    QString countText() const;
    bool isFinished() const;
    // The result by group: "表 8 / 10、式 2 / 3、y と x 1 / 2".
    QString resultText() const;
    // What the status region reads now: the current question, or the count once finished.
    QString statusText() const;

    // 年・組・番・名前, typed in practice for the result handed in.
    static constexpr int NameFields = 4;
    const std::array<QString, NameFields> &name() const { return m_name; }
    void setName(int field, const QString &text);

    // Everything above as one line of text (compact JSON), and read back: false (and
    // unchanged) for text that is not a sheet or is for no figure, or whose answers, marks or
    // focus do not fit that figure's questions.
    QString saved() const;
    bool restore(const QString &text);

signals:
    // Any change: an answer, a mark, the focus, the name.
    void changed();

private:
    // "x=3 のときの y 16 ○", or "… 13 ×。答えは 12" once shown.
    QString markLine(int index) const;

    AreaFunction::Columns m_figure {};
    std::vector<PracticeQuestion> m_questions;
    std::vector<Answer> m_answers;
    int m_current = 0;
    std::array<QString, NameFields> m_name;
};
