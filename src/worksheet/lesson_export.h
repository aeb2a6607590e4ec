#pragma once

#include "worksheet/worksheet_page.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QWidget;
#ifdef LESSON_PRINT_SUPPORT
class QPrinter;
#endif

// What the lesson makes for others: pictures of the window or a panel, and the worksheet
// as a PDF or on a printer. No dialogs here; the commands ask for paths and printers.
namespace LessonExport {

// The widget as the class sees it now, at the screen's resolution.
QImage snapshot(QWidget *widget);
// The widget drawn afresh at the given pixel ratio, so that it stays sharp when a slide
// shows it larger: twice the widget's size in pixels at ratio 2.
QImage picture(QWidget *widget, qreal ratio = 2);
QByteArray pngBytes(const QImage &image);

// Writes the whole file or, failing, leaves what was there.
bool writeFile(const QString &path, const QByteArray &bytes);

// Puts the snapshot on the clipboard.
void copyToClipboard(QWidget *widget);
bool savePicture(QWidget *widget, const QString &path);

// The worksheet as a one-page A4 PDF, text as text with its fonts embedded.
QByteArray worksheetPdf(const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet);
bool saveWorksheetPdf(const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet, const QString &path);

#ifdef LESSON_PRINT_SUPPORT
// Sets a printer up for the worksheet (A4 portrait, the document's name) before it is offered.
void prepareForWorksheet(QPrinter &printer, WorksheetPage::Sheet sheet);
// Prints the page fitted to the printer's paper, centred.
bool printWorksheet(QPrinter &printer, const AreaFunction::Columns &columns, WorksheetPage::Sheet sheet);
#endif

// "関数の利用-問題.pdf" and the like: names that say what a file holds.
QString worksheetTitle(WorksheetPage::Sheet sheet);

} // namespace LessonExport
