#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QtGlobal>
#include <cstdint>
#include <functional>

class Form1;

// 自    動 plays the forward steps to the end with a pause from the speed list between
// them; ストップ asks the run to stop after the current pause.
//
// The run is a pass per timer shot, the pause its interval: between passes the window
// handles events as usual, and no handler ever waits inside another (a browser could not).
class AutoPlay
{
public:
    enum class State { Idle, Running, StopRequested };

    explicit AutoPlay(Form1 &form);

    void jidou_Click();
    void tomeru_Click();

    // Schedules the run's next pass ms milliseconds from now and returns true; for
    // ms <= 0, or when the program is ending, schedules nothing and returns false, so that
    // the run goes straight on without handling any event.
    bool WaitMilliseconds(int32_t ms);

    // The pause after each step, from the speed list's text.
    int32_t pauseMilliseconds() const;

    bool isRunning() const { return m_running; }
    State state() const;

    // Ends a run at once, without a further step: the program is ending.
    void quit();

    // Told when each pause of a run starts and ends (pass counts the run's steps); for
    // measuring the pauses and for driving the window in the middle of a run.
    std::function<void(int pass, int32_t ms)> pauseStarted;
    std::function<void(int pass, int32_t ms, qint64 elapsedNs)> pauseEnded;
    // The one place that sets the buttons for each state of automatic play.
    void applyButtons(State state);

private:
    // Passes until a pause is scheduled or the run is over.
    void runPasses();
    void pauseOver();
    void endRun();

    Form1 &form;
    bool m_running = false;
    int m_pass = 0;
    int32_t m_pauseMs = 0;
    QElapsedTimer m_pauseClock;
    QTimer m_pause;
};
