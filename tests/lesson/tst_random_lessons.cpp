// Random lessons: sequences of what a class may do with the window, run against the real
// window with real widget events and checked after every action against a small model
// of the lesson written independently of the program.
//
// RC_PARAMS sets the run, e.g. RC_PARAMS="max_success=1500 max_size=150" for the long
// run, RC_PARAMS="seed=…" to replay a failure. Without it: 300 sequences of up to 150
// actions.
#include "support/lesson_test.h"

#include "lesson/numeric.h"
#include "lesson/lesson.h"

#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

using namespace LessonTest;

namespace {

// ---------------------------------------------------------------- the model

enum Tick { Grid, Graph, Table, Marker, Cover, TickCount };

struct Model
{
    std::array<int, 5> columns {};
    int px = 300;
    std::array<bool, TickCount> ticks { false, false, false, true, false };
    bool markerAtP = false;     // the red marker runs from B to P (else it is parked)
    bool text1Typed = false;
    QString text1;
    QString speed = QStringLiteral("50");
    int dragKind = 0;
    bool lifted = false;
    int from = 0;
};

double distance(const Model &m)
{
    return (300 - m.px) / 20.0;
}

std::array<double, 5> columnsOf(const Model &m)
{
    std::array<double, 5> s {};
    for (int i = 0; i < 5; ++i)
        s[i] = m.columns[i];
    return s;
}

int trayKindAt(double x, double y)
{
    if (y >= 150)
        return 0;
    for (int kind = 1; kind <= 3; ++kind) {
        const int left = 300 + 50 * kind;
        if (left < x && x < left + 40)
            return kind;
    }
    return 0;
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

void forward(Model &m)
{
    if (m.px == 100)
        return;
    m.px -= 10;
    m.text1Typed = false;
    m.markerAtP = m.ticks[Marker];
}

void backward(Model &m)
{
    if (m.px == 300)
        return;
    m.px += 10;
    m.text1Typed = false;
    m.markerAtP = m.ticks[Marker];
}

void backToStart(Model &m)
{
    m.px = 300;
    m.text1Typed = false;
    m.markerAtP = m.ticks[Marker];
}

void initialScreen(Model &m)
{
    m.columns = {};
    m.px = 300;
    m.text1Typed = false;
    m.markerAtP = false;
    m.dragKind = 0;
}

void toggle(Model &m, int tick)
{
    m.ticks[tick] = !m.ticks[tick];
    if (tick == Marker)
        m.markerAtP = m.ticks[Marker];
}

void press(Model &m, QPointF at)
{
    if (at.y() < 150) {
        if (const int kind = trayKindAt(at.x(), at.y())) {
            m.dragKind = kind;
            m.lifted = false;
        }
    } else if (const int column = columnAt(at.x(), at.y()); column >= 0 && m.columns[column] != 0) {
        m.dragKind = m.columns[column];
        m.lifted = true;
        m.from = column;
    }
}

// Returns whether the lesson went back to its start.
bool release(Model &m, QPointF at)
{
    if (m.dragKind == 0)
        return false;
    bool reset = false;
    if (at.y() < 180) {
        if (m.lifted)
            m.columns[m.from] = 0;
        reset = true;
    } else if (at.y() > 180 && at.y() < 300) {
        if (const int column = columnAt(at.x(), at.y()); column >= 0)
            m.columns[column] = m.dragKind;
        reset = true;
    }
    if (reset)
        backToStart(m);
    m.dragKind = 0;
    return reset;
}

int pauseOf(const QString &speed)
{
    return Numeric::toInt32Clamped(Numeric::leadingNumber(speed) * 5);
}

// ---------------------------------------------------------------- the window

struct Counters
{
    long sequences = 0;
    long commands = 0;
    long injected = 0;
    long injectedDuringPause = 0;
};
Counters counters;

struct Window
{
    std::unique_ptr<Form1> form = makeForm();
};

QPoint onBoard(QPointF board)
{
    return (board + QPointF(PictureBox::BorderWidth, PictureBox::BorderWidth)).toPoint();
}

QCheckBox *checkBox(Form1 &form, int tick)
{
    switch (tick) {
    case Grid: return form.Check1;
    case Graph: return form.Check2;
    case Table: return form.Check3;
    case Marker: return form.Check4;
    default: return form.Check5;
    }
}

void clickCheckBox(Form1 &form, int tick)
{
    QCheckBox *box = checkBox(form, tick);
    // On the box itself, so the click lands whatever the caption's width.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(qMin(8, box->width() / 2), box->height() / 2));
}

void typeInto(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    // Key by key with the text they carry, full-width digits included.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

struct Gesture
{
    Qt::MouseButton button = Qt::LeftButton;
    Qt::KeyboardModifiers modifiers;
    QPointF from, to;
    int moves = 1;
};

void sendPress(Form1 &form, const Gesture &g)
{
    QTest::mousePress(form.kokuban, g.button, g.modifiers, onBoard(g.from));
    for (int i = 1; i <= g.moves; ++i)
        QTest::mouseMove(form.kokuban, onBoard(g.from + (g.to - g.from) * i / (g.moves + 1)));
}

void sendRelease(Form1 &form, const Gesture &g)
{
    QTest::mouseMove(form.kokuban, onBoard(g.to));
    QTest::mouseRelease(form.kokuban, g.button, g.modifiers, onBoard(g.to));
}

// ---------------------------------------------------------------- checks

void checkColumnPixels(Form1 &form, const Model &m)
{
    static const int tops[4] = { 300, 260, 220, 180 };
    const QColor white(255, 255, 255), grey(192, 192, 192), board(0, 128, 0);
    for (int i = 0; i < 5; ++i) {
        const int left = m.px + 40 * i;
        const int kind = m.columns[i];
        for (int dx : { 5, 35 }) {
            const int x = left + dx; // never on a grid line or on AB
            const QColor inside = kind == 0 ? board : (x < 300 ? white : grey);
            RC_ASSERT(form.kokuban->drawing().pixel(x, 295) == inside);
            if (kind != 0)
                RC_ASSERT(form.kokuban->drawing().pixel(x, tops[kind] + 5) == inside);
            if (kind == 1 || kind == 2)
                RC_ASSERT(form.kokuban->drawing().pixel(x, tops[kind] - 5) == board);
        }
    }
}

void verify(const Model &m, Window &window)
{
    Form1 &form = *window.form;
    const SceneState &s = form.lesson.scene();
    RC_ASSERT(s.PointPX == double(m.px));
    RC_ASSERT(std::fmod(s.PointPX, 10) == 0 && s.PointPX >= 100 && s.PointPX <= 300);
    const QString text1 = form.Text1->text();
    RC_ASSERT(text1 == (m.text1Typed ? m.text1 : Lesson::distanceText(distance(m))));
    for (int i = 0; i < 5; ++i)
        RC_ASSERT(s.Slot[i] == double(m.columns[i]));
    RC_ASSERT(s.DragKind == double(m.dragKind));

    const double x = distance(m);
    RC_ASSERT(form.lesson.y() == trueArea(columnsOf(m), x));
    if (m.ticks[Table])
        RC_ASSERT(tableMismatch(form).isEmpty());

    // Idle buttons.
    RC_ASSERT(!form.lesson.isPlaying());
    RC_ASSERT(form.susumu->isEnabled() && form.modoru->isEnabled() && form.Command1->isEnabled());
    RC_ASSERT(form.jidou->isEnabled() && !form.tomeru->isEnabled());

    for (int t = 0; t < TickCount; ++t)
        RC_ASSERT(checkBox(form, t)->isChecked() == m.ticks[t]);
    RC_ASSERT(form.Picture1->isVisible() == m.ticks[Cover]);
    const LineControl *marker = form.Line5[4];
    if (m.markerAtP) {
        RC_ASSERT(marker->x1() == 300.0 && marker->y1() == 300.0);
        RC_ASSERT(marker->x2() == double(m.px) && marker->y2() == 300.0);
    } else {
        RC_ASSERT(marker->y1() == 800.0 && marker->y2() == 800.0);
    }
    RC_ASSERT(form.Label4[6]->isVisible() == (m.px != 300));
    RC_ASSERT(form.Line6[0]->x1() == 350.0 && form.Line7[0]->x1() == 400.0 && form.Line9[0]->x1() == 450.0);
    for (const LabelControl *label : form.Label9)
        RC_ASSERT(label->isVisible());
    checkColumnPixels(form, m);
    // Calls a drawing layer left undone, as changing nothing, changed nothing indeed.
    for (const PictureBox *box : { form.kokuban, form.hyo, form.gamen })
        RC_ASSERT(box->drawing().image() == box->drawing().drawnAt(box->drawing().image().devicePixelRatio()));
}

using Command = rc::state::Command<Model, Window>;

// The next state of a command, checked against the window after it ran.
void runAndVerify(const Command &command, const Model &before, Window &window, const std::function<void()> &act)
{
    ++counters.commands;
    act();
    verify(command.nextState(before), window);
}

// ---------------------------------------------------------------- generators

const std::vector<double> pressXs = { 299, 300, 301, 320, 339, 340, 341, 360, 379, 380, 381, 400, 419, 420, 421,
                                      440, 459, 460, 461, 480, 499, 500, 349, 350, 351, 370, 389, 390, 395,
                                      401, 439, 449, 450, 451, 489, 490, 100, 550 };
const std::vector<double> pressYs = { 0, 10, 60, 100, 149, 150, 160, 179, 180, 181, 200, 250, 299, 300, 350 };
const std::vector<double> releaseXs = { -30, 0, 100, 250, 299, 300, 301, 320, 340, 360, 380, 400, 420, 440, 460,
                                        480, 499, 500, 501, 596, 650 };
const std::vector<double> releaseYs = { -40, 0, 50, 179, 180, 181, 200, 250, 299, 300, 301, 404, 450 };

Gesture genGesture()
{
    Gesture g;
    g.button = *rc::gen::weightedElement<Qt::MouseButton>(
        { { 6, Qt::LeftButton }, { 1, Qt::RightButton }, { 1, Qt::MiddleButton } });
    g.modifiers = *rc::gen::element(Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
                                    Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier));
    // Presses favour the tray and the columns, where figures are built.
    const bool build = *rc::gen::inRange(0, 3) != 0;
    if (build) {
        const bool fromTray = *rc::gen::arbitrary<bool>();
        g.from = fromTray ? QPointF(*rc::gen::element(370.0, 420.0, 470.0), *rc::gen::element(20.0, 100.0))
                          : QPointF(320 + 40 * *rc::gen::inRange(0, 5), 250);
        g.to = *rc::gen::inRange(0, 5) != 0 ? QPointF(320 + 40 * *rc::gen::inRange(0, 5), *rc::gen::element(190.0, 250.0, 290.0))
                                            : QPointF(*rc::gen::elementOf(releaseXs), *rc::gen::elementOf(releaseYs));
    } else {
        g.from = QPointF(*rc::gen::elementOf(pressXs), *rc::gen::elementOf(pressYs));
        g.to = QPointF(*rc::gen::elementOf(releaseXs), *rc::gen::elementOf(releaseYs));
    }
    g.moves = *rc::gen::inRange(0, 3);
    return g;
}

const std::vector<QString> typedSpeeds = { QStringLiteral(" 0"), QStringLiteral("10"), QStringLiteral("1"),
                                           QStringLiteral("abc"), QStringLiteral("-5"), QStringLiteral("2.5"),
                                           QStringLiteral("1e12"), QStringLiteral(""), QStringLiteral("５") };
const std::vector<QString> typedDistances = { QStringLiteral("3"), QStringLiteral("100"), QStringLiteral("-3"),
                                              QStringLiteral("nan"), QStringLiteral("1e400"), QStringLiteral("0.25"),
                                              QStringLiteral("５"), QStringLiteral(""), QStringLiteral(" 4.5"),
                                              QStringLiteral("10") };

// ---------------------------------------------------------------- commands

struct ClickForward : Command
{
    void apply(Model &m) const override { forward(m); }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] { QTest::mouseClick(l.form->susumu, Qt::LeftButton); });
    }
    void show(std::ostream &os) const override { os << "出す"; }
};

struct ClickBackward : Command
{
    void apply(Model &m) const override { backward(m); }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] { QTest::mouseClick(l.form->modoru, Qt::LeftButton); });
    }
    void show(std::ostream &os) const override { os << "戻す"; }
};

struct ClickBackToStart : Command
{
    void apply(Model &m) const override { backToStart(m); }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] { QTest::mouseClick(l.form->Command2, Qt::LeftButton); });
    }
    void show(std::ostream &os) const override { os << "最初に"; }
};

struct ClickInitialScreen : Command
{
    void apply(Model &m) const override { initialScreen(m); }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] { QTest::mouseClick(l.form->Command1, Qt::LeftButton); });
    }
    void show(std::ostream &os) const override { os << "初期画面"; }
};

struct ClickStopWhileIdle : Command
{
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] { QTest::mouseClick(l.form->tomeru, Qt::LeftButton); });
    }
    void show(std::ostream &os) const override { os << "ストップ (disabled)"; }
};

struct ToggleCheckBox : Command
{
    int tick = *rc::gen::inRange(0, int(TickCount));
    void apply(Model &m) const override { toggle(m, tick); }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] { clickCheckBox(*l.form, tick); });
    }
    void show(std::ostream &os) const override { os << "check box " << tick; }
};

struct ChooseSpeed : Command
{
    bool down = *rc::gen::arbitrary<bool>();
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] { QTest::keyClick(l.form->Combo1, down ? Qt::Key_Down : Qt::Key_Up); });
    }
    void show(std::ostream &os) const override { os << "speed list " << (down ? "down" : "up"); }
};

struct TypeSpeed : Command
{
    QString text = *rc::gen::elementOf(typedSpeeds);
    void apply(Model &m) const override { m.speed = text; }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] {
            typeInto(l.form->Combo1->lineEdit(), text);
            RC_ASSERT(l.form->lesson.pauseMilliseconds() == pauseOf(text));
        });
    }
    void show(std::ostream &os) const override { os << "type speed '" << text.toStdString() << "'"; }
};

struct TypeDistance : Command
{
    QString text = *rc::gen::elementOf(typedDistances);
    void apply(Model &m) const override
    {
        m.text1Typed = true;
        m.text1 = text;
    }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] { typeInto(l.form->Text1, text); });
    }
    void show(std::ostream &os) const override { os << "type distance '" << text.toStdString() << "'"; }
};

struct Drag : Command
{
    Gesture gesture = genGesture();
    void apply(Model &m) const override
    {
        press(m, gesture.from);
        release(m, gesture.to);
    }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] {
            sendPress(*l.form, gesture);
            sendRelease(*l.form, gesture);
        });
    }
    void show(std::ostream &os) const override
    {
        os << "drag (" << gesture.from.x() << "," << gesture.from.y() << ") to (" << gesture.to.x() << ","
           << gesture.to.y() << ") button " << int(gesture.button);
    }
};

// What the class may do while the figure plays by itself: sent from a timer in the pause
// after the given step of the run.
struct Injection
{
    enum Kind { Stop, BackToStart, Auto, Forward, Backward, Initial, Toggle, Speed, Press, Release } kind;
    int pass = 1;
    int tick = 0;
    QString speed;
    Gesture gesture;
};

struct AutoRun : Command
{
    QString speed;
    std::vector<Injection> injections;

    AutoRun()
    {
        speed = *rc::gen::element(QStringLiteral(" 0"), QStringLiteral("1"), QStringLiteral("2"));
        if (speed == QStringLiteral(" 0"))
            return; // no events are processed during such a run
        const int count = *rc::gen::inRange(0, 5);
        int pass = 1;
        for (int i = 0; i < count; ++i) {
            pass += *rc::gen::inRange(0, 6);
            Injection in { *rc::gen::weightedElement<Injection::Kind>({ { 3, Injection::Stop },
                                                                         { 2, Injection::BackToStart },
                                                                         { 1, Injection::Auto },
                                                                         { 1, Injection::Forward },
                                                                         { 1, Injection::Backward },
                                                                         { 1, Injection::Initial },
                                                                         { 2, Injection::Toggle },
                                                                         { 1, Injection::Speed },
                                                                         { 3, Injection::Press } }),
                           pass, 0, {}, {} };
            in.tick = *rc::gen::inRange(0, int(TickCount));
            in.speed = *rc::gen::element(QStringLiteral("1"), QStringLiteral("2"));
            if (in.kind == Injection::Press) {
                in.gesture = genGesture();
                injections.push_back(in);
                // The release falls in the same pause or a later one, maybe after the run.
                Injection out = in;
                out.kind = Injection::Release;
                out.pass = pass + *rc::gen::inRange(0, 4);
                pass = out.pass;
                injections.push_back(out);
                continue;
            }
            injections.push_back(in);
        }
    }

    void apply(Model &m) const override
    {
        m.speed = speed;
        if (m.px == 100)
            backToStart(m);
        bool stop = false;
        bool pressed = false;
        Gesture pending;
        int pass = 0;
        while (!stop && m.px != 100) {
            forward(m);
            ++pass;
            if (pauseOf(m.speed) <= 0)
                continue;
            for (const Injection &in : injections) {
                if (in.pass != pass)
                    continue;
                switch (in.kind) {
                case Injection::Stop:
                    stop = true;
                    break;
                case Injection::BackToStart:
                    backToStart(m);
                    break;
                case Injection::Toggle:
                    toggle(m, in.tick);
                    break;
                case Injection::Speed:
                    m.speed = in.speed;
                    break;
                case Injection::Press:
                    press(m, in.gesture.from);
                    pressed = true;
                    pending = in.gesture;
                    break;
                case Injection::Release:
                    release(m, in.gesture.to);
                    pressed = false;
                    break;
                default: // disabled during a run, or no second run inside the first
                    break;
                }
            }
        }
        if (pressed)
            release(m, pending.to);
    }

    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] {
            Form1 &form = *l.form;
            typeInto(form.Combo1->lineEdit(), speed);
            bool pressed = false;
            Gesture pending;
            form.lesson.autoPlay().pauseStarted = [&](int pass, int32_t ms) {
                if (ms <= 0)
                    return;
                QTimer::singleShot(0, &form, [&, pass] {
                    for (const Injection &in : injections) {
                        if (in.pass != pass)
                            continue;
                        ++counters.injected;
                        if (form.lesson.isPlaying())
                            ++counters.injectedDuringPause;
                        switch (in.kind) {
                        case Injection::Stop: QTest::mouseClick(form.tomeru, Qt::LeftButton); break;
                        case Injection::BackToStart: QTest::mouseClick(form.Command2, Qt::LeftButton); break;
                        case Injection::Auto: QTest::mouseClick(form.jidou, Qt::LeftButton); break;
                        case Injection::Forward: QTest::mouseClick(form.susumu, Qt::LeftButton); break;
                        case Injection::Backward: QTest::mouseClick(form.modoru, Qt::LeftButton); break;
                        case Injection::Initial: QTest::mouseClick(form.Command1, Qt::LeftButton); break;
                        case Injection::Toggle: clickCheckBox(form, in.tick); break;
                        case Injection::Speed: typeInto(form.Combo1->lineEdit(), in.speed); break;
                        case Injection::Press:
                            sendPress(form, in.gesture);
                            pressed = true;
                            pending = in.gesture;
                            break;
                        case Injection::Release:
                            sendRelease(form, in.gesture);
                            pressed = false;
                            break;
                        }
                    }
                });
            };
            QTest::mouseClick(form.jidou, Qt::LeftButton);
            waitForRunEnd(form);
            form.lesson.autoPlay().pauseStarted = nullptr;
            if (pressed)
                sendRelease(form, pending);
        });
    }

    void show(std::ostream &os) const override
    {
        os << "自    動 at '" << speed.toStdString() << "' with";
        for (const Injection &in : injections)
            os << " [" << in.kind << " after step " << in.pass << "]";
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Fonts::install();
    if (!std::getenv("RC_PARAMS"))
        setenv("RC_PARAMS", "max_success=300 max_size=150", 1);

    const bool ok = rc::check("random lessons match the model", [] {
        ++counters.sequences;
        Model model;
        Window window;
        rc::state::check(model, window,
                         rc::state::gen::execOneOfWithArgs<ClickForward, ClickForward, ClickForward, ClickBackward,
                                                           ClickBackward, ClickBackToStart, ClickInitialScreen,
                                                           ClickStopWhileIdle, ToggleCheckBox, ToggleCheckBox,
                                                           ChooseSpeed, TypeSpeed, TypeDistance, Drag, Drag, Drag,
                                                           Drag, AutoRun, AutoRun>());
    });
    std::cout << "random lessons: " << counters.sequences << " sequences, " << counters.commands << " actions, "
              << counters.injected << " sent during automatic runs (" << counters.injectedDuringPause
              << " of them inside a pause)" << std::endl;
    std::cout << (ok ? "1 passed, 0 failed" : "0 passed, 1 failed") << std::endl;
    return ok ? 0 : 1;
}
