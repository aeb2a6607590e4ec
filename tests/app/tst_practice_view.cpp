// 練習 on the window: it opens over the lesson and leaves it exactly as it was; a pupil
// answers by the keypad and the keys, with the status read out as a screen reader hears it;
// what was answered survives a restart; a figure handed out for practice opens on it.
#include "app/keypad.h"
#include "app/practice_view.h"
#include "app/window_zoom.h"
#include "support/lesson_test.h"
#include "surface/twips.h"

#include <QLineEdit>
#include <QSettings>

using namespace LessonTest;

namespace {

PracticeView *practiceOf(TestForm &form)
{
    return form.widget<PracticeView>(QStringLiteral("practice"));
}

QAbstractButton *keyOf(PracticeView *practice, const QString &caption)
{
    return practice->findChild<QAbstractButton *>(QStringLiteral("key ") + caption);
}

void press(PracticeView *practice, const QString &keys)
{
    for (const QChar key : keys)
        QTest::mouseClick(keyOf(practice, QString(key)), Qt::LeftButton);
}

void forget()
{
    // Each test starts with nothing kept from another.
    QSettings().clear();
}

} // namespace

class TestPracticeView : public QObject
{
    Q_OBJECT

private slots:
    void init() { forget(); }

    // The lesson, with both panels, 式 and 予想 at 150 %, is there again pixel for pixel after
    // practice, and nothing of the lesson moved while practice had the keys. (The window's
    // random lessons also practise and come back, from whatever they have shown.)
    void leavingGivesBackTheLesson()
    {
        auto form = makeForm();
        QApplication::setActiveWindow(form.get());
        form->windowZoom.zoomIn();
        form->windowZoom.zoomIn();
        form->lesson.compose(Composition { 3, 2, 2, 0, 1 });
        form->Check2->click();
        form->Check3->click();
        form->Check6->click();
        form->Check7->click();
        form->lesson.predict(2, 12);
        form->lesson.predict(5, 30);
        stepForward(*form, 7);
        form->Check1->click();
        QCoreApplication::processEvents();
        const QImage before = form->grab().toImage();
        const QString scene = describeScene(form->lesson);
        const QSize size = form->size();

        QTest::mouseClick(form->widget<QAbstractButton>(QStringLiteral("renshu")), Qt::LeftButton);
        PracticeView *practice = practiceOf(*form);
        QVERIFY(practice->isVisible());
        QCOMPARE(practice->geometry(), form->rect());
        // The keys step the practice's figure, not the lesson's.
        QTest::keyClick(form.get(), Qt::Key_PageDown);
        QTest::keyClick(form.get(), Qt::Key_PageDown);
        QCOMPARE(practice->lesson().stepIndex(), 0); // the focus is in a cell: keys are for it
        QTest::mouseClick(practice->findChild<QAbstractButton *>(QStringLiteral("practice out")), Qt::LeftButton);
        QCOMPARE(practice->lesson().stepIndex(), 1);
        QCOMPARE(QApplication::focusWidget(), practice->cells().front()); // still there for the next key

        QTest::mouseClick(practice->findChild<QAbstractButton *>(QStringLiteral("leave practice")), Qt::LeftButton);
        QVERIFY(!practice->isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(form->size(), size);
        QCOMPARE(describeScene(form->lesson), scene);
        QVERIFY2(form->grab().toImage() == before, "the lesson looks as it did before practice");
    }

    // Behind practice the lesson rests: Tab and Backtab go round practice's own controls,
    // and nothing a screen reader can reach says the lesson's y, the answer to its questions.
    void theLessonRestsBehind()
    {
        auto form = makeForm();
        QApplication::setActiveWindow(form.get());
        form->lesson.compose(Composition { 3, 2, 2, 0, 0 });
        form->Check2->click();
        form->Check3->click();
        stepForward(*form, 7);
        QTest::mouseClick(form->widget<QAbstractButton>(QStringLiteral("renshu")), Qt::LeftButton);
        PracticeView *practice = practiceOf(*form);
        for (const Qt::Key key : { Qt::Key_Tab, Qt::Key_Backtab }) {
            for (int i = 0; i < 60; ++i) {
                QTest::keyClick(QApplication::focusWidget(), key);
                QVERIFY2(practice->isAncestorOf(QApplication::focusWidget()),
                         qPrintable(QApplication::focusWidget()->objectName()));
            }
        }
        for (const QWidget *widget : form->findChildren<QWidget *>()) {
            if (!widget->isVisible())
                continue;
            const QString said = widget->accessibleName() + widget->accessibleDescription();
            QVERIFY2(!said.contains(QStringLiteral("y = ")) && !said.contains(QStringLiteral("cm²")),
                     qPrintable(widget->objectName() + QStringLiteral(": ") + said));
        }
        QTest::mouseClick(practice->findChild<QAbstractButton *>(QStringLiteral("leave practice")), Qt::LeftButton);
        QVERIFY(form->kokuban->isVisible() && form->hyo->isVisible() && form->gamen->isVisible());
        QCOMPARE(form->kokuban->accessibleDescription(), form->lesson.whereText());
    }

    // The first question has the focus; the keypad types into it, takes back a character and
    // checks; Enter checks too; Tab moves on without checking. What the status region and
    // the description read after each is the sheet's line, and the marks and count follow.
    // Practice is opened as a page opens it, before the window is shown, and the window is
    // activated before it shows, as Qt 6.8's browser platform does.
    void answeringByKeypadAndKeys()
    {
        auto form = std::make_unique<TestForm>();
        form->openFigure(QStringLiteral("#figure=32200&practice"));
        QApplication::setActiveWindow(form.get());
        form->show();
        PracticeView *practice = practiceOf(*form);
        QVERIFY(practice->isVisible());
        QLineEdit *first = practice->cells().front();
        QCOMPARE(QApplication::focusWidget(), first);
        QCOMPARE(practice->accessibleDescription(), QStringLiteral("x=1 のときの y"));
        QCOMPARE(first->accessibleName(), QStringLiteral("x=1 のときの y"));

        // y at x = 1 is the 6 cm piece's 6 cm²: typed 65, one taken back, checked.
        press(practice, QStringLiteral("65"));
        QTest::mouseClick(keyOf(practice, QStringLiteral("⌫")), Qt::LeftButton);
        QCOMPARE(first->text(), QStringLiteral("6"));
        QTest::mouseClick(keyOf(practice, QStringLiteral("確定")), Qt::LeftButton);
        QCOMPARE(practice->accessibleDescription(), QStringLiteral("x=1 のときの y 6 ○。次は x=2 のときの y"));
        QVERIFY(first->isReadOnly());
        QCOMPARE(first->accessibleDescription(), QStringLiteral("正解"));
        QLineEdit *second = practice->cells()[1];
        QCOMPARE(QApplication::focusWidget(), second);

        // A wrong answer by the keyboard stays; an unreadable one is no try.
        QTest::keyClicks(second, QStringLiteral("13"));
        QTest::keyClick(second, Qt::Key_Return);
        QCOMPARE(practice->accessibleDescription(), QStringLiteral("x=2 のときの y 13 ×"));
        QCOMPARE(second->accessibleDescription(), QStringLiteral("不正解"));
        second->clear();
        QTest::sendKeyEvent(QTest::Click, second, Qt::Key_unknown, QStringLiteral("あ"), Qt::NoModifier);
        QTest::keyClick(second, Qt::Key_Return);
        QCOMPARE(practice->accessibleDescription(), QStringLiteral("x=2 のときの y: 数か x の式で答えましょう"));
        QCOMPARE(second->text(), QStringLiteral("あ")); // nothing typed is lost
        // Tab moves to the next question and checks nothing.
        QTest::keyClick(second, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), practice->cells()[2]);
        QCOMPARE(practice->accessibleDescription(), QStringLiteral("x=3 のときの y"));
        QCOMPARE(practice->sheet().answer(1).mark, PracticeSheet::Mark::Wrong);
        QCOMPARE(practice->sheet().countText(), QStringLiteral("正解 1 / %1").arg(practice->sheet().questionCount()));

        // An expression by the keypad: 2≦x≦6 is y=4x+4 for this figure.
        int expression = -1;
        for (int i = 0; i < practice->sheet().questionCount(); ++i) {
            if (practice->sheet().questions()[i].text() == QStringLiteral("2≦x≦6 のときの式"))
                expression = i;
        }
        QVERIFY(expression >= 0);
        QLineEdit *cell = nullptr;
        for (QLineEdit *c : practice->cells())
            cell = c->accessibleName() == QStringLiteral("2≦x≦6 のときの式") ? c : cell;
        QVERIFY(cell && cell->isVisible());
        QTest::mouseClick(cell, Qt::LeftButton);
        QCOMPARE(practice->sheet().current(), expression);
        press(practice, QStringLiteral("4x+4"));
        QTest::mouseClick(keyOf(practice, QStringLiteral("確定")), Qt::LeftButton);
        QVERIFY(practice->accessibleDescription().startsWith(QStringLiteral("2≦x≦6 のときの式 4x+4 ○。次は ")));

        // The keypad types 年, 組 and 番 too; 確定 there goes back to the question.
        const QString said = practice->accessibleDescription();
        QLineEdit *next = practice->cells()[practice->sheet().current()];
        QTest::mouseClick(practice->findChild<QLineEdit *>(QStringLiteral("name 1")), Qt::LeftButton);
        press(practice, QStringLiteral("34"));
        QTest::mouseClick(keyOf(practice, QStringLiteral("⌫")), Qt::LeftButton);
        QCOMPARE(practice->sheet().name()[1], QStringLiteral("3"));
        QTest::mouseClick(keyOf(practice, QStringLiteral("確定")), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), next);
        QVERIFY(next->text().isEmpty());
        QCOMPARE(practice->accessibleDescription(), said);
    }

    // What was answered survives a restart on the same figure, and practice on another;
    // another figure starts afresh, and so does 新しい問題, on a figure that makes a whole
    // exercise.
    void keptAcrossARestart()
    {
        {
            auto form = makeForm();
            form->openFigure(QStringLiteral("#figure=32200&practice"));
            PracticeView *practice = practiceOf(*form);
            press(practice, QStringLiteral("6"));
            QTest::mouseClick(keyOf(practice, QStringLiteral("確定")), Qt::LeftButton);
            press(practice, QStringLiteral("1"));
        }
        auto form = makeForm();
        form->openFigure(QStringLiteral("#figure=32200&practice"));
        PracticeView *practice = practiceOf(*form);
        QCOMPARE(practice->sheet().answer(0).mark, PracticeSheet::Mark::Right);
        QCOMPARE(practice->sheet().answer(1).typed, QStringLiteral("1"));
        QCOMPARE(practice->cells()[1]->text(), QStringLiteral("1"));
        QCOMPARE(practice->sheet().current(), 1);

        // 練習 on another figure composed in the lesson starts it, and the first is kept:
        // its address brings it back.
        QTest::mouseClick(practice->findChild<QAbstractButton *>(QStringLiteral("leave practice")), Qt::LeftButton);
        form->lesson.compose(Composition { 3, 0, 3, 0, 3 });
        form->renshu_Click();
        QCOMPARE(Composition::of(practice->sheet().figure()), (Composition { 3, 0, 3, 0, 3 }));
        QCOMPARE(practice->sheet().answer(0).mark, PracticeSheet::Mark::None);
        QTest::mouseClick(practice->findChild<QAbstractButton *>(QStringLiteral("leave practice")), Qt::LeftButton);
        form->openFigure(QStringLiteral("#figure=32200&practice"));
        QCOMPARE(practice->sheet().answer(0).mark, PracticeSheet::Mark::Right);
        QCOMPARE(practice->cells()[1]->text(), QStringLiteral("1"));

        QTest::mouseClick(practice->findChild<QAbstractButton *>(QStringLiteral("leave practice")), Qt::LeftButton);
        // A figure with one domain asks no x for a y: its address opens the lesson on it.
        form->openFigure(QStringLiteral("#figure=11111&practice"));
        QVERIFY(!practice->isVisible());
        QCOMPARE(Composition::of(form->lesson.columns()), (Composition { 1, 1, 1, 1, 1 }));
        form->openFigure(QStringLiteral("#figure=31203&practice"));
        QCOMPARE(practice->sheet().answer(0).mark, PracticeSheet::Mark::None);
        QCOMPARE(Composition::of(practice->sheet().figure()), (Composition { 3, 1, 2, 0, 3 }));

        QTest::mouseClick(practice->findChild<QAbstractButton *>(QStringLiteral("new problem")), Qt::LeftButton);
        QVERIFY(makesWholeExercise(practice->sheet().figure()));
        QCOMPARE(practice->lesson().columns(), practice->sheet().figure());
        QCOMPARE(practice->sheet().rightAtFirstTry(), 0);
    }

    // On a tablet, landscape or portrait, the window fits the page and every key of the
    // keypad is at least 44 CSS px each way, where a finger is sure of it.
    void keysReachAFinger_data()
    {
        QTest::addColumn<QSize>("page");
        QTest::newRow("1024 × 768") << QSize(1024, 768);
        QTest::newRow("768 × 1024") << QSize(768, 1024);
    }
    void keysReachAFinger()
    {
        QFETCH(QSize, page);
        auto form = makeForm();
        form->renshu_Click();
        const double factor = WindowZoom::fitInto(Twips::clientSizeForOuter(15700, 10800), page).factor;
        const auto keys = practiceOf(*form)->findChild<Keypad *>()->findChildren<QAbstractButton *>();
        QCOMPARE(keys.size(), 17);
        for (const QAbstractButton *key : keys) {
            const QSizeF logical = QSizeF(key->size()) / form->windowZoom.factor();
            QVERIFY2(logical.width() * factor >= 44 && logical.height() * factor >= 44, qPrintable(key->text()));
            QCOMPARE(key->accessibleName(), key->text());
        }
        // ⌫ is drawn, not written: a tag as tall as a digit and wider than tall.
        const auto ink = [&](const QString &caption) {
            const auto it = std::find_if(keys.begin(), keys.end(), [&](auto *key) { return key->text() == caption; });
            const QImage face = (*it)->grab().toImage();
            QRect box;
            for (int y = 3; y < face.height() - 3; ++y)
                for (int x = 3; x < face.width() - 3; ++x)
                    if (qGray(face.pixel(x, y)) < 80)
                        box |= QRect(x, y, 1, 1);
            return box;
        };
        const QRect digit = ink(QStringLiteral("0")), sign = ink(QStringLiteral("\u232B"));
        QVERIFY2(sign.height() >= digit.height() * 0.8 && sign.width() >= sign.height() * 1.4,
                 qPrintable(QStringLiteral("the sign's ink %1×%2, the digit's %3×%4")
                                .arg(sign.width()).arg(sign.height()).arg(digit.width()).arg(digit.height())));
    }
};

LESSON_TEST_MAIN(TestPracticeView)
#include "tst_practice_view.moc"
