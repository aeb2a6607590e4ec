#include "figure/blackboard.h"

#include "surface/control_builders.h"
#include "surface/controls.h"
#include "surface/fonts.h"
#include "surface/picture_box.h"
#include "surface/placement.h"
#include "surface/twips.h"

#include <QCheckBox>
#include <QLineEdit>

Blackboard::Blackboard(PictureBox &board, Placement &placement, Lesson &lesson)
    : board(board)
    , m_figure(board.drawing(), lesson)
    , m_markers(lesson, Label4, Line5, Shape1, Text1)
    , m_outlines(Line6, Line7, Line9, Label9)
    , m_dragger(lesson, m_outlines)
{
    // White lines of 2 px and a bold face until the first piece comes.
    board.drawing().setForeColor(QColor(255, 255, 255));
    board.drawing().setFont(Fonts::layoutFont(14.25, true));
    board.drawing().setDrawWidth(2);
    build(placement, lesson);
}

void Blackboard::follow(Lesson::Change change)
{
    m_figure.follow(change);
    m_markers.follow(change);
    if (change == Lesson::Change::InitialScreen)
        m_outlines.sendHome();
}

void Blackboard::build(Placement &placement, const Lesson &lesson)
{
    const QColor white(255, 255, 255), green(0, 128, 0);
    // Light controls are painted in the order they are made: the tray band at the back.
    Line1 = Make::line(&board, QStringLiteral("Line1"), QColor(0, 64, 0), 150, 0, 840, 9000, 840);
    Label1 = Make::label(&board, QStringLiteral("Label1"), QStringLiteral("点Ｐが動いた距離χ"), Fonts::layoutFont(18), white, green, 360, 5400, 3090, 360);
    Line4[1] = Make::line(&board, Make::indexed("Line4", 1), QColor(255, 0, 0), 3, 360, 5880, 3480, 5880);
    Label2 = Make::label(&board, QStringLiteral("Label2"), QStringLiteral("cm"), Fonts::layoutFont(15.75, true), white, green, 5040, 5520, 420, 315);

    const char *sizeCaptions[6] = { "2cm", "2cm", "2cm", "4cm", "2cm", "6cm" };
    const QPoint sizePlaces[6] = { { 5400, 1680 }, { 5280, 1440 }, { 6150, 1680 }, { 6039, 1080 }, { 6896, 1680 }, { 6793, 720 } };
    for (int i = 0; i < 6; ++i)
        Label9[i] = Make::label(&board, Make::indexed("Label9", i), QString::fromLatin1(sizeCaptions[i]), Fonts::defaultFont(), white, QColor(),
                              sizePlaces[i].x(), sizePlaces[i].y(), 315, 180);

    const struct { int index; const char *caption; double points; QColor color; } letters[] = {
        { 0, "A", 24, white }, { 1, "B", 24, white }, { 2, "C", 24, white }, { 3, "Ｄ", 24, white },
        { 4, "１０cm", 18, white }, { 5, "６cm", 18, white }, { 6, "χcm", 18, QColor(255, 128, 128) },
        { 8, "Ｐ", 24, white },
    };
    for (const auto &letter : letters) {
        Label4[letter.index] = board.add<LabelControl>(QString::fromUtf8(letter.caption), Fonts::layoutFont(letter.points), letter.color);
        Label4[letter.index]->setName(Make::indexed("Label4", letter.index));
    }

    for (int i = 0; i < 8; ++i) {
        Line5[i] = i == 4 ? board.add<LineControl>(QColor(255, 0, 0), 5) : board.add<LineControl>(white, 3);
        Line5[i]->setName(Make::indexed("Line5", i));
    }
    const std::pair<std::array<LineControl *, 4> *, const char *> outlines[] = { { &Line6, "Line6" }, { &Line7, "Line7" }, { &Line9, "Line9" } };
    for (const auto &[outline, name] : outlines) {
        for (int i = 0; i < 4; ++i) {
            (*outline)[i] = board.add<LineControl>(QColor(255, 255, 0), 2);
            (*outline)[i]->setName(Make::indexed(name, i));
        }
    }
    // Point P's dot stands above the envelope's lines, so it shows on B.
    Shape1 = board.add<ShapeControl>(QColor(255, 0, 0), QSizeF(Twips::toPixels(150), Twips::toPixels(120)));
    Shape1->setName(QStringLiteral("Shape1"));

    Check4 = Make::checkBox(placement, &board, QStringLiteral("Check4"), QStringLiteral("Check4"), QColor(128, 128, 0), Qt::black,
                            Fonts::defaultFont());
    placement.place(Check4, Make::placeIn(&board, 3600, 5520, 255, 255));
    Check4->setAccessibleName(QStringLiteral("点Ｐが動いた距離χ"));
    Check4->setChecked(lesson.isOn(Lesson::Switch::Marker));

    Text1 = new QLineEdit(QStringLiteral("Text1"), &board);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAlignment(Qt::AlignCenter);
    // Painting its own background (the board's colour at its corners), a change of the
    // distance does not make the whole board paint again behind it.
    QPalette textPalette = Text1->palette();
    textPalette.setColor(QPalette::Window, green);
    Text1->setPalette(textPalette);
    Text1->setAutoFillBackground(true);
    placement.setFont(Text1, Fonts::layoutFont(18));
    placement.place(Text1, Make::placeIn(&board, 3960, 5400, 975, 495));
    Text1->setAccessibleName(QStringLiteral("点Ｐが動いた距離χ"));
}

