#include "support/lesson_test.h"
#include "surface/palette.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace LessonTest;

namespace {

// Every pixel of a surface, in one colour?
bool allOf(const PictureBox &box, QColor color)
{
    const QSize size = box.contentSize();
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (box.drawing().pixel(x, y) != color)
                return false;
        }
    }
    return true;
}

int countOf(const PictureBox &box, QColor color)
{
    int count = 0;
    const QSize size = box.contentSize();
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            count += box.drawing().pixel(x, y) == color;
    }
    return count;
}

// The table as it must look with only its first column written: "0" in both rows at 60.
QImage firstColumnOfTheTable(const PictureBox &table)
{
    PictureBox reference;
    reference.resize(table.size());
    reference.setBackColor(PanelBack);
    reference.drawing().setFont(table.drawing().font());
    reference.drawing().cls();
    reference.drawing().setForeColor(Palette::color(Palette::Blue));
    for (int top : { 25, 70 }) {
        reference.drawing().moveTo(QPointF(60, top));
        reference.drawing().print(QStringLiteral("0"));
    }
    return reference.drawing().image().copy();
}

void scribble(PictureBox &box, QColor color)
{
    DrawingLayer &layer = box.drawing();
    const int width = layer.drawWidth();
    const QColor fore = layer.foreColor();
    layer.setDrawWidth(3);
    layer.line(QPointF(0, 0), QPointF(box.contentSize().width(), box.contentSize().height()), color);
    solidRect(layer, QPointF(100, 20), QPointF(180, 60), color);
    layer.moveTo(QPointF(250, 40));
    layer.setForeColor(color);
    layer.print(QStringLiteral(" 42 "));
    layer.setDrawWidth(width);
    layer.setForeColor(fore);
}

bool gridShows(const PictureBox &board)
{
    for (int i = 0; i <= 28; ++i) {
        if (board.drawing().pixel(20 + 20 * i, 250) != Black)
            return false;
    }
    for (int i = 0; i <= 6; ++i) {
        if (board.drawing().pixel(30, 180 + 20 * i) != Black)
            return false;
    }
    return true;
}

} // namespace

class TestStartUp : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestForm> form;

    void verifyOutlinesHome(TestForm &f)
    {
        const struct { const std::array<LineControl *, 4> &lines; int x, top; } outlines[] = {
            { f.Line6, 350, 85 }, { f.Line7, 400, 45 }, { f.Line9, 450, 5 },
        };
        for (const auto &o : outlines) {
            const int r = o.x + 40, b = 125;
            const QLineF expected[4] = { { double(o.x), double(o.top), double(r), double(o.top) },
                                         { double(r), double(o.top), double(r), double(b) },
                                         { double(r), double(b), double(o.x), double(b) },
                                         { double(o.x), double(b), double(o.x), double(o.top) } };
            for (int i = 0; i < 4; ++i) {
                const LineControl *line = o.lines[i];
                QCOMPARE(QLineF(line->x1(), line->y1(), line->x2(), line->y2()), expected[i]);
                QVERIFY(line->isVisible());
            }
        }
        for (const LabelControl *label : f.Label9)
            QVERIFY(label->isVisible());
    }

private slots:
    void initTestCase()
    {
        form = LessonTest::makeForm();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void formLoad()
    {
        QCOMPARE(form->outerWidth(), 9700);
        QCOMPARE(form->outerHeight(), 8800);
        for (QCheckBox *box : { form->Check1, form->Check2, form->Check3, form->Check5, form->Check6 })
            QVERIFY2(!box->isChecked(), qPrintable(box->text()));
        QVERIFY(form->Check4->isChecked());
        QCOMPARE(form->kokuban->drawing().drawWidth(), 2);
        QCOMPARE(form->Text1->text(), QStringLiteral(" 0.0"));
        QVERIFY(!form->Picture1->isVisible());
    }

    void labelPlaces_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QPointF>("place");
        QTest::addColumn<bool>("visible");
        QTest::newRow("A") << 0 << QPointF(292, 145) << true;
        QTest::newRow("B") << 1 << QPointF(304, 300) << true;
        QTest::newRow("C") << 2 << QPointF(492, 300) << true;
        QTest::newRow("D") << 3 << QPointF(492, 145) << true;
        QTest::newRow("10cm") << 4 << QPointF(380, 305) << true;
        QTest::newRow("6cm") << 5 << QPointF(505, 200) << true;
        QTest::newRow("xcm") << 6 << QPointF(300, 330) << false;
        QTest::newRow("P") << 8 << QPointF(282, 300) << true;
    }
    void labelPlaces()
    {
        QFETCH(int, index);
        QFETCH(QPointF, place);
        QFETCH(bool, visible);
        const LabelControl *label = form->Label4[index];
        QVERIFY(label);
        QCOMPARE(QPointF(label->left(), label->top()), place);
        QCOMPARE(label->isVisible(), visible);
    }

    void pointPOnB()
    {
        QCOMPARE(QPointF(form->Shape1->left(), form->Shape1->top()), QPointF(296, 296));
        QVERIFY(form->Shape1->isVisible());
    }

    void envelopeLines_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QLineF>("ends");
        QTest::newRow("BC and the track") << 0 << QLineF(20, 300, 500, 300);
        QTest::newRow("CD") << 1 << QLineF(500, 300, 500, 180);
        QTest::newRow("DA") << 2 << QLineF(500, 180, 300, 180);
        QTest::newRow("AB") << 3 << QLineF(300, 180, 300, 300);
        QTest::newRow("marker parked") << 4 << QLineF(310, 800, 300, 800);
        QTest::newRow("bracket upper slant") << 5 << QLineF(300, 180, 280, 195);
        QTest::newRow("bracket upright") << 6 << QLineF(280, 195, 280, 285);
        QTest::newRow("bracket lower slant") << 7 << QLineF(280, 285, 300, 300);
    }
    void envelopeLines()
    {
        QFETCH(int, index);
        QFETCH(QLineF, ends);
        const LineControl *line = form->Line5[index];
        QCOMPARE(QLineF(line->x1(), line->y1(), line->x2(), line->y2()), ends);
    }

    void outlinesAtHome()
    {
        verifyOutlinesHome(*form);
    }

    void sceneState()
    {
        // The envelope's vertices are where its lines stand (envelopeLines).
        const SceneState &s = form->lesson.scene();
        QCOMPARE(LessonTest::pointPX(form->lesson), 300.0);
        QCOMPARE(LessonTest::kindNumber(s.DragKind), 0.0);
        for (PieceKind slot : s.Slot)
            QCOMPARE(LessonTest::kindNumber(slot), 0.0);
        QCOMPARE(form->table.shownPairs(), (std::map<int, double> { { 0, 0.0 } }));
        QCOMPARE(form->lesson.y(), 0.0);
        // Never set by the initial screen: still as the program started.
        QCOMPARE(double(s.DragFrom), 0.0);
        QCOMPARE(form->lesson.runState(), Lesson::RunState::Idle);
    }

    void buttons()
    {
        QVERIFY(!form->tomeru->isEnabled());
        for (CommandButton *b : { form->Command1, form->end, form->jidou, form->susumu, form->modoru, form->Command2 })
            QVERIFY2(b->isEnabled(), qPrintable(b->text()));
    }

    // Nothing of the figure is drawn: the board is bare, the table holds its first column
    // and the graph its empty axes.
    void surfaces()
    {
        QVERIFY(allOf(*form->kokuban, Green));
        QCOMPARE(form->hyo->drawing().image(), firstColumnOfTheTable(*form->hyo));

        const DrawingLayer &graph = form->gamen->drawing();
        const QColor green = Palette::color(Palette::Green);
        for (int i = 0; i <= 11; ++i)
            QCOMPARE(graph.pixel(35 + 30 * i, 300), green);
        for (int i = 0; i <= 15; ++i)
            QCOMPARE(graph.pixel(200, 480 - 30 * i), green);
        QCOMPARE(graph.pixel(34, 300), green);
        QCOMPARE(graph.pixel(200, 481), green);
        QCOMPARE(graph.pixel(200, 470), PanelBack);
        QCOMPARE(graph.pixel(200, 483), PanelBack);
        // Labels in black under the x axis and left of the y axis.
        int below = 0, left = 0;
        for (int y = 484; y < 505; ++y) {
            for (int x = 40; x < 390; ++x)
                below += graph.pixel(x, y) == Black;
        }
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 33; ++x)
                left += graph.pixel(x, y) == Black;
        }
        QVERIFY(below > 50);
        QVERIFY(left > 50);
        // Nothing plotted while the graph panel is off.
        QCOMPARE(countOf(*form->gamen, Palette::color(Palette::Blue)), 0);
    }

    // 初期画面 from a scene in disarray, with each check box ticked or cleared.
    void initialScreenKeeps_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::addColumn<bool>("graph");
        QTest::addColumn<bool>("table");
        QTest::addColumn<bool>("marker");
        QTest::addColumn<bool>("cover");
        QTest::newRow("all clear") << false << false << false << false << false;
        QTest::newRow("as started") << false << false << false << true << false;
        QTest::newRow("grid") << true << false << false << true << false;
        QTest::newRow("graph") << false << true << false << true << false;
        QTest::newRow("table") << false << false << true << true << false;
        QTest::newRow("cover") << false << false << false << true << true;
        QTest::newRow("all ticked") << true << true << true << true << true;
        QTest::newRow("all but the marker") << true << true << true << false << true;
    }
    void initialScreenKeeps()
    {
        QFETCH(bool, grid);
        QFETCH(bool, graph);
        QFETCH(bool, table);
        QFETCH(bool, marker);
        QFETCH(bool, cover);
        auto f = LessonTest::makeForm();
        f->Check1->setChecked(grid);
        f->Check2->setChecked(graph);
        f->Check3->setChecked(table);
        f->Check4->setChecked(marker);
        f->Check5->setChecked(cover);
        f->Combo1->setEditText(QStringLiteral("200"));

        // A run in the middle, with a composed figure and the controls moved about.
        const SceneState &s = f->lesson.scene();
        f->lesson.compose(LessonTest::Composition { 1, 2, 3, 2, 3 });
        LessonTest::stepForward(*f, 9);
        QCOMPARE(LessonTest::pointPX(f->lesson), 210.0);
        // A piece lifted from column 3 and still held.
        f->lesson.liftFrom(3);
        QCOMPARE(LessonTest::kindNumber(s.DragKind), 2.0);
        f->Text1->setText(QStringLiteral(" 4.5"));
        f->Label4[6]->setLeft(220);
        f->Label4[6]->setTop(310);
        f->Label4[6]->setVisible(true);
        f->Label4[8]->setLeft(192);
        f->Shape1->setLeft(206);
        f->Line5[4]->setEnds(300, 300, 210, 300);
        f->Label9[2]->setVisible(false);
        f->Label9[3]->setVisible(false);
        f->outlines.PlaceLine7Outline(120, 200);
        f->Picture1->setVisible(!cover);
        scribble(*f->kokuban, QColor(255, 0, 255));
        scribble(*f->hyo, Palette::color(Palette::Blue));
        scribble(*f->gamen, Palette::color(Palette::Blue));
        f->jidou->setEnabled(false);
        f->susumu->setEnabled(false);
        f->modoru->setEnabled(true);
        f->Command2->setEnabled(false);
        f->tomeru->setEnabled(true);

        f->Command1->click();

        // Kept.
        QCOMPARE(f->Check1->isChecked(), grid);
        QCOMPARE(f->Check2->isChecked(), graph);
        QCOMPARE(f->Check3->isChecked(), table);
        QCOMPARE(f->Check4->isChecked(), marker);
        QCOMPARE(f->Check5->isChecked(), cover);
        QCOMPARE(f->outerWidth(), graph ? 15700 : 9700);
        QCOMPARE(f->outerHeight(), table ? 10800 : 8800);
        QCOMPARE(f->Combo1->currentText(), QStringLiteral("200"));
        QVERIFY(!f->jidou->isEnabled());
        QVERIFY(!f->susumu->isEnabled());
        QVERIFY(f->modoru->isEnabled());
        QVERIFY(!f->Command2->isEnabled());
        QVERIFY(f->Command1->isEnabled());
        QVERIFY(f->end->isEnabled());
        QCOMPARE(double(s.DragFrom), 3.0);

        // Reset.
        QVERIFY(!f->tomeru->isEnabled());
        for (PieceKind slot : s.Slot)
            QCOMPARE(LessonTest::kindNumber(slot), 0.0);
        QCOMPARE(LessonTest::kindNumber(s.DragKind), 0.0);
        QCOMPARE(LessonTest::pointPX(f->lesson), 300.0);
        QCOMPARE(f->table.shownPairs(), (std::map<int, double> { { 0, 0.0 } }));
        QCOMPARE(f->lesson.y(), 0.0);
        QCOMPARE(f->Text1->text(), QStringLiteral(" 0.0"));
        QVERIFY(!f->Label4[6]->isVisible());
        QCOMPARE(QPointF(f->Label4[6]->left(), f->Label4[6]->top()), QPointF(300, 330));
        QCOMPARE(QPointF(f->Label4[8]->left(), f->Label4[8]->top()), QPointF(282, 300));
        QCOMPARE(QPointF(f->Shape1->left(), f->Shape1->top()), QPointF(296, 296));
        // The red marker stays out of sight until the next step, ticked or not.
        const LineControl *markerLine = f->Line5[4];
        QCOMPARE(markerLine->y1(), 800.0);
        QCOMPARE(markerLine->y2(), 800.0);
        verifyOutlinesHome(*f);
        QCOMPARE(f->Picture1->isVisible(), cover);

        // The board holds the grid exactly when it is ticked, and nothing else.
        QCOMPARE(gridShows(*f->kokuban), grid);
        if (!grid)
            QVERIFY(allOf(*f->kokuban, Green));
        QCOMPARE(countOf(*f->kokuban, QColor(255, 0, 255)), 0);
        QCOMPARE(f->kokuban->drawing().drawWidth(), 2); // the grid sets 2 px again

        QCOMPARE(f->hyo->drawing().image(), firstColumnOfTheTable(*f->hyo));

        // The graph is cleared and started: with the panel on, a dot at the origin that
        // the grid crosses; off, nothing plotted.
        const PictureBox &g = *f->gamen;
        QCOMPARE(g.drawing().pixel(140, 40), PanelBack);
        QCOMPARE(g.drawing().pixel(35 + 30 * 5, 300), Palette::color(Palette::Green));
        QCOMPARE(g.drawing().pixel(36, 479) == Palette::color(Palette::Blue), graph);
        const int blue = countOf(g, Palette::color(Palette::Blue));
        QVERIFY2(graph ? blue > 0 && blue <= 9 : blue == 0, qPrintable(QString::number(blue)));
    }

    // Pressed twice in a row it gives the same screen.
    void initialScreenTwice()
    {
        auto f = LessonTest::makeForm();
        f->Check1->setChecked(true);
        f->Command1->click();
        const QImage board = f->kokuban->drawing().image().copy();
        const QImage table = f->hyo->drawing().image().copy();
        const QImage graph = f->gamen->drawing().image().copy();
        f->Command1->click();
        QCOMPARE(f->kokuban->drawing().image(), board);
        QCOMPARE(f->hyo->drawing().image(), table);
        QCOMPARE(f->gamen->drawing().image(), graph);
        QVERIFY(gridShows(*f->kokuban));

        // Cleared again, the next 初期画面 leaves the grid off.
        f->Check1->setChecked(false);
        f->kokuban->drawing().lineStep(QPointF(20, 250), QPointF(560, 0), Black);
        f->Command1->click();
        QVERIFY(allOf(*f->kokuban, Green));
    }

    // The speed list opens on its own value, and the arrow keys go to its neighbours, at
    // start and after 初期画面, which keeps a speed chosen meanwhile.
    void speedListOpensOnItsValue()
    {
        auto f = LessonTest::makeForm();
        for (const bool afterInitialScreen : { false, true }) {
            if (afterInitialScreen)
                f->Command1->click();
            QCOMPARE(f->Combo1->currentIndex(), 3);
            f->Combo1->showPopup();
            QCOMPARE(f->Combo1->view()->currentIndex().row(), 3);
            f->Combo1->hidePopup();
            QTest::keyClick(f->Combo1, Qt::Key_Down);
            QCOMPARE(f->Combo1->currentText(), QStringLiteral("100"));
            QCOMPARE(f->lesson.pauseMilliseconds(), 500);
            QTest::keyClick(f->Combo1, Qt::Key_Up);
            QTest::keyClick(f->Combo1, Qt::Key_Up);
            QCOMPARE(f->Combo1->currentText(), QStringLiteral("20"));
            QCOMPARE(f->lesson.pauseMilliseconds(), 100);
            QTest::keyClick(f->Combo1, Qt::Key_Down);
        }
        QTest::keyClick(f->Combo1, Qt::Key_Down);
        QTest::keyClick(f->Combo1, Qt::Key_Down);
        f->Command1->click();
        QCOMPARE(f->Combo1->currentText(), QStringLiteral("200"));
        QCOMPARE(f->Combo1->currentIndex(), 5);
    }

    // 終了 ends the program at once; so does closing the window. Last: they quit the
    // application object.
    void endQuits()
    {
        auto f = LessonTest::makeForm();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        QVERIFY(!f->quitRequested());
        f->end->click();
        QVERIFY(f->quitRequested());
        QVERIFY(!f->isVisible());
    }

    void endClickQuits()
    {
        auto f = LessonTest::makeForm();
        f->end_Click();
        QVERIFY(f->quitRequested());
        QVERIFY(!f->isVisible());
    }

    void closingQuits()
    {
        auto f = LessonTest::makeForm();
        QVERIFY(!f->quitRequested());
        QVERIFY(f->close());
        QVERIFY(f->quitRequested());
        QVERIFY(!f->isVisible());
    }

    void cleanupTestCase()
    {
        form.reset();
    }
};

LESSON_TEST_MAIN(TestStartUp)
#include "tst_start_up.moc"
