#include "support/lesson_test.h"
#include "worksheet/lesson_export.h"
#include "worksheet/poppler.h"
#include "worksheet/worksheet_checks.h"

#include <QPainter>
#include <QTemporaryDir>

#ifdef LESSON_PRINT_SUPPORT
#include <QPrinter>
#endif

using namespace LessonTest;
using Sheet = WorksheetPage::Sheet;

namespace {


// The darkest grey within a pixel of a point of the page.
int darkestAround(const QImage &page, QPointF points, int dpi)
{
    const QPoint centre = (points * dpi / 72.0).toPoint();
    int darkest = 255;
    for (int y = centre.y() - 1; y <= centre.y() + 1; ++y) {
        for (int x = centre.x() - 1; x <= centre.x() + 1; ++x)
            darkest = qMin(darkest, qGray(page.pixel(x, y)));
    }
    return darkest;
}

void addCompositions(bool bothDevices = false)
{
    QTest::addColumn<Composition>("columns");
    QTest::addColumn<Sheet>("sheet");
    QTest::addColumn<bool>("throughPdf");
    for (const Composition &columns : { Composition { 3, 1, 2, 0, 3 }, Composition { 1, 2, 3, 3, 2 }, Composition { 0, 3, 0, 1, 0 } }) {
        for (Sheet sheet : { Sheet::Problem, Sheet::Answer }) {
            for (bool pdf : { true, false }) {
                if (pdf || bothDevices)
                    QTest::addRow("%s %s%s", qPrintable(compositionText(columns)), sheet == Sheet::Answer ? "answer" : "problem",
                                  pdf ? "" : " on an image") << columns << sheet << pdf;
            }
        }
    }
}

} // namespace

class TestWorksheetPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString writePdf(const Composition &columns, Sheet sheet)
    {
        const QString path = dir.filePath(compositionText(columns) + (sheet == Sheet::Answer ? "-answer.pdf" : "-problem.pdf"));
        return LessonExport::saveWorksheetPdf(columns, sheet, path) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        if (const QString missing = Poppler::missingTools(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    void onePageOfA4WithItsTextAsText_data() { addCompositions(); }
    void onePageOfA4WithItsTextAsText()
    {
        QFETCH(Composition, columns);
        QFETCH(Sheet, sheet);
        const QString pdf = writePdf(columns, sheet);
        QCOMPARE(WorksheetChecks::faults(pdf, columns, sheet), QStringList());
    }

    // Where the answer's line must pass, at its vertices and the middles of its steps; on
    // the problem sheet nothing dark is there. Points on the axes are left out.
    void graphLineOnlyOnTheAnswer_data() { addCompositions(true); }
    void graphLineOnlyOnTheAnswer()
    {
        QFETCH(Composition, columns);
        QFETCH(Sheet, sheet);
        QFETCH(bool, throughPdf);
        const int dpi = 100;
        const QSizeF paper = WorksheetPage::paperSize() * dpi / 72.0;
        QImage page;
        if (throughPdf) {
            page = Poppler::render(writePdf(columns, sheet), dpi);
        } else {
            page = QImage(paper.toSize(), QImage::Format_RGB32);
            page.fill(Qt::red);
            page.setDotsPerMeterX(qRound(dpi / 0.0254));
            page.setDotsPerMeterY(qRound(dpi / 0.0254));
            QPainter painter(&page);
            WorksheetPage(columns, sheet).draw(painter, QRectF(QPointF(), paper));
        }
        QVERIFY(qAbs(page.width() - paper.width()) < 1 && qAbs(page.height() - paper.height()) < 1);
        int checked = 0;
        for (double x = 0.5; x <= 10; x += 0.5) {
            const double y = trueArea(columns, x);
            if (y == 0)
                continue;
            const int darkest = darkestAround(page, WorksheetPage::graphPoint(x, y), dpi);
            QVERIFY2(sheet == Sheet::Answer ? darkest < 80 : darkest > 120, qPrintable(QStringLiteral("x = %1: grey %2").arg(x).arg(darkest)));
            ++checked;
        }
        QVERIFY(checked >= 10);
        QVERIFY(darkestAround(page, WorksheetPage::graphPoint(5, 0), dpi) < 80); // the x axis on both
        QCOMPARE(page.pixelColor(2, 2), QColor(Qt::white));
    }

#ifdef LESSON_PRINT_SUPPORT
    void printerGetsThePageFittedToItsPaper_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<QSizeF>("points");
        QTest::newRow("A4") << int(QPageSize::A4) << QSizeF(595.28, 841.89);
        QTest::newRow("Letter") << int(QPageSize::Letter) << QSizeF(612, 792);
    }
    void printerGetsThePageFittedToItsPaper()
    {
        QFETCH(int, paper);
        QFETCH(QSizeF, points);
        const QString path = dir.filePath(QStringLiteral("printed-%1.pdf").arg(paper));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        LessonExport::prepareForWorksheet(printer, Sheet::Answer);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
        printer.setPageSize(QPageSize(QPageSize::PageSizeId(paper)));
        const Composition columns { 2, 2, 1, 3, 0 };
        QVERIFY(LessonExport::printWorksheet(printer, columns, Sheet::Answer));

        const auto [pages, size] = WorksheetChecks::pagesAndSize(path);
        QCOMPARE(pages, 1);
        QVERIFY(qAbs(size.width() - points.width()) < 0.5 && qAbs(size.height() - points.height()) < 0.5);
        const QString text = Poppler::compactText(path);
        QVERIFY(text.contains(WorksheetChecks::Title) && text.contains(WorksheetChecks::Question));
        // Scaled to fit and centred: the table's last y is where that puts it.
        const QSizeF a4 = WorksheetPage::paperSize();
        const double scale = std::min(size.width() / a4.width(), size.height() / a4.height());
        const QPointF offset((size.width() - a4.width() * scale) / 2, (size.height() - a4.height() * scale) / 2);
        const QRectF cell = WorksheetPage::tableCell(1, 10);
        QCOMPARE(Poppler::wordsIn(path, QRectF(offset + cell.topLeft() * scale, cell.size() * scale)),
                 QStringList { QString::number(trueArea(columns, 10)) });
    }
#endif
};

LESSON_TEST_MAIN(TestWorksheetPdf)
#include "tst_worksheet_pdf.moc"
