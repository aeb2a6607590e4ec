#include "figure/piece_dragger.h"

#include "figure/board.h"
#include "figure/piece_outlines.h"
#include "lesson/lesson.h"

void PieceDragger::press(QPointF at)
{
    // Above the tray's bottom only the tray is reached, below it only the columns.
    if (at.y() < Board::TrayBottom)
        lesson.pickUp(Board::trayKindAt(at));
    else if (const auto column = Board::columnAt(at))
        lesson.liftFrom(*column);
}

void PieceDragger::move(QPointF at)
{
    if (lesson.isDragging())
        outlines.follow(lesson.dragKind(), at.x(), at.y());
}

void PieceDragger::release(QPointF at)
{
    if (!lesson.isDragging())
        return;
    outlines.sendHome();
    if (Board::aboveEnvelope(at.y()))
        lesson.dropAboveEnvelope();
    else if (Board::inBand(at.y()))
        lesson.dropInEnvelope(Board::columnAt(at));
    else
        lesson.dropElsewhere();
}
