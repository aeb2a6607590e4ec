#include "figure/board.h"

namespace Board {

std::optional<int> columnAt(QPointF at)
{
    if (!inBand(at.y()))
        return std::nullopt;
    for (int i = 0; i < AreaFunction::ColumnCount; ++i) {
        if (columnLeft(i) < at.x() && at.x() < columnLeft(i + 1))
            return i;
    }
    return std::nullopt;
}

PieceKind trayKindAt(QPointF at)
{
    if (!(at.y() < TrayBottom))
        return PieceKind::Empty;
    for (PieceKind kind : PieceKinds) {
        if (trayLeft(kind) < at.x() && at.x() < trayLeft(kind) + ColumnWidth)
            return kind;
    }
    return PieceKind::Empty;
}

} // namespace Board
