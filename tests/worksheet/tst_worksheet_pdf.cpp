#include "support/lesson_test.h"
#include "worksheet/lesson_export.h"
#include "worksheet/poppler.h"

#include <QPainter>
#include <QTemporaryDir>

#ifdef LESSON_PRINT_SUPPORT
#include <QPrinter>
#endif

using namespace LessonTest;
using Sheet = WorksheetPage::Sheet;

Q_DECLARE_METATYPE(WorksheetPage::Sheet)

namespace {

const QString Title = QStringLiteral("関数の利用");
const QString Question = QStringLiteral("点Ｐが動いた距離をxcm、封筒から出た部分の面積をycm²とします。");

QString sheetName(Sheet sheet)
{
    return sheet == Sheet::Answer ? QStringLiteral("answer") : QStringLiteral("problem");
}

// The page's size in points, as pdfinfo reports it.
QSizeF pageSize(const QString &info)
{
    static const QRegularExpression size(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    const QRegularExpressionMatch m = size.match(info);
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

int pageCount(const QString &info)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch m = pages.match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The darkest grey within a square of the given radius around a point of the page.
int darkestAround(const QImage &page, QPointF points, int dpi, int radius)
{
    const QPoint centre = (points * dpi / 72.0).toPoint();
    int darkest = 255;
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y) {
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x) {
            if (page.rect().contains(x, y))
                darkest = qMin(darkest, qGray(page.pixel(x, y)));
        }
    }
    return darkest;
}

QImage drawnOnImage(const Composition &columns, Sheet sheet, int dpi)
{
    const QSizeF paper = WorksheetPage::paperSize() * dpi / 72.0;
    QImage image(paper.toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::red);
    QPainter painter(&image);
    WorksheetPage(columns, sheet).draw(painter, QRectF(QPointF(), paper));
    return image;
}

void addCompositions()
{
    QTest::addColumn<Composition>("columns");
    QTest::addColumn<Sheet>("sheet");
    const Composition compositions[] = { { 3, 1, 2, 0, 3 }, { 1, 2, 3, 3, 2 }, { 0, 3, 0, 1, 0 } };
    for (const Composition &columns : compositions) {
        for (Sheet sheet : { Sheet::Problem, Sheet::Answer })
            QTest::addRow("%s %s", qPrintable(compositionText(columns)), qPrintable(sheetName(sheet))) << columns << sheet;
    }
}

} // namespace

class TestWorksheetPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString writePdf(const Composition &columns, Sheet sheet)
    {
        const QString path = dir.filePath(QStringLiteral("%1-%2.pdf").arg(compositionText(columns), sheetName(sheet)));
        if (!LessonExport::saveWorksheetPdf(columns, sheet, path))
            return {};
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString missing = Poppler::missingTools();
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
    }

    void onePageOfA4WithSearchableText_data()
    {
        QTest::addColumn<Sheet>("sheet");
        QTest::newRow("problem") << Sheet::Problem;
        QTest::newRow("answer") << Sheet::Answer;
    }
    void onePageOfA4WithSearchableText()
    {
        QFETCH(Sheet, sheet);
        const QString pdf = writePdf({ 3, 1, 2, 0, 3 }, sheet);
        QVERIFY(!pdf.isEmpty());
        const QString info = Poppler::info(pdf);
        QCOMPARE(pageCount(info), 1);
        const QSizeF size = pageSize(info);
        QVERIFY2(qAbs(size.width() - 595.28) < 0.5 && qAbs(size.height() - 841.89) < 0.5, qPrintable(info));

        const QString text = Poppler::compactText(pdf);
        QVERIFY2(text.contains(Title), qPrintable(text));
        QVERIFY2(text.contains(Question), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("名前")));
        QCOMPARE(text.contains(QStringLiteral("解答")), sheet == Sheet::Answer);

        // Text drawn as text, its Japanese font carried in the file.
        const auto fonts = Poppler::fonts(pdf);
        QVERIFY(!fonts.empty());
        for (const auto &font : fonts)
            QVERIFY2(font.embedded, qPrintable(font.name));
    }

    void tableHoldsXAndOnTheAnswerY_data() { addCompositions(); }
    void tableHoldsXAndOnTheAnswerY()
    {
        QFETCH(Composition, columns);
        QFETCH(Sheet, sheet);
        const QString pdf = writePdf(columns, sheet);
        QVERIFY(!pdf.isEmpty());
        const auto words = Poppler::words(pdf);
        QVERIFY(!words.empty());
        for (int x = 0; x <= 10; ++x) {
            QCOMPARE(Poppler::wordsIn(words, WorksheetPage::tableCell(0, x)), QStringList { QString::number(x) });
            const QStringList y = Poppler::wordsIn(words, WorksheetPage::tableCell(1, x));
            if (sheet == Sheet::Problem)
                QVERIFY2(y.isEmpty(), qPrintable(y.join(QLatin1Char(' '))));
            else
                QCOMPARE(y, QStringList { QString::number(trueArea(columns, x)) });
        }
    }

    void expressionsOnlyOnTheAnswer_data() { addCompositions(); }
    void expressionsOnlyOnTheAnswer()
    {
        QFETCH(Composition, columns);
        QFETCH(Sheet, sheet);
        const QString text = Poppler::compactText(writePdf(columns, sheet));
        QVERIFY(text.contains(Title));
        const auto domains = AreaFunction::domains(columns);
        QVERIFY(!domains.empty());
        for (const AreaFunction::Domain &domain : domains) {
            QString expression = AreaFunction::domainText(domain);
            expression.remove(QLatin1Char(' '));
            QCOMPARE(text.contains(expression), sheet == Sheet::Answer);
        }
        QCOMPARE(text.contains(QStringLiteral("のとき")), sheet == Sheet::Answer);
    }

    // Where the curve must pass: its vertices and the middles of its steps. The problem
    // sheet has nothing dark there but the axes, which these points avoid.
    void graphCurveOnlyOnTheAnswer_data()
    {
        QTest::addColumn<Composition>("columns");
        QTest::addColumn<Sheet>("sheet");
        QTest::addColumn<bool>("throughPoppler");
        const Composition compositions[] = { { 3, 1, 2, 0, 3 }, { 1, 2, 3, 3, 2 }, { 0, 3, 0, 1, 0 } };
        for (const Composition &columns : compositions) {
            for (Sheet sheet : { Sheet::Problem, Sheet::Answer }) {
                for (bool poppler : { true, false })
                    QTest::addRow("%s %s %s", qPrintable(compositionText(columns)), qPrintable(sheetName(sheet)),
                                  poppler ? "pdftoppm" : "image")
                        << columns << sheet << poppler;
            }
        }
    }
    void graphCurveOnlyOnTheAnswer()
    {
        QFETCH(Composition, columns);
        QFETCH(Sheet, sheet);
        QFETCH(bool, throughPoppler);
        const int dpi = 100;
        QImage page;
        if (throughPoppler) {
            page = Poppler::render(writePdf(columns, sheet), dpi, dir);
        } else {
            page = drawnOnImage(columns, sheet, dpi);
        }
        // The whole paper, give or take the rounding of its last pixel.
        const QSizeF expected = WorksheetPage::paperSize() * dpi / 72.0;
        QVERIFY(qAbs(page.width() - expected.width()) < 1 && qAbs(page.height() - expected.height()) < 1);

        int checked = 0;
        for (int twice = 0; twice <= 20; ++twice) {
            const double x = twice / 2.0, y = trueArea(columns, x);
            if (x == 0 || y == 0)
                continue;
            const int darkest = darkestAround(page, WorksheetPage::graphPoint(x, y), dpi, 1);
            const QString where = QStringLiteral("x = %1, y = %2: grey %3").arg(x).arg(y).arg(darkest);
            if (sheet == Sheet::Answer)
                QVERIFY2(darkest < 80, qPrintable(where));
            else
                QVERIFY2(darkest > 120, qPrintable(where));
            ++checked;
        }
        QVERIFY(checked >= 10);
        // The graph paper itself is there on both: the axis below x = 5.
        QVERIFY(darkestAround(page, WorksheetPage::graphPoint(5, 0), dpi, 1) < 80);
        // Paper, not the image's own colour, everywhere.
        QCOMPARE(page.pixelColor(2, 2), QColor(Qt::white));
    }

#ifdef LESSON_PRINT_SUPPORT
    // The printer gets the same page, fitted to its paper.
    void printerGetsTheSamePage_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<QSizeF>("points");
        QTest::newRow("A4") << int(QPageSize::A4) << QSizeF(595.28, 841.89);
        QTest::newRow("Letter") << int(QPageSize::Letter) << QSizeF(612, 792);
    }
    void printerGetsTheSamePage()
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

        const QString info = Poppler::info(path);
        QCOMPARE(pageCount(info), 1);
        const QSizeF size = pageSize(info);
        QVERIFY2(qAbs(size.width() - points.width()) < 0.5 && qAbs(size.height() - points.height()) < 0.5, qPrintable(info));
        const QString text = Poppler::compactText(path);
        QVERIFY(text.contains(Title));
        QVERIFY(text.contains(Question));
        // The whole page is on the paper: the table's last y and the graph's lowest label.
        const auto words = Poppler::words(path);
        QVERIFY(std::any_of(words.begin(), words.end(), [&](const Poppler::Word &w) {
            return w.text == QString::number(trueArea(columns, 10)) && w.box.bottom() < size.height();
        }));
        for (const auto &w : words)
            QVERIFY(QRectF(QPointF(), size).contains(w.box));
    }
#endif
};

LESSON_TEST_MAIN(TestWorksheetPdf)
#include "tst_worksheet_pdf.moc"
