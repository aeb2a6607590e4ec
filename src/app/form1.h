#pragma once

#include "app/lesson_commands.h"
#include "app/presenter_keys.h"
#include "app/window_zoom.h"
#include "figure/figure_renderer.h"
#include "figure/piece_outlines.h"
#include "lesson/lesson.h"
#include "panels/expression_list.h"
#include "panels/graph_panel.h"
#include "panels/prediction_layer.h"
#include "panels/table_panel.h"
#include "surface/command_button.h"
#include "surface/control_host.h"
#include "surface/picture_box.h"
#include "surface/placement.h"
#include "surface/twips.h"
#include "surface/zoom_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <array>

// The lesson's one window: its controls, the views that draw the lesson on them, and the
// handlers, which pass what the class does on to the lesson. The views follow the lesson
// from one place, follow(), in one fixed order.
class Form1 : public ControlHost
{
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    Lesson lesson;

    // Where every control stands in logical pixels, for showing the window larger.
    Placement placement { this };
    // The style of the windowed controls, whose own parts grow with the zoom.
    ZoomStyle *style = nullptr;

    // Picture boxes. kokuban is the back-most control, Picture1 the front-most.
    PictureBox *kokuban = makePictureBox(Twips::rect(240, 960, 9015, 6135), QStringLiteral("黒板"), QColor(0, 128, 0));
    PictureBox *gamen = makePictureBox(Twips::rect(9480, 240, 5895, 7695), QStringLiteral("グラフ"), QColor(255, 255, 192));
    PictureBox *hyo = makePictureBox(Twips::rect(120, 8400, 9135, 1695), QStringLiteral("表"), QColor(255, 255, 192));
    PictureBox *Picture1 = nullptr;

    // Buttons.
    CommandButton *Command1 = nullptr; // 初期画面
    CommandButton *end = nullptr;      // 終了
    CommandButton *jidou = nullptr;    // 自    動
    CommandButton *tomeru = nullptr;   // ストップ
    CommandButton *susumu = nullptr;   // 出す
    CommandButton *modoru = nullptr;   // 戻す
    CommandButton *Command2 = nullptr; // 最初に

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

    // Inside hyo.
    LineControl *Line3 = nullptr;
    LineControl *Line2 = nullptr;
    LabelControl *Label5 = nullptr;
    LabelControl *Label7 = nullptr;

    // Inside kokuban. Line4 has only index 1, Label4 has no index 7.
    LineControl *Line1 = nullptr;
    LabelControl *Label1 = nullptr;
    std::array<LineControl *, 2> Line4 {};
    QCheckBox *Check4 = nullptr;
    QLineEdit *Text1 = nullptr;
    LabelControl *Label2 = nullptr;
    std::array<LabelControl *, 6> Label9 {};
    std::array<LabelControl *, 9> Label4 {};
    ShapeControl *Shape1 = nullptr;
    std::array<LineControl *, 8> Line5 {};
    std::array<LineControl *, 4> Line6 {};
    std::array<LineControl *, 4> Line7 {};
    std::array<LineControl *, 4> Line9 {};

    // The views of the lesson on the picture boxes. They are made from the members above,
    // which are declared, and so made, before them: keep them below.
    FigureRenderer figure { kokuban->drawing(), lesson };
    PieceOutlines outlines { Line6, Line7, Line9, Label9 };
    TablePanel table { *hyo, lesson };
    GraphPanel graph { gamen->drawing(), lesson };
    // Below the 式 list, which is made after it.
    PredictionLayer *prediction = gamen->add<PredictionLayer>(*gamen, lesson);
    ExpressionList expressions { *gamen, lesson };

    WindowZoom windowZoom { *this };
    PresenterKeys presenterKeys { *this };
    LessonCommands commands { *this };

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

    // True once the program has been asked to end.
    bool quitRequested() const { return m_quitRequested; }

    // The window's outer size in twips (the client area follows, see Twips).
    void setOuterSize(int widthTwips, int heightTwips);
    void setOuterWidth(int widthTwips) { setOuterSize(widthTwips, m_outerHeight); }
    void setOuterHeight(int heightTwips) { setOuterSize(m_outerWidth, heightTwips); }
    int outerWidth() const { return m_outerWidth; }
    int outerHeight() const { return m_outerHeight; }

    // The one place that sets the buttons for each state of automatic play.
    void applyButtons(Lesson::RunState state);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    PictureBox *makePictureBox(QRect place, const QString &name, QColor back);
    void buildControls();
    void buildBlackboard();
    void connectHandlers();
    void requestQuit();

    // Every view brought up to a change of the lesson, in one fixed order.
    void follow(Lesson::Change change);
    void followSwitch(Lesson::Switch which, bool on);
    // P's letter and dot, the distance, the red marker and the "χcm" label.
    void placeMarkers(Lesson::Change change);
    // The envelope, its labels, P at B and the outlines in the tray, as on the initial screen.
    void layOutEnvelope();
    void placeMarker();
    // Tells screen readers where the figure stands: "χ = 4.5 cm, y = 13.5 cm²".
    void describeScene();
    // And what the graph shows besides its curve: the expressions, the prediction.
    void describeGraph();
    void refreshPrediction();
    QCheckBox *checkBox(Lesson::Switch which) const;

    int m_outerWidth = 0;
    int m_outerHeight = 0;
    bool m_quitRequested = false;
    // The whole x a press on the graph put a prediction at, while the press lasts.
    std::optional<int> m_predictingAt;
};
