#pragma once

#include "area/area_function.h"
#include "lesson/scene_state.h"
#include "motion/auto_play.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The lesson itself, without a widget: the figure composed in the envelope, where P
// stands, the switches that change what is shown, the drag under way and automatic play.
// Its operations are what a class does with the window; it tells what changed through
// its signals, and the window brings every view up to date from there. y is taken from
// the area function, never kept.
class Lesson : public QObject
{
    Q_OBJECT

public:
    using Columns = AreaFunction::Columns;

    // What moved P or changed the figure.
    enum class Change {
        StepOut,       // 出す: P half a centimetre further out
        StepIn,        // 戻す: half a centimetre back in
        BackToStart,   // 最初に: P back at B, the table and the graph started over
        Dropped,       // a new figure: a drag put, copied or removed a piece (or tried to), or a
                       // whole figure came at once; back to the start
        InitialScreen, // 初期画面: the envelope empty, everything laid out afresh
    };
    Q_ENUM(Change)

    // What the check boxes switch on and off.
    enum class Switch { Grid, Table, Graph, Cover, Marker, Expressions, Prediction };
    Q_ENUM(Switch)

    using RunState = AutoPlay::State;

    explicit Lesson(QObject *parent = nullptr);

    const SceneState &scene() const { return m_scene; }
    const Columns &columns() const { return m_scene.Slot; }
    // x in cm and its half-step index 2x.
    double distance() const { return m_scene.distance(); }
    int stepIndex() const { return m_scene.stepIndex(); }
    // y in cm², the area out of the envelope at x.
    double y() const { return AreaFunction::areaAt(columns(), distance()); }
    bool atStart() const { return m_scene.step == 0; }
    bool atEnd() const { return m_scene.step == SceneState::LastStep; }

    bool isOn(Switch which) const { return m_switches[int(which)]; }
    void setSwitch(Switch which, bool on);

    // The steps clamp: none beyond the end, none back before the start.
    void stepOut();
    void stepIn();
    void backToStart();
    // Empties the envelope and lays the scene out afresh; the switches stay.
    void showInitialScreen();
    // A whole figure at once (one given in the page's address), as if its pieces had been
    // dropped: P at the start, any prediction gone.
    void compose(const Columns &columns);

    // Composing by drag, as the board's view reads its pointer: a piece is picked up from
    // the tray or lifted out of a column, then let go in the envelope (into a column, where
    // it is put, a copy when it came from another column), above it (a lifted piece is taken
    // out) or elsewhere (nothing changes). Letting go in the envelope or above it brings the
    // lesson back to the start, whatever was put.
    void pickUp(PieceKind kind);
    // Nothing when the column is empty.
    void liftFrom(int column);
    // Into the column, or into none (between or beside the columns).
    void dropInEnvelope(std::optional<int> column);
    void dropAboveEnvelope();
    void dropElsewhere();
    bool isDragging() const { return m_scene.DragKind != PieceKind::Empty; }
    PieceKind dragKind() const { return m_scene.DragKind; }

    // 予想: the class's prediction of y at each whole x (0 to 10), made before the figure
    // shows it. A point goes to the nearest whole x, its y to the nearest even number of
    // cm² (the area at a whole x always is one) within 0 to 60; a point at an x that has one
    // replaces it. A drop and the initial screen clear the prediction.
    using Prediction = std::array<std::optional<double>, size_t(AreaFunction::Length) + 1>;
    void predict(double x, double y);
    const Prediction &prediction() const { return m_prediction; }
    bool hasPrediction() const;
    // A predicted point is checked once P has moved out and reached its x; 戻す takes the
    // check back from the points P leaves, and at the start none is checked.
    bool isChecked(int x) const { return !atStart() && x >= 0 && x <= distance(); }
    bool isRight(int x) const;
    // Where a point at (x, y) goes: the nearest whole x and the nearest even y in range.
    static std::pair<int, double> snapPrediction(double x, double y);

    // Automatic play from where P stands (from the start when the figure is wholly out).
    void play();
    // Stops a run after its current pause.
    void stop();
    // Ends a run at once for good: the program is ending.
    void quit();
    RunState runState() const { return m_autoPlay.state(); }
    bool isPlaying() const { return m_autoPlay.isRunning(); }
    AutoPlay &autoPlay() { return m_autoPlay; }

    // The speed list's text, read anew before every pause: its number times 5 ms.
    void setSpeedText(const QString &text) { m_speedText = text; }
    int32_t pauseMilliseconds() const;

    // The distance as the distance box shows it: a blank and one decimal (" 0.0", " 4.5").
    static QString distanceText(double centimetres);
    // Where the figure stands, for screen readers: "χ = 4.5 cm, y = 13.5 cm²".
    QString whereText() const;

signals:
    void changed(Lesson::Change change);
    void switched(Lesson::Switch which, bool on);
    void runStateChanged(Lesson::RunState state);
    void predictionChanged();

private:
    void putBackAtStart(Change change);
    void endDrag();

    SceneState m_scene;
    std::array<bool, 7> m_switches { false, false, false, false, true, false, false };
    Prediction m_prediction;
    // Whether the piece being dragged was lifted from a column rather than the tray.
    bool m_liftedFromColumn = false;
    QString m_speedText;
    AutoPlay m_autoPlay;
};
