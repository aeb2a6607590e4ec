// Random lessons played on the lesson model alone, without a window: sequences of what a
// class may do, each checked against a small reference written independently of the
// program, with the closed form of the area as the oracle for y. Every change the model
// announces is checked at the moment it is announced, as a view would read it. Drags come
// in the lesson's own terms here; the window's random lessons press and release on the
// board's pixels.
//
// RC_PARAMS sets the run as for the window's random lessons; without it: 1000 sequences
// of up to 100 actions.
#include "lesson/lesson.h"
#include "lesson/numeric.h"
#include "support/closed_form.h"
#include "support/reference_lesson.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <iostream>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

namespace {

using Columns = Lesson::Columns;
using Switch = Lesson::Switch;
using Change = Lesson::Change;

using LessonTest::trueArea;

// ---------------------------------------------------------------- the reference

struct Reference
{
    LessonTest::ReferenceLesson lesson;
    std::array<bool, 7> switches { false, false, false, false, true, false, false };
    std::array<std::optional<double>, 11> prediction;
    QString speed;
    // What the last action announced: the changes in order, and how many times a switch and
    // the prediction said they changed.
    std::vector<Change> changes;
    int switchedSignals = 0;
    int predictionSignals = 0;
};

void stepOut(Reference &r)
{
    if (LessonTest::stepOut(r.lesson))
        r.changes.push_back(Change::StepOut);
}

void stepIn(Reference &r)
{
    if (LessonTest::stepIn(r.lesson))
        r.changes.push_back(Change::StepIn);
}

void restart(Reference &r, Change change)
{
    r.lesson.step = 0;
    if (change == Change::Dropped || change == Change::InitialScreen)
        r.prediction.fill(std::nullopt);
    r.changes.push_back(change);
}

// A drag in the lesson's own terms: what was picked up (a tray kind, or a column's piece),
// then where it was let go.
struct Gesture
{
    bool fromTray = true;
    int kind = 0;   // 0 picks nothing up
    int column = 0; // -1 and 5 are beside the columns
    LessonTest::Drop drop = LessonTest::Drop::InEnvelope;
    int into = 0;   // -1: in the envelope, but between or beside the columns
};

Gesture genGesture()
{
    Gesture g;
    g.fromTray = *rc::gen::arbitrary<bool>();
    g.kind = *rc::gen::inRange(0, 4);
    g.column = *rc::gen::inRange(-1, 6);
    g.drop = *rc::gen::weightedElement<LessonTest::Drop>(
        { { 4, LessonTest::Drop::InEnvelope }, { 2, LessonTest::Drop::AboveEnvelope }, { 1, LessonTest::Drop::Elsewhere } });
    g.into = *rc::gen::inRange(-1, 5);
    return g;
}

void pickUp(Reference &r, const Gesture &g)
{
    if (g.fromTray)
        LessonTest::pickUp(r.lesson, g.kind);
    else
        LessonTest::liftFrom(r.lesson, g.column);
}

void letGo(Reference &r, const Gesture &g)
{
    if (LessonTest::drop(r.lesson, g.drop, g.into))
        restart(r, Change::Dropped);
}

void pickUp(Lesson &lesson, const Gesture &g)
{
    if (g.fromTray)
        lesson.pickUp(PieceKind(g.kind));
    else
        lesson.liftFrom(g.column);
}

void letGo(Lesson &lesson, const Gesture &g)
{
    switch (g.drop) {
    case LessonTest::Drop::AboveEnvelope: lesson.dropAboveEnvelope(); break;
    case LessonTest::Drop::InEnvelope: lesson.dropInEnvelope(g.into >= 0 ? std::optional<int>(g.into) : std::nullopt); break;
    case LessonTest::Drop::Elsewhere: lesson.dropElsewhere(); break;
    }
}

std::ostream &operator<<(std::ostream &os, const Gesture &g)
{
    os << (g.fromTray ? "from the tray, kind " : "from column ") << (g.fromTray ? g.kind : g.column) << ", let go "
       << (g.drop == LessonTest::Drop::AboveEnvelope ? "above" : g.drop == LessonTest::Drop::InEnvelope ? "into column " : "elsewhere");
    if (g.drop == LessonTest::Drop::InEnvelope)
        os << g.into;
    return os;
}

// ---------------------------------------------------------------- the lesson under test

struct Counters
{
    long sequences = 0;
    long actions = 0;
    long duringRuns = 0;
};
Counters counters;

struct Subject
{
    Lesson lesson;
    std::vector<Change> changes;
    int switchedSignals = 0;
    int predictionSignals = 0;
    QString fault;

    Subject()
    {
        QObject::connect(&lesson, &Lesson::switched, [this] { ++switchedSignals; });
        QObject::connect(&lesson, &Lesson::predictionChanged, [this] { ++predictionSignals; });
        // What a view would see when it follows a change: y is the area at P, always.
        QObject::connect(&lesson, &Lesson::changed, [this](Change change) {
            changes.push_back(change);
            const double expected = trueArea(lesson.columns(), lesson.distance());
            if (lesson.y() != expected && fault.isEmpty())
                fault = QStringLiteral("y %1 at x %2, the area is %3").arg(lesson.y()).arg(lesson.distance()).arg(expected);
        });
    }
};

void verify(const Reference &r, Subject &s)
{
    const Lesson &l = s.lesson;
    RC_ASSERT(s.fault.toStdString() == std::string());
    RC_ASSERT(l.stepIndex() == r.lesson.step);
    RC_ASSERT(l.columns() == r.lesson.columns);
    RC_ASSERT(l.y() == trueArea(r.lesson.columns, r.lesson.distance()));
    RC_ASSERT(int(l.dragKind()) == r.lesson.dragKind);
    for (int i = 0; i < 7; ++i)
        RC_ASSERT(l.isOn(Switch(i)) == r.switches[i]);
    const double x = r.lesson.distance();
    for (int whole = 0; whole <= 10; ++whole) {
        RC_ASSERT(l.prediction()[whole] == r.prediction[whole]);
        RC_ASSERT(l.isChecked(whole) == (r.lesson.step != 0 && whole <= x));
        RC_ASSERT(l.isRight(whole) == (r.prediction[whole] == trueArea(r.lesson.columns, whole)));
    }
    RC_ASSERT(l.runState() == Lesson::RunState::Idle);
    RC_ASSERT(s.changes == r.changes);
    RC_ASSERT(s.switchedSignals == r.switchedSignals);
    RC_ASSERT(s.predictionSignals == r.predictionSignals);
}

using Command = rc::state::Command<Reference, Subject>;

void check(const Command &command, const Reference &before, Subject &s, const std::function<void()> &act)
{
    ++counters.actions;
    s.changes.clear();
    s.switchedSignals = s.predictionSignals = 0;
    act();
    Reference after = before;
    after.changes.clear();
    after.switchedSignals = after.predictionSignals = 0;
    command.apply(after);
    verify(after, s);
}

struct StepOut : Command
{
    void apply(Reference &r) const override { stepOut(r); }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.stepOut(); }); }
    void show(std::ostream &os) const override { os << "step out"; }
};

struct StepIn : Command
{
    void apply(Reference &r) const override { stepIn(r); }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.stepIn(); }); }
    void show(std::ostream &os) const override { os << "step in"; }
};

struct BackToStart : Command
{
    void apply(Reference &r) const override { restart(r, Change::BackToStart); }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.backToStart(); }); }
    void show(std::ostream &os) const override { os << "back to the start"; }
};

struct InitialScreen : Command
{
    void apply(Reference &r) const override
    {
        r.lesson.columns = {};
        r.lesson.dragKind = 0;
        restart(r, Change::InitialScreen);
    }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.showInitialScreen(); }); }
    void show(std::ostream &os) const override { os << "initial screen"; }
};

struct Compose : Command
{
    LessonTest::Composition columns { *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4),
                                      *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4) };
    void apply(Reference &r) const override
    {
        r.lesson.columns = columns;
        r.lesson.dragKind = 0;
        restart(r, Change::Dropped);
    }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.compose(columns); }); }
    void show(std::ostream &os) const override { os << "compose"; }
};

struct Drag : Command
{
    Gesture gesture = genGesture();
    void apply(Reference &r) const override
    {
        pickUp(r, gesture);
        letGo(r, gesture);
    }
    void run(const Reference &r, Subject &s) const override
    {
        check(*this, r, s, [&] {
            pickUp(s.lesson, gesture);
            letGo(s.lesson, gesture);
        });
    }
    void show(std::ostream &os) const override { os << "drag " << gesture; }
};

struct Toggle : Command
{
    int which = *rc::gen::inRange(0, 7);
    void apply(Reference &r) const override
    {
        r.switches[which] = !r.switches[which];
        ++r.switchedSignals;
    }
    void run(const Reference &r, Subject &s) const override
    {
        check(*this, r, s, [&] { s.lesson.setSwitch(Switch(which), !s.lesson.isOn(Switch(which))); });
    }
    void show(std::ostream &os) const override { os << "switch " << which; }
};

// A prediction anywhere on the graph and beyond it: the nearest whole x, the nearest even y
// in 0 to 60; a point that is not a number changes nothing.
struct Predict : Command
{
    double x = *rc::gen::weightedElement<double>({ { 20, *rc::gen::inRange(-20, 130) / 10.0 },
                                                   { 1, std::numeric_limits<double>::quiet_NaN() },
                                                   { 1, std::numeric_limits<double>::infinity() } });
    double y = *rc::gen::weightedElement<double>({ { 20, *rc::gen::inRange(-100, 700) / 10.0 },
                                                   { 1, std::numeric_limits<double>::quiet_NaN() },
                                                   { 1, -std::numeric_limits<double>::infinity() } });
    void apply(Reference &r) const override
    {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        // Halves of x go up, halves of y to the even neighbour of the two.
        int whole = int(std::floor(x + 0.5));
        whole = whole < 0 ? 0 : whole > 10 ? 10 : whole;
        const double held = y < 0 ? 0 : y > 60 ? 60 : y;
        const double even = 2 * std::floor(held / 2 + 0.5);
        if (r.prediction[whole] != even) {
            r.prediction[whole] = even;
            ++r.predictionSignals;
        }
    }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.predict(x, y); }); }
    void show(std::ostream &os) const override { os << "predict (" << x << ", " << y << ")"; }
};

struct StopWhileIdle : Command
{
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.stop(); }); }
    void show(std::ostream &os) const override { os << "stop outside a run"; }
};

// What may happen in the pause after a given step of a run.
struct Injection
{
    enum Kind { Stop, BackToStart, Play, StepOut, StepIn, Toggle, Speed, Press, Release } kind;
    int pass = 1;
    int which = 0;
    Gesture gesture;
};

struct Play : Command
{
    // A run with no pause goes to the end at once; 1 ms pauses let actions in.
    QString speed = *rc::gen::weightedElement<QString>({ { 2, QStringLiteral(" 0") }, { 1, QStringLiteral("0.2") } });
    std::vector<Injection> injections;

    Play()
    {
        const int count = *rc::gen::inRange(0, 6);
        int pass = 1;
        for (int i = 0; i < count; ++i) {
            pass += *rc::gen::inRange(0, 5);
            Injection in { *rc::gen::element(Injection::Stop, Injection::BackToStart, Injection::Play, Injection::StepOut,
                                             Injection::StepIn, Injection::Toggle, Injection::Speed, Injection::Press,
                                             Injection::Release),
                           pass, *rc::gen::inRange(0, 7), genGesture() };
            injections.push_back(in);
        }
    }

    void apply(Reference &r) const override
    {
        r.speed = speed;
        if (r.lesson.step == 20)
            restart(r, Change::BackToStart);
        bool stop = false;
        int pass = 0;
        while (!stop && r.lesson.step != 20) {
            stepOut(r);
            ++pass;
            if (Numeric::toInt32Clamped(Numeric::leadingNumber(r.speed) * 5) <= 0)
                continue; // no events are handled during such a run
            for (const Injection &in : injections) {
                if (in.pass != pass)
                    continue;
                switch (in.kind) {
                case Injection::Stop: stop = true; break;
                case Injection::BackToStart: restart(r, Change::BackToStart); break;
                case Injection::Play: break; // no second run beside the first
                case Injection::StepOut: stepOut(r); break;
                case Injection::StepIn: stepIn(r); break;
                case Injection::Toggle:
                    r.switches[in.which] = !r.switches[in.which];
                    ++r.switchedSignals;
                    break;
                case Injection::Speed: r.speed = QStringLiteral("0.2"); break;
                case Injection::Press: pickUp(r, in.gesture); break;
                case Injection::Release: letGo(r, in.gesture); break;
                }
            }
        }
    }

    void run(const Reference &r, Subject &s) const override
    {
        check(*this, r, s, [&] {
            Lesson &lesson = s.lesson;
            lesson.setSpeedText(speed);
            lesson.autoPlay().pauseStarted = [&](int pass, int32_t ms) {
                if (ms <= 0)
                    return;
                QTimer::singleShot(0, &lesson, [&, pass] {
                    for (const Injection &in : injections) {
                        if (in.pass != pass)
                            continue;
                        ++counters.duringRuns;
                        switch (in.kind) {
                        case Injection::Stop: lesson.stop(); break;
                        case Injection::BackToStart: lesson.backToStart(); break;
                        case Injection::Play: lesson.play(); break;
                        case Injection::StepOut: lesson.stepOut(); break;
                        case Injection::StepIn: lesson.stepIn(); break;
                        case Injection::Toggle: lesson.setSwitch(Switch(in.which), !lesson.isOn(Switch(in.which))); break;
                        case Injection::Speed: lesson.setSpeedText(QStringLiteral("0.2")); break;
                        case Injection::Press: pickUp(lesson, in.gesture); break;
                        case Injection::Release: letGo(lesson, in.gesture); break;
                        }
                    }
                });
            };
            lesson.play();
            while (lesson.isPlaying())
                QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            lesson.autoPlay().pauseStarted = nullptr;
        });
    }

    void show(std::ostream &os) const override
    {
        os << "play at '" << speed.toStdString() << "' with";
        for (const Injection &in : injections)
            os << " [" << in.kind << " after step " << in.pass << "]";
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (!std::getenv("RC_PARAMS"))
        setenv("RC_PARAMS", "max_success=1000 max_size=100", 1);

    const bool ok = rc::check("random lessons on the model match the reference", [] {
        ++counters.sequences;
        Reference reference;
        Subject subject;
        subject.lesson.showInitialScreen();
        subject.changes.clear();
        rc::state::check(reference, subject,
                         rc::state::gen::execOneOfWithArgs<StepOut, StepOut, StepOut, StepIn, StepIn, BackToStart,
                                                           InitialScreen, Compose, Drag, Drag, Drag, Toggle, StopWhileIdle,
                                                           Predict, Predict, Play>());
    });
    std::cout << "random lessons: " << counters.sequences << " sequences, " << counters.actions << " actions, "
              << counters.duringRuns << " sent during automatic runs (the lesson model alone)" << std::endl;
    std::cout << (ok ? "1 passed, 0 failed" : "0 passed, 1 failed") << std::endl;
    return ok ? 0 : 1;
}
