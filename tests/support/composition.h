#pragma once

#include "area/area_function.h"

#include <array>

namespace LessonTest {

// A figure as the tests write it: each column's kind as its number (its height in cm
// divided by 2), 0 for an empty one. It converts to the lesson's own columns and compares
// with them.
struct Composition : std::array<int, AreaFunction::ColumnCount>
{
    operator AreaFunction::Columns() const
    {
        AreaFunction::Columns columns {};
        for (size_t i = 0; i < size(); ++i)
            columns[i] = PieceKind((*this)[i]);
        return columns;
    }
    static Composition of(const AreaFunction::Columns &columns)
    {
        Composition figure {};
        for (size_t i = 0; i < columns.size(); ++i)
            figure[i] = int(columns[i]);
        return figure;
    }
};

inline bool operator==(const AreaFunction::Columns &columns, const Composition &figure)
{
    return Composition::of(columns) == static_cast<const std::array<int, AreaFunction::ColumnCount> &>(figure);
}

// A piece kind as its number, as the tests write kinds.
inline double kindNumber(PieceKind kind)
{
    return int(kind);
}

} // namespace LessonTest
