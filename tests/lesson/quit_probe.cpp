// The program as a user runs it, asked to end at one moment of a long action. Prints
// how many steps were taken after the request and how long the ending took; the test
// that starts it checks both and the exit status.
//
//   quit_probe <moment> <how>
//   moment: pause | drag | typing | drag-in-pause
//   how:    end (the 終了 button) | close (the window's close)
#include "app/form1.h"
#include "support/lesson_test.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>

using LessonTest::TestForm;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Fonts::install();
    if (argc < 3)
        return 2;
    const QByteArray moment = argv[1];
    const bool viaButton = QByteArray(argv[2]) == "end";

    auto form = std::make_unique<TestForm>();
    form->show();
    form->lesson.compose(LessonTest::Composition { 3, 2, 1, 2, 3 });
    form->Command2_Click();
    form->Combo1->setEditText(QStringLiteral("50"));

    double pxAtRequest = -1;
    QElapsedTimer sinceRequest;
    auto requestEnd = [&] {
        pxAtRequest = LessonTest::pointPX(form->lesson);
        sinceRequest.start();
        if (viaButton)
            QTest::mouseClick(form->end, Qt::LeftButton);
        else
            form->close();
    };
    QWidget *board = form->kokuban;
    auto boardPoint = [](int x, int y) { return QPoint(x + PictureBox::BorderWidth, y + PictureBox::BorderWidth); };

    if (moment == "pause" || moment == "drag-in-pause") {
        form->lesson.autoPlay().pauseStarted = [&](int pass, int32_t) {
            if (pass != 3)
                return;
            QTimer::singleShot(20, form.get(), [&] {
                if (moment == "drag-in-pause") {
                    QTest::mousePress(board, Qt::LeftButton, {}, boardPoint(470, 60));
                    QTest::mouseMove(board, boardPoint(400, 200));
                }
                requestEnd();
            });
        };
        QTimer::singleShot(0, form.get(), [&] { QTest::mouseClick(form->jidou, Qt::LeftButton); });
    } else if (moment == "drag") {
        QTimer::singleShot(0, form.get(), [&] {
            QTest::mousePress(board, Qt::LeftButton, {}, boardPoint(470, 60));
            QTest::mouseMove(board, boardPoint(420, 150));
            requestEnd();
            // The release arrives after the request, on a window that is going away.
            QTest::mouseRelease(board, Qt::LeftButton, {}, boardPoint(320, 250));
        });
    } else if (moment == "typing") {
        QTimer::singleShot(0, form.get(), [&] {
            form->Text1->setFocus();
            QTest::keyClicks(form->Text1, QStringLiteral("4."));
            requestEnd();
        });
    } else {
        return 2;
    }

    const int status = app.exec();
    const double pxAtExit = LessonTest::pointPX(form->lesson);
    const qint64 ms = sinceRequest.isValid() ? sinceRequest.elapsed() : -1;
    form.reset();
    std::printf("requested at PointPX %g, at exit %g, ended after %lld ms\n", pxAtRequest, pxAtExit, (long long)ms);
    std::printf("steps after the request: %d\n", pxAtRequest < 0 ? -1 : int((pxAtRequest - pxAtExit) / 10));
    return status;
}
