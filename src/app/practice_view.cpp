#include "app/practice_view.h"

#include "app/browser_page.h"
#include "app/keypad.h"
#include "app/presenter_keys.h"
#include "panels/table_panel.h"
#include "practice/answer_check.h"
#include "surface/command_button.h"
#include "surface/control_builders.h"
#include "surface/controls.h"
#include "surface/fonts.h"
#include "surface/palette.h"
#include "surface/picture_box.h"
#include "surface/placement.h"
#include "surface/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <utility>

const QString PracticeView::KeptAs = QStringLiteral("practice");

namespace {

const QColor FormBack(192, 255, 192);
const QColor FormText(0, 128, 0);
// Marks as a teacher's red pen writes them; an answer shown after two wrong tries in the
// table's blue, apart from what the pupil typed.
const QColor MarkInk(220, 0, 0);
const QColor ShownInk(0, 0, 255);

constexpr int TableCells = 10;
constexpr int PanelRows = AreaFunction::ColumnCount + 2;

// The panel beside the board, where the graph stands in the lesson, and its rows.
const QRect PanelPlace = Twips::rect(9480, 240, 5895, 7695);
// Room for five domains' rows above the keypad.
constexpr int RowsTop = 72;
constexpr int RowHeight = 26;
constexpr int CellLeft = 196;
constexpr int CellWidth = 140;

QString markText(PracticeSheet::Mark mark)
{
    switch (mark) {
    case PracticeSheet::Mark::Right: return QStringLiteral("○");
    case PracticeSheet::Mark::Wrong:
    case PracticeSheet::Mark::Shown: return QStringLiteral("×");
    case PracticeSheet::Mark::None: break;
    }
    return {};
}

QLineEdit *makeCell(QWidget *parent, Placement &placement, QRect place, const QFont &font)
{
    auto *cell = new QLineEdit(parent);
    cell->setAlignment(Qt::AlignCenter);
    placement.setFont(cell, font);
    placement.place(cell, place);
    return cell;
}

} // namespace

PracticeView::PracticeView(QWidget *window, Placement &placement, QSize client)
    : ControlHost(window)
    , m_lesson(this)
    , m_sheet(this)
{
    setObjectName(QStringLiteral("practice"));
    setAccessibleName(QStringLiteral("練習"));
    setBackColor(FormBack);
    // A right click here is not the lesson's: its menus would hand out the answers.
    setContextMenuPolicy(Qt::PreventContextMenu);
    placement.place(this, QRect(QPoint(), client));
    build(placement);
    hide();

    connect(&m_lesson, &Lesson::changed, this, [this](Lesson::Change change) {
        m_blackboard->follow(change);
        describeBoard();
    });
    connect(&m_lesson, &Lesson::switched, this, [this](Lesson::Switch which, bool on) {
        if (which == Lesson::Switch::Grid)
            m_blackboard->figure().gridSwitched(on);
        if (which == Lesson::Switch::Marker)
            m_blackboard->markers().placeMarker();
    });
    connect(&m_sheet, &PracticeSheet::changed, this, [this] {
        follow();
        keep();
    });
    m_lesson.showInitialScreen();
}

PracticeView::~PracticeView() = default;

void PracticeView::build(Placement &placement)
{
    Make::label(this, QStringLiteral("title"), QStringLiteral("練習"), Fonts::layoutFont(24), QColor(255, 255, 255),
                QColor(0, 0, 255), 240, 240, 2400, 495);

    m_board = new PictureBox(this);
    m_board->setObjectName(QStringLiteral("practice board"));
    m_board->setAccessibleName(QStringLiteral("黒板"));
    placement.place(m_board, Twips::rect(240, 960, 9015, 6135));
    m_board->setBackColor(QColor(0, 128, 0));
    m_blackboard = std::make_unique<Blackboard>(*m_board, placement, m_lesson);
    connect(m_blackboard->markerBox(), &QCheckBox::toggled, this,
            [this](bool on) { m_lesson.setSwitch(Lesson::Switch::Marker, on); });
    // The distance box shows x; what is typed into it moves nothing, as in the lesson.
    m_blackboard->distanceBox()->setFocusPolicy(Qt::ClickFocus);

    const QFont buttonFace = Fonts::layoutFont(12, true);
    m_out = Make::button(placement, this, QStringLiteral("practice out"), QStringLiteral("出す"), QColor(255, 255, 0),
                       buttonFace, Twips::rect(4560, 7320, 975, 735));
    m_in = Make::button(placement, this, QStringLiteral("practice in"), QStringLiteral("戻す"), QColor(0, 255, 255),
                      buttonFace, Twips::rect(5640, 7320, 975, 735));
    m_start = Make::button(placement, this, QStringLiteral("practice start"), QStringLiteral("最初に"), QColor(255, 192, 128),
                         buttonFace, Twips::rect(6720, 7560, 855, 495));
    // A tap on them leaves the focus in the answer being typed, for a keyboard's next key.
    for (QWidget *button : { static_cast<QWidget *>(m_out), static_cast<QWidget *>(m_in), static_cast<QWidget *>(m_start) })
        button->setFocusPolicy(Qt::TabFocus);
    connect(m_out, &QPushButton::clicked, &m_lesson, &Lesson::stepOut);
    connect(m_in, &QPushButton::clicked, &m_lesson, &Lesson::stepIn);
    connect(m_start, &QPushButton::clicked, &m_lesson, &Lesson::backToStart);
    m_grid = Make::checkBox(placement, this, QStringLiteral("practice grid"), QStringLiteral("方眼"), FormBack, FormText,
                            Fonts::layoutFont(18));
    placement.place(m_grid, Twips::rect(5640, 360, 1215, 390));
    m_grid->setFocusPolicy(Qt::TabFocus);
    connect(m_grid, &QCheckBox::toggled, this, [this](bool on) { m_lesson.setSwitch(Lesson::Switch::Grid, on); });
    m_keys = std::make_unique<PresenterKeys>(*this);

    // The table: x from 0 to 10, and under each whole x but 0 the cell for its y.
    m_table = new PictureBox(this);
    m_table->setObjectName(QStringLiteral("practice table"));
    m_table->setAccessibleName(QStringLiteral("表"));
    placement.place(m_table, Twips::rect(120, 8400, 9135, 1695));
    m_table->setBackColor(Palette::panelBack());
    TablePanel::makeFrame(*m_table);
    m_table->drawing().setForeColor(Palette::panelInk());
    for (int x = 0; x <= TableCells; ++x)
        TablePanel::printCell(m_table->drawing(), x, TablePanel::Row::X, x);
    TablePanel::printCell(m_table->drawing(), 0, TablePanel::Row::Y, 0);
    QFont cellFace = Fonts::layoutFont(12, true);
    QFont markFace = Fonts::layoutFont(12, true);
    for (int x = 1; x <= TableCells; ++x) {
        const QRect place = TablePanel::cellRect(x, TablePanel::Row::Y).toRect().translated(m_table->contentOffset());
        m_cells.push_back(makeCell(m_table, placement, place, cellFace));
        LabelControl *mark = m_table->add<LabelControl>(QString(), markFace, MarkInk);
        mark->setLeft(place.left());
        mark->setTop(place.bottom() + 1);
        mark->setSize(QSizeF(place.width(), 16));
        m_marks.push_back(mark);
    }

    // Beside the board: the count, the name, the other questions and the keypad.
    m_panel = new ControlHost(this);
    m_panel->setObjectName(QStringLiteral("practice panel"));
    m_panel->setBackColor(Palette::panelBack());
    placement.place(m_panel, PanelPlace);
    QFont countFace = Fonts::layoutFont(18, true);
    m_count = m_panel->add<LabelControl>(QString(), countFace, MarkInk);
    m_count->setLeft(8);
    m_count->setTop(6);
    const char *nameCaptions[PracticeSheet::NameFields] = { "年", "組", "番", "名前" };
    const int nameWidths[PracticeSheet::NameFields] = { 34, 34, 34, 140 };
    QFont nameFace = Fonts::layoutFont(10.5);
    int left = 8;
    for (int i = 0; i < PracticeSheet::NameFields; ++i) {
        const QString caption = QString::fromUtf8(nameCaptions[i]);
        auto *label = m_panel->add<LabelControl>(caption, nameFace, Qt::black);
        label->setLeft(left);
        label->setTop(44);
        left += int(std::ceil(QFontMetricsF(nameFace).horizontalAdvance(caption))) + 3;
        m_name[i] = makeCell(m_panel, placement, QRect(left, 40, nameWidths[i], 24), nameFace);
        m_name[i]->setObjectName(QStringLiteral("name %1").arg(i));
        m_name[i]->setAccessibleName(caption);
        connect(m_name[i], &QLineEdit::textEdited, this, [this, i](const QString &text) { m_sheet.setName(i, text); });
        left += nameWidths[i] + 8;
    }
    QFont questionFace = Fonts::layoutFont(11, true);
    for (int row = 0; row < PanelRows; ++row) {
        const int top = RowsTop + row * RowHeight;
        LabelControl *question = m_panel->add<LabelControl>(QString(), questionFace, Qt::black);
        question->setLeft(8);
        question->setTop(top + 3);
        m_questionLabels.push_back(question);
        m_cells.push_back(makeCell(m_panel, placement, QRect(CellLeft, top, CellWidth, RowHeight - 3), cellFace));
        LabelControl *mark = m_panel->add<LabelControl>(QString(), markFace, MarkInk);
        mark->setLeft(CellLeft + CellWidth + 6);
        mark->setTop(top + 2);
        m_marks.push_back(mark);
    }
    for (size_t i = 0; i < m_cells.size(); ++i) {
        QLineEdit *cell = m_cells[i];
        cell->setObjectName(QStringLiteral("answer %1").arg(i));
        cell->installEventFilter(this);
        connect(cell, &QLineEdit::textEdited, this, [this, i](const QString &text) { m_sheet.setTyped(int(i), text); });
        connect(cell, &QLineEdit::returnPressed, this, &PracticeView::check);
    }
    const int keypadTop = PanelPlace.height() - 4 * (Keypad::KeyHeight + Keypad::Gap) - 2;
    m_keypad = new Keypad(m_panel, placement,
                          QRect(8, keypadTop, Keypad::Columns * (Keypad::KeyWidth + Keypad::Gap) - Keypad::Gap,
                                4 * (Keypad::KeyHeight + Keypad::Gap) - Keypad::Gap));
    connect(m_keypad, &Keypad::typed, this, &PracticeView::type);
    connect(m_keypad, &Keypad::backspace, this, &PracticeView::backspace);
    connect(m_keypad, &Keypad::enter, this, &PracticeView::enter);

    // Below the panel: the commands of practice and the result once it is done.
    auto *fresh = Make::button(placement, this, QStringLiteral("new problem"), QStringLiteral("新しい問題"), QColor(255, 255, 192),
                             buttonFace, Twips::rect(9600, 8160, 1695, 615));
    auto *save = Make::button(placement, this, QStringLiteral("save result"), QStringLiteral("結果を保存"), QColor(192, 255, 255),
                            buttonFace, Twips::rect(11400, 8160, 1695, 615));
    auto *leave = Make::button(placement, this, QStringLiteral("leave practice"), QStringLiteral("練習をやめる"),
                             QColor(192, 192, 255), buttonFace, Twips::rect(13200, 8160, 2055, 615));
    connect(fresh, &QPushButton::clicked, this, &PracticeView::newProblem);
    m_save = save;
    connect(save, &QPushButton::clicked, this, &PracticeView::resultRequested);
    connect(leave, &QPushButton::clicked, this, &PracticeView::leaveRequested);
    m_result = add<LabelControl>(QString(), Fonts::layoutFont(12, true), MarkInk);
    m_result->setName(QStringLiteral("result"));
    m_result->setLeft(Twips::toPixels(9600));
    m_result->setTop(Twips::toPixels(8880));

    // The questions in their order, then the name, then the board's controls. The keys of a
    // presenter remote step the figure unless one of the boxes is being typed into, where
    // Left and Right move the cursor.
    QList<QWidget *> order(m_cells.begin(), m_cells.end());
    for (QLineEdit *field : m_name)
        order << field;
    m_keys->installShortcuts({ m_out, m_in, m_start }, QList<QWidget *>(order) << m_blackboard->distanceBox());
    order << m_out << m_in << m_start << m_grid << fresh << save << leave;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void PracticeView::open(const std::optional<AreaFunction::Columns> &figure)
{
    m_kept = KeptSheets(BrowserPage::kept(KeptAs));
    // The figure's own sheet, or the one practised last when no figure is asked for.
    PracticeSheet kept;
    if (kept.restore(figure ? m_kept.of(*figure) : m_kept.latest())) {
        m_sheet.restore(kept.saved());
        start(m_sheet.figure(), false);
    } else if (figure) {
        start(*figure, true);
    } else {
        newProblem();
    }
}

void PracticeView::keep()
{
    m_kept.put(m_sheet);
    BrowserPage::keep(KeptAs, m_kept.saved());
}

void PracticeView::newProblem()
{
    start(randomExerciseFigure(*QRandomGenerator::global()), true);
}

void PracticeView::start(const AreaFunction::Columns &figure, bool afresh)
{
    if (afresh)
        m_sheet.start(figure);
    m_lesson.compose(figure);
    m_shownCurrent = -1;
    follow();
    keep();
    emit practising(figure);
    if (QLineEdit *cell = currentCell())
        cell->setFocus();
    say(m_sheet.statusText());
}

void PracticeView::follow()
{
    const auto &questions = m_sheet.questions();
    // The table's cells answer the questions of y at x = 1 to 10; the rows the others.
    size_t panelRow = 0;
    std::vector<int> cellOf(questions.size(), -1);
    for (size_t q = 0; q < questions.size(); ++q) {
        const PracticeQuestion &question = questions[q];
        if (question.kind == PracticeQuestion::Kind::TableY && question.x >= 1 && question.x <= TableCells)
            cellOf[q] = int(question.x) - 1;
        else if (panelRow < PanelRows)
            cellOf[q] = TableCells + int(panelRow++);
    }
    std::vector<bool> used(m_cells.size(), false);
    for (size_t q = 0; q < questions.size(); ++q) {
        const int c = cellOf[q];
        if (c < 0)
            continue;
        used[c] = true;
        QLineEdit *cell = m_cells[c];
        const PracticeSheet::Answer &answer = m_sheet.answer(int(q));
        const bool shown = answer.mark == PracticeSheet::Mark::Shown;
        const QString text = shown ? questions[q].answerText() : answer.typed;
        if (cell->text() != text)
            cell->setText(text);
        cell->setReadOnly(!m_sheet.isOpen(int(q)));
        QPalette palette = cell->palette();
        palette.setColor(QPalette::Text, shown ? ShownInk : QColor(Qt::black));
        cell->setPalette(palette);
        cell->setProperty("question", int(q));
        cell->setAccessibleName(questions[q].text());
        const QString mark = markText(answer.mark);
        cell->setAccessibleDescription(mark == QStringLiteral("○") ? QStringLiteral("正解") : mark.isEmpty() ? QString() : QStringLiteral("不正解"));
        m_marks[c]->setCaption(mark);
        if (c >= TableCells)
            m_questionLabels[c - TableCells]->setCaption(questions[q].text());
    }
    for (size_t c = 0; c < m_cells.size(); ++c) {
        m_cells[c]->setVisible(used[c]);
        m_marks[c]->setVisible(used[c]);
        if (c >= TableCells)
            m_questionLabels[c - TableCells]->setVisible(used[c]);
    }
    m_count->setCaption(m_sheet.countText());
    m_result->setCaption(m_sheet.isFinished() ? m_sheet.resultText() : QString());
    for (int i = 0; i < PracticeSheet::NameFields; ++i) {
        if (m_name[i]->text() != m_sheet.name()[i])
            m_name[i]->setText(m_sheet.name()[i]);
    }
    if (m_sheet.current() != m_shownCurrent) {
        m_shownCurrent = m_sheet.current();
        if (QLineEdit *cell = currentCell(); cell && isVisible())
            cell->setFocus();
    }
}

QLineEdit *PracticeView::currentCell() const
{
    for (QLineEdit *cell : m_cells) {
        if (cell->isVisibleTo(const_cast<PracticeView *>(this)) && cell->property("question").toInt() == m_sheet.current())
            return cell;
    }
    return nullptr;
}

void PracticeView::check()
{
    say(m_sheet.check());
}

int PracticeView::nameWithFocus() const
{
    const auto found = std::find(m_name.begin(), m_name.end(), QApplication::focusWidget());
    return found == m_name.end() ? -1 : int(found - m_name.begin());
}

void PracticeView::type(const QString &text)
{
    // 年, 組 and 番 are numbers: a tablet that brings up no keyboard of its own types them here.
    if (const int field = nameWithFocus(); field >= 0) {
        m_name[field]->insert(text);
        m_sheet.setName(field, m_name[field]->text());
        return;
    }
    QLineEdit *cell = currentCell();
    if (!cell || cell->isReadOnly())
        return;
    cell->insert(text);
    m_sheet.setTyped(m_sheet.current(), cell->text());
}

void PracticeView::backspace()
{
    if (const int field = nameWithFocus(); field >= 0) {
        m_name[field]->backspace();
        m_sheet.setName(field, m_name[field]->text());
        return;
    }
    QLineEdit *cell = currentCell();
    if (!cell || cell->isReadOnly())
        return;
    cell->backspace();
    m_sheet.setTyped(m_sheet.current(), cell->text());
}

void PracticeView::enter()
{
    // From the name, 確定 goes back to the question; it checks an answer only.
    if (nameWithFocus() >= 0) {
        if (QLineEdit *cell = currentCell())
            cell->setFocus(Qt::OtherFocusReason);
        return;
    }
    check();
}

bool PracticeView::eventFilter(QObject *watched, QEvent *event)
{
    // A cell taken by Tab or a tap moves the focus there without checking anything. The
    // window's activation chooses no question: Qt 6.8's browser platform activates the window
    // as it creates it, before it is shown, and the activation passes the focus on from the
    // current cell, not visible yet, to the next one (showEvent gives it back).
    if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason) {
        const QVariant question = watched->property("question");
        if (question.isValid() && question.toInt() != m_sheet.current()) {
            m_sheet.setCurrent(question.toInt());
            m_shownCurrent = m_sheet.current();
            say(m_sheet.statusText());
        }
    }
    return ControlHost::eventFilter(watched, event);
}

void PracticeView::say(const QString &text)
{
    setAccessibleDescription(text);
    // Opened with the page, practice starts before the window is shown: it is said then.
    m_unsaid = !isVisible();
    if (!m_unsaid)
        BrowserPage::announce(text);
}

void PracticeView::describeBoard()
{
    // Where the figure stands and what it is made of, but not its area: that is asked.
    QStringList pieces;
    for (PieceKind kind : m_lesson.columns())
        pieces << (kind == PieceKind::Empty ? QStringLiteral("なし") : QStringLiteral("%1cm").arg(heightOf(kind)));
    const QString where = QStringLiteral("χ = %1 cm; %2").arg(m_lesson.distance()).arg(pieces.join(QStringLiteral(", ")));
    m_board->setAccessibleDescription(where);
    if (isVisible())
        BrowserPage::announce(QStringLiteral("χ = %1 cm").arg(m_lesson.distance()));
}

void PracticeView::showEvent(QShowEvent *event)
{
    ControlHost::showEvent(event);
    m_keys->setEnabled(true);
    // Opened with the page, practice gave the focus before the window was shown. (A window
    // brought back from the taskbar keeps the focus where the pupil left it.)
    if (QLineEdit *cell = currentCell(); cell && !event->spontaneous())
        cell->setFocus();
    if (std::exchange(m_unsaid, false))
        BrowserPage::announce(accessibleDescription());
}

void PracticeView::hideEvent(QHideEvent *event)
{
    ControlHost::hideEvent(event);
    m_keys->setEnabled(false);
}
