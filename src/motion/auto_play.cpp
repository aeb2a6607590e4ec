#include "motion/auto_play.h"

#include "app/form1.h"
#include "app/numeric.h"

AutoPlay::AutoPlay(Form1 &form)
    : form(form)
{
    m_pause.setSingleShot(true);
    m_pause.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_pause, &QTimer::timeout, &form, [this] { pauseOver(); });
}

void AutoPlay::applyButtons(State state)
{
    const bool idle = state == State::Idle;
    form.susumu->setEnabled(idle);
    form.modoru->setEnabled(idle);
    form.Command1->setEnabled(idle);
    form.jidou->setEnabled(state != State::Running);
    form.tomeru->setEnabled(!idle);
}

int32_t AutoPlay::pauseMilliseconds() const
{
    return Numeric::toInt32Clamped(Numeric::leadingNumber(form.Combo1->currentText()) * 5);
}

void AutoPlay::jidou_Click()
{
    // A click while a run is still in its last pause (after ストップ) must not start a
    // second run beside the first; that run ends at the end of its pause.
    if (m_running)
        return;
    if (form.scene.PointPX == 100)
        form.stepper.Command2_Click();

    m_running = true;
    m_pass = 0;
    applyButtons(State::Running);
    runPasses();
}

void AutoPlay::runPasses()
{
    const SceneState &s = form.scene;
    while (s.StopFlag != 1 && s.PointPX != 100 && !form.quitRequested()) {
        form.stepper.susumu_Click();
        ++m_pass;
        const int32_t ms = pauseMilliseconds();
        if (pauseStarted)
            pauseStarted(m_pass, ms);
        if (WaitMilliseconds(ms))
            return;
        if (pauseEnded)
            pauseEnded(m_pass, ms, 0);
    }
    endRun();
}

bool AutoPlay::WaitMilliseconds(int32_t ms)
{
    if (ms <= 0 || form.quitRequested())
        return false;
    m_pauseMs = ms;
    m_pauseClock.start();
    m_pause.start(ms);
    return true;
}

void AutoPlay::pauseOver()
{
    // A timer may fire a little early; the pause lasts at least its time.
    const qint64 leftNs = qint64(m_pauseMs) * 1'000'000 - m_pauseClock.nsecsElapsed();
    if (leftNs > 0) {
        m_pause.start(int((leftNs + 999'999) / 1'000'000));
        return;
    }
    if (pauseEnded)
        pauseEnded(m_pass, m_pauseMs, m_pauseClock.nsecsElapsed());
    runPasses();
}

void AutoPlay::endRun()
{
    form.scene.StopFlag = 0;
    m_running = false;
    if (!form.quitRequested())
        applyButtons(State::Idle);
}

void AutoPlay::quit()
{
    m_pause.stop();
    if (m_running)
        endRun();
}

AutoPlay::State AutoPlay::state() const
{
    if (!m_running)
        return State::Idle;
    return form.scene.StopFlag == 1 ? State::StopRequested : State::Running;
}

void AutoPlay::tomeru_Click()
{
    // ストップ is enabled only during a run; a stop asked for outside one would linger
    // and swallow the next run.
    if (!m_running)
        return;
    form.scene.StopFlag = 1;
    applyButtons(State::StopRequested);
}
