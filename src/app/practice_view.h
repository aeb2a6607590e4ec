#pragma once

#include "figure/blackboard.h"
#include "lesson/lesson.h"
#include "practice/kept_sheets.h"
#include "practice/practice_sheet.h"
#include "surface/control_host.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

class CommandButton;
class Keypad;
class LabelControl;
class Placement;
class PictureBox;
class PresenterKeys;
class QCheckBox;
class QLineEdit;

// 練習: a pupil answers the lesson's questions about one figure and each answer is checked.
// Over the whole window, while it is open: a blackboard of its own whose figure moves as the
// lesson's does (出す, 戻す, 最初に, the keys, the grid) but shows no y, the table with an
// answer cell under each whole x, the other questions with their cells where the graph was,
// the keypad, the count, and the commands of practice. The lesson behind it is left alone,
// so that leaving practice shows the lesson exactly as it was.
class PracticeView : public ControlHost
{
    Q_OBJECT

public:
    // Made over the window's whole client area with both panels open (in logical pixels),
    // hidden; its controls are kept by the window's placement for the zoom.
    PracticeView(QWidget *window, Placement &placement, QSize client);
    ~PracticeView() override;

    // Opens on a figure: the sheet kept for it, or a fresh one. Without a figure, the sheet
    // kept last, or a new problem when none is kept.
    void open(const std::optional<AreaFunction::Columns> &figure);
    // 新しい問題: a new random figure that makes a whole exercise, started afresh.
    void newProblem();

    const PracticeSheet &sheet() const { return m_sheet; }
    const Lesson &lesson() const { return m_lesson; }

    // 結果を保存, under which its choice opens.
    QWidget *resultButton() const { return m_save; }

    // The cell of each question, in the questions' order.
    const std::vector<QLineEdit *> &cells() const { return m_cells; }

    // Where the sheet is kept between runs and reloads.
    static const QString KeptAs;

signals:
    // 練習をやめる.
    void leaveRequested();
    // A figure is being practised, opened or new: the page's address says so.
    void practising(const AreaFunction::Columns &figure);
    // 結果を保存.
    void resultRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void build(Placement &placement);
    void start(const AreaFunction::Columns &figure, bool afresh);
    // The sheet kept as it is now, with the other figures' sheets.
    void keep();
    // Brings the cells, marks and count up to the sheet.
    void follow();
    void check();
    void type(const QString &text);
    // The keypad's 確定.
    void enter();
    // Which of 年・組・番・名前 has the focus, or -1.
    int nameWithFocus() const;
    void backspace();
    QLineEdit *currentCell() const;
    // What the status region and the description read.
    void say(const QString &text);
    void describeBoard();

    Lesson m_lesson;
    PracticeSheet m_sheet;
    // Every figure's sheet this device keeps, read when practice opens.
    KeptSheets m_kept;

    PictureBox *m_board = nullptr;
    PictureBox *m_table = nullptr;
    ControlHost *m_panel = nullptr;
    std::unique_ptr<Blackboard> m_blackboard;
    CommandButton *m_out = nullptr;
    CommandButton *m_in = nullptr;
    CommandButton *m_start = nullptr;
    QWidget *m_save = nullptr;
    QCheckBox *m_grid = nullptr;
    Keypad *m_keypad = nullptr;
    std::unique_ptr<PresenterKeys> m_keys;
    LabelControl *m_count = nullptr;
    LabelControl *m_result = nullptr;
    std::array<QLineEdit *, PracticeSheet::NameFields> m_name {};

    // A cell and a mark for each question: the table's ten, then the rows beside the board,
    // as many as the most questions a figure has (five domains, the y and the x); those a
    // figure does not ask are hidden.
    std::vector<QLineEdit *> m_cells;
    std::vector<LabelControl *> m_marks;
    std::vector<LabelControl *> m_questionLabels;
    int m_shownCurrent = -1;
    // What was last said has not been announced: practice was not shown yet.
    bool m_unsaid = false;
};
