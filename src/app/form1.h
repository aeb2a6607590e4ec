#pragma once

#include "app/scene_state.h"
#include "app/start_up.h"
#include "app/switches.h"
#include "app/presenter_keys.h"
#include "app/window_zoom.h"
#include "figure/figure_renderer.h"
#include "figure/piece_dragger.h"
#include "figure/piece_outlines.h"
#include "motion/auto_play.h"
#include "motion/stepper.h"
#include "panels/expression_list.h"
#include "panels/graph_panel.h"
#include "panels/table_panel.h"
#include "surface/command_button.h"
#include "surface/control_host.h"
#include "surface/picture_box.h"
#include "surface/placement.h"
#include "surface/zoom_style.h"
#include "worksheet/lesson_commands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <array>

// The lesson's one window. It owns every control, the scene state and the subsystems,
// which reach one another through it, as the handlers of one window call one another.
class Form1 : public ControlHost
{
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    SceneState scene;

    // Where every control stands in logical pixels, for showing the window larger.
    Placement placement;
    // The style of the windowed controls, whose own parts grow with the zoom.
    ZoomStyle *style = nullptr;

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
    QComboBox *Combo1 = nullptr;
    LabelControl *Label6 = nullptr;
    LabelControl *Label3 = nullptr;
    LabelControl *Label8 = nullptr;

    // Picture boxes. kokuban is the back-most control, Picture1 the front-most.
    PictureBox *kokuban = nullptr;
    PictureBox *gamen = nullptr;
    PictureBox *hyo = nullptr;
    PictureBox *Picture1 = nullptr;

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

    // The subsystems, each owning its handlers.
    Switches switches;
    PieceOutlines outlines;
    FigureRenderer figure;
    TablePanel table;
    GraphPanel graph;
    ExpressionList expressions;
    Stepper stepper;
    AutoPlay autoPlay;
    PieceDragger dragger;
    StartUp startUp;
    WindowZoom windowZoom;
    PresenterKeys presenterKeys;
    LessonCommands commands;

    // 終了: ends the program at once, also in the middle of automatic play.
    void end_Click();
    // True once the program has been asked to end; every waiting loop gives up then.
    bool quitRequested() const { return m_quitRequested; }

    // The window's outer size in twips (the client area follows, see Twips).
    void setOuterSize(int widthTwips, int heightTwips);
    void setOuterWidth(int widthTwips) { setOuterSize(widthTwips, m_outerHeight); }
    void setOuterHeight(int heightTwips) { setOuterSize(m_outerWidth, heightTwips); }
    int outerWidth() const { return m_outerWidth; }
    int outerHeight() const { return m_outerHeight; }

    // Tells screen readers where the figure stands: "χ = 4.5 cm, y = 13.5 cm²".
    void describeScene();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void buildBlackboard();
    void connectHandlers();
    void requestQuit();

    int m_outerWidth = 0;
    int m_outerHeight = 0;
    bool m_quitRequested = false;
};
