#include "support/lesson_test.h"
#include "worksheet/lesson_export.h"
#include "worksheet/long_press.h"

#include <QClipboard>
#include <QFileDialog>
#include <QMenu>
#include <QPointingDevice>
#include <QTemporaryDir>

using namespace LessonTest;

namespace {

void pressKey(int key, Qt::KeyboardModifiers modifiers, QWidget *fallback)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

QImage plain(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// A point on the window's own background, left of the speed box and below the board.
QPoint backgroundPoint()
{
    return QPoint(150, 545);
}

// A right click as the window system sends it, so that Qt makes the context menu event.
void rightClick(QWidget *widget, QPoint pos)
{
    QWindow *window = widget->window()->windowHandle();
    QTest::mouseClick(window, Qt::RightButton, {}, window->mapFromGlobal(widget->mapToGlobal(pos)));
    QCoreApplication::processEvents();
}

QMenu *openPopup()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

void closePopups()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

QAction *actionNamed(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

template<typename T>
T *visibleTopLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(w); found && found->isVisible())
            return found;
    }
    return nullptr;
}

// The window with both panels open and a figure part way out.
std::unique_ptr<Form1> lessonUnderWay()
{
    auto form = makeForm();
    form->Check2->setChecked(true);
    form->Check3->setChecked(true);
    form->scene.Slot = { 3, 1, 2, 0, 3 };
    form->stepper.Command2_Click();
    stepForward(*form, 9);
    return form;
}

} // namespace

class TestLessonCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void cleanup() { closePopups(); }

    void copyPutsTheWindowOnTheClipboard()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->susumu->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        pressKey(Qt::Key_C, Qt::ControlModifier, form.get());
        const QImage copied = QGuiApplication::clipboard()->image();
        QVERIFY(!copied.isNull());
        QCOMPARE(plain(copied), plain(form->grab().toImage()));
    }

    void textBoxesKeepTheirCopy()
    {
        auto form = makeForm();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        form->Text1->setFocus();
        form->Text1->selectAll();
        pressKey(Qt::Key_C, Qt::ControlModifier, form.get());
        QCOMPARE(QGuiApplication::clipboard()->text(), form->Text1->text());
        QVERIFY(QGuiApplication::clipboard()->image().isNull());

        form->Combo1->setEditText(QStringLiteral("120"));
        form->Combo1->setFocus();
        form->Combo1->lineEdit()->selectAll();
        pressKey(Qt::Key_C, Qt::ControlModifier, form.get());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("120"));
    }

    void savedPictureIsTwiceTheSize_data()
    {
        QTest::addColumn<QString>("part");
        QTest::newRow("window") << QString();
        QTest::newRow("table") << QStringLiteral("表");
        QTest::newRow("graph") << QStringLiteral("グラフ");
    }
    void savedPictureIsTwiceTheSize()
    {
        QFETCH(QString, part);
        auto form = lessonUnderWay();
        QWidget *target = part.isEmpty() ? static_cast<QWidget *>(form.get()) : part == QStringLiteral("表") ? form->hyo : form->gamen;
        const QString path = dir.filePath(QStringLiteral("picture-%1.png").arg(QTest::currentDataTag()));
        QVERIFY(LessonExport::savePicture(target, path));
        const QImage saved(path);
        QCOMPARE(saved.size(), target->size() * 2);
        // Scaled down again it is the picture the class sees, give or take the smoothing.
        const QImage seen = plain(target->grab().toImage());
        const QImage halved = plain(saved.scaled(target->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        int far = 0;
        for (int y = 0; y < seen.height(); ++y) {
            for (int x = 0; x < seen.width(); ++x) {
                const QColor a = seen.pixelColor(x, y), b = halved.pixelColor(x, y);
                far += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) > 200;
            }
        }
        QVERIFY2(far < seen.width() * seen.height() / 50, qPrintable(QString::number(far)));
    }

    // The graph in a picture at twice the size is the graph the window draws at 200 %:
    // drawn again from its calls, not the screen's pixels stretched.
    void pictureIsDrawnAgainAtItsSize()
    {
        auto form = lessonUnderWay();
        const QImage picture = LessonExport::picture(form.get(), 2);
        QCOMPARE(picture.devicePixelRatio(), 2.0);
        const QPoint corner = (form->gamen->pos() + Border) * 2;
        for (int i = 0; i < 4; ++i)
            form->windowZoom.zoomIn();
        QCOMPARE(form->windowZoom.factor(), 2.0);
        const QImage drawn = plain(form->gamen->layer());
        QCOMPARE(plain(picture.copy(QRect(corner, drawn.size()))), drawn);
    }

    void menusOnTheBackgroundAndPanelsOnly_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("named");
        QTest::newRow("background") << QStringLiteral("background") << QStringLiteral("ウィンドウ");
        QTest::newRow("button") << QStringLiteral("button") << QStringLiteral("ウィンドウ");
        QTest::newRow("table") << QStringLiteral("table") << QStringLiteral("表");
        QTest::newRow("graph") << QStringLiteral("graph") << QStringLiteral("グラフ");
        QTest::newRow("blackboard") << QStringLiteral("board") << QString();
        QTest::newRow("marker switch on the board") << QStringLiteral("check4") << QString();
    }
    void menusOnTheBackgroundAndPanelsOnly()
    {
        QFETCH(QString, place);
        QFETCH(QString, named);
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const std::map<QString, std::pair<QWidget *, QPoint>> places {
            { QStringLiteral("background"), { form.get(), backgroundPoint() } },
            { QStringLiteral("button"), { form->susumu, form->susumu->rect().center() } },
            { QStringLiteral("table"), { form->hyo, QPoint(300, 90) } },
            { QStringLiteral("graph"), { form->gamen, QPoint(200, 200) } },
            { QStringLiteral("board"), { form->kokuban, QPoint(200, 250) } },
            { QStringLiteral("check4"), { form->Check4, form->Check4->rect().center() } },
        };
        const auto [widget, pos] = places.at(place);
        rightClick(widget, pos);
        QMenu *menu = openPopup();
        if (named.isEmpty()) {
            QVERIFY(!menu);
            return;
        }
        QVERIFY(menu);
        const QStringList texts = [&] {
            QStringList t;
            for (QAction *a : menu->actions())
                t << a->text();
            return t;
        }();
        const QString printKeys = QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText);
        QCOMPARE(texts, (QStringList { QStringLiteral("コピー"), QStringLiteral("画像として保存…"), QString(),
                                       QStringLiteral("ワークシートを印刷\t") + printKeys,
                                       QStringLiteral("ワークシートをPDFで保存") }));
        QAction *copy = menu->actions().at(0), *save = menu->actions().at(1);
        QCOMPARE(copy->shortcut(), QKeySequence(QKeySequence::Copy));
        QCOMPARE(save->shortcut(), QKeySequence(QKeySequence::Save));
        QVERIFY(copy->isShortcutVisibleInContextMenu());
        // Each says what it makes, of what.
        QVERIFY(copy->toolTip().contains(named));
        QVERIFY(save->statusTip().contains(named));
        QVERIFY(save->toolTip().contains(QStringLiteral("PNG")));
        for (int i : { 3, 4 }) {
            QMenu *sheets = menu->actions().at(i)->menu();
            QVERIFY(sheets);
            QCOMPARE(sheets->actions().size(), 2);
            QCOMPARE(sheets->actions().at(0)->text(), QStringLiteral("問題（生徒用）…"));
            QCOMPARE(sheets->actions().at(1)->text(), QStringLiteral("解答（教師用）…"));
            for (QAction *a : sheets->actions())
                QVERIFY(a->toolTip().contains(QStringLiteral("A4")));
        }
    }

    void panelMenuCopiesThatPanel_data()
    {
        QTest::addColumn<bool>("graph");
        QTest::newRow("table") << false;
        QTest::newRow("graph") << true;
    }
    void panelMenuCopiesThatPanel()
    {
        QFETCH(bool, graph);
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QWidget *panel = graph ? form->gamen : form->hyo;
        rightClick(panel, QPoint(100, 60));
        QMenu *menu = openPopup();
        QVERIFY(menu);
        actionNamed(menu, QStringLiteral("コピー"))->trigger();
        QCOMPARE(plain(QGuiApplication::clipboard()->image()), plain(panel->grab().toImage()));
    }

    // The right button drags on the board as the left one does: no menu takes its press.
    void rightButtonStillDragsOnTheBoard()
    {
        auto form = makeForm();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QWindow *window = form->windowHandle();
        auto at = [&](QPointF board) { return window->mapFromGlobal(form->kokuban->mapToGlobal((board + QPointF(Border)).toPoint())); };
        QTest::mousePress(window, Qt::RightButton, {}, at(QPointF(470, 60)));
        QVERIFY(!openPopup());
        QTest::mouseMove(window, at(QPointF(400, 150)));
        QTest::mouseMove(window, at(QPointF(330, 250)));
        QTest::mouseRelease(window, Qt::RightButton, {}, at(QPointF(330, 250)));
        QCOMPARE(form->scene.Slot, (Composition { 3, 0, 0, 0, 0 }));
        QVERIFY(!openPopup());
    }

    void longPressOpensTheMenu_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<int>("moveBy");
        QTest::addColumn<bool>("opens");
        QTest::newRow("table, held") << QStringLiteral("table") << 900 << 0 << true;
        QTest::newRow("graph, held with a tremble") << QStringLiteral("graph") << 900 << 2 << true;
        QTest::newRow("background, held") << QStringLiteral("background") << 900 << 0 << true;
        QTest::newRow("graph, a tap") << QStringLiteral("graph") << 150 << 0 << false;
        QTest::newRow("table, held while sliding") << QStringLiteral("table") << 900 << 40 << false;
        QTest::newRow("blackboard, held") << QStringLiteral("board") << 900 << 0 << false;
    }
    void longPressOpensTheMenu()
    {
        QFETCH(QString, place);
        QFETCH(int, holdMs);
        QFETCH(int, moveBy);
        QFETCH(bool, opens);
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const std::unique_ptr<QPointingDevice> device(QTest::createTouchDevice());
        QWidget *widget = place == QStringLiteral("table") ? form->hyo
            : place == QStringLiteral("graph")             ? form->gamen
            : place == QStringLiteral("board")             ? form->kokuban
                                                           : static_cast<QWidget *>(form.get());
        const QPoint pos = widget == form.get() ? backgroundPoint() : QPoint(120, 50);
        const Composition before = form->scene.Slot;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));

        QTest::touchEvent(widget, device.get()).press(0, pos, widget);
        QCoreApplication::processEvents();
        if (moveBy) {
            QTest::touchEvent(widget, device.get()).move(0, pos + QPoint(moveBy, 0), widget);
            QCoreApplication::processEvents();
        }
        // Not before the finger has been held long enough.
        QTest::qWait(LongPress::Delay / 2);
        QVERIFY(!openPopup());
        QTest::qWait(holdMs - LongPress::Delay / 2);
        QCOMPARE(bool(openPopup()), opens);
        QTest::touchEvent(widget, device.get()).release(0, pos + QPoint(moveBy, 0), widget);
        QCoreApplication::processEvents();
        // Lifting the finger neither closes the menu nor chooses from it.
        QCOMPARE(bool(openPopup()), opens);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(form->scene.Slot, before);
        if (opens)
            QVERIFY(openPopup()->actions().at(0)->toolTip().contains(widget == form->hyo ? QStringLiteral("表")
                                                                     : widget == form->gamen ? QStringLiteral("グラフ")
                                                                                             : QStringLiteral("ウィンドウ")));
    }

    void saveKeyAsksWhereThenSavesThePicture()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->susumu->setFocus();
        pressKey(Qt::Key_S, Qt::ControlModifier, form.get());
        QFileDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = visibleTopLevel<QFileDialog>()));
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(dialog->selectedFiles().value(0).endsWith(QStringLiteral("関数の利用.png")));
        const QString path = dir.filePath(QStringLiteral("from-the-key.png"));
        dialog->selectFile(path);
        // As its save button does (QFileDialog keeps accept() to itself).
        static_cast<QDialog *>(dialog)->accept();
        QTRY_VERIFY(QFileInfo::exists(path));
        QCOMPARE(QImage(path).size(), form->size() * 2);
    }

    void printKeyOffersBothSheets()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->susumu->setFocus();
        pressKey(Qt::Key_P, Qt::ControlModifier, form.get());
        QMenu *choice = openPopup();
        QVERIFY(choice);
        QCOMPARE(choice->actions().size(), 2);
        QCOMPARE(choice->activeAction(), choice->actions().at(0));
        QVERIFY(choice->actions().at(0)->text().startsWith(QStringLiteral("問題")));
        QVERIFY(choice->actions().at(1)->text().startsWith(QStringLiteral("解答")));
#ifdef LESSON_PRINT_SUPPORT
        choice->actions().at(1)->trigger();
        choice->close();
        QDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = visibleTopLevel<QDialog>()));
        QVERIFY(dialog->inherits("QPrintDialog"));
        dialog->reject();
#endif
    }

    void pdfItemAsksWhereThenSavesTheSheet()
    {
        auto form = lessonUnderWay();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        rightClick(form.get(), backgroundPoint());
        QMenu *menu = openPopup();
        QVERIFY(menu);
        QMenu *sheets = actionNamed(menu, QStringLiteral("ワークシートをPDFで保存"))->menu();
        sheets->actions().at(1)->trigger();
        closePopups();
        QFileDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = visibleTopLevel<QFileDialog>()));
        QVERIFY(dialog->selectedFiles().value(0).endsWith(QStringLiteral("関数の利用-解答.pdf")));
        const QString path = dir.filePath(QStringLiteral("answer.pdf"));
        dialog->selectFile(path);
        // As its save button does (QFileDialog keeps accept() to itself).
        static_cast<QDialog *>(dialog)->accept();
        QTRY_VERIFY(QFileInfo::exists(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
    }
};

LESSON_TEST_MAIN(TestLessonCommands)
#include "tst_lesson_commands.moc"
