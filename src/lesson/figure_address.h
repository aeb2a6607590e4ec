#pragma once

#include "area/area_function.h"

#include <QString>
#include <QStringView>
#include <optional>

// A figure written into a page address, so that a link or a QR code opens the lesson on the
// same figure: the fragment "figure=31203" holds one digit per column from the left, the
// piece's kind, that is its height in cm divided by 2 (0 for an empty column). Followed by
// "&practice", it opens the figure for a pupil to practise.
namespace FigureAddress {

// The figure a fragment holds (a leading '#' allowed), or nothing when the fragment is
// anything else: another length, other characters or digits, percent-encoded text, two
// figures, anything after the figure but "&practice". Nothing is ever half read.
std::optional<AreaFunction::Columns> parse(QStringView fragment);
// Whether a fragment holds a figure for practice.
bool forPractice(QStringView fragment);

// The fragment for a figure, without the '#'; empty for an empty envelope, unless it is for
// practice.
QString fragment(const AreaFunction::Columns &columns, bool practice = false);

// The address with the figure's fragment in place of any it had.
QString withFigure(const QString &address, const AreaFunction::Columns &columns, bool practice = false);

} // namespace FigureAddress
