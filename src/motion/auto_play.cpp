#include "motion/auto_play.h"

AutoPlay::AutoPlay(std::function<bool()> step, std::function<int32_t()> pause, QObject *parent)
    : QObject(parent)
    , m_step(std::move(step))
    , m_pause(std::move(pause))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AutoPlay::pauseOver);
}

void AutoPlay::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void AutoPlay::start()
{
    if (m_state != State::Idle || m_ended)
        return;
    m_pass = 0;
    setState(State::Running);
    runSteps();
}

void AutoPlay::runSteps()
{
    while (m_state == State::Running && m_step()) {
        ++m_pass;
        const int32_t ms = m_pause();
        if (pauseStarted)
            pauseStarted(m_pass, ms);
        if (scheduleNextStep(ms))
            return;
        if (pauseEnded)
            pauseEnded(m_pass, ms, 0);
    }
    setState(State::Idle);
}

bool AutoPlay::scheduleNextStep(int32_t ms)
{
    if (ms <= 0)
        return false;
    m_pauseMs = ms;
    m_pauseClock.start();
    m_timer.start(ms);
    return true;
}

void AutoPlay::pauseOver()
{
    // A timer may fire a little early; the pause lasts at least its time.
    const qint64 leftNs = qint64(m_pauseMs) * 1'000'000 - m_pauseClock.nsecsElapsed();
    if (leftNs > 0) {
        m_timer.start(int((leftNs + 999'999) / 1'000'000));
        return;
    }
    if (pauseEnded)
        pauseEnded(m_pass, m_pauseMs, m_pauseClock.nsecsElapsed());
    runSteps();
}

void AutoPlay::requestStop()
{
    // Outside a run there is nothing to stop; a request left standing would swallow the next run.
    if (m_state == State::Running)
        setState(State::StopRequested);
}

void AutoPlay::end()
{
    m_ended = true;
    m_timer.stop();
    setState(State::Idle);
}
