#pragma once

#include "worksheet/worksheet_page.h"

#include <QFont>
#include <QString>
#include <functional>
#include <memory>

class Form1;
class QMenu;
class QrCodeView;
class QPoint;
class QWidget;
#ifdef LESSON_PRINT_SUPPORT
class QPrinter;
#endif

// Copy, save a picture, print or save the worksheet: from the standard keys (Ctrl+C,
// Ctrl+S, Ctrl+P), and from a menu on the window's background, the table and the graph
// (a right click, or a finger held still). The blackboard has none: every button drags
// a piece there.
class LessonCommands
{
public:
    explicit LessonCommands(Form1 &form);
    ~LessonCommands();

    void installShortcuts();
    void installMenus();

    // The window, the table or the graph: whichever holds the widget; nothing on the board.
    QWidget *menuTarget(QWidget *widget) const;
    // The menu of a target, not yet shown; its parent is the window.
    QMenu *makeMenu(QWidget *target);
    void openMenu(QWidget *target, const QPoint &globalPos);

    // The composition the worksheet shows.
    AreaFunction::Columns columns() const;

    // The target as a picture on the clipboard.
    void copy(QWidget *target);
    // A PNG of the target at twice its size, saved where the teacher says.
    void savePicture(QWidget *target);
    // The choice of problem or answer sheet, shown before the print dialog.
    void choosePrint();
    void printWorksheet(WorksheetPage::Sheet sheet);
    void saveWorksheetPdf(WorksheetPage::Sheet sheet);

    // Where the lesson is published, for a desktop program to point pupils to; a page in a
    // browser knows its own address.
    void setSiteAddress(const QString &address) { m_siteAddress = address; }
    // The address that opens the lesson on the figure composed now; empty when there is no
    // site to point to.
    QString shareAddress() const;
    // QRコードで配る: the share address as a large QR code over the window.
    void showQrCode();
    QrCodeView *qrCodeView() const { return m_qrCode; }

private:
    QMenu *makeSheetMenu(QWidget *parent, const QString &title, const std::function<void(WorksheetPage::Sheet)> &command);
    // Asks where to save (a file dialog), then writes there; in the browser, a download.
    void saveAs(const QString &title, const QString &fileName, const QString &filter, const QByteArray &bytes);
    void reportFailure(const QString &path);
    QString targetName(QWidget *target) const;
    QRect shownArea(QWidget *target) const;
    QFont menuFont() const;

    Form1 &form;
    QString m_folder;
    QString m_siteAddress;
    QrCodeView *m_qrCode = nullptr;
#ifdef LESSON_PRINT_SUPPORT
    // Kept, so that the printer and its settings chosen once are offered again.
    std::unique_ptr<QPrinter> m_printer;
#endif
};
