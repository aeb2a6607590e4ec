#include "worksheet/lesson_export.h"

#include "surface/control_host.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
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

QByteArray worksheetPdf(const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF());
        writer.setTitle(worksheetTitle(sheet));
        writer.setCreator(QStringLiteral("function-lesson"));
        QPainter painter(&writer);
        WorksheetPage(columns, sheet).draw(painter, QRectF(0, 0, writer.width(), writer.height()));
    }
    return bytes;
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
