#pragma once

#include <cstdint>

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
    // The one place that sets the buttons for each state of automatic play.
    void applyButtons(State state);

private:
    Form1 &form;
    bool m_running = false;
};
