#pragma once

#include "worksheet/worksheet_page.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class PracticeSheet;
class QWidget;
#ifdef LESSON_PRINT_SUPPORT
class QPrinter;
#endif

// What the lesson makes for others: pictures of the window or a panel, the worksheet as a
// PDF or on a printer, and a pupil's practice handed in. No dialogs here; the commands ask
// for paths and printers.
namespace LessonExport {

// A part of a widget (the window's client area, within a page or screen it is centred
// on), or all of it when the area is empty.

// The widget as the class sees it now, at the screen's resolution.
QImage snapshot(QWidget *widget, QRect area = {});
// The widget drawn afresh at the given pixel ratio of its layout's own pixels, whatever
// the zoom it is shown at, so that it stays sharp when a slide shows it larger: twice the
// layout's size in pixels at ratio 2. The layout's size is the area's unless given.
QImage picture(QWidget *widget, qreal ratio = 2, QRect area = {}, QSize layoutSize = {});
QByteArray pngBytes(const QImage &image);

// Writes the whole file or, failing, leaves what was there.
bool writeFile(const QString &path, const QByteArray &bytes);

// Puts the snapshot on the clipboard.
void copyToClipboard(QWidget *widget, QRect area = {});
bool savePicture(QWidget *widget, const QString &path, QRect area = {});

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

// A pupil's practice as one A4 page (ResultPage): as a PDF like the worksheet's, and as a
// picture at a resolution that prints sharp on A4 and says so, white, without transparency.
QByteArray resultPdf(const PracticeSheet &sheet);
QImage resultPicture(const PracticeSheet &sheet);
// "関数の利用-練習の結果", then whatever of the name is typed: "-2年3組15番-山田_花子". Safe as
// a file's name anywhere: nothing a file system refuses, blanks as "_", each part short.
QString resultTitle(const PracticeSheet &sheet);

} // namespace LessonExport
