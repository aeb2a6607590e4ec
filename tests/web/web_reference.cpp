// The desktop program's pictures of a lesson, for the browser tests to compare theirs
// with: the window at 100 % after a figure has been composed by dragging pieces from the
// tray and pulled out some steps, and the blackboard's drawing layer alone, placed where
// the window shows it; or checks a worksheet the browser gave as a download.
//
//   web_reference <window.png> <layer.png> <kinds of columns 0..4, e.g. 3,1,2,0,3> <steps out> [grid] [opened]
//
// "opened" composes the figure as a page's address does, rather than by dragging.
//   web_reference check-pdf <file.pdf> <kinds of columns> problem|answer
//   web_reference controls
// "controls" prints what a screen reader finds of the window at the start, as the desktop's
// Qt gives it: each button, check box and text box shown, with its name and place.
#include "app/form1.h"
#include "support/lesson_test.h"
#include "surface/fonts.h"
#include "worksheet/worksheet_checks.h"

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <cstdio>

using LessonTest::TestForm;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Fonts::install();
    if (argc == 5 && QByteArray(argv[1]) == "check-pdf") {
        LessonTest::Composition columns {};
        const QStringList kinds = QString::fromLatin1(argv[3]).split(QLatin1Char(','));
        for (int i = 0; i < 5 && i < kinds.size(); ++i)
            columns[i] = kinds[i].toDouble();
        const auto sheet = QByteArray(argv[4]) == "answer" ? WorksheetPage::Sheet::Answer : WorksheetPage::Sheet::Problem;
        const QStringList faults = WorksheetChecks::faults(QString::fromLocal8Bit(argv[2]), columns, sheet);
        for (const QString &fault : faults)
            std::fprintf(stderr, "%s\n", qPrintable(fault));
        return faults.isEmpty() ? 0 : 1;
    }
    if (argc == 2 && QByteArray(argv[1]) == "controls") {
        TestForm form;
        form.show();
        QCoreApplication::processEvents();
        const QHash<QAccessible::Role, const char *> roles {
            {QAccessible::Button, "button"}, {QAccessible::CheckBox, "checkbox"}, {QAccessible::EditableText, "textbox"}};
        for (QWidget *widget : form.findChildren<QWidget *>()) {
            QAccessibleInterface *control = QAccessible::queryAccessibleInterface(widget);
            if (!widget->isVisible() || !control || !roles.contains(control->role()))
                continue;
            const QRect place(widget->mapTo(&form, QPoint(0, 0)), widget->size());
            std::printf("%s\t%s\t%d\t%d\t%d\t%d\n", roles[control->role()], qPrintable(control->text(QAccessible::Name)),
                        place.x(), place.y(), place.width(), place.height());
        }
        return 0;
    }
    if (argc < 5)
        return 2;
    const QStringList kinds = QString::fromLatin1(argv[3]).split(QLatin1Char(','));
    const int steps = QByteArray(argv[4]).toInt();
    QByteArrayList flags;
    for (int i = 5; i < argc; ++i)
        flags << QByteArray(argv[i]);
    const bool grid = flags.contains("grid");

    TestForm form;
    form.show();
    if (grid)
        form.Check1->click();
    auto board = [](double x, double y) { return QPoint(int(x) + PictureBox::BorderWidth, int(y) + PictureBox::BorderWidth); };
    if (flags.contains("opened")) {
        Lesson::Columns columns {};
        for (int column = 0; column < kinds.size() && column < 5; ++column)
            columns[column] = PieceKind(kinds[column].toInt());
        form.lesson.compose(columns);
    }
    for (int column = 0; column < kinds.size() && column < 5 && !flags.contains("opened"); ++column) {
        const int kind = kinds[column].toInt();
        if (kind < 1 || kind > 3)
            continue;
        const QPoint from = board(300 + 50 * kind + 20, 100), to = board(320 + 40 * column, 250);
        QTest::mousePress(form.kokuban, Qt::LeftButton, {}, from);
        QTest::mouseMove(form.kokuban, to);
        QTest::mouseRelease(form.kokuban, Qt::LeftButton, {}, to);
    }
    for (int i = 0; i < steps; ++i)
        form.susumu->click();
    QCoreApplication::processEvents();

    const QImage window = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Elsewhere than the board: a colour no drawing uses.
    QImage layer(window.size(), QImage::Format_RGB32);
    layer.fill(QColor(1, 2, 3));
    QPainter painter(&layer);
    painter.drawImage(form.kokuban->geometry().topLeft() + form.kokuban->contentOffset(), form.kokuban->drawing().image());
    painter.end();
    return window.save(QString::fromLocal8Bit(argv[1])) && layer.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
