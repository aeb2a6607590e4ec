#include "support/lesson_test.h"

#include "surface/twips.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QPointingDevice>
#include <QScreen>

using namespace LessonTest;

namespace {

// Blackboard point in the blackboard's widget coordinates at the window's zoom.
QPoint onBoard(const TestForm &form, QPointF board)
{
    const double z = form.kokuban->zoom();
    return ((board + QPointF(PictureBox::BorderWidth, PictureBox::BorderWidth)) * z).toPoint();
}

void dragOnBoard(TestForm &form, QPointF from, QPointF to)
{
    QWidget *board = form.kokuban;
    QTest::mousePress(board, Qt::LeftButton, {}, onBoard(form, from));
    QTest::mouseMove(board, onBoard(form, (from + to) / 2));
    QTest::mouseMove(board, onBoard(form, to));
    QTest::mouseRelease(board, Qt::LeftButton, {}, onBoard(form, to));
}

void pressKey(TestForm &form, int key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

} // namespace

class TestClassroom : public QObject
{
    Q_OBJECT

private slots:
    void zoomKeysStepThroughTheScales()
    {
        auto form = makeForm();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const QSize base = form->size();
        const int expected[] = { 125, 150, 175, 200, 250, 300, 300 };
        for (int percent : expected) {
            pressKey(*form, Qt::Key_Plus, Qt::ControlModifier);
            QCOMPARE(form->windowZoom.stepPercent(), percent);
            QVERIFY(qAbs(form->width() - base.width() * percent / 100) <= 1);
            QVERIFY(qAbs(form->height() - base.height() * percent / 100) <= 1);
        }
        pressKey(*form, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(form->windowZoom.stepPercent(), 250);
        pressKey(*form, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(form->windowZoom.stepPercent(), 100);
        QCOMPARE(form->size(), base);
        pressKey(*form, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(form->windowZoom.stepPercent(), 100);
    }

    void everythingScalesTogether()
    {
        auto form = makeForm();
        form->Check2->setChecked(true);
        form->Check3->setChecked(true);
        const QSize wide = form->size();
        const QRect susumu = form->susumu->geometry();
        const double susumuPoints = form->susumu->font().pointSizeF();
        form->windowZoom.zoomIn();
        form->windowZoom.zoomIn();
        form->windowZoom.zoomIn();
        form->windowZoom.zoomIn(); // 200 %
        QCOMPARE(form->windowZoom.factor(), 2.0);
        QCOMPARE(form->size(), wide * 2);
        QCOMPARE(form->susumu->geometry(), QRect(susumu.topLeft() * 2, susumu.size() * 2));
        QCOMPARE(form->susumu->font().pointSizeF(), susumuPoints * 2);
        QCOMPARE(form->kokuban->zoom(), 2.0);
        // The enlargements by the panels' switches are scaled too.
        form->Check2->setChecked(false);
        QCOMPARE(form->width(), Twips::clientSizeForOuter(9700, 10800).width() * 2);
    }

    // Away from text, every logical pixel of a drawing layer at 100 % is a 2 × 2 block
    // of the same colour at 200 %: the layer is drawn again, not stretched.
    void layersAreDrawnAgainAtTheNewResolution()
    {
        auto form = makeForm();
        form->Check1->setChecked(true);
        form->Check2->setChecked(true);
        form->lesson.compose(LessonTest::Composition { 3, 1, 2, 0, 3 });
        form->kokuban->drawing().setForeColor(QColor(255, 255, 0));
        form->Command2_Click();
        for (int i = 0; i < 7; ++i)
            form->susumu_Click();

        const QImage board = form->kokuban->drawing().image().copy();
        const QImage graph = form->gamen->drawing().image().copy();
        QCOMPARE(board.devicePixelRatio(), 1.0);
        form->windowZoom.zoomIn();
        form->windowZoom.zoomIn();
        form->windowZoom.zoomIn();
        form->windowZoom.zoomIn();
        const QImage board2 = form->kokuban->drawing().image();
        QCOMPARE(board2.size(), board.size() * 2);
        int mismatches = 0;
        for (int y = 0; y < board.height(); ++y) {
            for (int x = 0; x < board.width(); ++x) {
                const QRgb expected = board.pixel(x, y);
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        mismatches += board2.pixel(2 * x + dx, 2 * y + dy) != expected;
            }
        }
        QCOMPARE(mismatches, 0);

        // The graph's grid (level and upright lines, away from the labels and the slanted
        // curve) scales block for block as well.
        const QImage graph2 = form->gamen->drawing().image();
        for (int y = 100; y < 470; ++y) {
            for (int x = 250; x < 380; ++x) {
                const QRgb expected = graph.pixel(x, y);
                if (expected == qRgb(0, 0, 255))
                    continue;
                QCOMPARE(graph2.pixel(2 * x, 2 * y), expected);
                QCOMPARE(graph2.pixel(2 * x + 1, 2 * y + 1), expected);
            }
        }

        // Back at 100 % every pixel is as before.
        form->windowZoom.resetZoom();
        QCOMPARE(form->kokuban->drawing().image(), board);
        QCOMPARE(form->gamen->drawing().image(), graph);
    }

    void dropsLandInTheSameColumnAtAnyZoom_data()
    {
        QTest::addColumn<int>("steps");
        QTest::newRow("150 %") << 2;
        QTest::newRow("250 %") << 5;
    }
    void dropsLandInTheSameColumnAtAnyZoom()
    {
        QFETCH(int, steps);
        auto form = makeForm();
        for (int i = 0; i < steps; ++i)
            form->windowZoom.zoomIn();
        dragOnBoard(*form, QPointF(470, 60), QPointF(430, 250));  // kind 3 into column 3
        dragOnBoard(*form, QPointF(370, 100), QPointF(321, 200)); // kind 1 into column 0
        QCOMPARE(form->lesson.scene().Slot, (LessonTest::Composition { 1, 0, 0, 3, 0 }));
        dragOnBoard(*form, QPointF(430, 250), QPointF(100, 50)); // and out again
        QCOMPARE(form->lesson.scene().Slot, (LessonTest::Composition { 1, 0, 0, 0, 0 }));
        // The figure is filled where it stands, at the new resolution.
        QCOMPARE(form->kokuban->drawing().pixel(335, 290), QColor(192, 192, 192));
    }

    void fullScreenFitsAndCentres_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("client");
        QTest::newRow("projector, small window") << QSize(1920, 1080) << Twips::clientSizeForOuter(9700, 8800);
        QTest::newRow("projector, both panels") << QSize(1920, 1080) << Twips::clientSizeForOuter(15700, 10800);
        QTest::newRow("4:3 screen") << QSize(1024, 768) << Twips::clientSizeForOuter(15700, 8800);
        QTest::newRow("portrait panel") << QSize(1080, 1920) << Twips::clientSizeForOuter(9700, 10800);
        QTest::newRow("ultra wide") << QSize(3440, 1440) << Twips::clientSizeForOuter(9700, 8800);
    }
    void fullScreenFitsAndCentres()
    {
        QFETCH(QSize, screen);
        QFETCH(QSize, client);
        const auto fit = WindowZoom::fitInto(client, screen);
        const QSize shown = Placement::scaled(QRect(QPoint(), client), fit.factor).size();
        QVERIFY(shown.width() <= screen.width() && shown.height() <= screen.height());
        // It touches two opposite edges: no larger scale would fit.
        QVERIFY(shown.width() >= screen.width() - 1 || shown.height() >= screen.height() - 1);
        QVERIFY(qAbs(fit.origin.x() * 2 + shown.width() - screen.width()) <= 1);
        QVERIFY(qAbs(fit.origin.y() * 2 + shown.height() - screen.height()) <= 1);
    }

    void fullScreenKeys()
    {
        auto form = makeForm();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        pressKey(*form, Qt::Key_F11);
        QVERIFY(form->windowZoom.isFullScreen());
        QTRY_VERIFY(form->isFullScreen());
        const QSize screen = form->screen()->geometry().size();
        QTRY_COMPARE(form->size(), screen);
        const QRect board = form->kokuban->geometry();
        QVERIFY(QRect(QPoint(), screen).contains(board));
        // What lies beyond the client area, the panels among it, stays out of sight there too.
        const QImage shown = form->grab().toImage();
        int panelsOnScreen = 0;
        for (const QWidget *panel : { static_cast<QWidget *>(form->gamen), static_cast<QWidget *>(form->hyo) }) {
            const QRect onScreen = panel->geometry().intersected(shown.rect());
            if (onScreen.isEmpty())
                continue;
            ++panelsOnScreen;
            QCOMPARE(shown.pixelColor(onScreen.center()), form->backColor());
        }
        QVERIFY(panelsOnScreen > 0);
        QVERIFY(shown.pixelColor(board.center()) != form->backColor());
        // The lesson still works in logical pixels there.
        dragOnBoard(*form, QPointF(410, 100), QPointF(360, 250));
        QCOMPARE(LessonTest::kindNumber(form->lesson.scene().Slot[1]), 2.0);
        pressKey(*form, Qt::Key_Escape);
        QVERIFY(!form->windowZoom.isFullScreen());
        QTRY_COMPARE(form->size(), Twips::clientSizeForOuter(9700, 8800));
    }

    // A finger works the blackboard as the mouse does.
    void touchDragsPieces()
    {
        auto form = makeForm();
        // The test owns the simulated device.
        const std::unique_ptr<QPointingDevice> device(QTest::createTouchDevice());
        QPointingDevice *touch = device.get();
        auto touchDrag = [&](QPointF from, QPointF to) {
            QWidget *board = form->kokuban;
            QTest::touchEvent(board, touch).press(0, onBoard(*form, from), board);
            QTest::touchEvent(board, touch).move(0, onBoard(*form, (from + to) / 2), board);
            QTest::touchEvent(board, touch).move(0, onBoard(*form, to), board);
            QTest::touchEvent(board, touch).release(0, onBoard(*form, to), board);
            QCoreApplication::processEvents();
        };
        touchDrag(QPointF(470, 60), QPointF(320, 250));
        QCOMPARE(LessonTest::kindNumber(form->lesson.scene().Slot[0]), 3.0);
        touchDrag(QPointF(320, 250), QPointF(480, 250));
        QCOMPARE(form->lesson.scene().Slot, (LessonTest::Composition { 3, 0, 0, 0, 3 }));
        touchDrag(QPointF(320, 250), QPointF(320, 100));
        QCOMPARE(form->lesson.scene().Slot, (LessonTest::Composition { 0, 0, 0, 0, 3 }));

        // And the buttons.
        auto tap = [&](QWidget *w) {
            const QPoint centre = w->rect().center();
            QTest::touchEvent(w, touch).press(0, centre, w);
            QTest::touchEvent(w, touch).release(0, centre, w);
            QCoreApplication::processEvents();
        };
        tap(form->susumu);
        QCOMPARE(LessonTest::pointPX(form->lesson), 290.0);
        tap(form->Check1);
        QVERIFY(form->Check1->isChecked());
    }

    void presenterKeys()
    {
        auto form = makeForm();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->susumu->setFocus();
        pressKey(*form, Qt::Key_PageDown);
        pressKey(*form, Qt::Key_Right);
        QCOMPARE(LessonTest::pointPX(form->lesson), 280.0);
        QCOMPARE(form->Text1->text(), QStringLiteral(" 1.0"));
        pressKey(*form, Qt::Key_PageUp);
        QCOMPARE(LessonTest::pointPX(form->lesson), 290.0);
        pressKey(*form, Qt::Key_Right);
        pressKey(*form, Qt::Key_Left);
        QCOMPARE(LessonTest::pointPX(form->lesson), 290.0);
        pressKey(*form, Qt::Key_Home);
        QCOMPARE(LessonTest::pointPX(form->lesson), 300.0);

        // Typing in the distance box keeps its keys.
        pressKey(*form, Qt::Key_PageDown);
        form->Text1->setFocus();
        form->Text1->setCursorPosition(0);
        pressKey(*form, Qt::Key_Right);
        QCOMPARE(form->Text1->cursorPosition(), 1);
        pressKey(*form, Qt::Key_PageDown);
        pressKey(*form, Qt::Key_Home);
        QCOMPARE(form->Text1->cursorPosition(), 0);
        QCOMPARE(LessonTest::pointPX(form->lesson), 290.0);
        form->Combo1->setFocus();
        pressKey(*form, Qt::Key_PageDown);
        pressKey(*form, Qt::Key_Left);
        QCOMPARE(LessonTest::pointPX(form->lesson), 290.0);

        // Nothing while the button is disabled.
        form->susumu->setFocus();
        form->susumu->setEnabled(false);
        form->modoru->setEnabled(false);
        pressKey(*form, Qt::Key_PageDown);
        pressKey(*form, Qt::Key_PageUp);
        QCOMPARE(LessonTest::pointPX(form->lesson), 290.0);
    }

    void tabFollowsReadingOrder()
    {
        auto form = makeForm();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->tomeru->setEnabled(true);
        form->Command1->setFocus();
        QList<QWidget *> visited { QApplication::focusWidget() };
        for (int i = 0; i < 16; ++i) {
            pressKey(*form, Qt::Key_Tab);
            visited << QApplication::focusWidget();
        }
        auto index = [&](QWidget *w) {
            for (int i = 0; i < visited.size(); ++i) {
                if (visited[i] == w || (visited[i] && w->isAncestorOf(visited[i])))
                    return i;
            }
            return -1;
        };
        const QList<QWidget *> order { form->Command1, form->Check1, form->end, form->Check4, form->Text1,
                                       form->jidou, form->tomeru, form->Combo1, form->susumu, form->modoru,
                                       form->Command2, form->Check3, form->Check2, form->Check5, form->Check6 };
        int last = -1;
        for (QWidget *w : order) {
            if (!w->isEnabled())
                continue;
            const int at = index(w);
            QVERIFY2(at > last, qPrintable(w->accessibleName()));
            last = at;
        }
        // Space works the focused control.
        form->Check1->setFocus();
        pressKey(*form, Qt::Key_Space);
        QVERIFY(form->Check1->isChecked());
        form->susumu->setFocus();
        pressKey(*form, Qt::Key_Space);
        QCOMPARE(LessonTest::pointPX(form->lesson), 290.0);
    }

    void accessibleNamesAndDescriptions()
    {
        auto form = makeForm();
        auto nameOf = [](QWidget *w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
        QCOMPARE(nameOf(form->jidou), QStringLiteral("自    動"));
        QCOMPARE(nameOf(form->susumu), QStringLiteral("出す"));
        QCOMPARE(nameOf(form->Check1), QStringLiteral("方眼"));
        QCOMPARE(nameOf(form->Check6), QStringLiteral("式"));
        QCOMPARE(nameOf(form->kokuban), QStringLiteral("黒板"));
        QCOMPARE(nameOf(form->hyo), QStringLiteral("表"));
        QCOMPARE(nameOf(form->gamen), QStringLiteral("グラフ"));
        // The two boxes are announced by their labels, their contents as their values; the
        // speed box's edit field takes the focus, so it carries the name too.
        auto valueOf = [](QWidget *w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Value); };
        QCOMPARE(nameOf(form->Text1), QStringLiteral("点Ｐが動いた距離χ"));
        QCOMPARE(valueOf(form->Text1), QStringLiteral(" 0.0"));
        QCOMPARE(nameOf(form->Combo1), QStringLiteral("速度"));
        QCOMPARE(nameOf(form->Combo1->lineEdit()), QStringLiteral("速度"));
        QCOMPARE(valueOf(form->Combo1->lineEdit()), QStringLiteral("50"));
        QAccessibleInterface *speed = QAccessible::queryAccessibleInterface(form->Combo1);
        QCOMPARE(speed->role(), QAccessible::ComboBox);
        QCOMPARE(valueOf(form->Combo1), QStringLiteral("50"));
        QCOMPARE(speed->focusChild()->object(), form->Combo1->lineEdit());
        speed->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        QVERIFY(form->Combo1->view()->isVisible());
        QVERIFY(speed->state().expanded);
        form->Combo1->hidePopup();
        for (QWidget *w : form->findChildren<QWidget *>()) {
            if (w->isWindow() || !w->focusPolicy() || w->parentWidget() != form.get())
                continue;
            QVERIFY2(!nameOf(w).isEmpty(), w->metaObject()->className());
        }

        form->Check3->setChecked(true);
        form->lesson.compose(LessonTest::Composition { 3, 0, 0, 0, 0 });
        form->Command2_Click();
        auto description = [&](QWidget *w) {
            return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
        };
        QCOMPARE(description(form->kokuban), QStringLiteral("χ = 0 cm, y = 0 cm²"));
        for (int i = 0; i < 3; ++i)
            form->susumu_Click();
        QCOMPARE(description(form->kokuban), QStringLiteral("χ = 1.5 cm, y = 9 cm²"));
        form->susumu_Click();
        QCOMPARE(description(form->hyo),
                 QStringLiteral("χ = 0 cm, y = 0 cm²; χ = 1 cm, y = 6 cm²; χ = 2 cm, y = 12 cm²"));
        form->modoru_Click();
        QCOMPARE(description(form->hyo), QStringLiteral("χ = 0 cm, y = 0 cm²; χ = 1 cm, y = 6 cm²"));
        QCOMPARE(description(form->kokuban), QStringLiteral("χ = 1.5 cm, y = 9 cm²"));
    }
};

LESSON_TEST_MAIN(TestClassroom)
#include "tst_classroom.moc"
