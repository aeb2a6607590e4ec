#include "practice/practice_sheet.h"
#include "practice/answer_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace {

// The marks as the saved text names them, in the order of PracticeSheet::Mark.
const std::array<QLatin1StringView, 4> MarkNames {
    QLatin1StringView("none"), QLatin1StringView("wrong"), QLatin1StringView("right"), QLatin1StringView("shown")
};

} // namespace

PracticeSheet::PracticeSheet(QObject *parent)
    : QObject(parent)
    , m_questions(practiceQuestions(m_figure))
    , m_answers(m_questions.size())
{
}

void PracticeSheet::start(const AreaFunction::Columns &figure)
{
    m_figure = figure;
    m_questions = practiceQuestions(figure);
    m_answers.assign(m_questions.size(), Answer {});
    m_current = 0;
    emit changed();
}

void PracticeSheet::setCurrent(int index)
{
    if (index < 0 || index >= questionCount() || index == m_current)
        return;
    m_current = index;
    emit changed();
}

bool PracticeSheet::isOpen(int index) const
{
    if (index < 0 || index >= questionCount())
        return false;
    const Mark mark = m_answers[index].mark;
    return mark != Mark::Right && mark != Mark::Shown;
}

void PracticeSheet::setTyped(int index, const QString &text)
{
    if (!isOpen(index) || m_answers[index].typed == text)
        return;
    m_answers[index].typed = text;
    emit changed();
}

QString PracticeSheet::check()
{
    const int index = m_current;
    const PracticeQuestion &question = m_questions[index];
    Answer &answer = m_answers[index];
    if (!isOpen(index))
        return markLine(index) + (isFinished() ? QStringLiteral("。") + countText() : QString());

    switch (AnswerCheck::check(question, answer.typed)) {
    case AnswerCheck::Verdict::Unreadable:
        return question.text() + QStringLiteral(": ") + AnswerCheck::unreadableMessage();
    case AnswerCheck::Verdict::Right:
        answer.rightFirstTime = answer.mark == Mark::None;
        answer.mark = Mark::Right;
        break;
    case AnswerCheck::Verdict::Wrong:
        if (answer.mark == Mark::None) {
            answer.mark = Mark::Wrong;
            emit changed();
            return markLine(index);
        }
        answer.mark = Mark::Shown;
        break;
    }
    // On to the next open question, after this one first, then from the top.
    for (int step = 1; step < questionCount(); ++step) {
        const int next = (index + step) % questionCount();
        if (isOpen(next)) {
            m_current = next;
            break;
        }
    }
    emit changed();
    if (isFinished())
        return markLine(index) + QStringLiteral("。") + countText();
    return markLine(index) + QStringLiteral("。次は ") + m_questions[m_current].text();
}

QString PracticeSheet::markLine(int index) const
{
    const Answer &answer = m_answers[index];
    QString line = m_questions[index].text() + QLatin1Char(' ') + answer.typed.trimmed() + QLatin1Char(' ')
        + (answer.mark == Mark::Right ? QStringLiteral("○") : QStringLiteral("×"));
    if (answer.mark == Mark::Shown)
        line += QStringLiteral("。答えは ") + m_questions[index].answerText();
    return line;
}

int PracticeSheet::rightAtFirstTry() const
{
    return int(std::count_if(m_answers.begin(), m_answers.end(), [](const Answer &a) { return a.rightFirstTime; }));
}

QString PracticeSheet::countText() const
{
    return QStringLiteral("正解 %1 / %2").arg(rightAtFirstTry()).arg(questionCount());
}

bool PracticeSheet::isFinished() const
{
    for (int i = 0; i < questionCount(); ++i) {
        if (isOpen(i))
            return false;
    }
    return true;
}

QString PracticeSheet::resultText() const
{
    using Group = PracticeQuestion::Group;
    const std::array<std::pair<Group, QString>, 3> groups { { { Group::Table, QStringLiteral("表") },
                                                              { Group::Expressions, QStringLiteral("式") },
                                                              { Group::YAndX, QStringLiteral("y と x") } } };
    QStringList parts;
    for (const auto &[group, title] : groups) {
        int right = 0, count = 0;
        for (int i = 0; i < questionCount(); ++i) {
            if (m_questions[i].group() == group) {
                ++count;
                right += m_answers[i].rightFirstTime;
            }
        }
        if (count > 0)
            parts += QStringLiteral("%1 %2 / %3").arg(title).arg(right).arg(count);
    }
    return parts.join(QStringLiteral("、"));
}

QString PracticeSheet::statusText() const
{
    return isFinished() ? countText() : m_questions[m_current].text();
}

void PracticeSheet::setName(int field, const QString &text)
{
    if (field < 0 || field >= NameFields || m_name[field] == text)
        return;
    m_name[field] = text;
    emit changed();
}

QString PracticeSheet::saved() const
{
    QString figure;
    for (PieceKind kind : m_figure)
        figure += QChar(u'0' + int(kind));
    QJsonArray answers;
    for (const Answer &a : m_answers) {
        answers.append(QJsonObject { { QStringLiteral("typed"), a.typed },
                                     { QStringLiteral("mark"), MarkNames[int(a.mark)] },
                                     { QStringLiteral("first"), a.rightFirstTime } });
    }
    QJsonArray name;
    for (const QString &field : m_name)
        name.append(field);
    const QJsonObject sheet { { QStringLiteral("figure"), figure },
                              { QStringLiteral("answers"), answers },
                              { QStringLiteral("current"), m_current },
                              { QStringLiteral("name"), name } };
    QString text = QString::fromUtf8(QJsonDocument(sheet).toJson(QJsonDocument::Compact));
    // JSON escapes the control characters in a string but leaves these, which some readers
    // take for the end of a line.
    for (char16_t breaking : { u'\u0085', u'\u2028', u'\u2029' })
        text.replace(QChar(breaking), QStringLiteral("\\u%1").arg(int(breaking), 4, 16, QLatin1Char('0')));
    return text;
}

bool PracticeSheet::restore(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject sheet = document.object();
    if (sheet.size() != 4)
        return false;

    const QString digits = sheet.value(QStringLiteral("figure")).toString();
    AreaFunction::Columns figure {};
    if (digits.size() != qsizetype(figure.size()))
        return false;
    for (size_t i = 0; i < figure.size(); ++i) {
        const int kind = digits[qsizetype(i)].unicode() - u'0';
        if (kind < 0 || kind > int(PieceKinds.back()))
            return false;
        figure[i] = PieceKind(kind);
    }
    std::vector<PracticeQuestion> questions = practiceQuestions(figure);

    const QJsonArray savedAnswers = sheet.value(QStringLiteral("answers")).toArray();
    if (savedAnswers.size() != qsizetype(questions.size()))
        return false;
    std::vector<Answer> answers;
    for (const QJsonValue &value : savedAnswers) {
        const QJsonObject a = value.toObject();
        const QJsonValue typed = a.value(QStringLiteral("typed")), first = a.value(QStringLiteral("first"));
        const auto mark = std::find(MarkNames.begin(), MarkNames.end(), a.value(QStringLiteral("mark")).toString());
        if (a.size() != 3 || !typed.isString() || !first.isBool() || mark == MarkNames.end())
            return false;
        answers.push_back({ typed.toString(), Mark(mark - MarkNames.begin()), first.toBool() });
        if (answers.back().rightFirstTime && answers.back().mark != Mark::Right)
            return false;
    }

    const QJsonValue current = sheet.value(QStringLiteral("current"));
    const double index = current.toDouble(-1);
    if (!current.isDouble() || index != std::floor(index) || index < 0 || index >= double(questions.size()))
        return false;

    const QJsonArray savedName = sheet.value(QStringLiteral("name")).toArray();
    if (savedName.size() != NameFields)
        return false;
    std::array<QString, NameFields> name;
    for (int i = 0; i < NameFields; ++i) {
        if (!savedName[i].isString())
            return false;
        name[i] = savedName[i].toString();
    }

    if (figure == m_figure && answers == m_answers && int(index) == m_current && name == m_name)
        return true;
    m_figure = figure;
    m_questions = std::move(questions);
    m_answers = std::move(answers);
    m_current = int(index);
    m_name = name;
    emit changed();
    return true;
}
