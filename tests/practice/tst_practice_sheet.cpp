// Random practice on a sheet: a pupil types right, wrong and malformed answers, presses
// Enter, moves the focus, writes a name, saves and reloads the sheet (or a spoilt copy), and
// starts on new figures. After every action the answers, marks, focus, count, status lines
// and changes announced are compared with a small reference written here. The questions
// themselves are checked against the squares in tst_practice_questions.
//
// Then sheets kept for many figures, the last practised of each kept, up to the most.
//
// RC_PARAMS sets the run; without it: 1000 sequences of up to 400 actions.
#include "practice/kept_sheets.h"
#include "practice/practice_sheet.h"
#include "support/composition.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <tuple>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

namespace {

using LessonTest::Composition;
using Mark = PracticeSheet::Mark;
using Kind = PracticeQuestion::Kind;
enum class Class { Right, Wrong, Unreadable };

// Texts that must come back from a saved sheet as they went in.
const QString Awkward[] = { QString(), QStringLiteral("\"},{\"mark\":\"right\"}"), QStringLiteral("%22 \\u0000 \\"),
                            QStringLiteral("a\nb\r\u2028c\u2029\u0085"), QString(QChar(0)) + QStringLiteral("組"),
                            QStringLiteral("　山田　花子　") };

struct Reference
{
    Composition figure {};
    std::vector<PracticeQuestion> questions; // the program's, checked on their own
    std::vector<PracticeSheet::Answer> answers;
    std::vector<Class> kinds; // of each typed text
    int current = 0;
    std::array<QString, PracticeSheet::NameFields> name;
    QString line;     // what the last Enter said
    int changes = 0;  // what the last action announced
    std::vector<std::shared_ptr<const Reference>> kept; // one a figure, the last saved first

    void start(const Composition &f)
    {
        figure = f;
        questions = practiceQuestions(f);
        answers.assign(questions.size(), {});
        kinds.assign(questions.size(), Class::Unreadable);
        current = 0;
        ++changes;
    }
    int count() const { return int(questions.size()); }
    bool open(int i) const { return answers[i].mark == Mark::None || answers[i].mark == Mark::Wrong; }
    bool finished() const { return std::none_of(answers.begin(), answers.end(), [](auto &a) { return a.mark == Mark::None || a.mark == Mark::Wrong; }); }
    QString countText() const
    {
        return QStringLiteral("正解 %1 / %2").arg(std::count_if(answers.begin(), answers.end(), [](auto &a) { return a.rightFirstTime; })).arg(count());
    }
    QString result() const
    {
        int right[3] = {}, total[3] = {};
        for (int i = 0; i < count(); ++i) {
            const int group = questions[i].kind == Kind::TableY ? 0 : questions[i].kind == Kind::Expression ? 1 : 2;
            ++total[group];
            right[group] += answers[i].rightFirstTime;
        }
        QStringList parts;
        for (int g = 0; g < 3; ++g)
            if (total[g])
                parts += QStringLiteral("%1 %2 / %3").arg(QStringList { "表", "式", "y と x" }[g]).arg(right[g]).arg(total[g]);
        return parts.join(QStringLiteral("、"));
    }
    // Enter on the current question.
    void enter()
    {
        const int i = current;
        PracticeSheet::Answer &a = answers[i];
        const auto said = [&] {
            const QString line = questions[i].text() + ' ' + a.typed.trimmed() + ' ' + (a.mark == Mark::Right ? u'○' : u'×');
            return a.mark == Mark::Shown ? line + QStringLiteral("。答えは ") + questions[i].answerText() : line;
        };
        if (!open(i)) {
            line = said() + (finished() ? QStringLiteral("。") + countText() : QString());
            return;
        }
        if (kinds[i] == Class::Unreadable) {
            line = questions[i].text() + QStringLiteral(": 数か x の式で答えましょう");
            return;
        }
        ++changes;
        if (kinds[i] == Class::Wrong && a.mark == Mark::None) {
            a.mark = Mark::Wrong;
            line = said();
            return;
        }
        a.rightFirstTime = kinds[i] == Class::Right && a.mark == Mark::None;
        a.mark = kinds[i] == Class::Right ? Mark::Right : Mark::Shown;
        int next = i + 1;
        while (next < count() && !open(next))
            ++next;
        for (next = next < count() ? next : 0; next < i && !open(next);)
            ++next;
        current = open(next) ? next : i;
        line = said() + (finished() ? QStringLiteral("。") + countText() : QStringLiteral("。次は ") + questions[next].text());
    }
};

struct Subject
{
    PracticeSheet sheet;
    int announced = 0;
    QString line, kept; // kept: the shelf of sheets, as the device keeps it
    Subject() { QObject::connect(&sheet, &PracticeSheet::changed, [this] { ++announced; }); }
};

long sequences = 0, actions = 0, finished = 0; // finished: sheets done

void verifySheet(const Reference &r, const PracticeSheet &sheet)
{
    RC_ASSERT(sheet.figure() == r.figure);
    RC_ASSERT(sheet.questionCount() == r.count());
    for (int i = 0; i < r.count(); ++i)
        RC_ASSERT(sheet.answer(i) == r.answers[i] && sheet.isOpen(i) == r.open(i));
    RC_ASSERT(sheet.current() == r.current);
    RC_ASSERT(sheet.isFinished() == r.finished());
    RC_ASSERT(sheet.countText() == r.countText());
    RC_ASSERT(sheet.statusText() == (r.finished() ? r.countText() : r.questions[r.current].text()));
    RC_ASSERT(sheet.resultText() == r.result());
    RC_ASSERT(sheet.name() == r.name);
}

using Command = rc::state::Command<Reference, Subject>;

void check(const Command &command, const Reference &before, Subject &s, const std::function<void()> &act)
{
    ++actions;
    s.announced = 0;
    act();
    Reference after = before;
    after.changes = 0;
    command.apply(after);
    verifySheet(after, s.sheet);
    RC_ASSERT(s.announced == after.changes);
    RC_ASSERT(s.line == after.line);
    finished += after.finished() && !before.finished();
}

QString fullWidth(QString text)
{
    for (QChar &c : text)
        if (c.unicode() > 0x20 && c.unicode() < 0x7f)
            c = QChar(c.unicode() + 0xfee0);
    return text;
}

// A text of the class asked for: four forms of a right or a wrong one, nine malformed ones.
QString textFor(const PracticeQuestion &q, Class kind, int form)
{
    using AreaFunction::plain;
    const QString answer = q.answerText();
    const bool expression = q.kind == Kind::Expression;
    if (kind == Class::Right) {
        const QString written = expression ? answer.mid(2).replace(QStringLiteral("−"), QStringLiteral("-"))
                                           : (q.kind == Kind::XAt ? QStringLiteral("x=") : QStringLiteral("y=")) + answer;
        return std::array { answer, written, fullWidth(written), QString(QStringLiteral("  ") + answer + QStringLiteral("　")) }[form % 4];
    }
    if (kind == Class::Wrong) {
        const QString another = expression ? AreaFunction::expressionText(q.domain.slope, q.domain.intercept + 1)
                                           : plain((q.kind == Kind::XAt ? q.x : q.y) + 1);
        // The letter not asked for, and an expression for a number or a number for an expression.
        const QString misnamed = expression ? QStringLiteral("x=") + plain(q.domain.intercept)
                                            : (q.kind == Kind::XAt ? QStringLiteral("y=") : QStringLiteral("x=")) + answer;
        const QString otherKind = expression ? QStringLiteral("y=%1x").arg(q.domain.slope + 2) : QStringLiteral("x");
        return std::array { another, misnamed, otherKind, fullWidth(another) }[form % 4];
    }
    return form < 3 ? QStringList { "あ", "4x+", "2x+x" }[form] : Awkward[form - 3];
}

// Typing into a cell, mostly the one with the focus, and often Enter after it.
struct Type : Command
{
    bool atCurrent = *rc::gen::weightedElement<bool>({ { 4, true }, { 1, false } });
    int pick = *rc::gen::inRange(0, 17);
    Class kind = *rc::gen::weightedElement<Class>({ { 3, Class::Right }, { 2, Class::Wrong }, { 1, Class::Unreadable } });
    int form = *rc::gen::inRange(0, 9);
    bool enter = *rc::gen::weightedElement<bool>({ { 3, true }, { 1, false } });

    int index(const Reference &r) const { return atCurrent ? r.current : pick % r.count(); }
    QString text(const Reference &r) const { return textFor(r.questions[index(r)], kind, form); }

    void apply(Reference &r) const override
    {
        const int i = index(r);
        if (r.open(i) && r.answers[i].typed != text(r)) {
            r.answers[i].typed = text(r);
            r.kinds[i] = kind;
            ++r.changes;
        }
        if (enter)
            r.enter();
    }
    void run(const Reference &r, Subject &s) const override
    {
        check(*this, r, s, [&] {
            s.sheet.setTyped(index(r), text(r));
            if (enter)
                s.line = s.sheet.check();
        });
    }
    void show(std::ostream &os) const override
    {
        os << "type " << int(kind) << "/" << form << (atCurrent ? " at the focus" : " at ") << pick << (enter ? ", Enter" : "");
    }
};

struct Focus : Command
{
    int index = *rc::gen::inRange(-1, 18);
    void apply(Reference &r) const override
    {
        if (index >= 0 && index < r.count() && index != r.current) {
            r.current = index;
            ++r.changes;
        }
    }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.sheet.setCurrent(index); }); }
    void show(std::ostream &os) const override { os << "focus " << index; }
};

struct Name : Command
{
    int field = *rc::gen::inRange(-1, 5);
    int text = *rc::gen::inRange(0, int(std::size(Awkward)));
    void apply(Reference &r) const override
    {
        if (field >= 0 && field < PracticeSheet::NameFields && r.name[field] != Awkward[text]) {
            r.name[field] = Awkward[text];
            ++r.changes;
        }
    }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.sheet.setName(field, Awkward[text]); }); }
    void show(std::ostream &os) const override { os << "name " << field << " " << text; }
};

// Saved as one line that a fresh sheet reads back as the same sheet, and kept with the
// sheets of other figures (the same figure's replaced, the oldest let go beyond the most a
// device keeps); then one of the kept sheets, this one or another figure's, is reloaded.
struct SaveAndReload : Command
{
    int pick = *rc::gen::inRange(0, KeptSheets::Most + 1);

    static std::vector<std::shared_ptr<const Reference>> keptAfter(const Reference &r)
    {
        auto now = std::make_shared<Reference>(r);
        now->kept.clear();
        std::vector<std::shared_ptr<const Reference>> kept { now };
        for (const auto &k : r.kept)
            if (!std::ranges::equal(k->figure, r.figure) && kept.size() < KeptSheets::Most)
                kept.push_back(k);
        return kept;
    }
    void apply(Reference &r) const override
    {
        auto kept = keptAfter(r);
        const auto k = kept[pick % kept.size()];
        if (!std::ranges::equal(k->figure, r.figure) || k->answers != r.answers || k->current != r.current || k->name != r.name)
            ++r.changes;
        std::tie(r.figure, r.questions, r.answers, r.kinds, r.current, r.name) = std::tie(k->figure, k->questions, k->answers, k->kinds, k->current, k->name);
        r.kept = std::move(kept);
    }
    void run(const Reference &r, Subject &s) const override
    {
        const QString saved = s.sheet.saved();
        for (QChar breaking : { u'\n', u'\r', u'\u0085', u'\u2028', u'\u2029' })
            RC_ASSERT(!saved.contains(breaking));
        PracticeSheet fresh;
        RC_ASSERT(fresh.restore(saved));
        verifySheet(r, fresh);
        // A device that kept one sheet, before it kept one a figure, finds it.
        RC_ASSERT(fresh.restore(KeptSheets(saved).latest()));
        verifySheet(r, fresh);

        KeptSheets shelf(s.kept);
        shelf.put(s.sheet);
        s.kept = shelf.saved();
        const KeptSheets reread(s.kept);
        const auto kept = keptAfter(r);
        for (const auto &k : r.kept)
            if (std::ranges::none_of(kept, [&](const auto &c) { return std::ranges::equal(c->figure, k->figure); }))
                RC_ASSERT(reread.of(k->figure).isEmpty());
        const QString chosen = reread.of(kept[pick % kept.size()]->figure);
        check(*this, r, s, [&] { RC_ASSERT(s.sheet.restore(chosen)); });
    }
    void show(std::ostream &os) const override { os << "save and reload kept " << pick; }
};

// A saved sheet spoilt in one of eleven ways is refused and changes nothing.
struct Spoilt : Command
{
    int how = *rc::gen::inRange(0, 11);
    int at = *rc::gen::inRange(0, 1000);

    QString spoil(const QString &saved) const
    {
        if (how == 0)
            return saved.left(at % saved.size());
        QJsonObject sheet = QJsonDocument::fromJson(saved.toUtf8()).object();
        QJsonArray answers = sheet[QStringLiteral("answers")].toArray();
        QJsonObject answer = answers[at % answers.size()].toObject();
        const QString figure = sheet[QStringLiteral("figure")].toString();
        switch (how) {
        case 1: sheet[QStringLiteral("figure")] = figure.left(4) + QLatin1Char('4'); break;
        case 2: sheet[QStringLiteral("figure")] = figure.left(4); break;
        case 3: sheet[QStringLiteral("figure")] = answers.size() == 17 ? QStringLiteral("00000") : QStringLiteral("12312"); break;
        case 4: answers.removeLast(); break;
        case 5: answer[QStringLiteral("mark")] = QStringLiteral("maybe"); break;
        case 6: answer = QJsonObject { { "typed", "" }, { "mark", "wrong" }, { "first", true } }; break;
        case 7: answer[QStringLiteral("typed")] = 5; break;
        case 8: sheet[QStringLiteral("current")] = std::array { double(answers.size()), -1.0, 0.5 }[at % 3]; break;
        case 9: sheet[QStringLiteral("name")] = QJsonArray { QString(), QString(), QString() }; break;
        case 10: sheet[QStringLiteral("more")] = 1; break;
        }
        if (how >= 5 && how <= 7)
            answers[at % answers.size()] = answer;
        sheet[QStringLiteral("answers")] = answers;
        return QString::fromUtf8(QJsonDocument(sheet).toJson(QJsonDocument::Compact));
    }
    void run(const Reference &r, Subject &s) const override
    {
        check(*this, r, s, [&] { RC_ASSERT(!s.sheet.restore(spoil(s.sheet.saved()))); });
        // Kept among sound sheets, it is left out and they are not.
        if (how > 0) {
            const QString saved = s.sheet.saved();
            PracticeSheet kept;
            RC_ASSERT(kept.restore(KeptSheets(QStringLiteral("[%1,%2]").arg(spoil(saved), saved)).latest()));
            RC_ASSERT(kept.saved() == saved);
        }
    }
    void show(std::ostream &os) const override { os << "restore spoilt " << how << " at " << at; }
};

Composition genFigure()
{
    return { *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4),
             *rc::gen::inRange(0, 4) };
}

// Now and then, or once a sheet is done: a sheet is seldom finished otherwise.
struct NewFigure : Command
{
    Composition figure = genFigure();
    bool anyTime = *rc::gen::weightedElement<bool>({ { 1, true }, { 15, false } });
    void checkPreconditions(const Reference &r) const override { RC_PRE(anyTime || r.finished()); }
    void apply(Reference &r) const override { r.start(figure); }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.sheet.start(figure); }); }
    void show(std::ostream &os) const override
    {
        os << "new figure " << figure[0] << figure[1] << figure[2] << figure[3] << figure[4];
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (!std::getenv("RC_PARAMS"))
        setenv("RC_PARAMS", "max_success=1000 max_size=400", 1);
    const bool ok = rc::check("random practice on a sheet matches the reference", [] {
        ++sequences;
        const Composition figure = genFigure();
        Reference reference;
        reference.start(figure);
        reference.changes = 0;
        Subject subject;
        subject.sheet.start(figure);
        rc::state::check(reference, subject,
                         rc::state::gen::execOneOfWithArgs<Type, Type, Type, Type, Type, Focus, Name, SaveAndReload, Spoilt, NewFigure>());
    });
    // Sheets of figures practised one after another, some again: a device keeps the last
    // of each figure, for the most recent figures only, read back as they were put.
    const bool shelf = rc::check("a device keeps the sheets of the figures practised last", [] {
        // Up to three times as many figures as are kept.
        const int count = *rc::gen::inRange(0, 3 * KeptSheets::Most);
        const auto figures = *rc::gen::container<std::vector<Composition>>(count, rc::gen::exec(genFigure));
        const auto key = [](const Composition &figure) {
            QString text;
            for (int kind : figure)
                text += QChar(u'0' + kind);
            return text;
        };
        KeptSheets kept;
        std::vector<QString> recent; // the last practised first
        std::map<QString, QString> last; // each figure's sheet as last put
        for (const Composition &figure : figures) {
            PracticeSheet sheet;
            sheet.start(figure);
            sheet.setName(3, QString::number(recent.size()));
            kept = KeptSheets(kept.saved());
            kept.put(sheet);
            std::erase(recent, key(figure));
            recent.insert(recent.begin(), key(figure));
            last[key(figure)] = sheet.saved();
            RC_ASSERT(kept.latest() == sheet.saved());
        }
        const KeptSheets reread(kept.saved());
        for (const Composition &figure : figures) {
            const bool keeps = std::ranges::find(recent, key(figure)) - recent.begin() < KeptSheets::Most;
            RC_ASSERT(reread.of(figure) == (keeps ? last[key(figure)] : QString()));
        }
    });
    std::cout << "random practice: " << sequences << " sequences, " << actions << " actions, " << finished
              << " sheets finished" << std::endl;
    return ok && shelf ? 0 : 1;
}
