// Measures what a teacher waits for: one step with everything on, and how much of the
// processor an automatic run takes while it mostly waits.
#include "app/fonts.h"
#include "app/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Fonts::install();
    Form1 form;
    form.show();
    flushPaints();

    form.Check1->setChecked(true);
    form.Check2->setChecked(true);
    form.Check3->setChecked(true);
    form.scene.Slot = { 3, 3, 3, 3, 3 };
    form.kokuban->foreColor = QColor(255, 255, 0);
    form.stepper.Command2_Click();

    // Each step is timed with its drawing and the repaint it causes.
    std::vector<double> forward, backward;
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer t;
            t.start();
            form.stepper.susumu_Click();
            flushPaints();
            forward.push_back(t.nsecsElapsed() / 1e6);
        }
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer t;
            t.start();
            form.stepper.modoru_Click();
            flushPaints();
            backward.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    const Timing f = summarise(forward), b = summarise(backward);
    std::printf("forward step (grid, table, graph, five pieces): median %.3f ms, worst %.3f ms over %zu steps\n",
                f.median, f.worst, forward.size());
    std::printf("backward step (grid, table, graph, five pieces): median %.3f ms, worst %.3f ms over %zu steps\n",
                b.median, b.worst, backward.size());

    form.stepper.Command2_Click();
    form.Combo1->setEditText(QStringLiteral("10"));
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    form.autoPlay.jidou_Click();
    const double wallSeconds = wall.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("automatic run of 20 steps at speed 10: %.2f s wall, %.3f s CPU, CPU share %.1f %%\n",
                wallSeconds, cpu, 100 * cpu / wallSeconds);
    return 0;
}
