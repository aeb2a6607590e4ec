#pragma once

#include <QtGlobal>
#include <cstdint>
#include <functional>

class Form1;

// 自    動 plays the forward steps to the end with a pause from the speed list between
// them; ストップ asks the run to stop after the current pause.
class AutoPlay
{
public:
    enum class State { Idle, Running, StopRequested };

    explicit AutoPlay(Form1 &form) : form(form) {}

    void jidou_Click();
    void tomeru_Click();

    // Waits ms milliseconds while processing window events; returns at once, processing
    // nothing, for ms <= 0, and at once when the program is ending.
    void WaitMilliseconds(int32_t ms);

    // The pause after each step, from the speed list's text.
    int32_t pauseMilliseconds() const;

    bool isRunning() const { return m_running; }
    State state() const;

    // Told when each pause of a run starts and ends (pass counts the run's steps); for
    // measuring the pauses and for driving the window in the middle of a run.
    std::function<void(int pass, int32_t ms)> pauseStarted;
    std::function<void(int pass, int32_t ms, qint64 elapsedNs)> pauseEnded;
    // The one place that sets the buttons for each state of automatic play.
    void applyButtons(State state);

private:
    Form1 &form;
    bool m_running = false;
};
