// Random lessons played on the lesson model alone, without a window: sequences of what a
// class may do, each checked against a small reference written independently of the
// program, with the closed form of the area as the oracle for y. Every change the model
// announces is checked at the moment it is announced, as a view would read it.
//
// RC_PARAMS sets the run as for the window's random lessons; without it: 1000 sequences
// of up to 100 actions.
#include "lesson/lesson.h"
#include "lesson/numeric.h"
#include "support/closed_form.h"

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
    Columns columns {};
    int px = 300;
    std::array<bool, 7> switches { false, false, false, false, true, false, false };
    std::array<std::optional<double>, 11> prediction;
    int dragKind = 0;
    bool lifted = false;
    int from = 0;
    QString speed;
    // What the last action announced: the changes in order, and how many times a switch and
    // the prediction said they changed.
    std::vector<Change> changes;
    int switchedSignals = 0;
    int predictionSignals = 0;
};

void stepOut(Reference &r)
{
    if (r.px == 100)
        return;
    r.px -= 10;
    r.changes.push_back(Change::StepOut);
}

void stepIn(Reference &r)
{
    if (r.px == 300)
        return;
    r.px += 10;
    r.changes.push_back(Change::StepIn);
}

void restart(Reference &r, Change change)
{
    r.px = 300;
    if (change == Change::Dropped || change == Change::InitialScreen)
        r.prediction.fill(std::nullopt);
    r.changes.push_back(change);
}

int columnAt(double x, double y)
{
    if (y <= 180 || y >= 300)
        return -1;
    for (int i = 0; i < 5; ++i) {
        if (300 + 40 * i < x && x < 340 + 40 * i)
            return i;
    }
    return -1;
}

void press(Reference &r, double x, double y)
{
    if (y < 150) {
        for (int kind = 1; kind <= 3; ++kind) {
            if (300 + 50 * kind < x && x < 340 + 50 * kind) {
                r.dragKind = kind;
                r.lifted = false;
            }
        }
    } else if (const int column = columnAt(x, y); column >= 0 && r.columns[column] != 0) {
        r.dragKind = int(r.columns[column]);
        r.lifted = true;
        r.from = column;
    }
}

void release(Reference &r, double x, double y)
{
    if (r.dragKind == 0)
        return;
    const int kind = r.dragKind;
    r.dragKind = 0;
    if (y < 180) {
        if (r.lifted)
            r.columns[r.from] = 0;
    } else if (y > 180 && y < 300) {
        if (const int column = columnAt(x, y); column >= 0)
            r.columns[column] = kind;
    } else {
        return;
    }
    restart(r, Change::Dropped);
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
    RC_ASSERT(l.scene().PointPX == double(r.px));
    RC_ASSERT(l.columns() == r.columns);
    RC_ASSERT(l.y() == trueArea(r.columns, (300 - r.px) / 20.0));
    RC_ASSERT(l.dragKind() == r.dragKind);
    for (int i = 0; i < 7; ++i)
        RC_ASSERT(l.isOn(Switch(i)) == r.switches[i]);
    const double x = (300 - r.px) / 20.0;
    for (int whole = 0; whole <= 10; ++whole) {
        RC_ASSERT(l.prediction()[whole] == r.prediction[whole]);
        RC_ASSERT(l.isChecked(whole) == (r.px != 300 && whole <= x));
        RC_ASSERT(l.isRight(whole) == (r.prediction[whole] == trueArea(r.columns, whole)));
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

// Presses and releases on and beside every boundary of the tray, the columns and the bands.
const std::vector<double> xs = { 299, 300, 301, 320, 340, 341, 360, 380, 400, 420, 439, 440, 460, 480, 499, 500,
                                 350, 351, 370, 390, 395, 449, 450, 470, 489, 490, 100, 550 };
const std::vector<double> ys = { 0, 60, 149, 150, 179, 180, 181, 250, 299, 300, 350 };

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
        r.columns = {};
        r.dragKind = 0;
        restart(r, Change::InitialScreen);
    }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.showInitialScreen(); }); }
    void show(std::ostream &os) const override { os << "initial screen"; }
};

struct Compose : Command
{
    Columns columns { double(*rc::gen::inRange(0, 4)), double(*rc::gen::inRange(0, 4)), double(*rc::gen::inRange(0, 4)),
                      double(*rc::gen::inRange(0, 4)), double(*rc::gen::inRange(0, 4)) };
    void apply(Reference &r) const override
    {
        r.columns = columns;
        r.dragKind = 0;
        restart(r, Change::Dropped);
    }
    void run(const Reference &r, Subject &s) const override { check(*this, r, s, [&] { s.lesson.compose(columns); }); }
    void show(std::ostream &os) const override { os << "compose"; }
};

struct Drag : Command
{
    double fromX = *rc::gen::elementOf(xs), fromY = *rc::gen::elementOf(ys);
    double toX = *rc::gen::elementOf(xs), toY = *rc::gen::elementOf(ys);
    void apply(Reference &r) const override
    {
        press(r, fromX, fromY);
        release(r, toX, toY);
    }
    void run(const Reference &r, Subject &s) const override
    {
        check(*this, r, s, [&] {
            s.lesson.press(fromX, fromY);
            s.lesson.release(toX, toY);
        });
    }
    void show(std::ostream &os) const override { os << "drag (" << fromX << "," << fromY << ") to (" << toX << "," << toY << ")"; }
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
    double x = 0, y = 0;
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
                           pass, *rc::gen::inRange(0, 7), *rc::gen::elementOf(xs), *rc::gen::elementOf(ys) };
            injections.push_back(in);
        }
    }

    void apply(Reference &r) const override
    {
        r.speed = speed;
        if (r.px == 100)
            restart(r, Change::BackToStart);
        bool stop = false;
        int pass = 0;
        while (!stop && r.px != 100) {
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
                case Injection::Press: press(r, in.x, in.y); break;
                case Injection::Release: release(r, in.x, in.y); break;
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
                        case Injection::Press: lesson.press(in.x, in.y); break;
                        case Injection::Release: lesson.release(in.x, in.y); break;
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
