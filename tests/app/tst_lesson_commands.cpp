#include "app/browser_page.h"
#include "app/long_press.h"
#include "app/practice_view.h"
#include "app/qr_code_view.h"
#include "support/lesson_test.h"
#include "support/qr_format.h"
#include "surface/twips.h"
#include "worksheet/lesson_export.h"
#include "worksheet/poppler.h"

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPointingDevice>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <qrcodegen.hpp>

using namespace LessonTest;

namespace {

QImage plain(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

void pressKey(TestForm &form, int key)
{
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, Qt::Key(key), Qt::ControlModifier);
}

// The menu opens once the press that asked for it has been handled.
QMenu *openPopup()
{
    QCoreApplication::processEvents();
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// A place of the window by name, and a point in it.
std::pair<QWidget *, QPoint> place(TestForm &form, const QString &name)
{
    if (name == QLatin1String("table"))
        return { form.hyo, QPoint(300, 90) };
    // Within 800 pixels of the left, where the test screen ends and touch stops.
    if (name == QLatin1String("graph"))
        return { form.gamen, QPoint(100, 200) };
    if (name == QLatin1String("board"))
        return { form.kokuban, QPoint(200, 250) };
    if (name == QLatin1String("board's check box"))
        return { form.Check4, QPoint(5, 5) };
    if (name == QLatin1String("button"))
        return { form.susumu, QPoint(10, 10) };
    return { &form, QPoint(150, 545) }; // the background below the board
}

// A right click as the window system sends it, so that Qt makes the context menu event.
void rightClick(QWidget *widget, QPoint pos)
{
    QWindow *window = widget->window()->windowHandle();
    QTest::mouseClick(window, Qt::RightButton, {}, window->mapFromGlobal(widget->mapToGlobal(pos)));
}

// Answers the save dialog that should be open with the path, as its save button does.
bool saveThrough(const QString &expectedName, const QString &path)
{
    QFileDialog *dialog = nullptr;
    if (!QTest::qWaitFor([&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                dialog = w->isVisible() && qobject_cast<QFileDialog *>(w) ? qobject_cast<QFileDialog *>(w) : dialog;
            return dialog != nullptr;
        }))
        return false;
    if (dialog->acceptMode() != QFileDialog::AcceptSave || !dialog->selectedFiles().value(0).endsWith(expectedName))
        return false;
    dialog->selectFile(path);
    static_cast<QDialog *>(dialog)->accept();
    return QTest::qWaitFor([&] { return QFileInfo::exists(path); });
}

// The window with both panels open and a figure part way out.
std::unique_ptr<TestForm> lessonUnderWay()
{
    auto form = makeForm();
    form->Check2->setChecked(true);
    form->Check3->setChecked(true);
    form->lesson.compose(LessonTest::Composition { 3, 1, 2, 0, 3 });
    form->Command2_Click();
    stepForward(*form, 9);
    return form;
}

} // namespace

class TestLessonCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void cleanup()
    {
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }

    void copyKeyCopiesTheWindowButNotOverTyping()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->Text1->setFocus();
        form->Text1->selectAll();
        pressKey(*form, Qt::Key_C);
        QCOMPARE(QGuiApplication::clipboard()->text(), form->Text1->text());
        QVERIFY(QGuiApplication::clipboard()->image().isNull());

        form->susumu->setFocus();
        pressKey(*form, Qt::Key_C);
        QCOMPARE(plain(QGuiApplication::clipboard()->image()), plain(form->grab().toImage()));
    }

    void savedPictureIsTwiceTheSize_data()
    {
        QTest::addColumn<QString>("part");
        for (const char *part : { "window", "table", "graph" })
            QTest::newRow(part) << QString::fromLatin1(part);
    }
    void savedPictureIsTwiceTheSize()
    {
        QFETCH(QString, part);
        auto form = lessonUnderWay();
        QWidget *target = place(*form, part).first;
        const QString path = dir.filePath(part + QStringLiteral(".png"));
        QVERIFY(LessonExport::savePicture(target, path));
        QCOMPARE(QImage(path).size(), target->size() * 2);
    }

    // The graph in a picture at twice the size is the graph the window draws at 200 %:
    // drawn again from its calls, not the screen's pixels stretched.
    void pictureIsDrawnAgainAtItsSize()
    {
        auto form = lessonUnderWay();
        const QImage picture = LessonExport::picture(form.get(), 2);
        const QPoint corner = (form->gamen->pos() + Border) * 2;
        const QSize inside = form->gamen->contentSize();
        for (int i = 0; i < 4; ++i)
            form->windowZoom.zoomIn();
        const QImage drawn = plain(form->gamen->drawing().image());
        QCOMPARE(drawn.size(), inside * 2);
        QCOMPARE(plain(picture.copy(QRect(corner, drawn.size()))), drawn);
    }

    void menuOnTheBackgroundAndPanelsOnly_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("named");
        QTest::newRow("background") << QStringLiteral("background") << QStringLiteral("ウィンドウ");
        QTest::newRow("button") << QStringLiteral("button") << QStringLiteral("ウィンドウ");
        QTest::newRow("table") << QStringLiteral("table") << QStringLiteral("表");
        QTest::newRow("graph") << QStringLiteral("graph") << QStringLiteral("グラフ");
        QTest::newRow("board") << QStringLiteral("board") << QString();
        QTest::newRow("board's check box") << QStringLiteral("board's check box") << QString();
    }
    void menuOnTheBackgroundAndPanelsOnly()
    {
        QFETCH(QString, where);
        QFETCH(QString, named);
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const auto [widget, pos] = place(*form, where);
        rightClick(widget, pos);
        QMenu *menu = openPopup();
        QCOMPARE(menu != nullptr, !named.isEmpty());
        if (!menu)
            return;
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList { QStringLiteral("コピー"), QStringLiteral("画像として保存…"), QString(),
                                       QStringLiteral("ワークシートを印刷\t")
                                           + QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText),
                                       QStringLiteral("ワークシートをPDFで保存") }));
        QAction *copy = menu->actions().at(0), *save = menu->actions().at(1);
        QCOMPARE(copy->shortcut(), QKeySequence(QKeySequence::Copy));
        QCOMPARE(save->shortcut(), QKeySequence(QKeySequence::Save));
        QVERIFY(copy->isShortcutVisibleInContextMenu());
        QVERIFY(copy->toolTip().contains(named) && save->statusTip().contains(named) && save->toolTip().contains(QStringLiteral("PNG")));
        for (int i : { 3, 4 }) {
            const QList<QAction *> sheets = menu->actions().at(i)->menu()->actions();
            QCOMPARE(sheets.size(), 2);
            QVERIFY(sheets[0]->text().startsWith(QStringLiteral("問題")) && sheets[1]->text().startsWith(QStringLiteral("解答")));
            QVERIFY(sheets[0]->toolTip().contains(QStringLiteral("A4")) && sheets[1]->toolTip().contains(QStringLiteral("A4")));
        }
        if (widget == form->gamen) {
            copy->trigger();
            QCOMPARE(plain(QGuiApplication::clipboard()->image()), plain(form->gamen->grab().toImage()));
        }
    }

    // QRコードで配る shows the address of the figure composed here as a code a phone reads,
    // filling most of the window, and goes by 閉じる, Escape or a click beside it. Without
    // a site to point to (a desktop started without one) the item is left out.
    void qrCodeOpensTheFigureComposedHere_data()
    {
        QTest::addColumn<QString>("site");
        QTest::addColumn<int>("zoomSteps");
        QTest::newRow("no site") << QString() << 0;
        QTest::newRow("at 100 %") << QStringLiteral("https://school.example/lesson/") << 0;
        QTest::newRow("at 200 %, a figure there before") << QStringLiteral("http://192.168.1.20:8080/#figure=11111") << 4;
    }
    void qrCodeOpensTheFigureComposedHere()
    {
        QFETCH(QString, site);
        QFETCH(int, zoomSteps);
        auto form = lessonUnderWay();
        for (int i = 0; i < zoomSteps; ++i)
            form->windowZoom.zoomIn();
        form->commands.setSiteAddress(site);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        rightClick(form.get(), place(*form, QString()).second * form->windowZoom.factor());
        QMenu *menu = openPopup();
        QVERIFY(menu);
        QAction *share = nullptr;
        for (QAction *a : menu->actions())
            share = a->text() == QStringLiteral("QRコードで配る") ? a : share;
        QCOMPARE(share != nullptr, !site.isEmpty());
        if (!share)
            return;
        share->trigger();
        menu->close();

        QrCodeView *view = form->commands.qrCodeView();
        const QString expected = site.section(QLatin1Char('#'), 0, 0) + QStringLiteral("#figure=31203");
        QVERIFY(view && view->isVisible());
        QCOMPARE(view->address(), expected);
        QCOMPARE(view->geometry(), form->rect());
        QVERIFY2(view->codeRect().height() * 2 >= form->height(), "the code fills at least half the window's height");

        // The code pupils see corrects at least level M's share of modules lost to glare or
        // distance: both copies of its format, read from the picture, say so.
        const QImage picture = view->grab().toImage();
        const qreal ratio = picture.devicePixelRatio();
        const QRect area(view->codeRect().topLeft() * ratio, view->codeRect().size() * ratio);
        const QrModules seen = qrModulesInPicture(picture, area);
        QVERIFY2(seen == view->modules(), "the picture shows the view's modules");
        const auto format = qrFormatOf(seen);
        QVERIFY2(format, "both copies of the format say the same valid word");
        QVERIFY2(format->level >= QrLevel::M, "error correction at level M or better");

        // Read back as a phone's camera reads it.
        const QString zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        QVERIFY2(!zbar.isEmpty(), "zbarimg (zbar-tools) reads the code back");
        auto readBack = [&] {
            const QString shot = dir.filePath(QStringLiteral("code.png"));
            if (!view->grab().save(shot))
                return QStringLiteral("(not saved)");
            QProcess reader;
            reader.start(zbar, { QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("--set"), QStringLiteral("*.disable"),
                                 QStringLiteral("--set"), QStringLiteral("qrcode.enable"), shot });
            reader.waitForFinished(30000);
            return QString::fromUtf8(reader.readAllStandardOutput()).trimmed();
        };
        QCOMPARE(readBack(), expected);

        // The same figure handed out for practice, and back.
        QPushButton *purpose = nullptr;
        for (QPushButton *button : view->findChildren<QPushButton *>())
            purpose = button->text() == QStringLiteral("練習用のQRコードにする") ? button : purpose;
        QVERIFY(purpose && purpose->isVisible());
        QTest::mouseClick(purpose, Qt::LeftButton);
        QVERIFY(view->showsPractice());
        QCOMPARE(readBack(), expected + QStringLiteral("&practice"));
        QCOMPARE(purpose->text(), QStringLiteral("見る用のQRコードにする"));
        QTest::mouseClick(purpose, Qt::LeftButton);
        QCOMPARE(readBack(), expected);
        // A figure that asks no x for a y (one domain) is handed out to look at only.
        form->lesson.compose(Composition { 1, 1, 1, 1, 1 });
        form->commands.showQrCode();
        QVERIFY(!purpose->isVisible());
        form->lesson.compose(Composition { 3, 1, 2, 0, 3 });
        form->commands.showQrCode();
        QVERIFY(purpose->isVisible());

        // A click on the code keeps it; beside it, or Escape, or 閉じる closes it.
        QTest::mouseClick(view, Qt::LeftButton, {}, view->codeRect().center());
        QVERIFY(view->isVisible());
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!view->isVisible());
        // On a full screen, Escape closes the code and leaves the screen full.
        form->windowZoom.toggleFullScreen();
        form->commands.showQrCode();
        QCOMPARE(view->geometry(), form->rect());
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!view->isVisible());
        QVERIFY(form->windowZoom.isFullScreen());
        form->commands.showQrCode();
        auto *close = view->findChild<QPushButton *>();
        QCOMPARE(close->text(), QStringLiteral("閉じる"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!view->isVisible());
    }

    // The format read above, checked on the library's own codes made at each level and with
    // a chosen mask, no boosting; and no word one bit away from a valid one passes.
    void qrFormatReadsTheLevelTheCodeWasMadeAt_data()
    {
        QTest::addColumn<int>("ecc");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("mask");
        using Ecc = qrcodegen::QrCode::Ecc;
        QTest::newRow("L") << int(Ecc::LOW) << int(QrLevel::L) << 0;
        QTest::newRow("M") << int(Ecc::MEDIUM) << int(QrLevel::M) << 3;
        QTest::newRow("Q") << int(Ecc::QUARTILE) << int(QrLevel::Q) << 5;
        QTest::newRow("H") << int(Ecc::HIGH) << int(QrLevel::H) << 6;
    }
    void qrFormatReadsTheLevelTheCodeWasMadeAt()
    {
        QFETCH(int, ecc);
        QFETCH(int, level);
        QFETCH(int, mask);
        const auto code = qrcodegen::QrCode::encodeSegments(
            qrcodegen::QrSegment::makeSegments("https://school.example/lesson/#figure=31203"),
            qrcodegen::QrCode::Ecc(ecc), 1, 40, mask, false);
        QrModules modules(code.getSize(), std::vector<bool>(code.getSize()));
        for (int y = 0; y < code.getSize(); ++y) {
            for (int x = 0; x < code.getSize(); ++x)
                modules[y][x] = code.getModule(x, y);
        }
        const auto words = qrFormatWords(modules);
        QCOMPARE(words[0], words[1]);
        const auto format = qrFormat(words[0]);
        QVERIFY(format);
        QCOMPARE(int(format->level), level);
        QCOMPARE(format->mask, mask);
        for (int bit = 0; bit < 15; ++bit)
            QVERIFY(!qrFormat(words[0] ^ (1 << bit)));
    }

    // The longest address the view makes a code of still gets level M or better; a longer
    // one gets no code rather than a weaker one.
    void qrCodeOfALongAddressKeepsItsLevel_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("the longest") << QrCodeView::LongestAddress;
        QTest::newRow("one byte more") << QrCodeView::LongestAddress + 1;
    }
    void qrCodeOfALongAddressKeepsItsLevel()
    {
        QFETCH(int, length);
        QWidget window;
        window.resize(800, 600);
        QrCodeView view(&window);
        view.showAddress(QStringLiteral("https://school.example/lesson/#figure=31203&").leftJustified(length, QLatin1Char('x')));
        const auto format = qrFormatOf(view.modules());
        QCOMPARE(format.has_value(), length <= QrCodeView::LongestAddress);
        QVERIFY(!format || format->level >= QrLevel::M);
    }

    // Any button drags on the board: no menu takes the right one's press there.
    void rightButtonStillDragsOnTheBoard()
    {
        auto form = makeForm();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QWindow *window = form->windowHandle();
        auto at = [&](QPointF board) { return window->mapFromGlobal(form->kokuban->mapToGlobal((board + QPointF(Border)).toPoint())); };
        QTest::mousePress(window, Qt::RightButton, {}, at(QPointF(470, 60)));
        QTest::mouseMove(window, at(QPointF(400, 150)));
        QTest::mouseMove(window, at(QPointF(330, 250)));
        QTest::mouseRelease(window, Qt::RightButton, {}, at(QPointF(330, 250)));
        QCOMPARE(form->lesson.scene().Slot, (Composition { 3, 0, 0, 0, 0 }));
        QVERIFY(!openPopup());
    }

    void longPressOpensTheMenu_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<int>("slide");
        QTest::addColumn<bool>("opens");
        QTest::newRow("table, held") << QStringLiteral("table") << 900 << 0 << true;
        QTest::newRow("graph, held trembling") << QStringLiteral("graph") << 900 << 2 << true;
        QTest::newRow("background, held") << QStringLiteral("background") << 900 << 0 << true;
        QTest::newRow("graph, tapped") << QStringLiteral("graph") << 350 << 0 << false;
        QTest::newRow("table, held sliding") << QStringLiteral("table") << 900 << 40 << false;
        QTest::newRow("board, held") << QStringLiteral("board") << 900 << 0 << false;
    }
    void longPressOpensTheMenu()
    {
        QFETCH(QString, where);
        QFETCH(int, holdMs);
        QFETCH(int, slide);
        QFETCH(bool, opens);
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const std::unique_ptr<QPointingDevice> touch(QTest::createTouchDevice());
        const auto [widget, pos] = place(*form, where);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));

        QTest::touchEvent(widget, touch.get()).press(0, pos, widget);
        QCoreApplication::processEvents();
        if (slide)
            QTest::touchEvent(widget, touch.get()).move(0, pos + QPoint(slide, 0), widget);
        QCoreApplication::processEvents();
        QTest::qWait(LongPress::Delay / 2);
        QVERIFY(!openPopup());
        QTest::qWait(holdMs - LongPress::Delay / 2);
        QTest::touchEvent(widget, touch.get()).release(0, pos + QPoint(slide, 0), widget);
        // Well past the delay: a finger lifted early opened nothing, and lifting it after
        // the menu opened neither closed the menu nor chose from it.
        QTest::qWait(2 * LongPress::Delay - holdMs / 2);
        QCOMPARE(openPopup() != nullptr, opens);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(form->lesson.scene().Slot, (Composition { 3, 1, 2, 0, 3 }));
    }

    void saveKeyAsksWhereThenSavesThePicture()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->susumu->setFocus();
        pressKey(*form, Qt::Key_S);
        const QString path = dir.filePath(QStringLiteral("from-the-key.png"));
        QVERIFY(saveThrough(QStringLiteral("関数の利用.png"), path));
        QCOMPARE(QImage(path).size(), form->size() * 2);
    }

    // On a full screen (and in a browser's page) the window is larger than the lesson: the
    // pictures hold the lesson's client area only, the saved one at twice its layout size.
    void picturesOfTheLessonOnAFullScreen()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->windowZoom.toggleFullScreen();
        QTRY_COMPARE(form->size(), form->screen()->geometry().size());
        const QRect shown = form->windowZoom.shownClient();
        QVERIFY(shown.size() != form->size());
        form->susumu->setFocus();
        pressKey(*form, Qt::Key_C);
        QCOMPARE(plain(QGuiApplication::clipboard()->image()), plain(form->grab(shown).toImage()));
        pressKey(*form, Qt::Key_S);
        const QString path = dir.filePath(QStringLiteral("full-screen.png"));
        QVERIFY(saveThrough(QStringLiteral("関数の利用.png"), path));
        QCOMPARE(QImage(path).size(), Twips::clientSizeForOuter(15700, 10800) * 2);
    }

    void pdfItemAsksWhereThenSavesTheSheet()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        rightClick(form.get(), place(*form, QStringLiteral("background")).second);
        QVERIFY(openPopup());
        openPopup()->actions().at(4)->menu()->actions().at(1)->trigger();
        cleanup();
        const QString path = dir.filePath(QStringLiteral("answer.pdf"));
        QVERIFY(saveThrough(QStringLiteral("関数の利用-解答.pdf"), path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-");
    }

    // 結果を保存 while practising, when the lesson's commands are off: a choice of a PDF or a
    // picture, and a click on either asks where to save before the click has been handled (a
    // browser opens its share sheet for nothing later), then saves the pupil's page there
    // under a name that says whose it is.
    void resultIsSavedFromPractice_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("PDFで保存") << 0 << QStringLiteral(".pdf");
        QTest::newRow("画像で保存") << 1 << QStringLiteral(".png");
    }
    void resultIsSavedFromPractice()
    {
        QFETCH(int, item);
        QFETCH(QString, suffix);
        // A fresh sheet, not the one the row before left.
        BrowserPage::keep(PracticeView::KeptAs, QString());
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::mouseClick(form->widget<QPushButton>(QStringLiteral("renshu")), Qt::LeftButton);
        auto *practice = form->widget<PracticeView>(QStringLiteral("practice"));
        QVERIFY(practice->isVisible());
        const PracticeSheet &sheet = practice->sheet();
        QCOMPARE(sheet.figure(), (Composition { 3, 1, 2, 0, 3 }));

        // x=1 right, x=2 wrong twice: its answer is shown; a class number and a name.
        auto enter = [&](const QString &cell, const QString &text) {
            auto *edit = practice->findChild<QLineEdit *>(cell);
            edit->clear();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
        };
        enter(QStringLiteral("answer 0"), QString::number(trueArea(Composition { 3, 1, 2, 0, 3 }, 1)));
        enter(QStringLiteral("answer 1"), QStringLiteral("99"));
        enter(QStringLiteral("answer 1"), QStringLiteral("98"));
        QTest::keyClicks(practice->findChild<QLineEdit *>(QStringLiteral("name 1")), QStringLiteral("3"));
        QTest::keyClicks(practice->findChild<QLineEdit *>(QStringLiteral("name 3")), QStringLiteral("Hanako Y"));
        QCOMPARE(sheet.rightAtFirstTry(), 1);
        QCOMPARE(sheet.answer(1).mark, PracticeSheet::Mark::Shown);

        QTest::mouseClick(practice->findChild<QPushButton *>(QStringLiteral("save result")), Qt::LeftButton);
        QMenu *choice = openPopup();
        QVERIFY(choice);
        QStringList texts;
        for (QAction *a : choice->actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList { QStringLiteral("PDFで保存"), QStringLiteral("画像で保存") }));
        QCOMPARE(choice->activeAction(), choice->actions().at(0));
        QTest::mouseClick(choice, Qt::LeftButton, {}, choice->actionGeometry(choice->actions().at(item)).center());
        const auto dialogs = form->findChildren<QFileDialog *>();
        QVERIFY2(std::any_of(dialogs.begin(), dialogs.end(), [](QFileDialog *d) { return d->isVisible(); }),
                 "the dialog opens within the click");

        const QString fileName = QStringLiteral("関数の利用-練習の結果-3組-Hanako_Y") + suffix;
        const QString path = dir.filePath(QStringLiteral("result") + suffix);
        QVERIFY(saveThrough(fileName, path));
        if (suffix == QStringLiteral(".png")) {
            QCOMPARE(plain(QImage(path)), plain(LessonExport::resultPicture(sheet)));
            return;
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-");
        if (const QString missing = Poppler::missingTools(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        const QString text = Poppler::compactText(path);
        QVERIFY(text.contains(QStringLiteral("正解1/%1").arg(sheet.questionCount())));
        QVERIFY(text.contains(QStringLiteral("3組")) && text.contains(QStringLiteral("HanakoY")));
        QVERIFY(text.contains(QStringLiteral("答えは") + QString::number(trueArea(Composition { 3, 1, 2, 0, 3 }, 2))));
    }

    void printKeyAsksWhichSheetThenOpensThePrintDialog()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->susumu->setFocus();
        pressKey(*form, Qt::Key_P);
        QMenu *choice = openPopup();
        QVERIFY(choice);
        QCOMPARE(choice->actions().size(), 2);
        QCOMPARE(choice->activeAction(), choice->actions().at(0));
        QVERIFY(choice->actions().at(0)->text().startsWith(QStringLiteral("問題")));
#ifdef LESSON_PRINT_SUPPORT
        choice->actions().at(1)->trigger();
        cleanup();
        QDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = form->findChild<QDialog *>()) && dialog->isVisible());
        QVERIFY(dialog->inherits("QPrintDialog"));
        dialog->reject();
#endif
    }
};

LESSON_TEST_MAIN(TestLessonCommands)
#include "tst_lesson_commands.moc"
