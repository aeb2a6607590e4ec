#include "app/form1.h"

#include "app/browser_page.h"
#include "app/speed_box.h"
#include "lesson/figure_address.h"
#include "panels/graph_axes.h"
#include "surface/control_builders.h"
#include "surface/fonts.h"
#include "surface/palette.h"
#include "surface/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>

#include <utility>

namespace {

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

} // namespace

Form1::Form1(QWidget *parent)
    : ControlHost(parent)
{
    setWindowTitle(QStringLiteral("３.１次関数  (by t.Morvane)"));
    setBackColor(rgb(192, 255, 192));
    placement.setFont(this, Fonts::defaultFont());
    buildControls();
    for (QWidget *child : findChildren<QWidget *>())
        child->setStyle(style);
    connectHandlers();
    Form_Load();
}

Form1::~Form1() = default;

PictureBox *Form1::makePictureBox(const QString &name, QRect place, const QString &caption, QColor back)
{
    auto *box = new PictureBox(this);
    box->setObjectName(name);
    placement.place(box, place);
    box->setAccessibleName(caption);
    box->setBackColor(back);
    return box;
}

void Form1::buildControls()
{
    gamen->drawing().setFont(Fonts::defaultFont());

    TablePanel::makeFrame(*hyo);

    auto makeButton = [this](const QString &name, const QString &caption, QColor back, const QFont &font, int l, int t,
                             int w, int h) {
        return Make::button(placement, this, name, caption, back, font, Twips::rect(l, t, w, h));
    };
    Command1 = makeButton(QStringLiteral("Command1"), QStringLiteral("初期画面"), rgb(255, 255, 192), Fonts::layoutFont(12, true), 3240, 240, 1215, 495);
    end = makeButton(QStringLiteral("end"), QStringLiteral("終了"), rgb(192, 192, 255), Fonts::layoutFont(12, true), 8040, 240, 1215, 495);
    jidou = makeButton(QStringLiteral("jidou"), QStringLiteral("自    動"), rgb(0, 255, 0), Fonts::layoutFont(15.75, true), 240, 7320, 1695, 735);
    tomeru = makeButton(QStringLiteral("tomeru"), QStringLiteral("ストップ"), rgb(128, 255, 128), Fonts::layoutFont(12), 2160, 7560, 975, 495);
    susumu = makeButton(QStringLiteral("susumu"), QStringLiteral("出す"), rgb(255, 255, 0), Fonts::layoutFont(12, true), 4560, 7320, 975, 735);
    modoru = makeButton(QStringLiteral("modoru"), QStringLiteral("戻す"), rgb(0, 255, 255), Fonts::layoutFont(12, true), 5640, 7320, 975, 735);
    Command2 = makeButton(QStringLiteral("Command2"), QStringLiteral("最初に"), rgb(255, 192, 128), Fonts::defaultFont(), 6720, 7560, 855, 495);
    // Between 方眼 and 終了, in reach of a finger on a tablet without a menu.
    renshu = makeButton(QStringLiteral("renshu"), QStringLiteral("練習"), rgb(255, 192, 255), Fonts::layoutFont(12, true), 6960, 240, 975, 495);
    // A click leaves the focus where it was, for the lesson to be found as it was left.
    renshu->setFocusPolicy(Qt::TabFocus);

    const QColor formBack = rgb(192, 255, 192), checkText = rgb(0, 128, 0);
    Check1 = Make::checkBox(placement, this, QStringLiteral("Check1"), QStringLiteral("方眼"), formBack, checkText, Fonts::layoutFont(18));
    placement.place(Check1, Twips::rect(5640, 360, 1215, 390));
    Check3 = Make::checkBox(placement, this, QStringLiteral("Check3"), QStringLiteral("表"), formBack, checkText, Fonts::layoutFont(18));
    placement.place(Check3, Twips::rect(7800, 7200, 735, 390));
    Check2 = Make::checkBox(placement, this, QStringLiteral("Check2"), QStringLiteral("グラフ"), formBack, checkText, Fonts::layoutFont(18));
    placement.place(Check2, Twips::rect(7800, 7680, 1335, 390));
    Check5 = Make::checkBox(placement, this, QStringLiteral("Check5"), QStringLiteral("封筒をかくす"), formBack, checkText, Fonts::layoutFont(18));
    placement.place(Check5, Twips::rect(9600, 8160, 2535, 495));
    Check6 = Make::checkBox(placement, this, QStringLiteral("Check6"), QStringLiteral("式"), formBack, checkText, Fonts::layoutFont(18));
    placement.place(Check6, Twips::rect(12360, 8160, 735, 495));
    Check7 = Make::checkBox(placement, this, QStringLiteral("Check7"), QStringLiteral("予想"), formBack, checkText, Fonts::layoutFont(18));
    placement.place(Check7, Twips::rect(13200, 8160, 1035, 495));

    Combo1 = new SpeedBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // What is typed is the speed: "1" stays "1" rather than being completed to "10".
    Combo1->setCompleter(nullptr);
    Combo1->addItems({ QStringLiteral(" 0"), QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("50"),
                       QStringLiteral("100"), QStringLiteral("200") });
    placement.setFont(Combo1, Fonts::layoutFont(9.75));
    placement.place(Combo1, Twips::rect(3360, 7680, 735, 315));
    // The box's text and its list agree: the list opens on "50", Up and Down go to its
    // neighbours.
    Combo1->setCurrentIndex(Combo1->findText(QStringLiteral("50")));
    Combo1->setAccessibleName(QStringLiteral("速度"));
    // The edit field inside is the box's focus child, so it carries the label too.
    Combo1->lineEdit()->setAccessibleName(QStringLiteral("速度"));

    Label6 = Make::label(this, QStringLiteral("Label6"), QStringLiteral("関数の利用"), Fonts::layoutFont(24), rgb(255, 255, 255), rgb(0, 0, 255), 240, 240, 2400, 495);
    Label3 = Make::label(this, QStringLiteral("Label3"), QStringLiteral("速度"), Fonts::layoutFont(14.25), rgb(0, 128, 0), formBack, 3360, 7320, 570, 285);
    Label8 = Make::label(this, QStringLiteral("Label8"), QStringLiteral("Valdren 学習ソフト"), Fonts::defaultFont(), rgb(0, 192, 0), formBack, 13680, 9960, 1695, 180);

    prediction->setName(QStringLiteral("prediction"));

    // Created last, so that it stands in front of the blackboard.
    Picture1 = makePictureBox(QStringLiteral("Picture1"), Twips::rect(120, 3000, 9255, 3975), QStringLiteral("封筒をかくす"), rgb(128, 255, 128));
    // Over everything, when it is open: it takes the whole window with both panels.
    practice = new PracticeView(this, placement, Twips::clientSizeForOuter(15700, 10800));
}

void Form1::connectHandlers()
{
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(end, &QPushButton::clicked, this, &Form1::end_Click);
    connect(jidou, &QPushButton::clicked, this, &Form1::jidou_Click);
    connect(tomeru, &QPushButton::clicked, this, &Form1::tomeru_Click);
    connect(susumu, &QPushButton::clicked, this, &Form1::susumu_Click);
    connect(modoru, &QPushButton::clicked, this, &Form1::modoru_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(renshu, &QPushButton::clicked, this, &Form1::renshu_Click);
    connect(practice, &PracticeView::leaveRequested, this, &Form1::leavePractice);
    connect(practice, &PracticeView::resultRequested, this,
            [this] { commands.chooseResultFile(practice->sheet(), practice->resultButton()); });
    // The page's address says which figure is practised, so that a reload comes back to it.
    connect(practice, &PracticeView::practising, this, [](const AreaFunction::Columns &figure) {
        BrowserPage::replaceFragment(FigureAddress::fragment(figure, true));
    });

    // A check box's handler runs whenever its value changes, by a click or by the keyboard.
    connect(Check1, &QCheckBox::toggled, this, &Form1::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &Form1::Check2_Click);
    connect(Check3, &QCheckBox::toggled, this, &Form1::Check3_Click);
    connect(Check4, &QCheckBox::toggled, this, &Form1::Check4_Click);
    connect(Check5, &QCheckBox::toggled, this, &Form1::Check5_Click);
    connect(Check6, &QCheckBox::toggled, this, &Form1::Check6_Click);
    connect(Check7, &QCheckBox::toggled, this, &Form1::Check7_Click);

    // The speed is read anew before every pause: the lesson keeps the list's text.
    lesson.setSpeedText(Combo1->currentText());
    connect(Combo1, &QComboBox::editTextChanged, &lesson, &Lesson::setSpeedText);

    // Tab goes through the controls in reading order.
    const QList<QWidget *> readingOrder { Command1, Check1, renshu, end, Check4, Text1, jidou, tomeru, Combo1,
                                          susumu, modoru, Command2, Check3, Check2, Check5, Check6, Check7 };
    for (qsizetype i = 1; i < readingOrder.size(); ++i)
        setTabOrder(readingOrder[i - 1], readingOrder[i]);

    windowZoom.installShortcuts();
    presenterKeys.installShortcuts({ susumu, modoru, Command2 }, { Text1, Combo1 });
    commands.installShortcuts();
    commands.installMenus({ kokuban, hyo, gamen });

    kokuban->onMouseDown = [this](int16_t b, int16_t s, float x, float y) { kokuban_MouseDown(b, s, x, y); };
    kokuban->onMouseMove = [this](int16_t b, int16_t s, float x, float y) { kokuban_MouseMove(b, s, x, y); };
    kokuban->onMouseUp = [this](int16_t b, int16_t s, float x, float y) { kokuban_MouseUp(b, s, x, y); };

    connect(&lesson, &Lesson::changed, this, &Form1::follow);
    // After the views, so that what the page is told is what they show.
    BrowserPage::followLesson(lesson);
    connect(&lesson, &Lesson::switched, this, &Form1::followSwitch);
    connect(&lesson, &Lesson::runStateChanged, this, &Form1::applyButtons);
    connect(&lesson, &Lesson::predictionChanged, this, [this] {
        refreshPrediction();
        describeGraph();
    });
    connect(&table, &TablePanel::roomWanted, this, [this](bool shown) { setOuterSize(outerWidth(), shown ? 10800 : 8800); });
    connect(&graph, &GraphPanel::roomWanted, this, [this](bool shown) { setOuterSize(shown ? 15700 : 9700, outerHeight()); });
}

void Form1::Form_Load()
{
    setOuterSize(9700, 8800);
    // Already clear at start, so their handlers do not run.
    Check1->setChecked(false);
    Check2->setChecked(false);
    Check3->setChecked(false);
    Check6->setChecked(false);
    Check7->setChecked(false);
    applyButtons(lesson.runState());
    openFigure(BrowserPage::fragment());
}

void Form1::openFigure(const QString &fragment)
{
    // Read first: the initial screen takes the figure away from the page's address.
    const auto figure = FigureAddress::parse(fragment);
    lesson.showInitialScreen();
    if (figure)
        lesson.compose(*figure);
    // A figure handed out for practice opens on it; the lesson waits behind. One with no
    // whole exercise to ask (no rising domain to find an x in) is only shown.
    if (figure && FigureAddress::forPractice(fragment) && makesWholeExercise(*figure))
        openPractice(*figure);
}

void Form1::Command1_Click()
{
    lesson.showInitialScreen();
}

void Form1::susumu_Click()
{
    lesson.stepOut();
}

void Form1::modoru_Click()
{
    lesson.stepIn();
}

void Form1::Command2_Click()
{
    lesson.backToStart();
}

void Form1::jidou_Click()
{
    lesson.play();
}

void Form1::tomeru_Click()
{
    lesson.stop();
}

void Form1::Check1_Click()
{
    lesson.setSwitch(Lesson::Switch::Grid, Check1->isChecked());
}

void Form1::Check2_Click()
{
    lesson.setSwitch(Lesson::Switch::Graph, Check2->isChecked());
}

void Form1::Check3_Click()
{
    lesson.setSwitch(Lesson::Switch::Table, Check3->isChecked());
}

void Form1::Check4_Click()
{
    lesson.setSwitch(Lesson::Switch::Marker, Check4->isChecked());
}

void Form1::Check5_Click()
{
    lesson.setSwitch(Lesson::Switch::Cover, Check5->isChecked());
}

void Form1::Check6_Click()
{
    lesson.setSwitch(Lesson::Switch::Expressions, Check6->isChecked());
}

void Form1::Check7_Click()
{
    lesson.setSwitch(Lesson::Switch::Prediction, Check7->isChecked());
}

void Form1::kokuban_MouseDown(int16_t, int16_t, float x, float y)
{
    blackboard.dragger().press(QPointF(x, y));
}

void Form1::kokuban_MouseMove(int16_t, int16_t, float x, float y)
{
    blackboard.dragger().move(QPointF(x, y));
}

void Form1::kokuban_MouseUp(int16_t, int16_t, float x, float y)
{
    blackboard.dragger().release(QPointF(x, y));
}

void Form1::gamen_MouseDown(int16_t button, int16_t, float x, float y)
{
    // Only the left button, which a finger also is: the right one keeps the graph's menu.
    if (!(button & 1))
        return;
    const QPointF at = GraphAxes::fromPanel(QPointF(x, y));
    m_predictingAt = Lesson::snapPrediction(at.x(), at.y()).first;
    lesson.predict(*m_predictingAt, at.y());
}

void Form1::gamen_MouseMove(int16_t button, int16_t, float x, float y)
{
    if (m_predictingAt && (button & 1))
        lesson.predict(*m_predictingAt, GraphAxes::fromPanel(QPointF(x, y)).y());
}

void Form1::gamen_MouseUp(int16_t, int16_t, float, float)
{
    m_predictingAt.reset();
}

void Form1::renshu_Click()
{
    const AreaFunction::Columns &figure = lesson.columns();
    openPractice(makesWholeExercise(figure) ? std::optional(figure) : std::nullopt);
}

void Form1::openPractice(const std::optional<AreaFunction::Columns> &figure)
{
    if (practice->isVisible())
        return;
    m_sizeBeforePractice = QSize(outerWidth(), outerHeight());
    m_focusBeforePractice = QApplication::focusWidget();
    // The lesson's keys, menus and shortcuts rest behind practice.
    presenterKeys.setEnabled(false);
    commands.setEnabled(false);
    setOuterSize(15700, 10800);
    practice->show();
    practice->raise();
    // Covered is not enough: Tab would still reach the lesson's controls, and a screen
    // reader its board, whose description gives y.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child != practice && !child->isWindow() && !child->isHidden()) {
            m_hiddenForPractice << child;
            child->hide();
        }
    }
    practice->open(figure);
}

void Form1::leavePractice()
{
    for (QWidget *child : std::exchange(m_hiddenForPractice, {}))
        if (child)
            child->show();
    practice->hide();
    setOuterSize(m_sizeBeforePractice.width(), m_sizeBeforePractice.height());
    presenterKeys.setEnabled(true);
    commands.setEnabled(true);
    BrowserPage::replaceFragment(FigureAddress::fragment(lesson.columns()));
    BrowserPage::announce(lesson.whereText());
    // The focus goes back where it was, so that the lesson is just as it was left.
    if (m_focusBeforePractice)
        m_focusBeforePractice->setFocus();
    else if (QWidget *focus = QApplication::focusWidget())
        focus->clearFocus();
}

void Form1::follow(Lesson::Change change)
{
    blackboard.follow(change);
    if (change == Lesson::Change::InitialScreen)
        Picture1->setVisible(lesson.isOn(Lesson::Switch::Cover));
    table.follow(change);
    graph.follow(change);
    expressions.refresh();
    refreshPrediction();
    // Where the figure stands, for screen readers.
    kokuban->setAccessibleDescription(lesson.whereText());
    describeGraph();
    // Started over outside a run: there is nothing left to stop.
    if (change != Lesson::Change::StepOut && change != Lesson::Change::StepIn && !lesson.isPlaying())
        tomeru->setEnabled(false);
}

void Form1::followSwitch(Lesson::Switch which, bool on)
{
    // Changed by the lesson itself, the box shows it too; one that told the lesson shows it already.
    if (QCheckBox *box = checkBox(which); box->isChecked() != on) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
    switch (which) {
    case Lesson::Switch::Grid:
        blackboard.figure().gridSwitched(on);
        break;
    case Lesson::Switch::Table:
        table.switched(on);
        break;
    case Lesson::Switch::Graph:
        graph.switched(on);
        break;
    case Lesson::Switch::Cover:
        Picture1->setVisible(on);
        break;
    case Lesson::Switch::Marker:
        blackboard.markers().placeMarker();
        break;
    case Lesson::Switch::Expressions:
        expressions.switched(on);
        refreshPrediction();
        describeGraph();
        break;
    case Lesson::Switch::Prediction:
        // Taps on the graph are predictions only while 予想 is ticked; otherwise they reach
        // the window as before (its menu, the long press).
        gamen->onMouseDown = on ? PictureBox::MouseHandler([this](int16_t b, int16_t s, float x, float y) { gamen_MouseDown(b, s, x, y); }) : nullptr;
        gamen->onMouseMove = on ? PictureBox::MouseHandler([this](int16_t b, int16_t s, float x, float y) { gamen_MouseMove(b, s, x, y); }) : nullptr;
        gamen->onMouseUp = on ? PictureBox::MouseHandler([this](int16_t b, int16_t s, float x, float y) { gamen_MouseUp(b, s, x, y); }) : nullptr;
        m_predictingAt.reset();
        refreshPrediction();
        describeGraph();
        break;
    }
}

void Form1::refreshPrediction()
{
    prediction->keepClearOf(expressions.shownBoxes());
    prediction->refresh();
}

QCheckBox *Form1::checkBox(Lesson::Switch which) const
{
    switch (which) {
    case Lesson::Switch::Grid: return Check1;
    case Lesson::Switch::Table: return Check3;
    case Lesson::Switch::Graph: return Check2;
    case Lesson::Switch::Cover: return Check5;
    case Lesson::Switch::Marker: return Check4;
    case Lesson::Switch::Expressions: return Check6;
    case Lesson::Switch::Prediction: return Check7;
    }
    return Check1;
}

void Form1::describeGraph()
{
    QStringList parts { expressions.description(), prediction->description() };
    parts.removeAll(QString());
    gamen->setAccessibleDescription(parts.join(QStringLiteral(". ")));
}

void Form1::applyButtons(Lesson::RunState state)
{
    // Once the program is ending, nothing is offered any more.
    if (m_quitRequested)
        return;
    const bool idle = state == Lesson::RunState::Idle;
    susumu->setEnabled(idle);
    modoru->setEnabled(idle);
    Command1->setEnabled(idle);
    jidou->setEnabled(state != Lesson::RunState::Running);
    // Practice covers the lesson, which would go on playing behind it.
    renshu->setEnabled(idle);
    tomeru->setEnabled(!idle);
}

void Form1::fillPage()
{
    windowZoom.fitToPage();
    BrowserPage::watchExposes(this);
}

void Form1::resizeEvent(QResizeEvent *event)
{
    ControlHost::resizeEvent(event);
    windowZoom.windowResized();
}

void Form1::requestQuit()
{
    if (m_quitRequested)
        return;
    m_quitRequested = true;
    lesson.quit();
    QCoreApplication::quit();
    BrowserPage::programEnded();
}

void Form1::end_Click()
{
    requestQuit();
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Ending is never refused; an automatic run stops at once.
    requestQuit();
    event->accept();
}
