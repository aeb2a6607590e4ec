#include "support/layer_checks.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QStringList>
#include <vector>

using namespace LessonTest;

namespace {

QString describeShownLine(const LineControl *line)
{
    return describeLine(line) + QStringLiteral(" %1").arg(line->isVisible());
}

// Everything on the blackboard that is a control rather than drawing.
QString describeControls(const TestForm &f)
{
    QStringList parts;
    for (int i = 0; i < int(f.Label4.size()); ++i) {
        if (const LabelControl *label = f.Label4[i])
            parts << QStringLiteral("Label4(%1) %2,%3 %4").arg(i).arg(number(label->left()), number(label->top())).arg(label->isVisible());
    }
    for (int i = 0; i < 6; ++i)
        parts << QStringLiteral("Label9(%1) %2,%3 %4").arg(i).arg(number(f.Label9[i]->left()), number(f.Label9[i]->top())).arg(f.Label9[i]->isVisible());
    parts << QStringLiteral("Shape1 %1,%2 %3").arg(number(f.Shape1->left()), number(f.Shape1->top())).arg(f.Shape1->isVisible());
    for (int i = 0; i < 8; ++i)
        parts << QStringLiteral("Line5(%1) ").arg(i) + describeShownLine(f.Line5[i]);
    for (int i = 0; i < 4; ++i) {
        parts << QStringLiteral("Line6(%1) ").arg(i) + describeShownLine(f.Line6[i]);
        parts << QStringLiteral("Line7(%1) ").arg(i) + describeShownLine(f.Line7[i]);
        parts << QStringLiteral("Line9(%1) ").arg(i) + describeShownLine(f.Line9[i]);
    }
    parts << QStringLiteral("Line1 ") + describeShownLine(f.Line1) << QStringLiteral("Line4(1) ") + describeShownLine(f.Line4[1]);
    parts << QStringLiteral("Label1 %1 Label2 %2").arg(f.Label1->isVisible()).arg(f.Label2->isVisible());
    parts << QStringLiteral("Text1 '%1' Check4 %2").arg(f.Text1->text()).arg(f.Check4->isChecked());
    return parts.join(QLatin1Char('\n'));
}

void addCompositionRows(bool withGrid)
{
    const struct
    {
        const char *name;
        Composition columns;
    } compositions[] = {
        { "all empty", { 0, 0, 0, 0, 0 } },
        { "all kind 1", { 1, 1, 1, 1, 1 } },
        { "all kind 2", { 2, 2, 2, 2, 2 } },
        { "all kind 3", { 3, 3, 3, 3, 3 } },
        { "mixed 1,3,2,0,3", { 1, 3, 2, 0, 3 } },
        { "mixed 2,3,0,1,2", { 2, 3, 0, 1, 2 } },
        { "mixed 3,0,1,2,3", { 3, 0, 1, 2, 3 } },
        { "mixed 0,1,2,3,0", { 0, 1, 2, 3, 0 } },
        { "short between tall 3,1,3,1,3", { 3, 1, 3, 1, 3 } },
    };
    for (const auto &c : compositions) {
        for (const bool yellow : { false, true }) {
            const QByteArray name = QByteArray(c.name) + (yellow ? ", yellow" : ", white") + (withGrid ? ", grid" : "");
            QTest::newRow(name.constData()) << c.columns << (yellow ? Yellow : White);
        }
    }
}

} // namespace

Q_DECLARE_METATYPE(Composition)

class TestFigureRenderer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        auto form = LessonTest::makeForm();
        // Pixel checks read logical pixels one to one.
        QCOMPARE(form->kokuban->drawing().image().devicePixelRatio(), 1.0);
        QCOMPARE(form->kokuban->drawing().foreColor(), White);
    }

    void piecesAtEveryPosition_data()
    {
        QTest::addColumn<Composition>("columns");
        QTest::addColumn<QColor>("fore");
        addCompositionRows(false);
    }
    void piecesAtEveryPosition()
    {
        QFETCH(Composition, columns);
        QFETCH(QColor, fore);
        auto form = LessonTest::makeForm();
        form->lesson.compose(columns);
        form->kokuban->drawing().setForeColor(fore);
        for (int left = 100; left <= 300; left += 10) {
            form->figure.RedrawFigure(int16_t(left));
            const QString error = checkFigure(*form->kokuban, columns, left, fore, false);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        QCOMPARE(form->kokuban->drawing().foreColor(), fore);
    }

    // With 方眼 ticked the grid lies under the pieces: visible on the board, gone inside
    // every piece, and a piece across AB is still split there into white and grey.
    void piecesWithGridOn_data()
    {
        QTest::addColumn<Composition>("columns");
        QTest::addColumn<QColor>("fore");
        addCompositionRows(true);
    }
    void piecesWithGridOn()
    {
        QFETCH(Composition, columns);
        QFETCH(QColor, fore);
        auto form = LessonTest::makeForm();
        form->lesson.compose(columns);
        form->kokuban->drawing().setForeColor(fore);
        form->Check1->setChecked(true);
        for (int left = 100; left <= 300; left += 10) {
            form->figure.RedrawFigure(int16_t(left));
            const QString error = checkFigure(*form->kokuban, columns, left, fore, true);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
    }

    // The grid's lines cross AB at every 1-cm row; a straddling piece must not let its
    // white fill through those crossings.
    void straddlingPieceWithGridOn_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("kind");
        for (int kind = 1; kind <= 3; ++kind) {
            for (int left : { 270, 280, 290 })
                QTest::addRow("kind %d at %d", kind, left) << left << kind;
        }
    }
    void straddlingPieceWithGridOn()
    {
        QFETCH(int, left);
        QFETCH(int, kind);
        auto form = LessonTest::makeForm();
        form->kokuban->drawing().setForeColor(Yellow);
        form->lesson.compose(LessonTest::Composition { kind, 0, 0, 0, 0 });
        form->Check1->setChecked(true);
        form->figure.RedrawFigure(int16_t(left));
        const DrawingLayer &board = form->kokuban->drawing();
        const int top = 300 - 40 * kind;
        for (int y = top + 3; y <= 297; ++y) {
            for (int x = left + 3; x <= 297; ++x)
                QVERIFY2(board.pixel(x, y) == White, qPrintable(QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(colourName(board.pixel(x, y)))));
            for (int x = 303; x <= left + 37; ++x)
                QVERIFY2(board.pixel(x, y) == Grey, qPrintable(QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(colourName(board.pixel(x, y)))));
        }
        // AB itself keeps the fore colour where grid lines cross it.
        for (int y = 200; y < 300; y += 20)
            QCOMPARE(board.pixel(300, y), Yellow);
    }

    // The piece routines on their own: the outline in the fore colour, the inside filled
    // wholly white when the piece is out of the envelope and wholly grey when it is in.
    void fillPieceRoutines_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("left");
        for (int kind = 1; kind <= 3; ++kind) {
            for (int left : { 100, 220, 260, 300, 380, 460 })
                QTest::addRow("kind %d at %d", kind, left) << kind << left;
        }
    }
    void fillPieceRoutines()
    {
        QFETCH(int, kind);
        QFETCH(int, left);
        auto form = LessonTest::makeForm();
        DrawingLayer &board = form->kokuban->drawing();
        board.setForeColor(Yellow);
        board.cls();
        const int16_t at = int16_t(left);
        if (kind == 1)
            form->figure.FillPiece1(at);
        else if (kind == 2)
            form->figure.FillPiece2(at);
        else
            form->figure.FillPiece3(at);
        const QString error = checkLayer(board, { { left, 300 - 40 * kind } }, false, Yellow, false);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(board.fillColor(), left < 300 ? White : Grey);
    }

    // With AB drawn, a piece routine at a straddling position fills both sides.
    void fillPieceAcrossEdge_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("left");
        for (int kind = 1; kind <= 3; ++kind) {
            for (int left : { 270, 280, 290 })
                QTest::addRow("kind %d at %d", kind, left) << kind << left;
        }
    }
    void fillPieceAcrossEdge()
    {
        QFETCH(int, kind);
        QFETCH(int, left);
        auto form = LessonTest::makeForm();
        DrawingLayer &board = form->kokuban->drawing();
        board.setForeColor(Yellow);
        board.cls();
        board.line(QPointF(300, 180), QPointF(300, 300));
        const int16_t at = int16_t(left);
        if (kind == 1)
            form->figure.FillPiece1(at);
        else if (kind == 2)
            form->figure.FillPiece2(at);
        else
            form->figure.FillPiece3(at);
        const QString error = checkLayer(board, { { left, 300 - 40 * kind } }, true, Yellow, false);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(board.fillColor(), Grey);
    }

    // A redraw does not depend on the fill colour left before it, leaves the last fill
    // colour, and never changes the fore colour.
    void fillAttributesAfterRedraw_data()
    {
        QTest::addColumn<Composition>("columns");
        QTest::addColumn<int>("left");
        QTest::addColumn<QColor>("lastFill");
        QTest::newRow("no piece") << Composition { 0, 0, 0, 0, 0 } << 200 << Black;
        QTest::newRow("last piece out") << Composition { 1, 3, 2, 0, 3 } << 100 << White;
        QTest::newRow("last piece across AB") << Composition { 0, 0, 0, 0, 2 } << 130 << Grey;
        QTest::newRow("last piece in") << Composition { 3, 0, 0, 1, 0 } << 200 << Grey;
        QTest::newRow("only piece out") << Composition { 2, 0, 0, 0, 0 } << 200 << White;
    }
    void fillAttributesAfterRedraw()
    {
        QFETCH(Composition, columns);
        QFETCH(int, left);
        QFETCH(QColor, lastFill);
        auto form = LessonTest::makeForm();
        form->lesson.compose(columns);
        DrawingLayer &board = form->kokuban->drawing();
        board.setForeColor(Yellow);
        board.setFillColor(Black);
        form->figure.RedrawFigure(int16_t(left));
        const QString error = checkFigure(*form->kokuban, columns, left, Yellow, false);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(board.fillColor(), lastFill);
        QCOMPARE(board.foreColor(), Yellow);
        QCOMPARE(board.drawWidth(), 2);
    }

    // A redraw starts from a cleared layer: nothing of an earlier picture survives.
    void redrawClearsEarlierPicture()
    {
        auto form = LessonTest::makeForm();
        form->kokuban->drawing().setForeColor(Yellow);
        form->lesson.compose(LessonTest::Composition { 3, 3, 3, 3, 3 });
        form->Check1->setChecked(true);
        form->figure.RedrawFigure(100);
        form->figure.DrawGrid();
        solidRect(form->kokuban->drawing(), QPointF(520, 320), QPointF(590, 400), Black);
        form->Check1->setChecked(false);
        form->lesson.compose(LessonTest::Composition { 0, 1, 0, 0, 0 });
        form->figure.RedrawFigure(300);
        const QString error = checkFigure(*form->kokuban, LessonTest::Composition::of(form->lesson.scene().Slot), 300, Yellow, false);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void gridLines_data()
    {
        QTest::addColumn<int>("widthBefore");
        QTest::newRow("width 1 before") << 1;
        QTest::newRow("width 2 before") << 2;
        QTest::newRow("width 5 before") << 5;
    }
    void gridLines()
    {
        QFETCH(int, widthBefore);
        auto form = LessonTest::makeForm();
        DrawingLayer &board = form->kokuban->drawing();
        board.cls();
        board.setForeColor(Yellow);
        board.setDrawWidth(widthBefore);
        form->figure.DrawGrid();
        // Black lines 1 px wide at their coordinates, nothing else on the board.
        const QString error = checkLayer(board, {}, false, Yellow, true);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(board.pixel(20, 180), Black);
        QCOMPARE(board.pixel(580, 300), Black);
        QCOMPARE(board.pixel(20, 300), Black);
        QCOMPARE(board.pixel(580, 180), Black);
        QCOMPARE(board.pixel(590, 180), Green);
        QCOMPARE(board.pixel(590, 240), Green);
        QCOMPARE(board.pixel(21, 190), Green);
        QCOMPARE(board.pixel(30, 181), Green);
        QCOMPARE(board.pixel(30, 179), Green);
        QCOMPARE(board.drawWidth(), 2);
        QCOMPARE(board.foreColor(), Yellow);
    }

    // Ticking 方眼 lays the grid over the picture as it stands: grid pixels turn black,
    // across the pieces too, and nothing else changes.
    void tickingDrawsGridOverPicture()
    {
        auto form = LessonTest::makeForm();
        form->kokuban->drawing().setForeColor(Yellow);
        form->lesson.compose(LessonTest::Composition { 1, 3, 2, 0, 3 });
        for (int i = 0; i < 3; ++i)
            form->susumu_Click();
        QCOMPARE(LessonTest::pointPX(form->lesson), 270.0);
        const QImage before = form->kokuban->drawing().image().copy();
        const QString sceneBefore = describeScene(form->lesson);

        QTest::mouseClick(form->Check1, Qt::LeftButton);
        QVERIFY(form->Check1->isChecked());

        const DrawingLayer &board = form->kokuban->drawing();
        QCOMPARE(board.drawWidth(), 2);
        for (int y = 0; y < before.height(); ++y) {
            for (int x = 0; x < before.width(); ++x) {
                if (pastGridEnd(x, y))
                    continue;
                const QColor want = onGridLine(x, y) ? Black : QColor(before.pixel(x, y));
                QVERIFY2(board.pixel(x, y) == want,
                         qPrintable(QStringLiteral("(%1,%2) %3, expected %4").arg(x).arg(y).arg(colourName(board.pixel(x, y)), colourName(want))));
            }
        }
        // Grid lines run across the pieces, the white part of a straddling one included.
        QCOMPARE(board.pixel(280, 280), Black);
        QCOMPARE(board.pixel(320, 240), Black);
        QCOMPARE(board.pixel(440, 200), Black);
        QCOMPARE(describeScene(form->lesson), sceneBefore);
    }

    // Unticking 方眼 redraws the figure at P without the grid and touches nothing else:
    // neither the blackboard's controls nor the panels nor the scene.
    void untickingRedrawsWithoutGrid_data()
    {
        QTest::addColumn<int>("steps");
        QTest::newRow("at the start") << 0;
        QTest::newRow("x = 1.5") << 3;
        QTest::newRow("x = 4.5") << 9;
        QTest::newRow("x = 10") << 20;
    }
    void untickingRedrawsWithoutGrid()
    {
        QFETCH(int, steps);
        auto form = LessonTest::makeForm();
        form->kokuban->drawing().setForeColor(Yellow);
        const Composition columns { 2, 3, 1, 0, 3 };
        form->lesson.compose(columns);
        form->Check2->setChecked(true);
        form->Check3->setChecked(true);
        QTest::mouseClick(form->Check1, Qt::LeftButton);
        QVERIFY(form->Check1->isChecked());
        for (int i = 0; i < steps; ++i)
            form->susumu_Click();
        const int left = 300 - 10 * steps;
        QCOMPARE(LessonTest::pointPX(form->lesson), double(left));

        const QString controlsBefore = describeControls(*form);
        const QString sceneBefore = describeScene(form->lesson);
        const QImage graphBefore = form->gamen->drawing().image().copy();
        const QImage tableBefore = form->hyo->drawing().image().copy();

        QTest::mouseClick(form->Check1, Qt::LeftButton);
        QVERIFY(!form->Check1->isChecked());

        const QString error = checkFigure(*form->kokuban, columns, left, Yellow, false);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(describeControls(*form), controlsBefore);
        QCOMPARE(describeScene(form->lesson), sceneBefore);
        QCOMPARE(form->gamen->drawing().image(), graphBefore);
        QCOMPARE(form->hyo->drawing().image(), tableBefore);
        QCOMPARE(form->kokuban->drawing().drawWidth(), 2);
    }

    // Before any piece has been dropped (the envelope empty) the fore colour is the board's
    // white, and edge AB drawn after unticking follows it.
    void untickingBeforeAnyDropKeepsWhite()
    {
        auto form = LessonTest::makeForm();
        const Composition columns {};
        form->Check1->setChecked(true);
        for (int i = 0; i < 5; ++i)
            form->susumu_Click();
        form->Check1->setChecked(false);
        const QString error = checkFigure(*form->kokuban, columns, 250, White, false);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(form->kokuban->drawing().foreColor(), White);
    }
};

LESSON_TEST_MAIN(TestFigureRenderer)
#include "tst_figure_renderer.moc"
