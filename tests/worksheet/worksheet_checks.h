#pragma once

#include "area/area_function.h"
#include "support/lesson_test.h"
#include "worksheet/poppler.h"
#include "worksheet/worksheet_page.h"

#include <QRegularExpression>
#include <QSizeF>
#include <QStringList>
#include <array>
#include <utility>

// What a worksheet PDF must hold, read back with the poppler tools: the faults found, none
// for a good sheet. The desktop's PDFs and the browser's downloads both go through here.
namespace WorksheetChecks {

const QString Title = QStringLiteral("関数の利用");
const QString Question = QStringLiteral("点Ｐが動いた距離をxcm、封筒から出た部分の面積をycm²とします。");

// pdfinfo's page count and page size in points.
inline std::pair<int, QSizeF> pagesAndSize(const QString &pdf)
{
    const QString info = Poppler::run(QStringLiteral("pdfinfo"), { pdf });
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    return { pages.captured(1).toInt(), QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble()) };
}

inline QStringList faults(const QString &pdf, const LessonTest::Composition &columns, WorksheetPage::Sheet sheet)
{
    QStringList found;
    const bool answer = sheet == WorksheetPage::Sheet::Answer;
    const auto [pages, size] = pagesAndSize(pdf);
    if (pages != 1)
        found << QStringLiteral("pages: %1").arg(pages);
    if (qAbs(size.width() - 595.28) >= 0.5 || qAbs(size.height() - 841.89) >= 0.5)
        found << QStringLiteral("not A4: %1 x %2").arg(size.width()).arg(size.height());
    const QString text = Poppler::compactText(pdf);
    for (const QString &wanted : { Title, Question, QStringLiteral("名前") }) {
        if (!text.contains(wanted))
            found << QStringLiteral("no text %1").arg(wanted);
    }
    const QStringList embedded = Poppler::fontsEmbedded(pdf);
    if (embedded.isEmpty() || embedded.count(QStringLiteral("yes")) != embedded.size())
        found << QStringLiteral("fonts embedded: %1").arg(embedded.join(QLatin1Char(',')));

    // The table: x from 0 to 10, and y below it only on the answer sheet.
    for (int x = 0; x <= 10; ++x) {
        const QStringList xs = Poppler::wordsIn(pdf, WorksheetPage::tableCell(0, x));
        if (xs != QStringList { QString::number(x) })
            found << QStringLiteral("x cell %1 holds %2").arg(x).arg(xs.join(QLatin1Char(' ')));
        const QStringList ys = Poppler::wordsIn(pdf, WorksheetPage::tableCell(1, x));
        const QStringList wanted = answer ? QStringList { QString::number(LessonTest::trueArea(columns, x)) } : QStringList();
        if (ys != wanted)
            found << QStringLiteral("y cell %1 holds '%2', not '%3'").arg(x).arg(ys.join(QLatin1Char(' ')), wanted.join(QLatin1Char(' ')));
    }
    // The expression of every domain only on the answer sheet.
    if (text.contains(QStringLiteral("解答")) != answer || text.contains(QStringLiteral("のとき")) != answer)
        found << QStringLiteral("answers on the wrong sheet");
    if (answer) {
        for (const AreaFunction::Domain &domain : AreaFunction::domains(columns)) {
            if (!text.contains(AreaFunction::domainText(domain).remove(QLatin1Char(' '))))
                found << QStringLiteral("no expression %1").arg(AreaFunction::domainText(domain));
        }
    }
    return found;
}

} // namespace WorksheetChecks
