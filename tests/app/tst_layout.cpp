#include "support/lesson_test.h"
#include "surface/palette.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <cmath>
#include <functional>
#include <optional>

using LessonTest::TestForm;

namespace {

// Twips to the program's pixels, 15 to one, rounded: worked out here on its own so that a
// fault in the program's conversion shows.
int px(int twips)
{
    return int(std::floor(twips / 15.0 + 0.5));
}

QRect pxRect(QRect twips)
{
    return QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
}

const QColor FormBack(192, 255, 192);
const QColor CheckText(0, 128, 0);
using LessonTest::PanelBack;

// What the tests read of one control, whatever its kind.
struct Probe
{
    QString container;   // "TestForm", "kokuban" or "hyo"
    QRect rect;          // in the container's drawing coordinates
    QString caption;
    QColor back;         // invalid: transparent or not given
    QColor fore;
    QFont font;
    bool isWidget = false;
    QWidget *widget = nullptr;
};

QString containerOf(TestForm &form, const QWidget *parent)
{
    if (parent == &form)
        return QStringLiteral("TestForm");
    if (parent == form.kokuban)
        return QStringLiteral("kokuban");
    if (parent == form.hyo)
        return QStringLiteral("hyo");
    return QStringLiteral("?");
}

Probe probeWidget(TestForm &form, QWidget *w)
{
    Probe p;
    p.isWidget = true;
    p.widget = w;
    p.container = containerOf(form, w->parentWidget());
    QPoint offset;
    if (auto *host = dynamic_cast<ControlHost *>(w->parentWidget()))
        offset = host->contentOffset();
    p.rect = w->geometry().translated(-offset);
    p.font = w->font();
    if (auto *button = dynamic_cast<CommandButton *>(w)) {
        p.caption = button->text();
        p.back = button->backColor();
    } else if (auto *box = qobject_cast<QCheckBox *>(w)) {
        p.caption = box->text();
        p.back = box->palette().color(box->backgroundRole());
        p.fore = box->palette().color(box->foregroundRole());
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        p.caption = edit->text();
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        p.caption = combo->currentText();
    } else if (auto *picture = dynamic_cast<PictureBox *>(w)) {
        p.back = picture->backColor();
        p.fore = picture->drawing().foreColor();
        p.font = picture->drawing().font();
    }
    return p;
}

Probe probeLabel(const QString &container, const LabelControl *label)
{
    Probe p;
    p.container = container;
    p.rect = label->rect().toRect();
    p.caption = label->caption();
    p.back = label->isTransparent() ? QColor() : label->backColor();
    p.fore = label->foreColor();
    p.font = label->font();
    return p;
}

std::optional<Probe> probe(TestForm &f, const QString &name)
{
    const std::pair<const char *, QWidget *> widgets[] = {
        { "Command1", f.Command1 }, { "end", f.end }, { "jidou", f.jidou }, { "tomeru", f.tomeru },
        { "susumu", f.susumu }, { "modoru", f.modoru }, { "Command2", f.Command2 },
        { "Check1", f.Check1 }, { "Check3", f.Check3 }, { "Check2", f.Check2 }, { "Check5", f.Check5 },
        { "Check6", f.Check6 },
        { "Combo1", f.Combo1 }, { "kokuban", f.kokuban }, { "gamen", f.gamen }, { "hyo", f.hyo },
        { "Picture1", f.Picture1 }, { "Check4", f.Check4 }, { "Text1", f.Text1 },
    };
    for (const auto &[widgetName, widget] : widgets) {
        if (name == QLatin1String(widgetName))
            return probeWidget(f, widget);
    }
    const std::pair<const char *, std::pair<const char *, LabelControl *>> labels[] = {
        { "Label6", { "TestForm", f.Label6 } }, { "Label3", { "TestForm", f.Label3 } }, { "Label8", { "TestForm", f.Label8 } },
        { "Label5", { "hyo", f.Label5 } }, { "Label7", { "hyo", f.Label7 } },
        { "Label1", { "kokuban", f.Label1 } }, { "Label2", { "kokuban", f.Label2 } },
        { "Label9(0)", { "kokuban", f.Label9[0] } }, { "Label9(1)", { "kokuban", f.Label9[1] } },
        { "Label9(2)", { "kokuban", f.Label9[2] } }, { "Label9(3)", { "kokuban", f.Label9[3] } },
        { "Label9(4)", { "kokuban", f.Label9[4] } }, { "Label9(5)", { "kokuban", f.Label9[5] } },
        { "Label4(0)", { "kokuban", f.Label4[0] } }, { "Label4(1)", { "kokuban", f.Label4[1] } },
        { "Label4(2)", { "kokuban", f.Label4[2] } }, { "Label4(3)", { "kokuban", f.Label4[3] } },
        { "Label4(4)", { "kokuban", f.Label4[4] } }, { "Label4(5)", { "kokuban", f.Label4[5] } },
        { "Label4(6)", { "kokuban", f.Label4[6] } }, { "Label4(8)", { "kokuban", f.Label4[8] } },
    };
    for (const auto &[labelName, place] : labels) {
        if (name == QLatin1String(labelName)) {
            if (!place.second)
                return std::nullopt;
            return probeLabel(QLatin1String(place.first), place.second);
        }
    }
    return std::nullopt;
}

LineControl *lineNamed(TestForm &f, const QString &name)
{
    if (name == QLatin1String("Line1")) return f.Line1;
    if (name == QLatin1String("Line2")) return f.Line2;
    if (name == QLatin1String("Line3")) return f.Line3;
    if (name == QLatin1String("Line4(1)")) return f.Line4[1];
    for (int i = 0; i < 8; ++i) {
        if (name == QStringLiteral("Line5(%1)").arg(i)) return f.Line5[i];
    }
    for (int i = 0; i < 4; ++i) {
        if (name == QStringLiteral("Line6(%1)").arg(i)) return f.Line6[i];
        if (name == QStringLiteral("Line7(%1)").arg(i)) return f.Line7[i];
        if (name == QStringLiteral("Line9(%1)").arg(i)) return f.Line9[i];
    }
    return nullptr;
}

QColor at(const QImage &image, QPoint logical)
{
    const qreal ratio = image.devicePixelRatio();
    return QColor(image.pixel(int(logical.x() * ratio), int(logical.y() * ratio)));
}

// A point in a picture box's drawing coordinates, in its widget's.
QPoint inWidget(const PictureBox *box, QPoint p)
{
    return p + box->contentOffset();
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestForm> form;

private slots:
    void initTestCase()
    {
        form = LessonTest::makeForm();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanupTestCase()
    {
        form.reset();
    }

    void rectangles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips");
        auto row = [](const char *name, const char *container, int l, int t, int w, int h) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container) << QRect(l, t, w, h);
        };
        row("Command1", "TestForm", 3240, 240, 1215, 495);
        row("end", "TestForm", 8040, 240, 1215, 495);
        row("jidou", "TestForm", 240, 7320, 1695, 735);
        row("tomeru", "TestForm", 2160, 7560, 975, 495);
        row("susumu", "TestForm", 4560, 7320, 975, 735);
        row("modoru", "TestForm", 5640, 7320, 975, 735);
        row("Command2", "TestForm", 6720, 7560, 855, 495);
        row("Check1", "TestForm", 5640, 360, 1215, 390);
        row("Check3", "TestForm", 7800, 7200, 735, 390);
        row("Check2", "TestForm", 7800, 7680, 1335, 390);
        row("Check5", "TestForm", 9600, 8160, 2535, 495);
        row("Check6", "TestForm", 12360, 8160, 735, 495);
        row("Combo1", "TestForm", 3360, 7680, 735, 315);
        row("Label6", "TestForm", 240, 240, 2400, 495);
        row("Label3", "TestForm", 3360, 7320, 570, 285);
        row("Label8", "TestForm", 13680, 9960, 1695, 180);
        row("kokuban", "TestForm", 240, 960, 9015, 6135);
        row("gamen", "TestForm", 9480, 240, 5895, 7695);
        row("hyo", "TestForm", 120, 8400, 9135, 1695);
        row("Picture1", "TestForm", 120, 3000, 9255, 3975);
        row("Label5", "hyo", 0, 240, 495, 495);
        row("Label7", "hyo", 120, 960, 255, 495);
        row("Label1", "kokuban", 360, 5400, 3090, 360);
        row("Check4", "kokuban", 3600, 5520, 255, 255);
        row("Text1", "kokuban", 3960, 5400, 975, 495);
        row("Label2", "kokuban", 5040, 5520, 420, 315);
        row("Label9(0)", "kokuban", 5400, 1680, 315, 180);
        row("Label9(1)", "kokuban", 5280, 1440, 315, 180);
        row("Label9(2)", "kokuban", 6150, 1680, 315, 180);
        row("Label9(3)", "kokuban", 6039, 1080, 315, 180);
        row("Label9(4)", "kokuban", 6896, 1680, 315, 180);
        row("Label9(5)", "kokuban", 6793, 720, 315, 180);
    }
    void rectangles()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        const auto p = probe(*form, name);
        QVERIFY(p);
        QCOMPARE(p->container, container);
        QCOMPARE(p->rect, pxRect(twips));
    }

    // Widgets inside a picture box sit inside its border, where its drawing starts.
    void childWidgetsSitInsideTheBorder()
    {
        QCOMPARE(form->kokuban->contentOffset(), QPoint(PictureBox::BorderWidth, PictureBox::BorderWidth));
        QCOMPARE(form->Text1->geometry().topLeft(),
                 QPoint(px(3960) + PictureBox::BorderWidth, px(5400) + PictureBox::BorderWidth));
        QCOMPARE(form->Check4->geometry().topLeft(),
                 QPoint(px(3600) + PictureBox::BorderWidth, px(5520) + PictureBox::BorderWidth));
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        auto row = [](const char *name, const char *caption) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption);
        };
        row("Command1", "初期画面");
        row("end", "終了");
        row("jidou", "自    動");
        row("tomeru", "ストップ");
        row("susumu", "出す");
        row("modoru", "戻す");
        row("Command2", "最初に");
        row("Check1", "方眼");
        row("Check3", "表");
        row("Check2", "グラフ");
        row("Check5", "封筒をかくす");
        row("Check6", "式");
        row("Label6", "関数の利用");
        row("Label3", "速度");
        row("Label8", "Valdren 学習ソフト");
        row("Label5", "χ");
        row("Label7", "ｙ");
        row("Label1", "点Ｐが動いた距離χ");
        row("Check4", "Check4");
        row("Label2", "cm");
        row("Label9(0)", "2cm");
        row("Label9(1)", "2cm");
        row("Label9(2)", "2cm");
        row("Label9(3)", "4cm");
        row("Label9(4)", "2cm");
        row("Label9(5)", "6cm");
        row("Label4(0)", "A");
        row("Label4(1)", "B");
        row("Label4(2)", "C");
        row("Label4(3)", "Ｄ");
        row("Label4(4)", "１０cm");
        row("Label4(5)", "６cm");
        row("Label4(6)", "χcm");
        row("Label4(8)", "Ｐ");
    }
    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        const auto p = probe(*form, name);
        QVERIFY(p);
        QCOMPARE(p->caption, caption);
    }

    void missingArrayIndexes()
    {
        QVERIFY(form->Label4[7] == nullptr);
        QVERIFY(form->Line4[0] == nullptr);
        for (int i : { 0, 1, 2, 3, 4, 5, 6, 8 })
            QVERIFY(form->Label4[i] != nullptr);
    }

    // Back and text colours; an invalid colour stands for a transparent label.
    void colours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("back");
        QTest::addColumn<QColor>("fore");
        const QColor white(255, 255, 255), green(0, 128, 0), none;
        auto row = [](const char *name, QColor back, QColor fore) {
            QTest::newRow(name) << QString::fromLatin1(name) << back << fore;
        };
        row("Check1", FormBack, CheckText);
        row("Check3", FormBack, CheckText);
        row("Check2", FormBack, CheckText);
        row("Check5", FormBack, CheckText);
        row("Check6", FormBack, CheckText);
        row("Label6", QColor(0, 0, 255), white);
        row("Label3", FormBack, CheckText);
        row("Label8", FormBack, QColor(0, 192, 0));
        row("kokuban", green, white);
        row("Label1", green, white);
        row("Label2", green, white);
        for (int i = 0; i < 6; ++i)
            QTest::addRow("Label9(%d)", i) << QStringLiteral("Label9(%1)").arg(i) << none << white;
        for (int i : { 0, 1, 2, 3, 4, 5, 8 })
            QTest::addRow("Label4(%d)", i) << QStringLiteral("Label4(%1)").arg(i) << none << white;
        row("Label4(6)", none, QColor(255, 128, 128));
    }
    void colours()
    {
        QFETCH(QString, name);
        QFETCH(QColor, back);
        QFETCH(QColor, fore);
        const auto p = probe(*form, name);
        QVERIFY(p);
        QCOMPARE(p->back, back);
        QCOMPARE(p->fore, fore);
    }

    void backColours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("back");
        auto row = [](const char *name, QColor back) { QTest::newRow(name) << QString::fromLatin1(name) << back; };
        row("Command1", QColor(255, 255, 192));
        row("end", QColor(192, 192, 255));
        row("jidou", QColor(0, 255, 0));
        row("tomeru", QColor(128, 255, 128));
        row("susumu", QColor(255, 255, 0));
        row("modoru", QColor(0, 255, 255));
        row("Command2", QColor(255, 192, 128));
        row("kokuban", QColor(0, 128, 0));
        row("gamen", PanelBack);
        row("hyo", PanelBack);
        row("Picture1", QColor(128, 255, 128));
        row("Label5", PanelBack);
        row("Label7", PanelBack);
        row("Check4", QColor(128, 128, 0));
    }
    void backColours()
    {
        QFETCH(QString, name);
        QFETCH(QColor, back);
        const auto p = probe(*form, name);
        QVERIFY(p);
        QCOMPARE(p->back, back);
    }

    // Colours as they show: the window, the check boxes and the picture boxes.
    void colourOnScreen()
    {
        const QImage shot = form->grab().toImage();
        QCOMPARE(form->backColor(), FormBack);
        QCOMPARE(at(shot, QPoint(8, 40)), FormBack);
        QCOMPARE(at(shot, QPoint(627, 300)), FormBack);

        for (QCheckBox *box : { form->Check1, form->Check3, form->Check2, form->Check5, form->Check6 }) {
            const QImage image = box->grab().toImage();
            QCOMPARE(at(image, QPoint(box->width() - 1, 0)), FormBack);
            QCOMPARE(at(image, QPoint(box->width() - 1, box->height() - 1)), FormBack);
            int textPixels = 0;
            for (int y = 0; y < box->height(); ++y) {
                for (int x = 0; x < box->width(); ++x)
                    textPixels += at(image, QPoint(x, y)) == CheckText;
            }
            QVERIFY2(textPixels > 10, qPrintable(box->text()));
        }

        const QImage board = form->kokuban->grab().toImage();
        QCOMPARE(at(board, inWidget(form->kokuban, QPoint(200, 250))), QColor(0, 128, 0));
    }

    void fonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("points"); // 0: the default window font
        QTest::addColumn<bool>("bold");
        auto row = [](const char *name, double points, bool bold) {
            QTest::newRow(name) << QString::fromLatin1(name) << points << bold;
        };
        row("Command1", 12, true);
        row("end", 12, true);
        row("jidou", 15.75, true);
        row("tomeru", 12, false);
        row("susumu", 12, true);
        row("modoru", 12, true);
        row("Command2", 0, false);
        row("Check1", 18, false);
        row("Check3", 18, false);
        row("Check2", 18, false);
        row("Check5", 18, false);
        row("Check6", 18, false);
        row("Combo1", 9.75, false);
        row("Label6", 24, false);
        row("Label3", 14.25, false);
        row("Label8", 0, false);
        row("kokuban", 14.25, true);
        row("gamen", 0, false);
        row("hyo", 14.25, true);
        row("Label5", 24, true);
        row("Label7", 24, true);
        row("Label1", 18, false);
        row("Check4", 0, false);
        row("Text1", 18, false);
        row("Label2", 15.75, true);
        for (int i = 0; i < 6; ++i)
            QTest::addRow("Label9(%d)", i) << QStringLiteral("Label9(%1)").arg(i) << 0.0 << false;
        for (int i : { 0, 1, 2, 3, 8 })
            QTest::addRow("Label4(%d)", i) << QStringLiteral("Label4(%1)").arg(i) << 24.0 << false;
        for (int i : { 4, 5, 6 })
            QTest::addRow("Label4(%d)", i) << QStringLiteral("Label4(%1)").arg(i) << 18.0 << false;
    }
    void fonts()
    {
        QFETCH(QString, name);
        QFETCH(double, points);
        QFETCH(bool, bold);
        const auto p = probe(*form, name);
        QVERIFY(p);
        const QFont font = p->font;
        if (points > 0) {
            QCOMPARE(font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
            QCOMPARE(font.pointSizeF(), points);
            QCOMPARE(font.weight(), bold ? QFont::Weight(700) : QFont::Weight(400));
            QCOMPARE(QFontInfo(font).family(), QStringLiteral("Monapo"));
        } else {
            QCOMPARE(font.weight(), QFont::Weight(400));
        }
        // Every font shows Japanese, the default window font too.
        const QFontMetrics metrics(font);
        for (char32_t c : { U'関', U'数', U'ス', U'か' })
            QVERIFY2(metrics.inFontUcs4(c), qPrintable(QFontInfo(font).family()));
    }

    void layoutFaceResolvesToMonapo()
    {
        QFont face(QStringLiteral("ＭＳ Ｐゴシック"));
        face.setPointSizeF(12);
        QCOMPARE(QFontInfo(face).family(), QStringLiteral("Monapo"));
        face.setBold(true);
        QCOMPARE(QFontInfo(face).family(), QStringLiteral("Monapo"));
    }

    // With the widths of the layout's face every caption fits its control.
    void captionsFit_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : { "Command1", "end", "jidou", "tomeru", "susumu", "modoru", "Command2", "Check1",
                                  "Check3", "Check2", "Check5", "Check6", "Label6", "Label3", "Label8", "Label5", "Label7",
                                  "Label1", "Label2", "Label9(0)", "Label9(3)", "Label9(5)" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void captionsFit()
    {
        QFETCH(QString, name);
        const auto p = probe(*form, name);
        QVERIFY(p);
        int room = p->rect.width();
        if (auto *box = qobject_cast<QCheckBox *>(p->widget)) {
            QStyleOptionButton option;
            option.initFrom(box);
            room -= box->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, box)
                    + box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, box);
        }
        const QFontMetrics metrics(p->font);
        QVERIFY2(metrics.horizontalAdvance(p->caption) <= room,
                 qPrintable(QStringLiteral("%1 px of text in %2 px").arg(metrics.horizontalAdvance(p->caption)).arg(room)));
        QVERIFY2(metrics.height() <= p->rect.height() + 2 || p->isWidget,
                 qPrintable(QStringLiteral("%1 px high in %2 px").arg(metrics.height()).arg(p->rect.height())));
    }

    void lines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QLineF>("twips");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("width");
        QTest::newRow("Line3") << "Line3" << QLineF(120, 840, 9000, 840) << QColor(0, 0, 0) << 3;
        QTest::newRow("Line2") << "Line2" << QLineF(480, 120, 480, 1560) << QColor(0, 0, 0) << 3;
        QTest::newRow("Line1") << "Line1" << QLineF(0, 840, 9000, 840) << QColor(0, 64, 0) << 150;
        QTest::newRow("Line4(1)") << "Line4(1)" << QLineF(360, 5880, 3480, 5880) << QColor(255, 0, 0) << 3;
    }
    void lines()
    {
        QFETCH(QString, name);
        QFETCH(QLineF, twips);
        QFETCH(QColor, color);
        QFETCH(int, width);
        const LineControl *line = lineNamed(*form, name);
        QVERIFY(line);
        QCOMPARE(QLineF(line->x1(), line->y1(), line->x2(), line->y2()),
                 QLineF(px(int(twips.x1())), px(int(twips.y1())), px(int(twips.x2())), px(int(twips.y2()))));
        QCOMPARE(line->color(), color);
        QCOMPARE(line->width(), width);
        QVERIFY(line->isVisible());
    }

    void runTimeLineStyles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("width");
        for (int i = 0; i < 8; ++i) {
            if (i == 4)
                QTest::newRow("Line5(4)") << "Line5(4)" << QColor(255, 0, 0) << 5;
            else
                QTest::addRow("Line5(%d)", i) << QStringLiteral("Line5(%1)").arg(i) << QColor(255, 255, 255) << 3;
        }
        for (const char *array : { "Line6", "Line7", "Line9" }) {
            for (int i = 0; i < 4; ++i)
                QTest::addRow("%s(%d)", array, i) << QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(i)
                                                   << QColor(255, 255, 0) << 2;
        }
    }
    void runTimeLineStyles()
    {
        QFETCH(QString, name);
        QFETCH(QColor, color);
        QFETCH(int, width);
        const LineControl *line = lineNamed(*form, name);
        QVERIFY(line);
        QCOMPARE(line->color(), color);
        QCOMPARE(line->width(), width);
    }

    void pointP()
    {
        QCOMPARE(form->Shape1->color(), QColor(255, 0, 0));
        QCOMPARE(form->Shape1->size(), QSizeF(px(150), px(120)));
        // The dot shows red around B, where the envelope's lines leave it uncovered.
        const QImage board = form->kokuban->grab().toImage();
        const QRect dot = QRectF(QPointF(form->Shape1->left(), form->Shape1->top()), form->Shape1->size()).toRect();
        int red = 0;
        for (int y = dot.top() - 2; y <= dot.bottom() + 2; ++y) {
            for (int x = dot.left() - 2; x <= dot.right() + 2; ++x) {
                if (at(board, inWidget(form->kokuban, QPoint(x, y))) == QColor(255, 0, 0)) {
                    ++red;
                    QVERIFY2(dot.contains(x, y), qPrintable(QStringLiteral("red at %1, %2").arg(x).arg(y)));
                }
            }
        }
        QVERIFY2(red >= 10, qPrintable(QString::number(red)));
    }

    // The fixed lines as they show.
    void linesOnScreen()
    {
        const QImage board = form->kokuban->grab().toImage();
        const QColor tray(0, 64, 0), red(255, 0, 0), green(0, 128, 0);
        QCOMPARE(at(board, inWidget(form->kokuban, QPoint(300, 20))), tray);
        QCOMPARE(at(board, inWidget(form->kokuban, QPoint(30, 128))), tray);
        QCOMPARE(at(board, inWidget(form->kokuban, QPoint(30, 136))), green);
        QCOMPARE(at(board, inWidget(form->kokuban, QPoint(100, 392))), red);
        QCOMPARE(at(board, inWidget(form->kokuban, QPoint(100, 396))), green);

        const QImage table = form->hyo->grab().toImage();
        QCOMPARE(at(table, inWidget(form->hyo, QPoint(300, 56))), QColor(0, 0, 0));
        QCOMPARE(at(table, inWidget(form->hyo, QPoint(32, 90))), QColor(0, 0, 0));
        QCOMPARE(at(table, inWidget(form->hyo, QPoint(300, 10))), PanelBack);
    }

    void initialValues()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("３.１次関数  (by t.Morvane)"));
        QVERIFY(form->Combo1->isEditable());
        const QStringList items = { QStringLiteral(" 0"), QStringLiteral("10"), QStringLiteral("20"),
                                    QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("200") };
        QCOMPARE(form->Combo1->count(), int(items.size()));
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(form->Combo1->itemText(i), items[i]);
        QCOMPARE(form->Combo1->currentText(), QStringLiteral("50"));
        QCOMPARE(form->Combo1->lineEdit()->text(), QStringLiteral("50"));
        QCOMPARE(form->Combo1->currentIndex(), 3);
        QVERIFY(form->Check4->isChecked());
        for (QCheckBox *box : { form->Check1, form->Check2, form->Check3, form->Check5, form->Check6 })
            QVERIFY2(!box->isChecked(), qPrintable(box->text()));
        QCOMPARE(form->Text1->text(), QStringLiteral(" 0.0"));
        QVERIFY(form->Text1->alignment() & Qt::AlignHCenter);
        QVERIFY(!form->Text1->isReadOnly());
        QVERIFY(!form->Picture1->isVisible());
        QCOMPARE(form->kokuban->drawing().drawWidth(), 2);
    }

    // What the start size shows: the blackboard and the buttons, and nothing of the panels.
    void startSize()
    {
        QCOMPARE(form->outerWidth(), 9700);
        QCOMPARE(form->outerHeight(), 8800);
        QVERIFY2(form->width() >= 617 && form->width() <= 632, qPrintable(QString::number(form->width())));
        QVERIFY2(form->height() >= 537 && form->height() <= 560, qPrintable(QString::number(form->height())));
        const QRect client = form->rect();
        for (QWidget *w : std::initializer_list<QWidget *> { form->kokuban, form->Command1, form->end, form->jidou,
                                                             form->tomeru, form->susumu, form->modoru, form->Command2,
                                                             form->Check1, form->Check3, form->Combo1 })
            QVERIFY2(client.contains(w->geometry()), qPrintable(w->objectName() + w->metaObject()->className()));
        QVERIFY(!client.intersects(form->gamen->geometry()));
        QVERIFY(!client.intersects(form->hyo->geometry()));
        QVERIFY(!client.intersects(form->Check5->geometry()));
        QVERIFY(!client.intersects(form->Check6->geometry()));
        QVERIFY(!client.intersects(form->Label8->rect().toRect()));
    }

    void enlargedSizes_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("graphShows");
        QTest::addColumn<bool>("tableShows");
        QTest::newRow("start") << 9700 << 8800 << false << false;
        QTest::newRow("wide") << 15700 << 8800 << true << false;
        QTest::newRow("high") << 9700 << 10800 << false << true;
        QTest::newRow("both") << 15700 << 10800 << true << true;
    }
    void enlargedSizes()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, graphShows);
        QFETCH(bool, tableShows);
        form->setOuterSize(width, height);
        const QRect client = form->rect();
        QCOMPARE(client.contains(form->gamen->geometry()), graphShows);
        QCOMPARE(client.intersects(form->gamen->geometry()), graphShows);
        QCOMPARE(client.contains(form->hyo->geometry()), tableShows);
        QCOMPARE(client.intersects(form->hyo->geometry()), tableShows);
        QCOMPARE(client.contains(form->Check5->geometry()), graphShows && tableShows);
        QCOMPARE(client.contains(form->Check6->geometry()), graphShows && tableShows);
        QCOMPARE(client.contains(form->Label8->rect().toRect()), graphShows && tableShows);
        QVERIFY(client.contains(form->kokuban->geometry()));
        // The nominal frame is the same whatever the size.
        form->setOuterSize(9700, 8800);
        const QSize start = form->size();
        form->setOuterSize(width, height);
        QCOMPARE(form->width() - start.width(), px(width) - px(9700));
        QCOMPARE(form->height() - start.height(), px(height) - px(8800));
        form->setOuterSize(9700, 8800);
    }

    // kokuban at the back, Picture1 in front; the text box and Check4 live on the board.
    // Practice, hidden until it is opened, covers them all.
    void stacking()
    {
        QList<QWidget *> order;
        for (QObject *child : form->children()) {
            if (auto *w = qobject_cast<QWidget *>(child))
                order.append(w);
        }
        QVERIFY(!order.isEmpty());
        QCOMPARE(order.takeLast()->objectName(), QStringLiteral("practice"));
        QCOMPARE(order.first(), static_cast<QWidget *>(form->kokuban));
        QCOMPARE(order.last(), static_cast<QWidget *>(form->Picture1));
        QCOMPARE(form->Text1->parentWidget(), static_cast<QWidget *>(form->kokuban));
        QCOMPARE(form->Check4->parentWidget(), static_cast<QWidget *>(form->kokuban));

        const QPoint overlap(300, 300);
        const QColor boardThere = at(form->grab().toImage(), overlap);
        QCOMPARE(boardThere, QColor(0, 128, 0));
        form->Check5->setChecked(true);
        QVERIFY(form->Picture1->isVisible());
        const QImage covered = form->grab().toImage();
        const QImage cover = form->Picture1->grab().toImage();
        QCOMPARE(at(covered, overlap), at(cover, overlap - form->Picture1->pos()));
        QVERIFY(at(covered, overlap) != boardThere);
        QCOMPARE(at(covered, QPoint(300, 100)), QColor(0, 64, 0)); // the tray stays in view
        form->Check5->setChecked(false);
        QVERIFY(!form->Picture1->isVisible());
        QCOMPARE(at(form->grab().toImage(), QPoint(300, 300)), QColor(0, 128, 0));
    }

    // The cover shows in its own light green, all over, when 封筒をかくす shows it.
    void coverColour()
    {
        form->Check5->setChecked(true);
        const QImage cover = form->Picture1->grab().toImage();
        form->Check5->setChecked(false);
        const QRect inside = form->Picture1->rect().adjusted(PictureBox::BorderWidth, PictureBox::BorderWidth,
                                                             -PictureBox::BorderWidth, -PictureBox::BorderWidth);
        for (const QPoint p : { inside.topLeft(), inside.center(), inside.bottomRight(), QPoint(292, 100) })
            QCOMPARE(at(cover, p), QColor(128, 255, 128));
    }

    // Inside the board: drawing at the back, then the line controls, then the text box.
    void layersOnTheBoard()
    {
        PictureBox &board = *form->kokuban;
        const QColor blue = Palette::color(Palette::Blue);
        LessonTest::solidRect(board.drawing(), QPointF(10, 386), QPointF(340, 404), blue);
        const QImage shot = board.grab().toImage();
        QCOMPARE(at(shot, inWidget(&board, QPoint(100, 392))), QColor(255, 0, 0));
        QCOMPARE(at(shot, inWidget(&board, QPoint(100, 400))), blue);
        // Text1 covers the drawing under it (its lower right, away from the text).
        const QPoint underText(form->Text1->geometry().right() - 4, form->Text1->geometry().bottom() - 4);
        QVERIFY(board.drawing().pixel(underText.x() - PictureBox::BorderWidth, underText.y() - PictureBox::BorderWidth) == blue);
        QVERIFY(at(shot, underText) != blue);
        board.drawing().cls();
    }

    // Buttons are flat in their own colour: away from the caption, the face is that colour.
    void buttonsAreFlat_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : { "Command1", "end", "jidou", "tomeru", "susumu", "modoru", "Command2" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void buttonsAreFlat()
    {
        QFETCH(QString, name);
        const auto p = probe(*form, name);
        QVERIFY(p);
        auto *button = static_cast<CommandButton *>(p->widget);
        const bool wasEnabled = button->isEnabled();
        for (bool enabled : { true, false }) {
            button->setEnabled(enabled);
            const QImage image = button->grab().toImage();
            const QFontMetrics metrics(button->font());
            const QRect caption = metrics.boundingRect(button->rect(), Qt::AlignCenter, button->text()).adjusted(-3, -3, 3, 3);
            const QRect face = button->rect().adjusted(4, 4, -5, -5);
            int checked = 0;
            for (int y = face.top(); y <= face.bottom(); ++y) {
                for (int x = face.left(); x <= face.right(); ++x) {
                    if (caption.contains(x, y))
                        continue;
                    const QColor c = at(image, QPoint(x, y));
                    QVERIFY2(c == button->backColor(),
                             qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(c.name())));
                    ++checked;
                }
            }
            QVERIFY(checked > 40);
        }
        button->setEnabled(wasEnabled);
    }

    // A disabled button shows its caption greyed: nothing dark is left of it.
    void disabledButtonsLookDisabled_data()
    {
        buttonsAreFlat_data();
    }
    void disabledButtonsLookDisabled()
    {
        QFETCH(QString, name);
        const auto p = probe(*form, name);
        QVERIFY(p);
        auto *button = static_cast<CommandButton *>(p->widget);
        const bool wasEnabled = button->isEnabled();
        button->setEnabled(true);
        const QImage enabled = button->grab().toImage();
        button->setEnabled(false);
        const QImage disabled = button->grab().toImage();
        button->setEnabled(wasEnabled);
        QVERIFY(enabled != disabled);

        const QRect caption = QFontMetrics(button->font()).boundingRect(button->rect(), Qt::AlignCenter, button->text());
        auto darkIn = [&](const QImage &image) {
            int count = 0;
            for (int y = caption.top(); y <= caption.bottom(); ++y) {
                for (int x = caption.left(); x <= caption.right(); ++x) {
                    const QColor c = at(image, QPoint(x, y));
                    count += c.red() < 80 && c.green() < 80 && c.blue() < 80;
                }
            }
            return count;
        };
        QVERIFY(darkIn(enabled) > 10);
        QCOMPARE(darkIn(disabled), 0);
    }

    // A button shows what a new button in its state would, however its state came about
    // (it keeps the faces it painted).
    void buttonFacesFollowTheirState()
    {
        CommandButton &button = *form->susumu;
        const QString caption = button.text();
        auto same = [&](const char *what) {
            CommandButton fresh(button.text(), button.backColor());
            fresh.setFont(button.font());
            fresh.resize(button.size());
            fresh.setEnabled(button.isEnabled());
            fresh.setDown(button.isDown());
            QVERIFY2(button.grab().toImage() == fresh.grab().toImage(), what);
        };
        same("as started");
        const std::pair<const char *, std::function<void()>> changes[] = {
            { "pressed", [&] { button.setDown(true); } },
            { "released", [&] { button.setDown(false); } },
            { "disabled", [&] { button.setEnabled(false); } },
            { "pressed while disabled", [&] { button.setDown(true); } },
            { "enabled while down", [&] { button.setEnabled(true); } },
            { "another caption", [&] { button.setText(QStringLiteral("出す出す")); } },
            { "released with it", [&] { button.setDown(false); } },
            { "wider", [&] { button.resize(button.size() + QSize(12, 0)); } },
            { "its caption back", [&] { button.setText(caption); } },
        };
        const QSize size = button.size();
        for (const auto &[what, change] : changes) {
            change();
            same(what);
        }
        button.resize(size);

        // Clicked, a button comes up in the window's next paint: the screen shows it up.
        CommandButton &back = *form->modoru;
        QTest::mouseClick(&back, Qt::LeftButton);
        QCoreApplication::processEvents();
        const QPoint corner = back.mapTo(form.get(), QPoint());
        const QImage shown = form->screen()->grabWindow(form->winId(), corner.x(), corner.y(), back.width(), back.height())
                                 .toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, back.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // Both panels opened and the whole window saved, for anyone to look at.
    void screenshotOfTheWholeWindow()
    {
        form->Check2->setChecked(true);
        form->Check3->setChecked(true);
        QCOMPARE(form->outerWidth(), 15700);
        QCOMPARE(form->outerHeight(), 10800);
        QCoreApplication::processEvents();
        const QImage shot = form->grab().toImage();
        QCOMPARE(shot.size(), form->size() * shot.devicePixelRatio());
        const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/window.png");
        QFile::remove(path);
        QVERIFY(shot.save(path, "PNG"));
        QVERIFY(QFile::exists(path));
        QCOMPARE(QImage(path).size(), shot.size());
        QCOMPARE(at(shot, form->gamen->geometry().topLeft() + inWidget(form->gamen, QPoint(200, 200))), PanelBack);
        QCOMPARE(at(shot, form->hyo->geometry().topLeft() + inWidget(form->hyo, QPoint(300, 10))), PanelBack);
        form->Check2->setChecked(false);
        form->Check3->setChecked(false);
        QCOMPARE(form->outerWidth(), 9700);
        QCOMPARE(form->outerHeight(), 8800);
    }
};

LESSON_TEST_MAIN(TestLayout)
#include "tst_layout.moc"
