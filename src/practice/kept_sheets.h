#pragma once

#include "area/area_function.h"

#include <QJsonObject>
#include <QString>
#include <utility>
#include <vector>

class PracticeSheet;

// The sheets a device keeps, one for each figure practised, the last practised first: a
// pupil who practises another figure loses nothing of the one before, and finds it again
// when it is opened once more. Kept as one line of text (a JSON array of sheets).
class KeptSheets
{
public:
    // The most kept: beyond them, the one practised longest ago is let go.
    static constexpr int Most = 12;

    // Reads what was kept: a list of sheets, or the one sheet a device kept before it kept
    // more. What is not a sheet of a figure is left out.
    explicit KeptSheets(const QString &kept = QString());

    // The sheet last practised, or that of a figure, as a sheet reads it back; empty when
    // there is none.
    QString latest() const;
    QString of(const AreaFunction::Columns &figure) const;

    // Keeps a sheet first, in place of its figure's own.
    void put(const PracticeSheet &sheet);

    QString saved() const;

private:
    std::vector<std::pair<AreaFunction::Columns, QJsonObject>> m_sheets;
};
