#pragma once

#include "app/lesson_commands.h"
#include "app/practice_view.h"
#include "app/presenter_keys.h"
#include "app/window_zoom.h"
#include "figure/blackboard.h"
#include "lesson/lesson.h"
#include "panels/expression_list.h"
#include "panels/graph_panel.h"
#include "panels/prediction_layer.h"
#include "panels/table_panel.h"
#include "surface/command_button.h"
#include "surface/control_host.h"
#include "surface/palette.h"
#include "surface/picture_box.h"
#include "surface/placement.h"
#include "surface/twips.h"
#include "surface/zoom_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <array>

// The lesson's one window: its controls, the views that draw the lesson on them, and the
// handlers, which pass what the class does on to the lesson. The views follow the lesson
// from one place, follow(), in one fixed order. Every control carries its name as its
// object name (a light control as its name on its host), so that tools and tests find it.
class Form1 : public ControlHost
{
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Where the lesson is published for browsers: the QR code then points pupils there.
    void setSiteAddress(const QString &address) { commands.setSiteAddress(address); }
    // Shows the window as the whole of a web page, at the largest scale that fits it.
    void fillPage();
    // The initial screen, then the figure a page address's fragment holds ("figure=31203"),
    // as a page opened from a teacher's link or QR code starts, with practice open on it when
    // the address says so ("figure=31203&practice"); anything else there is ignored.
    void openFigure(const QString &fragment);

    // The handlers: what the class does, passed on to the lesson.
    void Form_Load();
    void Command1_Click(); // 初期画面
    void end_Click();      // 終了: ends the program at once, also in the middle of automatic play
    void susumu_Click();
    void modoru_Click();
    void Command2_Click();
    void jidou_Click();
    void tomeru_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void Check7_Click();
    void kokuban_MouseDown(int16_t button, int16_t shift, float x, float y);
    void kokuban_MouseMove(int16_t button, int16_t shift, float x, float y);
    void kokuban_MouseUp(int16_t button, int16_t shift, float x, float y);
    // While 予想 is ticked: a press on the graph puts the prediction at the nearest whole x
    // and a drag moves it up and down there.
    void gamen_MouseDown(int16_t button, int16_t shift, float x, float y);
    void gamen_MouseMove(int16_t button, int16_t shift, float x, float y);
    void gamen_MouseUp(int16_t button, int16_t shift, float x, float y);
    // 練習: practice on the figure composed now, or on the one practised last (a new one
    // when there is none) while the envelope holds no whole exercise.
    void renshu_Click();

    // True once the program has been asked to end.
    bool quitRequested() const { return m_quitRequested; }

    // The window's outer size in twips (the client area follows, see Twips).
    void setOuterSize(int widthTwips, int heightTwips) { windowZoom.setOuterSize(widthTwips, heightTwips); }
    int outerWidth() const { return windowZoom.outerWidth(); }
    int outerHeight() const { return windowZoom.outerHeight(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    PictureBox *makePictureBox(const QString &name, QRect place, const QString &caption, QColor back);
    void buildControls();
    void connectHandlers();
    void requestQuit();

    // Every view brought up to a change of the lesson, in one fixed order.
    void follow(Lesson::Change change);
    void followSwitch(Lesson::Switch which, bool on);
    // The one place that sets the buttons for each state of automatic play.
    void applyButtons(Lesson::RunState state);
    // Tells screen readers what the graph shows besides its curve: the expressions, the prediction.
    void describeGraph();
    void refreshPrediction();
    void openPractice(const std::optional<AreaFunction::Columns> &figure);
    void leavePractice();
    QCheckBox *checkBox(Lesson::Switch which) const;

    Lesson lesson { this };

    // Where every control stands in logical pixels, for showing the window larger.
    Placement placement { this };
    // The style of the windowed controls, whose own parts grow with the zoom.
    ZoomStyle *style = new ZoomStyle(this);

    // Picture boxes. kokuban is the back-most control, Picture1 the front-most.
    PictureBox *kokuban = makePictureBox(QStringLiteral("kokuban"), Twips::rect(240, 960, 9015, 6135), QStringLiteral("黒板"), QColor(0, 128, 0));
    PictureBox *gamen = makePictureBox(QStringLiteral("gamen"), Twips::rect(9480, 240, 5895, 7695), QStringLiteral("グラフ"), Palette::panelBack());
    PictureBox *hyo = makePictureBox(QStringLiteral("hyo"), Twips::rect(120, 8400, 9135, 1695), QStringLiteral("表"), Palette::panelBack());
    PictureBox *Picture1 = nullptr;

    // Buttons.
    CommandButton *Command1 = nullptr; // 初期画面
    CommandButton *end = nullptr;      // 終了
    CommandButton *jidou = nullptr;    // 自    動
    CommandButton *tomeru = nullptr;   // ストップ
    CommandButton *susumu = nullptr;   // 出す
    CommandButton *modoru = nullptr;   // 戻す
    CommandButton *Command2 = nullptr; // 最初に
    CommandButton *renshu = nullptr;   // 練習

    // Check boxes, speed list and labels on the window.
    QCheckBox *Check1 = nullptr; // 方眼
    QCheckBox *Check3 = nullptr; // 表
    QCheckBox *Check2 = nullptr; // グラフ
    QCheckBox *Check5 = nullptr; // 封筒をかくす
    QCheckBox *Check6 = nullptr; // 式
    QCheckBox *Check7 = nullptr; // 予想
    QComboBox *Combo1 = nullptr;
    LabelControl *Label6 = nullptr;
    LabelControl *Label3 = nullptr;
    LabelControl *Label8 = nullptr;

    // The views of the lesson on the picture boxes. They are made from the members above,
    // which are declared, and so made, before them: keep them below.
    Blackboard blackboard { *kokuban, placement, lesson };
    // The board's windowed controls.
    QCheckBox *Check4 = blackboard.markerBox();
    QLineEdit *Text1 = blackboard.distanceBox();
    TablePanel table { *hyo, lesson, this };
    GraphPanel graph { gamen->drawing(), lesson, this };
    // Below the 式 list, which is made after it.
    PredictionLayer *prediction = gamen->add<PredictionLayer>(*gamen, lesson);
    ExpressionList expressions { *gamen, lesson, this };

    WindowZoom windowZoom { *this, placement, *style, this };
    PresenterKeys presenterKeys { *this };
    LessonCommands commands { *this, lesson, windowZoom, presenterKeys, this };

    // Over everything while a pupil practises.
    PracticeView *practice = nullptr;
    // The window's outer size before practice opened, in twips.
    QSize m_sizeBeforePractice;
    QPointer<QWidget> m_focusBeforePractice;
    // The lesson's own widgets, hidden behind practice.
    QList<QPointer<QWidget>> m_hiddenForPractice;

    bool m_quitRequested = false;
    // The whole x a press on the graph put a prediction at, while the press lasts.
    std::optional<int> m_predictingAt;
};
