// Random lessons: sequences of what a class may do with the window, run against the real
// window with real widget events and checked after every action against a small model
// of the lesson written independently of the program.
//
// RC_PARAMS sets the run, e.g. RC_PARAMS="max_success=1500 max_size=150" for the long
// run, RC_PARAMS="seed=…" to replay a failure. Without it: 300 sequences of up to 150
// actions. A failure is shrunk for at most 5 minutes, and what it said is printed last.
#include "support/lesson_test.h"
#include "support/reference_lesson.h"

#include "lesson/numeric.h"
#include "lesson/lesson.h"

#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

using namespace LessonTest;

namespace {

// ---------------------------------------------------------------- the model

// The check boxes; 式 and 予想 are in view once both panels are open.
enum Tick { Grid, Graph, Table, Marker, Cover, Expressions, Prediction, TickCount };
constexpr int BoardTicks = Expressions;

// The window's zoom steps, in per cent.
const std::array<int, 7> ZoomSteps { 100, 125, 150, 175, 200, 250, 300 };

struct Model
{
    ReferenceLesson lesson;
    std::array<bool, TickCount> ticks { false, false, false, true, false, false, false };
    // The class's prediction at each whole x, and the window's zoom step.
    std::array<std::optional<double>, 11> prediction;
    int zoomStep = 0;
    bool markerAtP = false;     // the red marker runs from B to P (else it is parked)
    bool text1Typed = false;
    QString text1;
    QString speed = QStringLiteral("50");
};

void forward(Model &m)
{
    if (!stepOut(m.lesson))
        return;
    m.text1Typed = false;
    m.markerAtP = m.ticks[Marker];
}

void backward(Model &m)
{
    if (!stepIn(m.lesson))
        return;
    m.text1Typed = false;
    m.markerAtP = m.ticks[Marker];
}

void backToStart(Model &m)
{
    m.lesson.step = 0;
    m.text1Typed = false;
    m.markerAtP = m.ticks[Marker];
}

void initialScreen(Model &m)
{
    m.prediction.fill(std::nullopt);
    m.lesson.columns = {};
    m.lesson.step = 0;
    m.text1Typed = false;
    m.markerAtP = false;
    m.lesson.dragKind = 0;
}

void toggle(Model &m, int tick)
{
    m.ticks[tick] = !m.ticks[tick];
    if (tick == Marker)
        m.markerAtP = m.ticks[Marker];
}

void press(Model &m, QPointF at)
{
    LessonTest::press(m.lesson, at);
}

// A drop brings the lesson back to its start.
void release(Model &m, QPointF at)
{
    if (LessonTest::release(m.lesson, at)) {
        m.prediction.fill(std::nullopt);
        backToStart(m);
    }
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
    // How often the window's newer parts were reached: 式 or 予想 switched, a point predicted,
    // a figure opened from an address, the zoom changed.
    long answerBoxes = 0;
    long taps = 0;
    long addresses = 0;
    long zooms = 0;
};
Counters counters;

struct Window
{
    std::unique_ptr<TestForm> form = makeForm();
};

// The widget's pixel for a point of a picture box at a zoom, inside its 2 px border; and the
// point that pixel stands for, which is where the box's handler is told the pointer is.
QPoint pixelOf(QPointF point, double zoom)
{
    return ((point + QPointF(2, 2)) * zoom).toPoint();
}

QPointF pointAt(QPointF point, double zoom)
{
    return QPointF(pixelOf(point, zoom)) / zoom - QPointF(2, 2);
}

double zoomOf(const Model &m)
{
    return ZoomSteps[m.zoomStep] / 100.0;
}

QCheckBox *checkBox(TestForm &form, int tick)
{
    switch (tick) {
    case Grid: return form.Check1;
    case Graph: return form.Check2;
    case Table: return form.Check3;
    case Marker: return form.Check4;
    case Cover: return form.Check5;
    case Expressions: return form.Check6;
    default: return form.Check7;
    }
}

void clickCheckBox(TestForm &form, int tick)
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

void sendPress(TestForm &form, const Gesture &g, double zoom)
{
    QTest::mousePress(form.kokuban, g.button, g.modifiers, pixelOf(g.from, zoom));
    for (int i = 1; i <= g.moves; ++i)
        QTest::mouseMove(form.kokuban, pixelOf(g.from + (g.to - g.from) * i / (g.moves + 1), zoom));
}

void sendRelease(TestForm &form, const Gesture &g, double zoom)
{
    QTest::mouseMove(form.kokuban, pixelOf(g.to, zoom));
    QTest::mouseRelease(form.kokuban, g.button, g.modifiers, pixelOf(g.to, zoom));
}

// ---------------------------------------------------------------- checks

void checkColumnPixels(TestForm &form, const Model &m)
{
    static const int tops[4] = { 300, 260, 220, 180 };
    const QColor white(255, 255, 255), grey(192, 192, 192), board(0, 128, 0);
    for (int i = 0; i < 5; ++i) {
        const int left = int(m.lesson.px()) + 40 * i;
        const int kind = m.lesson.columns[i];
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

// The domains P has entered: runs of neighbouring columns of one kind, from x = 2i to 2j,
// entered once P is past their start.
std::vector<std::pair<int, int>> domainsEntered(const Model &m)
{
    std::vector<std::pair<int, int>> domains;
    for (int i = 0; i < 5; ++i) {
        if (i > 0 && m.lesson.columns[i] == m.lesson.columns[i - 1])
            domains.back().second = 2 * i + 2;
        else
            domains.push_back({ 2 * i, 2 * i + 2 });
    }
    std::erase_if(domains, [&](const auto &d) { return !(d.first < m.lesson.distance()); });
    return domains;
}

void checkExpressions(TestForm &form, const Model &m)
{
    const auto domains = domainsEntered(m);
    size_t shown = 0;
    for (const LabelControl *label : form.expressions.labels()) {
        if (!label->isVisible())
            continue;
        RC_ASSERT(m.ticks[Expressions] && shown < domains.size());
        const QString domain = QStringLiteral("%1≦x≦%2 のとき y=").arg(domains[shown].first).arg(domains[shown].second);
        RC_ASSERT(label->caption().startsWith(domain));
        ++shown;
    }
    RC_ASSERT(shown == (m.ticks[Expressions] ? domains.size() : 0));
}

// Where a point of the graph (x cm, y cm²) stands on its panel: 30 px a centimetre across,
// 7.5 px a square centimetre up, from (35, 480).
QPointF onGraphPanel(double x, double y)
{
    return { 35 + 30 * x, 480 - 7.5 * y };
}

// The prediction as the graph shows it: each point in its colour at its centre, unless the
// true curve passes there or a line of 式 stands over it; nothing of its colour while 予想
// is not ticked.
void checkPredictionShown(TestForm &form, const Model &m)
{
    const bool any = std::any_of(m.prediction.begin(), m.prediction.end(), [](const auto &y) { return y.has_value(); });
    if (!m.ticks[Graph] || !(any || m.ticks[Prediction]))
        return;
    const QImage shown = form.gamen->grab().toImage();
    const QColor orange(255, 128, 0), blue(0, 0, 255);
    if (!m.ticks[Prediction]) {
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                RC_ASSERT(shown.pixelColor(x, y) != orange);
        }
        return;
    }
    const double zoom = zoomOf(m);
    const auto covers = form.expressions.shownBoxes();
    for (int x = 0; x <= 10; ++x) {
        if (!m.prediction[x])
            continue;
        const QPointF at = onGraphPanel(x, *m.prediction[x]);
        const QPoint pixel(int((at.x() + 2) * zoom), int((at.y() + 2) * zoom));
        const QColor seen = shown.pixelColor(pixel);
        if (seen == orange || std::any_of(covers.begin(), covers.end(), [&](const QRectF &r) { return r.contains(at); }))
            continue;
        // The curve is drawn over the prediction, 3 px wide, as far as P has gone.
        RC_ASSERT(seen == blue);
        RC_ASSERT(x <= m.lesson.distance() && std::abs(trueArea(m.lesson.columns, x) - *m.prediction[x]) * 7.5 <= 2);
    }
}

void verify(const Model &m, Window &window)
{
    TestForm &form = *window.form;
    const SceneState &s = form.lesson.scene();
    RC_ASSERT(pointPX(s) == m.lesson.px());
    RC_ASSERT(s.step >= 0 && s.step <= 20);
    const QString text1 = form.Text1->text();
    RC_ASSERT(text1 == (m.text1Typed ? m.text1 : Lesson::distanceText(m.lesson.distance())));
    RC_ASSERT(s.Slot == m.lesson.columns);
    RC_ASSERT(int(s.DragKind) == m.lesson.dragKind);

    const double x = m.lesson.distance();
    RC_ASSERT(form.lesson.y() == trueArea(m.lesson.columns, x));
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
        RC_ASSERT(marker->x2() == m.lesson.px() && marker->y2() == 300.0);
    } else {
        RC_ASSERT(marker->y1() == 800.0 && marker->y2() == 800.0);
    }
    RC_ASSERT(form.Label4[6]->isVisible() == (m.lesson.step != 0));
    RC_ASSERT(form.Line6[0]->x1() == 350.0 && form.Line7[0]->x1() == 400.0 && form.Line9[0]->x1() == 450.0);
    for (const LabelControl *label : form.Label9)
        RC_ASSERT(label->isVisible());
    checkColumnPixels(form, m);
    RC_ASSERT(form.lesson.prediction() == m.prediction);
    checkExpressions(form, m);
    checkPredictionShown(form, m);
    RC_ASSERT(form.windowZoom.stepPercent() == ZoomSteps[m.zoomStep]);
    // Calls a drawing layer left undone, as changing nothing, changed nothing indeed.
    for (const PictureBox *box : { form.kokuban, form.hyo, form.gamen })
        RC_ASSERT(box->drawing().image() == box->drawing().drawnAt(box->drawing().image().devicePixelRatio()));
}

using Command = rc::state::Command<Model, Window>;

// Beyond 200 % the largest captions pass 64 px, which Qt draws as outlines fetched from
// FreeType on every paint rather than from its cache of glyphs. The outline of one caption
// in one font may then stand a font unit (under a tenth of a pixel) further left or right
// from one paint to the next, as other glyphs of the face were loaded in between (a bold
// caption's, drawn for the first time, for one): QPainterPath::addText shows it without the
// window. Two pictures of one window then differ only along the edges of that text, where
// a pixel of each lies within the colours of its 3×3 neighbours in the other, give or take
// a level of rounding; anywhere else, or by more, they differ in what they show.
bool captionsDrawnAsOutlines(const Model &m)
{
    return ZoomSteps[m.zoomStep] > 200;
}

bool withinNeighbours(const QImage &picture, int x, int y, QRgb colour)
{
    std::array<int, 3> low { 255, 255, 255 }, high { 0, 0, 0 };
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, picture.height() - 1); ++ny) {
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, picture.width() - 1); ++nx) {
            const QRgb p = picture.pixel(nx, ny);
            const std::array<int, 3> c { qRed(p), qGreen(p), qBlue(p) };
            for (int k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], c[k]);
                high[k] = std::max(high[k], c[k]);
            }
        }
    }
    if (low == high)
        return false; // no edge passes here, so nothing may move
    const std::array<int, 3> c { qRed(colour), qGreen(colour), qBlue(colour) };
    for (int k = 0; k < 3; ++k) {
        if (c[k] < low[k] - 1 || c[k] > high[k] + 1)
            return false;
    }
    return true;
}

bool sameUpToOutlineShifts(const QImage &first, const QImage &second)
{
    const QImage a = first.convertToFormat(QImage::Format_RGB32), b = second.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        const auto *rowA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *rowB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (rowA[x] != rowB[x] && !(withinNeighbours(a, x, y, rowB[x]) && withinNeighbours(b, x, y, rowA[x])))
                return false;
        }
    }
    return true;
}

// Two pictures of the window in one state show the same: pixel for pixel, or beyond 200 %
// up to the outlines' shifts.
bool samePicture(const Model &m, const QImage &a, const QImage &b)
{
    return captionsDrawnAsOutlines(m) ? sameUpToOutlineShifts(a, b) : a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// What the screen shows, after the partial repaints a change asked for, is what painting the
// whole window afresh gives.
void checkScreenIsAFullRepaint(TestForm &form, const Model &m)
{
    for (int i = 0; i < 8; ++i)
        QCoreApplication::processEvents();
    const QImage shown = form.screen()->grabWindow(form.winId()).toImage();
    RC_ASSERT(samePicture(m, shown, form.grab().toImage()));
}

// What the last failure said, and where. RapidCheck reports the shrunk sequence with what a
// run of it once more said, and a failure that comes and goes may not come back for that
// run ("no exceptions thrown").
std::string lastFailure;

// The next state of a command, checked against the window after it ran.
void runAndVerify(const Command &command, const Model &before, Window &window, const std::function<void()> &act)
{
    ++counters.commands;
    try {
        act();
        verify(command.nextState(before), window);
    } catch (const rc::detail::CaseResult &result) {
        if (result.type == rc::detail::CaseResult::Type::Failure) {
            std::ostringstream shown;
            command.show(shown);
            lastFailure = "at " + shown.str() + ": " + result.description;
        }
        throw;
    }
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
    int tick = *rc::gen::inRange(0, BoardTicks);
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
        press(m, pointAt(gesture.from, zoomOf(m)));
        release(m, pointAt(gesture.to, zoomOf(m)));
    }
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] {
            sendPress(*l.form, gesture, zoomOf(m));
            sendRelease(*l.form, gesture, zoomOf(m));
        });
    }
    void show(std::ostream &os) const override
    {
        os << "drag (" << gesture.from.x() << "," << gesture.from.y() << ") to (" << gesture.to.x() << ","
           << gesture.to.y() << ") button " << int(gesture.button);
    }
};

// 式 and 予想, in view once both panels are open.
struct ToggleAnswerBox : Command
{
    int tick = *rc::gen::element(int(Expressions), int(Prediction));
    void checkPreconditions(const Model &m) const override { RC_PRE(m.ticks[Graph] && m.ticks[Table]); }
    void apply(Model &m) const override { toggle(m, tick); }
    void run(const Model &m, Window &l) const override
    {
        ++counters.answerBoxes;
        runAndVerify(*this, m, l, [&] { clickCheckBox(*l.form, tick); });
    }
    void show(std::ostream &os) const override { os << (tick == Expressions ? "式" : "予想"); }
};

// A tap on the graph, maybe dragged up or down before it is let go: while 予想 is ticked,
// the point goes to the nearest whole x, its y to the nearest even number in 0 to 60;
// otherwise nothing happens.
struct Predict : Command
{
    QPoint at { *rc::gen::inRange(0, 392), *rc::gen::inRange(0, 510) };
    std::optional<int> draggedTo = *rc::gen::arbitrary<bool>() ? std::optional<int>(*rc::gen::inRange(0, 510)) : std::nullopt;

    void checkPreconditions(const Model &m) const override { RC_PRE(m.ticks[Graph]); }
    void apply(Model &m) const override
    {
        if (!m.ticks[Prediction])
            return;
        const double zoom = zoomOf(m);
        auto snapX = [](double px) { return std::clamp(int(std::floor((px - 35) / 30 + 0.5)), 0, 10); };
        auto snapY = [](double py) { return 2 * std::floor(std::clamp((480 - py) * 4 / 30, 0.0, 60.0) / 2 + 0.5); };
        const QPointF pressed = pointAt(at, zoom);
        const int x = snapX(pressed.x());
        m.prediction[x] = snapY(pressed.y());
        if (draggedTo)
            m.prediction[x] = snapY(pointAt(QPointF(at.x(), *draggedTo), zoom).y());
    }
    void run(const Model &m, Window &l) const override
    {
        const double zoom = zoomOf(m);
        ++counters.taps;
        runAndVerify(*this, m, l, [&] {
            PictureBox *graph = l.form->gamen;
            QTest::mousePress(graph, Qt::LeftButton, {}, pixelOf(at, zoom));
            const QPoint to = pixelOf(QPointF(at.x(), draggedTo.value_or(at.y())), zoom);
            if (draggedTo)
                QTest::mouseMove(graph, to);
            QTest::mouseRelease(graph, Qt::LeftButton, {}, to);
        });
    }
    void show(std::ostream &os) const override
    {
        os << "予想 at (" << at.x() << "," << at.y() << ")";
        if (draggedTo)
            os << " dragged to y " << *draggedTo;
    }
};

// The figure of a page's address, as a page opened from a teacher's link starts: the
// initial screen, then the figure, if the address holds one.
struct OpenAddress : Command
{
    Composition figure { *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4),
                         *rc::gen::inRange(0, 4), *rc::gen::inRange(0, 4) };
    // A figure's own fragment, or one that is not a figure: a digit short, one too many, a
    // digit that is no kind, none at all.
    int form = *rc::gen::weightedElement<int>({ { 6, 0 }, { 1, 1 }, { 1, 2 }, { 1, 3 }, { 1, 4 } });
    QString fragment;

    OpenAddress()
    {
        QString digits;
        for (int kind : figure)
            digits += QString::number(kind);
        const QString forms[] = { QStringLiteral("#figure=") + digits, QStringLiteral("#figure=") + digits.left(4),
                                  QStringLiteral("#figure=") + digits + QLatin1Char('1'),
                                  QStringLiteral("#figure=4") + digits.mid(1), QString() };
        fragment = forms[form];
    }
    void apply(Model &m) const override
    {
        initialScreen(m);
        if (form == 0) {
            m.lesson.columns = figure;
            backToStart(m);
        }
    }
    void run(const Model &m, Window &l) const override
    {
        ++counters.addresses;
        runAndVerify(*this, m, l, [&] {
            l.form->openFigure(fragment);
            checkScreenIsAFullRepaint(*l.form, m);
        });
    }
    void show(std::ostream &os) const override { os << "open '" << fragment.toStdString() << "'"; }
};

// Ctrl+Plus, Ctrl+Minus or Ctrl+0: the whole window drawn again at another size.
struct Zoom : Command
{
    int change = *rc::gen::weightedElement<int>({ { 2, 1 }, { 2, -1 }, { 1, 0 } });
    void apply(Model &m) const override
    {
        m.zoomStep = change == 0 ? 0 : std::clamp(m.zoomStep + change, 0, int(ZoomSteps.size()) - 1);
    }
    void run(const Model &m, Window &l) const override
    {
        ++counters.zooms;
        runAndVerify(*this, m, l, [&] {
            WindowZoom &zoom = l.form->windowZoom;
            change > 0 ? zoom.zoomIn() : change < 0 ? zoom.zoomOut() : zoom.resetZoom();
            checkScreenIsAFullRepaint(*l.form, nextState(m));
        });
    }
    void show(std::ostream &os) const override { os << (change > 0 ? "zoom in" : change < 0 ? "zoom out" : "100 %"); }
};

// 練習 and back: the lesson is left exactly as it was, on the screen too, however the pupil
// moved the practice's own figure.
struct PractiseAndLeave : Command
{
    int steps = *rc::gen::inRange(0, 4);
    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] {
            TestForm &form = *l.form;
            // No text cursor blinking and no control under the pointer, to see the same.
            if (QWidget *focus = QApplication::focusWidget())
                focus->clearFocus();
            const QPoint away(1, 1);
            QTest::mouseMove(&form, away);
            QCoreApplication::processEvents();
            const QImage before = form.grab().toImage();
            const QSize size = form.size();
            QTest::mouseClick(form.widget<QAbstractButton>(QStringLiteral("renshu")), Qt::LeftButton);
            auto *practice = form.widget<QWidget>(QStringLiteral("practice"));
            RC_ASSERT(practice->isVisible());
            for (int i = 0; i < steps; ++i)
                QTest::mouseClick(form.widget<QAbstractButton>(QStringLiteral("practice out")), Qt::LeftButton);
            QTest::mouseClick(form.widget<QAbstractButton>(QStringLiteral("leave practice")), Qt::LeftButton);
            RC_ASSERT(!practice->isVisible());
            QTest::mouseMove(&form, away);
            QCoreApplication::processEvents();
            RC_ASSERT(form.size() == size);
            RC_ASSERT(samePicture(m, before, form.grab().toImage()));
        });
    }
    void show(std::ostream &os) const override { os << "練習 and back, " << steps << " steps out there"; }
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
            in.tick = *rc::gen::inRange(0, BoardTicks);
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
        if (m.lesson.step == 20)
            backToStart(m);
        bool stop = false;
        bool pressed = false;
        Gesture pending;
        int pass = 0;
        while (!stop && m.lesson.step != 20) {
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
                    press(m, pointAt(in.gesture.from, zoomOf(m)));
                    pressed = true;
                    pending = in.gesture;
                    break;
                case Injection::Release:
                    release(m, pointAt(in.gesture.to, zoomOf(m)));
                    pressed = false;
                    break;
                default: // disabled during a run, or no second run inside the first
                    break;
                }
            }
        }
        if (pressed)
            release(m, pointAt(pending.to, zoomOf(m)));
    }

    void run(const Model &m, Window &l) const override
    {
        runAndVerify(*this, m, l, [&] {
            TestForm &form = *l.form;
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
                            sendPress(form, in.gesture, zoomOf(m));
                            pressed = true;
                            pending = in.gesture;
                            break;
                        case Injection::Release:
                            sendRelease(form, in.gesture, zoomOf(m));
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
                sendRelease(form, pending, zoomOf(m));
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
    // What the program keeps between runs (practice) goes to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    Fonts::install();
    if (!std::getenv("RC_PARAMS"))
        setenv("RC_PARAMS", "max_success=300 max_size=150", 1);

    // Shrinking runs sequences again and again for as long as they fail; one that fails now
    // and then keeps it going, in CI until CTest's timeout. This long after the first failure,
    // the sequences it still tries are passed over unrun, and it ends on the smallest failure
    // found by then.
    using Clock = std::chrono::steady_clock;
    const int shrinkingMinutes = 5;
    std::optional<Clock::time_point> firstFailure;
    const auto generate = rc::state::gen::execOneOfWithArgs<
        ClickForward, ClickForward, ClickForward, ClickBackward, ClickBackward, ClickBackToStart, ClickInitialScreen,
        ClickStopWhileIdle, ToggleCheckBox, ToggleCheckBox, ChooseSpeed, TypeSpeed, TypeDistance, Drag, Drag, Drag, Drag,
        AutoRun, AutoRun, ToggleAnswerBox, ToggleAnswerBox, Predict, Predict, Predict, OpenAddress, Zoom, PractiseAndLeave>();
    const bool ok = rc::check("random lessons match the model", [&] {
        const Model model;
        const auto commands = *rc::state::gen::commands(model, generate);
        if (firstFailure && Clock::now() - *firstFailure > std::chrono::minutes(shrinkingMinutes))
            RC_DISCARD("not run: shrinking stopped " + std::to_string(shrinkingMinutes)
                       + " minutes after the first failure; the sequence above failed " + lastFailure);
        ++counters.sequences;
        Window window;
        try {
            rc::state::runAll(commands, model, window);
        } catch (const rc::detail::CaseResult &result) {
            if (result.type == rc::detail::CaseResult::Type::Failure && !firstFailure)
                firstFailure = Clock::now();
            throw;
        } catch (const std::exception &error) {
            lastFailure = error.what();
            if (!firstFailure)
                firstFailure = Clock::now();
            throw;
        }
    });
    if (!ok)
        std::cout << "The last failure seen: " << lastFailure << std::endl;
    std::cout << "random lessons: " << counters.sequences << " sequences, " << counters.commands << " actions, "
              << counters.injected << " sent during automatic runs (" << counters.injectedDuringPause
              << " of them inside a pause); " << counters.answerBoxes << " times 式 or 予想, " << counters.taps
              << " taps on the graph, " << counters.addresses << " addresses opened, " << counters.zooms << " zooms" << std::endl;
    std::cout << (ok ? "1 passed, 0 failed" : "0 passed, 1 failed") << std::endl;
    return ok ? 0 : 1;
}
