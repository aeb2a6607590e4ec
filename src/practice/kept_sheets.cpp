#include "practice/kept_sheets.h"

#include "practice/practice_sheet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

namespace {

QString compact(const QJsonObject &sheet)
{
    return QString::fromUtf8(QJsonDocument(sheet).toJson(QJsonDocument::Compact));
}

} // namespace

KeptSheets::KeptSheets(const QString &kept)
{
    const QJsonDocument document = QJsonDocument::fromJson(kept.toUtf8());
    const QJsonArray sheets = document.isObject() ? QJsonArray { document.object() } : document.array();
    for (const QJsonValue &value : sheets) {
        PracticeSheet probe;
        if (!value.isObject() || !probe.restore(compact(value.toObject())))
            continue;
        const bool known = std::any_of(m_sheets.begin(), m_sheets.end(), [&](const auto &s) { return s.first == probe.figure(); });
        if (!known && int(m_sheets.size()) < Most)
            m_sheets.emplace_back(probe.figure(), value.toObject());
    }
}

QString KeptSheets::latest() const
{
    return m_sheets.empty() ? QString() : compact(m_sheets.front().second);
}

QString KeptSheets::of(const AreaFunction::Columns &figure) const
{
    const auto found = std::find_if(m_sheets.begin(), m_sheets.end(), [&](const auto &s) { return s.first == figure; });
    return found == m_sheets.end() ? QString() : compact(found->second);
}

void KeptSheets::put(const PracticeSheet &sheet)
{
    std::erase_if(m_sheets, [&](const auto &s) { return s.first == sheet.figure(); });
    m_sheets.emplace(m_sheets.begin(), sheet.figure(), QJsonDocument::fromJson(sheet.saved().toUtf8()).object());
    if (int(m_sheets.size()) > Most)
        m_sheets.resize(Most);
}

QString KeptSheets::saved() const
{
    QJsonArray sheets;
    for (const auto &[figure, sheet] : m_sheets)
        sheets.append(sheet);
    return QString::fromUtf8(QJsonDocument(sheets).toJson(QJsonDocument::Compact));
}
