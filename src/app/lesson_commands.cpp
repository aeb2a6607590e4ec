#include "app/lesson_commands.h"

#include "app/browser_page.h"
#include "app/long_press.h"
#include "app/presenter_keys.h"
#include "app/qr_code_view.h"
#include "app/window_zoom.h"
#include "lesson/figure_address.h"
#include "lesson/lesson.h"
#include "practice/practice_question.h"
#include "surface/fonts.h"
#include "worksheet/lesson_export.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QShortcut>
#include <QStandardPaths>
#include <QTimer>

#ifdef LESSON_PRINT_SUPPORT
#include <QPrinter>
#include <QtPrintSupport/qtprintsupportglobal.h>
#if QT_CONFIG(printdialog)
#define LESSON_PRINT_DIALOG
#include <QPrintDialog>
#endif
#endif

using Sheet = WorksheetPage::Sheet;

LessonCommands::LessonCommands(QWidget &window, const Lesson &lesson, const WindowZoom &zoom,
                               const PresenterKeys &keys, QObject *parent)
    : QObject(parent)
    , window(window)
    , lesson(lesson)
    , zoom(zoom)
    , keys(keys)
{
}

LessonCommands::~LessonCommands() = default;

AreaFunction::Columns LessonCommands::columns() const
{
    return lesson.columns();
}

void LessonCommands::installShortcuts()
{
    auto bind = [this](QKeySequence::StandardKey key, auto command) {
        auto *shortcut = new QShortcut(key, &window);
        connect(shortcut, &QShortcut::activated, this, [this, command] {
            if (m_enabled)
                command();
        });
    };
    // The text boxes claim Ctrl+C for their own text before a shortcut sees it; the check
    // keeps it theirs should that ever change.
    bind(QKeySequence::Copy, [this] {
        if (!keys.typing())
            copy(&window);
    });
    bind(QKeySequence::Save, [this] { savePicture(&window); });
    bind(QKeySequence::Print, [this] { choosePrint(); });
}

void LessonCommands::installMenus(const Panels &panels)
{
    m_panels = panels;
    for (QWidget *widget : { &window, panels.table, panels.graph }) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this, [this, widget](const QPoint &pos) {
            openMenu(widget, widget->mapToGlobal(pos));
        });
    }
    // Any mouse button drags a piece on the board, so a right press there is the board's,
    // also on its check box, rather than passed on to the window's menu.
    panels.board->setContextMenuPolicy(Qt::PreventContextMenu);

    // Owned by the window; it sees the presses the panels and the background pass on.
    new LongPress(&window, [this](QPoint pos) {
        if (QWidget *target = menuTarget(window.childAt(pos)))
            openMenu(target, window.mapToGlobal(pos));
    });
}

QWidget *LessonCommands::menuTarget(QWidget *widget) const
{
    for (QWidget *w = widget; w && w != &window; w = w->parentWidget()) {
        if (w == m_panels.board)
            return nullptr;
        if (w == m_panels.table || w == m_panels.graph)
            return w;
    }
    return &window;
}

QString LessonCommands::targetName(QWidget *target) const
{
    if (target == m_panels.table)
        return QStringLiteral("表");
    if (target == m_panels.graph)
        return QStringLiteral("グラフ");
    return QStringLiteral("ウィンドウ");
}

QFont LessonCommands::menuFont() const
{
    // Read from the back of a classroom too: as large as the window is shown.
    return Fonts::layoutFont(11 * zoom.factor());
}

namespace {

// An item with its tip, which the status line reads too.
QAction *addItem(QMenu *menu, const QString &text, const QString &tip)
{
    QAction *action = menu->addAction(text);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    return action;
}

} // namespace

QMenu *LessonCommands::newMenu(QWidget *parent, const QString &title) const
{
    auto *menu = new QMenu(title, parent);
    menu->setToolTipsVisible(true);
    menu->setFont(menuFont());
    return menu;
}

QMenu *LessonCommands::makeSheetMenu(QWidget *parent, const QString &title,
                                     const std::function<void(Sheet)> &command)
{
    QMenu *menu = newMenu(parent, title);
    auto add = [&](const QString &text, const QString &tip, Sheet sheet) {
        connect(addItem(menu, text, tip), &QAction::triggered, this, [command, sheet] { command(sheet); });
    };
    add(QStringLiteral("問題（生徒用）…"),
        QStringLiteral("いまの図形で、表とグラフが空欄の問題プリント（A4・1枚）を作ります。"), Sheet::Problem);
    add(QStringLiteral("解答（教師用）…"),
        QStringLiteral("表の値、グラフ、変域ごとの式を書き入れた解答プリント（A4・1枚）を作ります。"), Sheet::Answer);
    return menu;
}

QMenu *LessonCommands::makeMenu(QWidget *target)
{
    QMenu *menu = newMenu(&window);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString name = targetName(target);

    auto add = [&](const QString &text, QKeySequence::StandardKey key, const QString &tip, auto command) {
        QAction *action = addItem(menu, text, tip);
        // Shown beside the item; the window's own shortcuts do the work.
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, command);
    };
    add(QStringLiteral("コピー"), QKeySequence::Copy,
        QStringLiteral("%1を画像としてクリップボードにコピーします。スライドなどに貼り付けられます。").arg(name),
        [this, target] { copy(target); });
    add(QStringLiteral("画像として保存…"), QKeySequence::Save,
        QStringLiteral("%1を2倍の大きさのPNG画像として保存します。スライドでも鮮明です。").arg(name),
        [this, target] { savePicture(target); });
    menu->addSeparator();

    QMenu *print = makeSheetMenu(menu, QStringLiteral("ワークシートを印刷"), [this](Sheet sheet) { printWorksheet(sheet); });
    print->menuAction()->setText(print->title() + QLatin1Char('\t')
                                 + QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText));
    print->menuAction()->setToolTip(QStringLiteral("表・グラフ・式の問題のワークシートか、その解答を印刷します。"));
    menu->addMenu(print);
    QMenu *pdf = makeSheetMenu(menu, QStringLiteral("ワークシートをPDFで保存"), [this](Sheet sheet) { saveWorksheetPdf(sheet); });
    pdf->menuAction()->setToolTip(QStringLiteral("ワークシートかその解答を、印刷できるPDFファイルとして保存します。"));
    menu->addMenu(pdf);

    if (!shareAddress().isEmpty()) {
        menu->addSeparator();
        QAction *share = addItem(menu, QStringLiteral("QRコードで配る"),
                                 QStringLiteral("いまの図形を開くアドレスを大きなQRコードで表示します。生徒の端末で読み取ると、同じ図形で始まります。"));
        connect(share, &QAction::triggered, this, [this] { showQrCode(); });
    }
    return menu;
}

void LessonCommands::openMenu(QWidget *target, const QPoint &globalPos)
{
    if (!m_enabled)
        return;
    // Opened once the press that asked for it has been handled: in a browser the press
    // then makes the window active, which would close a menu already open.
    QTimer::singleShot(0, this, [this, target = QPointer<QWidget>(target), globalPos] {
        if (target)
            makeMenu(target)->popup(globalPos);
    });
}

QString LessonCommands::shareAddress(bool practice) const
{
    const QString site = BrowserPage::isBrowser ? BrowserPage::address() : m_siteAddress;
    return site.isEmpty() ? QString() : FigureAddress::withFigure(site, columns(), practice);
}

void LessonCommands::showQrCode()
{
    if (!m_qrCode)
        m_qrCode = new QrCodeView(&window);
    // Practice is offered for a figure that makes a whole exercise, as 練習 itself asks.
    m_qrCode->showAddresses(shareAddress(), makesWholeExercise(columns()) ? shareAddress(true) : QString());
}

void LessonCommands::choosePrint()
{
    QMenu *choice = makeSheetMenu(&window, QStringLiteral("ワークシートを印刷"), [this](Sheet sheet) { printWorksheet(sheet); });
    choice->setAttribute(Qt::WA_DeleteOnClose);
    // Enter prints the problem sheet, the one handed out.
    choice->setActiveAction(choice->actions().constFirst());
    choice->popup(window.mapToGlobal(window.rect().center()));
}

QRect LessonCommands::shownArea(QWidget *target) const
{
    // The window shown on a larger screen or page: only its client area, as the class sees it.
    return target == &window ? zoom.shownClient() : target->rect();
}

void LessonCommands::copy(QWidget *target)
{
    LessonExport::copyToClipboard(target, shownArea(target));
}

void LessonCommands::savePicture(QWidget *target)
{
    QString fileName = QStringLiteral("関数の利用");
    if (target != &window)
        fileName += QLatin1Char('-') + targetName(target);
    // Taken now: the picture is what the class saw when it was asked for.
    saveAs(QStringLiteral("画像として保存"), fileName + QStringLiteral(".png"), FileKind::Png,
           LessonExport::pngBytes(LessonExport::picture(target, 2, shownArea(target),
                                                        target == &window ? zoom.clientSize() : QSize())));
}

void LessonCommands::saveWorksheetPdf(Sheet sheet)
{
    saveAs(QStringLiteral("ワークシートをPDFで保存"), LessonExport::worksheetTitle(sheet) + QStringLiteral(".pdf"),
           FileKind::Pdf, LessonExport::worksheetPdf(columns(), sheet));
}

void LessonCommands::chooseResultFile(const PracticeSheet &sheet, QWidget *button)
{
    QMenu *choice = newMenu(&window);
    choice->setAttribute(Qt::WA_DeleteOnClose);
    auto add = [&](const QString &text, const QString &tip, ResultFile file) {
        // Saved within the click that chose it: a browser's share sheet opens for no other.
        connect(addItem(choice, text, tip), &QAction::triggered, this, [this, &sheet, file] { saveResult(sheet, file); });
    };
    add(QStringLiteral("PDFで保存"), QStringLiteral("答えと○×、正解の数をA4・1枚のPDFにします。そのまま印刷できます。"), ResultFile::Pdf);
    add(QStringLiteral("画像で保存"), QStringLiteral("同じページを画像（PNG）にします。写真と同じように送れます。"),
        ResultFile::Picture);
    // Enter saves the PDF, the one that prints as it is.
    choice->setActiveAction(choice->actions().constFirst());
    choice->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void LessonCommands::saveResult(const PracticeSheet &sheet, ResultFile file)
{
    const QString title = LessonExport::resultTitle(sheet);
    const bool pdf = file == ResultFile::Pdf;
    const QString fileName = title + (pdf ? QStringLiteral(".pdf") : QStringLiteral(".png"));
    const QByteArray bytes = pdf ? LessonExport::resultPdf(sheet) : LessonExport::pngBytes(LessonExport::resultPicture(sheet));
    const FileKind kind = pdf ? FileKind::Pdf : FileKind::Png;
    // A pupil hands the result in: on a tablet to the share sheet, on to Classroom, Files or
    // AirDrop. The lesson's own pictures and sheets stay downloads, for the teacher's disk.
    if (BrowserPage::isBrowser)
        BrowserPage::hand(bytes, fileName, mimeType(kind));
    else
        saveAs(QStringLiteral("結果を保存"), fileName, kind, bytes);
}

void LessonCommands::printWorksheet(Sheet sheet)
{
#ifdef LESSON_PRINT_DIALOG
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    LessonExport::prepareForWorksheet(*m_printer, sheet);
    auto *dialog = new QPrintDialog(m_printer.get(), &window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const AreaFunction::Columns composed = columns();
    connect(dialog, &QDialog::accepted, this, [this, composed, sheet] {
        LessonExport::printWorksheet(*m_printer, composed, sheet);
    });
    dialog->open();
#else
    // Without a print dialog (the browser build): the PDF is handed over, and the
    // browser's PDF viewer prints it.
    saveWorksheetPdf(sheet);
#endif
}

QString LessonCommands::mimeType(FileKind kind)
{
    return kind == FileKind::Pdf ? QStringLiteral("application/pdf") : QStringLiteral("image/png");
}

void LessonCommands::saveAs(const QString &title, const QString &fileName, FileKind kind, const QByteArray &bytes)
{
#ifdef Q_OS_WASM
    // A page in the browser cannot write to the teacher's disk: the browser downloads it.
    Q_UNUSED(title);
    BrowserPage::download(bytes, fileName, mimeType(kind));
#else
    const QString filter = kind == FileKind::Pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("PNG 画像 (*.png)");
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    auto *dialog = new QFileDialog(&window, title, QDir(m_folder).filePath(fileName), filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this, bytes](const QString &path) {
        m_folder = QFileInfo(path).absolutePath();
        if (!LessonExport::writeFile(path, bytes))
            reportFailure(path);
    });
    dialog->open();
#endif
}

void LessonCommands::reportFailure(const QString &path)
{
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("保存できませんでした"),
                                QStringLiteral("%1 に書き込めませんでした。別の場所を選んでください。").arg(QDir::toNativeSeparators(path)),
                                QMessageBox::Ok, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
