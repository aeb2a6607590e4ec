#include "worksheet/lesson_export.h"

#include "practice/practice_sheet.h"
#include "surface/control_host.h"
#include "worksheet/result_page.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QWidget>

#ifdef LESSON_PRINT_SUPPORT
#include <QPrinter>
#endif

namespace LessonExport {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

namespace {

QRect orWhole(QWidget *widget, QRect area)
{
    return area.isEmpty() ? widget->rect() : area;
}

} // namespace

QImage snapshot(QWidget *widget, QRect area)
{
    return widget->grab(orWhole(widget, area)).toImage();
}

QImage picture(QWidget *widget, qreal ratio, QRect area, QSize layoutSize)
{
    area = orWhole(widget, area);
    const auto *host = dynamic_cast<const ControlHost *>(widget);
    const qreal zoom = host ? host->zoom() : 1;
    if (layoutSize.isEmpty())
        layoutSize = (QSizeF(area.size()) / zoom).toSize();
    QImage image((QSizeF(layoutSize) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio / zoom);
    image.fill(Qt::white);
    // Picture boxes see the higher ratio and draw their kept calls again at it.
    widget->render(&image, QPoint(), QRegion(area));
    return image;
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void copyToClipboard(QWidget *widget, QRect area)
{
    QGuiApplication::clipboard()->setImage(snapshot(widget, area));
}

bool savePicture(QWidget *widget, const QString &path, QRect area)
{
    return writeFile(path, pngBytes(picture(widget, 2, area)));
}

QString worksheetTitle(WorksheetPage::Sheet sheet)
{
    return sheet == WorksheetPage::Sheet::Answer ? QStringLiteral("関数の利用-解答") : QStringLiteral("関数の利用-問題");
}

namespace {

// One A4 page, drawn into the whole paper, as a PDF: lines as lines, text as text with its
// fonts embedded.
template<typename Page>
QByteArray onePagePdf(const QString &title, const Page &page)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF());
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("function-lesson"));
        QPainter painter(&writer);
        page.draw(painter, QRectF(0, 0, writer.width(), writer.height()));
    }
    return bytes;
}

// Sharp when printed on A4 and read on a tablet, and a few hundred kilobytes to send.
constexpr int ResultDpi = 150;

// A typed part of a file's name: none of the characters Windows, macOS or Linux refuse in
// one, blanks as one "_", no dot at either end (a leading one hides the file, Windows drops a
// trailing one), at most `longest` characters.
QString fileNamePart(const QString &typed, qsizetype longest)
{
    static const QRegularExpression refused(QStringLiteral("[\\\\/:*?\"<>|]"));
    QString part = QString(typed).replace(refused, QStringLiteral(" ")).simplified();
    part.replace(QLatin1Char(' '), QLatin1Char('_'));
    if (part.size() > longest) {
        part.truncate(longest);
        if (part.back().isHighSurrogate())
            part.chop(1);
    }
    while (part.startsWith(QLatin1Char('.')) || part.startsWith(QLatin1Char('_')))
        part.remove(0, 1);
    while (part.endsWith(QLatin1Char('.')) || part.endsWith(QLatin1Char('_')))
        part.chop(1);
    return part;
}

} // namespace

QByteArray worksheetPdf(const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet)
{
    return onePagePdf(worksheetTitle(sheet), WorksheetPage(columns, sheet));
}

QByteArray resultPdf(const PracticeSheet &sheet)
{
    return onePagePdf(resultTitle(sheet), ResultPage(sheet));
}

QImage resultPicture(const PracticeSheet &sheet)
{
    const QSizeF page = ResultPage::paperSize() * ResultDpi / 72;
    QImage image(page.toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(ResultDpi / 0.0254));
    image.setDotsPerMeterY(qRound(ResultDpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    ResultPage(sheet).draw(painter, QRectF(QPointF(), page));
    return image;
}

QString resultTitle(const PracticeSheet &sheet)
{
    QString title = QStringLiteral("関数の利用-練習の結果");
    // "2年3組15番", then the name.
    const int nameField = PracticeSheet::NameFields - 1;
    QString where;
    for (int i = 0; i < nameField; ++i) {
        if (const QString part = fileNamePart(ResultPage::nameField(sheet, i), 8); !part.isEmpty())
            where += part + ResultPage::fieldWord(i);
    }
    if (!where.isEmpty())
        title += QLatin1Char('-') + where;
    if (const QString name = fileNamePart(ResultPage::nameField(sheet, nameField), 24); !name.isEmpty())
        title += QLatin1Char('-') + name;
    return title;
}

bool saveWorksheetPdf(const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet, const QString &path)
{
    return writeFile(path, worksheetPdf(columns, sheet));
}

#ifdef LESSON_PRINT_SUPPORT
void prepareForWorksheet(QPrinter &printer, WorksheetPage::Sheet sheet)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(worksheetTitle(sheet));
    printer.setCreator(QStringLiteral("function-lesson"));
}

bool printWorksheet(QPrinter &printer, const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet)
{
    // The layout keeps its own margins, wide enough for any printer's unprintable edge.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    QSizeF page = WorksheetPage::paperSize();
    page.scale(paper.size(), Qt::KeepAspectRatio);
    const QRectF target(paper.center() - QPointF(page.width(), page.height()) / 2, page);
    WorksheetPage(columns, sheet).draw(painter, target.translated(-paper.topLeft()));
    return painter.end();
}
#endif

} // namespace LessonExport
