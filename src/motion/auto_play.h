#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QtGlobal>
#include <cstdint>
#include <functional>

// 自    動's run: a step per timer shot, the pause after each step the timer's interval.
// Between steps the window handles its events as usual and no handler ever waits inside
// another (a browser could not). The lesson owns the one run and says what a step is.
class AutoPlay : public QObject
{
    Q_OBJECT

public:
    enum class State { Idle, Running, StopRequested };

    // step takes one step, or returns false when there is none left to take; pause gives
    // the pause after a step in milliseconds, asked anew after every step.
    AutoPlay(std::function<bool()> step, std::function<int32_t()> pause, QObject *parent = nullptr);

    State state() const { return m_state; }
    bool isRunning() const { return m_state != State::Idle; }

    // Starts a run; nothing while one is under way, also one that was asked to stop and is
    // still in its last pause: a second run must not start beside the first.
    void start();
    // The run stops once its current pause is over, without a further step.
    void requestStop();
    // Ends a run at once, without a further step, and starts none again: the program is ending.
    void end();

    // Told when each pause starts and ends (pass counts the run's steps): for measuring
    // the pauses, and for driving the window in the middle of a run.
    std::function<void(int pass, int32_t ms)> pauseStarted;
    std::function<void(int pass, int32_t ms, qint64 elapsedNs)> pauseEnded;

signals:
    void stateChanged(AutoPlay::State state);

private:
    // Steps until a pause is scheduled or the run is over.
    void runSteps();
    // Schedules the next step ms milliseconds from now and returns true; for ms <= 0
    // schedules nothing and returns false, so the run goes straight on without handling
    // any event.
    bool scheduleNextStep(int32_t ms);
    void pauseOver();
    void setState(State state);

    std::function<bool()> m_step;
    std::function<int32_t()> m_pause;
    State m_state = State::Idle;
    bool m_ended = false;
    int m_pass = 0;
    int32_t m_pauseMs = 0;
    QElapsedTimer m_pauseClock;
    QTimer m_timer;
};
