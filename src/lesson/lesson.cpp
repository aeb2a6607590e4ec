#include "lesson/lesson.h"

#include "lesson/numeric.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

Lesson::Lesson(QObject *parent)
    : QObject(parent)
    , m_autoPlay([this] {
                     if (atEnd())
                         return false;
                     stepOut();
                     return true;
                 },
                 [this] { return pauseMilliseconds(); }, this)
{
    connect(&m_autoPlay, &AutoPlay::stateChanged, this, &Lesson::runStateChanged);
}

void Lesson::setSwitch(Switch which, bool on)
{
    if (isOn(which) == on)
        return;
    m_switches[int(which)] = on;
    emit switched(which, on);
}

void Lesson::stepOut()
{
    if (atEnd())
        return;
    m_scene.PointPX -= 10;
    emit changed(Change::StepOut);
}

void Lesson::stepIn()
{
    if (atStart())
        return;
    m_scene.PointPX += 10;
    emit changed(Change::StepIn);
}

void Lesson::putBackAtStart(Change change)
{
    m_scene.PointPX = StartX;
    // A prediction belongs to the figure it was made for.
    if (change == Change::Dropped || change == Change::InitialScreen)
        m_prediction.fill(std::nullopt);
    emit changed(change);
}

void Lesson::backToStart()
{
    putBackAtStart(Change::BackToStart);
}

void Lesson::showInitialScreen()
{
    SceneState &s = m_scene;
    s.DragKind = 0;
    s.Slot.fill(0);
    s.PointAX = 300;
    s.PointAY = 180;
    s.PointBX = 300;
    s.PointBY = 300;
    s.PointCX = 500;
    s.PointCY = 300;
    s.PointDX = 500;
    s.PointDY = 180;
    s.BaseLineY = 300;
    putBackAtStart(Change::InitialScreen);
}

void Lesson::compose(const Columns &columns)
{
    m_scene.Slot = columns;
    m_scene.DragKind = 0;
    putBackAtStart(Change::Dropped);
}

int Lesson::trayKindAt(double x, double y)
{
    if (!(y < 150))
        return 0;
    if (350 < x && x < 390)
        return 1;
    if (400 < x && x < 440)
        return 2;
    if (450 < x && x < 490)
        return 3;
    return 0;
}

int Lesson::columnAt(double x, double y)
{
    if (!(180 < y && y < 300))
        return -1;
    for (int i = 0; i < 5; ++i) {
        if (300 + 40 * i < x && x < 340 + 40 * i)
            return i;
    }
    return -1;
}

void Lesson::press(double x, double y)
{
    SceneState &s = m_scene;
    if (y < 150) {
        if (const int kind = trayKindAt(x, y)) {
            s.DragKind = kind;
            m_liftedFromColumn = false;
        }
    } else if (const int column = columnAt(x, y); column >= 0 && s.Slot[column] != 0) {
        s.DragKind = s.Slot[column];
        s.DragFrom = column;
        m_liftedFromColumn = true;
    }
}

void Lesson::release(double x, double y)
{
    SceneState &s = m_scene;
    if (s.DragKind == 0)
        return;
    const bool aboveEnvelope = y < 180;
    const bool inEnvelopeBand = 180 < y && y < 300;
    if (aboveEnvelope) {
        // Only a piece lifted out of a column is removed; one brought from the tray and
        // dropped back above the envelope leaves the figure as it was.
        if (m_liftedFromColumn)
            s.Slot[qBound(0, int(s.DragFrom), 4)] = 0;
    } else if (inEnvelopeBand) {
        if (const int column = columnAt(x, y); column >= 0)
            s.Slot[column] = s.DragKind;
    }
    s.DragKind = 0;
    m_liftedFromColumn = false;
    if (aboveEnvelope || inEnvelopeBand)
        putBackAtStart(Change::Dropped);
}

std::pair<int, double> Lesson::snapPrediction(double x, double y)
{
    const int whole = int(std::lround(std::clamp(x, 0.0, AreaFunction::Length)));
    const double even = 2 * std::round(std::clamp(y, 0.0, 60.0) / 2);
    return { whole, even };
}

void Lesson::predict(double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    const auto [whole, even] = snapPrediction(x, y);
    if (m_prediction[whole] == even)
        return;
    m_prediction[whole] = even;
    emit predictionChanged();
}

bool Lesson::isRight(int x) const
{
    return x >= 0 && x < int(m_prediction.size()) && m_prediction[x] == AreaFunction::areaAt(columns(), x);
}

bool Lesson::hasPrediction() const
{
    return std::any_of(m_prediction.begin(), m_prediction.end(), [](const auto &y) { return y.has_value(); });
}

void Lesson::play()
{
    if (isPlaying())
        return;
    if (atEnd())
        backToStart();
    m_autoPlay.start();
}

void Lesson::stop()
{
    m_autoPlay.requestStop();
}

void Lesson::quit()
{
    m_autoPlay.end();
}

int32_t Lesson::pauseMilliseconds() const
{
    return Numeric::toInt32Clamped(Numeric::leadingNumber(m_speedText) * 5);
}

QString Lesson::distanceText(double centimetres)
{
    QString text = Numeric::numberText(centimetres);
    // The one text that reads as a half (a value just beside it is written the same).
    if (text == QLatin1String(" .5"))
        text = QStringLiteral(" 0") + text.mid(1);
    if (!text.contains(QLatin1Char('.')))
        text += QStringLiteral(".0");
    return text;
}
