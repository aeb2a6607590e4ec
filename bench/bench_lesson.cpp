// Measures what a teacher waits for: the window after start, one step with everything on,
// a drop of a piece, and how an automatic run keeps its pauses while it mostly waits; and
// what a click costs the machine, painting and showing included, as a user's click does.
// That last figure means most on a real display: run it under X (Xvfb will do), see the
// README.
//
//   bench_lesson [seconds of automatic play, 30 by default]
#include "app/form1.h"
#include "app/practice_view.h"
#include "support/lesson_test.h"
#include "support/painted_area.h"
#include "surface/fonts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using LessonTest::TestForm;

namespace {

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Seconds since this process was started, from the kernel's record of its start.
double processAge()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec + now.tv_nsec / 1e9 - startTicks / double(sysconf(_SC_CLK_TCK));
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

struct Timing
{
    double median = 0;
    double worst = 0;
};

Timing summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return { samples[samples.size() / 2], samples.back() };
}

void flushPaints()
{
    QCoreApplication::processEvents();
}

// The CPU time of the whole process, every thread (a platform's event reader included).
double processCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Lets the program handle what an action left for later (the repaint, the display's
// replies) for a while, as it would between a user's presses.
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A press and, a moment later, a release in the middle of a button, sent to the window as
// the platform sends a user's; returns the process's CPU time for both with everything they
// caused, painting and showing on the display included.
double clickCpuMs(TestForm &form, QWidget *button, PaintedArea &painted, qint64 &pixels)
{
    QWindow *window = form.windowHandle();
    const QPoint at = button->mapTo(&form, button->rect().center());
    const qint64 before = painted.pixels;
    const double start = processCpuMs();
    QTest::mousePress(window, Qt::LeftButton, {}, at);
    settle(15);
    QTest::mouseRelease(window, Qt::LeftButton, {}, at);
    settle(15);
    pixels = painted.pixels - before;
    return processCpuMs() - start;
}

// Notes when the window has been painted for the first time.
class FirstPaint : public QObject
{
public:
    double age = -1;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && age < 0) {
            QTimer::singleShot(0, this, [this] { age = processAge(); });
        }
        return QObject::eventFilter(watched, event);
    }
};

// Notes whether a widget has been painted since it was last asked.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *widget) { widget->installEventFilter(this); }
    bool painted = false;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// Handles the window's events until the widget has been painted; the window's picture is
// flushed to the display in the same turn of the event loop.
void untilPainted(PaintWatch &watch)
{
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    watch.painted = false;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Practice keeps its sheet in the settings: a test folder's, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    const double autoSeconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 30.0;
    Fonts::install();
    TestForm form;
    FirstPaint firstPaint;
    form.installEventFilter(&firstPaint);
    form.show();
    while (firstPaint.age < 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    std::printf("start-up to a painted window: %.0f ms from the process's start\n", firstPaint.age * 1000);
    std::printf("resident memory after start: %.1f MiB\n", residentKiB() / 1024.0);

    form.Check1->setChecked(true);
    form.Check2->setChecked(true);
    form.Check3->setChecked(true);
    flushPaints();

    // A drop: a piece from the tray into a column, the lesson back to its start and the
    // figure drawn again, with its repaint.
    std::vector<double> drops;
    for (int i = 0; i < 100; ++i) {
        const float column = 320 + 40 * (i % 5);
        form.kokuban_MouseDown(1, 0, 470, 60);
        form.kokuban_MouseMove(1, 0, column, 250);
        flushPaints();
        QElapsedTimer t;
        t.start();
        form.kokuban_MouseUp(1, 0, column, 250);
        flushPaints();
        drops.push_back(t.nsecsElapsed() / 1e6);
    }
    const Timing d = summarise(drops);
    std::printf("drop of a piece (reset and redraw, grid, table, graph on): median %.3f ms, worst %.3f ms over %zu drops\n",
                d.median, d.worst, drops.size());

    // Clicks as a user makes them, on the figure [3, 1, 2, 2, 3] with the grid, table and
    // graph on: every step out and back, and clicks that change nothing (戻す at the start,
    // 出す at the end), which cost only the button's own press. What a step costs beyond
    // that is the difference.
    {
        const double kinds[5] = { 3, 1, 2, 2, 3 };
        for (int column = 0; column < 5; ++column) {
            const float piece = 300 + 50 * float(kinds[column]) + 20, into = 320 + 40 * float(column);
            form.kokuban_MouseDown(1, 0, piece, 100);
            form.kokuban_MouseMove(1, 0, into, 250);
            form.kokuban_MouseUp(1, 0, into, 250);
        }
        settle(50);
        PaintedArea painted;
        qApp->installEventFilter(&painted);
        std::vector<double> steps, idle;
        std::vector<double> stepPixels, idlePixels;
        qint64 pixels = 0;
        auto click = [&](QWidget *button, std::vector<double> &cpu, std::vector<double> &area) {
            cpu.push_back(clickCpuMs(form, button, painted, pixels));
            area.push_back(double(pixels));
        };
        for (int round = 0; round < 10; ++round) {
            for (int i = 0; i < 5; ++i)
                click(form.modoru, idle, idlePixels);
            for (int i = 0; i < 20; ++i)
                click(form.susumu, steps, stepPixels);
            for (int i = 0; i < 5; ++i)
                click(form.susumu, idle, idlePixels);
            for (int i = 0; i < 20; ++i)
                click(form.modoru, steps, stepPixels);
        }
        qApp->removeEventFilter(&painted);
        const Timing st = summarise(steps), id = summarise(idle);
        const QString platform = QGuiApplication::platformName();
        std::printf("click on 出す or 戻す that steps (%s platform): process CPU median %.3f ms, worst %.3f ms "
                    "over %zu clicks; painted %.0f px a click\n",
                    qPrintable(platform), st.median, st.worst, steps.size(), summarise(stepPixels).median);
        std::printf("click that changes nothing: process CPU median %.3f ms, worst %.3f ms over %zu clicks; "
                    "painted %.0f px a click\n", id.median, id.worst, idle.size(), summarise(idlePixels).median);
        std::printf("a step beyond its click: %.3f ms\n", st.median - id.median);
    }

    // Each step is timed twice: the handler with its drawing into the layers, and that
    // with the repaint of the window it causes.
    std::vector<double> forward, backward, forwardDrawn, backwardDrawn;
    auto timeStep = [&](auto step, std::vector<double> &handler, std::vector<double> &shown) {
        QElapsedTimer t;
        t.start();
        step();
        handler.push_back(t.nsecsElapsed() / 1e6);
        flushPaints();
        shown.push_back(t.nsecsElapsed() / 1e6);
    };
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 20; ++i)
            timeStep([&] { form.susumu_Click(); }, forward, forwardDrawn);
        for (int i = 0; i < 20; ++i)
            timeStep([&] { form.modoru_Click(); }, backward, backwardDrawn);
    }
    const Timing f = summarise(forward), b = summarise(backward);
    const Timing fs = summarise(forwardDrawn), bs = summarise(backwardDrawn);
    std::printf("forward step (grid, table, graph, five pieces): median %.3f ms, worst %.3f ms; "
                "with the repaint: median %.3f ms, worst %.3f ms over %zu steps\n",
                f.median, f.worst, fs.median, fs.worst, forward.size());
    std::printf("backward step (grid, table, graph, five pieces): median %.3f ms, worst %.3f ms; "
                "with the repaint: median %.3f ms, worst %.3f ms over %zu steps\n",
                b.median, b.worst, bs.median, bs.worst, backward.size());

    // 練習 to practice painted over the window, and 練習をやめる back to the lesson painted, on
    // the figure [3, 1, 2, 2, 3] with the grid on: with the table and the graph, then without
    // them, when the window grows to practice's size and back.
    for (const bool panels : { true, false }) {
        form.Check2->setChecked(panels);
        form.Check3->setChecked(panels);
        settle(50);
        auto *practice = form.widget<PracticeView>(QStringLiteral("practice"));
        auto *leave = form.widget<CommandButton>(QStringLiteral("leave practice"));
        PaintWatch practicePainted(practice), boardPainted(form.kokuban);
        std::vector<double> opens, leaves;
        for (int i = 0; i < 30; ++i) {
            QElapsedTimer t;
            t.start();
            form.renshu_Click();
            untilPainted(practicePainted);
            opens.push_back(t.nsecsElapsed() / 1e6);
            settle(30);
            boardPainted.painted = false;
            t.restart();
            leave->click();
            untilPainted(boardPainted);
            leaves.push_back(t.nsecsElapsed() / 1e6);
            settle(30);
            practicePainted.painted = false;
        }
        const double first = opens.front();
        const Timing o = summarise(opens), l = summarise(leaves);
        std::printf("practice opened by 練習 to its painted window (%s): first %.2f ms, median %.2f ms, worst %.2f ms "
                    "over %zu; left by 練習をやめる to the lesson painted: median %.2f ms, worst %.2f ms\n",
                    panels ? "table and graph on" : "table and graph off, the window grows", first, o.median, o.worst,
                    opens.size(), l.median, l.worst);
    }

    // Automatic play at speed 10 (50 ms pauses), run after run for the time asked.
    form.Combo1->setEditText(QStringLiteral("10"));
    std::vector<double> lateness;
    int early = 0;
    form.lesson.autoPlay().pauseEnded = [&](int, int32_t ms, qint64 elapsedNs) {
        const double late = elapsedNs / 1e6 - ms;
        lateness.push_back(late);
        if (late < 0)
            ++early;
    };
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    int runs = 0;
    while (wall.elapsed() < autoSeconds * 1000) {
        form.jidou_Click();
        // The run goes on from timers; the window handles its events meanwhile.
        while (form.lesson.isPlaying())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        ++runs;
    }
    const double wallSeconds = wall.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    double sum = 0, worst = 0;
    for (double late : lateness) {
        sum += late;
        worst = std::max(worst, late);
    }
    std::printf("automatic play at speed 10 for %.1f s (%d runs, %zu pauses): CPU share %.1f %%, "
                "pause lateness mean %.2f ms, worst %.2f ms, early pauses %d\n",
                wallSeconds, runs, lateness.size(), 100 * cpu / wallSeconds, sum / lateness.size(), worst, early);
    return early == 0 ? 0 : 1;
}
