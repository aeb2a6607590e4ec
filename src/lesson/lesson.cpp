#include "lesson/lesson.h"

#include "lesson/numeric.h"

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
    ++m_scene.step;
    emit changed(Change::StepOut);
}

void Lesson::stepIn()
{
    if (atStart())
        return;
    --m_scene.step;
    emit changed(Change::StepIn);
}

void Lesson::putBackAtStart(Change change)
{
    m_scene.step = 0;
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
    endDrag();
    m_scene.Slot.fill(PieceKind::Empty);
    putBackAtStart(Change::InitialScreen);
}

void Lesson::compose(const Columns &columns)
{
    m_scene.Slot = columns;
    endDrag();
    putBackAtStart(Change::Dropped);
}

void Lesson::pickUp(PieceKind kind)
{
    if (kind == PieceKind::Empty)
        return;
    m_scene.DragKind = kind;
    m_liftedFromColumn = false;
}

void Lesson::liftFrom(int column)
{
    if (column < 0 || column >= int(columns().size()) || columns()[column] == PieceKind::Empty)
        return;
    m_scene.DragKind = columns()[column];
    m_scene.DragFrom = column;
    m_liftedFromColumn = true;
}

void Lesson::endDrag()
{
    m_scene.DragKind = PieceKind::Empty;
    m_liftedFromColumn = false;
}

void Lesson::dropInEnvelope(std::optional<int> column)
{
    if (!isDragging())
        return;
    if (column && *column >= 0 && *column < int(columns().size()))
        m_scene.Slot[*column] = m_scene.DragKind;
    endDrag();
    putBackAtStart(Change::Dropped);
}

void Lesson::dropAboveEnvelope()
{
    if (!isDragging())
        return;
    // Only a piece lifted out of a column is removed; one brought from the tray and let go
    // above the envelope leaves the figure as it was.
    if (m_liftedFromColumn)
        m_scene.Slot[m_scene.DragFrom] = PieceKind::Empty;
    endDrag();
    putBackAtStart(Change::Dropped);
}

void Lesson::dropElsewhere()
{
    endDrag();
}

std::pair<int, double> Lesson::snapPrediction(double x, double y)
{
    const int whole = int(std::lround(std::clamp(x, 0.0, AreaFunction::Length)));
    const double even = 2 * std::round(std::clamp(y, 0.0, AreaFunction::LargestArea) / 2);
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

QString Lesson::whereText() const
{
    return QStringLiteral("χ = %1 cm, y = %2 cm²").arg(distance()).arg(y());
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
