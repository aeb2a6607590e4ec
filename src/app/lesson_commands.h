#pragma once

#include "worksheet/worksheet_page.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class Lesson;
class PracticeSheet;
class PresenterKeys;
class QMenu;
class QrCodeView;
class QPoint;
class QWidget;
class WindowZoom;
#ifdef LESSON_PRINT_SUPPORT
class QPrinter;
#endif

// Copy, save a picture, print or save the worksheet: from the standard keys (Ctrl+C,
// Ctrl+S, Ctrl+P), and from a menu on the window's background, the table and the graph
// (a right click, or a finger held still). The blackboard has none: every button drags
// a piece there.
//
// It works on the window it is given (shown, grabbed, the parent of its menus and dialogs),
// with the lesson's figure, the zoom the window is shown at, and the presenter keys, which
// know when a text box is being typed into.
class LessonCommands : public QObject
{
    Q_OBJECT

public:
    LessonCommands(QWidget &window, const Lesson &lesson, const WindowZoom &zoom, const PresenterKeys &keys,
                   QObject *parent = nullptr);
    ~LessonCommands() override;

    // The window's panels with menus of their own, and the board, which has none.
    struct Panels
    {
        QWidget *board;
        QWidget *table;
        QWidget *graph;
    };

    void installShortcuts();
    void installMenus(const Panels &panels);
    // Off while practice is open: its menus and keys would hand out the lesson's answers.
    void setEnabled(bool enabled) { m_enabled = enabled; }

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

    // 結果を保存: a pupil's practice handed in, as a PDF or a picture of one A4 page. The
    // choice opens under the button that asked; the desktop then asks where to save, a
    // browser hands the file to the device's share sheet or downloads it. Practice's own:
    // it works while the lesson's commands are off.
    enum class ResultFile { Pdf, Picture };
    void chooseResultFile(const PracticeSheet &sheet, QWidget *button);
    void saveResult(const PracticeSheet &sheet, ResultFile file);

    // Where the lesson is published, for a desktop program to point pupils to; a page in a
    // browser knows its own address.
    void setSiteAddress(const QString &address) { m_siteAddress = address; }
    // The address that opens the lesson on the figure composed now; empty when there is no
    // site to point to.
    QString shareAddress(bool practice = false) const;
    // QRコードで配る: the share address as a large QR code over the window.
    void showQrCode();
    QrCodeView *qrCodeView() const { return m_qrCode; }

private:
    // A menu in the menus' font, its items' tips shown.
    QMenu *newMenu(QWidget *parent, const QString &title = {}) const;
    QMenu *makeSheetMenu(QWidget *parent, const QString &title, const std::function<void(WorksheetPage::Sheet)> &command);
    enum class FileKind { Pdf, Png };
    static QString mimeType(FileKind kind);
    // Asks where to save (a file dialog), then writes there; in the browser, a download.
    void saveAs(const QString &title, const QString &fileName, FileKind kind, const QByteArray &bytes);
    void reportFailure(const QString &path);
    QString targetName(QWidget *target) const;
    QRect shownArea(QWidget *target) const;
    QFont menuFont() const;

    QWidget &window;
    const Lesson &lesson;
    const WindowZoom &zoom;
    const PresenterKeys &keys;
    Panels m_panels {};
    bool m_enabled = true;
    QString m_folder;
    QString m_siteAddress;
    QrCodeView *m_qrCode = nullptr;
#ifdef LESSON_PRINT_SUPPORT
    // Kept, so that the printer and its settings chosen once are offered again.
    std::unique_ptr<QPrinter> m_printer;
#endif
};
