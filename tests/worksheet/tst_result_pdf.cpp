// A pupil's practice handed in: sheets built through their own API (right, wrong and shown
// answers, some typed but not checked, some untouched, with and without a name), their PDF
// read back with the poppler tools, their picture against the PDF's page, and their file
// names. What each page must say is worked out here from the plan a sheet was built by.
#include "practice/practice_sheet.h"
#include "support/lesson_test.h"
#include "worksheet/lesson_export.h"
#include "worksheet/poppler.h"
#include "worksheet/result_page.h"
#include "worksheet/worksheet_checks.h"

#include <QTemporaryDir>
#include <memory>

using namespace LessonTest;
using Column = ResultPage::Column;
using Kind = PracticeQuestion::Kind;

namespace {

using Name = std::array<QString, PracticeSheet::NameFields>;

// Readable and wrong: no figure has a slope of 7, and a value one or two off is not the one.
QString wrongAnswer(const PracticeQuestion &q, int nth)
{
    if (q.kind == Kind::Expression)
        return QStringLiteral("y=7x+%1").arg(nth);
    return AreaFunction::plain((q.kind == Kind::XAt ? q.x : q.y) + nth);
}

// A sheet built by a plan, one letter a question in order (the rest left alone):
//   r  right at the first try            R  wrong, then right
//   w  wrong once, still open            W  wrong twice: the answer is shown
//   t  typed, not checked                u  unreadable, checked (not a try)
//   -  nothing
// and what its page must say, compact (no blanks), worked out from the plan.
struct Built
{
    std::unique_ptr<PracticeSheet> sheet = std::make_unique<PracticeSheet>();
    QStringList answers, marks;
    int right = 0;
    QString groups;
};

QString compact(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

Built build(const Composition &figure, const QString &plan, const Name &name)
{
    Built b;
    PracticeSheet &sheet = *b.sheet;
    sheet.start(figure);
    for (int field = 0; field < PracticeSheet::NameFields; ++field)
        sheet.setName(field, name[field]);
    int right[3] = {}, total[3] = {}, open = 0;
    for (int i = 0; i < sheet.questionCount(); ++i) {
        const PracticeQuestion &q = sheet.questions()[i];
        const QChar step = i < plan.size() ? plan[i] : QLatin1Char('-');
        sheet.setCurrent(i);
        auto enter = [&](const QString &text) {
            sheet.setTyped(i, text);
            sheet.check();
        };
        QString answer, mark;
        switch (step.toLatin1()) {
        case 'r': enter(answer = q.answerText()); mark = QStringLiteral("○"); break;
        case 'R': enter(wrongAnswer(q, 1)); enter(answer = q.answerText()); mark = QStringLiteral("○2回目"); break;
        case 'w': enter(answer = wrongAnswer(q, 1)); mark = QStringLiteral("×"); break;
        case 'W': enter(wrongAnswer(q, 1)); enter(wrongAnswer(q, 2)); answer = QStringLiteral("答えは") + q.answerText(); mark = QStringLiteral("×"); break;
        case 't': sheet.setTyped(i, answer = QStringLiteral(" 1 2 ")); break;
        case 'u': enter(answer = QStringLiteral("あ")); break;
        default: break;
        }
        b.answers << compact(answer);
        b.marks << mark;
        const int group = q.kind == Kind::TableY ? 0 : q.kind == Kind::Expression ? 1 : 2;
        ++total[group];
        right[group] += step == QLatin1Char('r');
        open += QStringLiteral("wtu-").contains(step);
    }
    b.right = right[0] + right[1] + right[2];
    QStringList parts;
    const char *titles[] = { "表", "式", "yとx" };
    for (int g = 0; g < 3; ++g) {
        if (total[g])
            parts << QStringLiteral("%1%2/%3").arg(QString::fromUtf8(titles[g])).arg(right[g]).arg(total[g]);
    }
    b.groups = parts.join(QStringLiteral("、")) + (open ? QStringLiteral("（残り%1問）").arg(open) : QString());
    return b;
}

// The line of 年・組・番・名前 as the page must read it, compact.
QString nameLine(const QStringList &typed)
{
    return typed[0] + QStringLiteral("年") + typed[1] + QStringLiteral("組") + typed[2] + QStringLiteral("番名前") + typed[3];
}

const Name Nobody {};
const Name Hanako { QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("15"), QStringLiteral("山田　花子") };

void addSheets()
{
    QTest::addColumn<Composition>("figure");
    QTest::addColumn<QString>("plan");
    QTest::addColumn<Name>("name");
    QTest::addColumn<QStringList>("nameRead");
    QTest::newRow("untouched, no name") << Composition { 3, 1, 2, 0, 3 } << QString() << Nobody
                                        << QStringList { "", "", "", "" };
    QTest::newRow("partly, every kind of answer, named") << Composition { 1, 2, 3, 3, 2 } << QStringLiteral("rrwW-tRrur") << Hanako
                                                         << QStringList { "2", "3", "15", "山田花子" };
    QTest::newRow("wholly, right, shown and right later") << Composition { 3, 1, 2, 0, 3 } << QStringLiteral("rWRrrrrWrrRWrrrrr")
                                                          << Hanako << QStringList { "2", "3", "15", "山田花子" };
    QTest::newRow("wholly right, five domains, a name only")
        << Composition { 1, 3, 1, 3, 1 } << QStringLiteral("rrrrrrrrrrrrrrrrr") << Name { "", "", "", "Ann Lee" }
        << QStringList { "", "", "", "AnnLee" };
    QTest::newRow("wholly shown, the words typed too")
        << Composition { 0, 3, 0, 1, 0 } << QStringLiteral("WWWWWWWWWWWWWWWWW") << Name { "2年", "A 組", "7番", "" }
        << QStringList { "2", "A", "7", "" };
    QTest::newRow("wrong once everywhere, breaks in the name")
        << Composition { 2, 2, 2, 2, 2 } << QStringLiteral("wwwwwwwwwwwwwwwww")
        << Name { QStringLiteral("\n1"), QStringLiteral("a/b"), QStringLiteral("3\u2028"), QStringLiteral("髙橋\t家") + QChar(0) }
        << QStringList { "1", "a/b", "3", QStringLiteral("髙橋家") };
}

} // namespace

class TestResultPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int written = 0;

    QString writePdf(const PracticeSheet &sheet)
    {
        const QString path = dir.filePath(QStringLiteral("result-%1.pdf").arg(++written));
        return LessonExport::writeFile(path, LessonExport::resultPdf(sheet)) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
    }

    // One A4 page, text as text in embedded fonts: the title, the name as typed, the count,
    // the result by group, and in every question's row its text, the answer and the mark;
    // and the same page as a picture.
    void pdfSaysWhatWasAnswered_data() { addSheets(); }
    void pdfSaysWhatWasAnswered()
    {
        if (const QString missing = Poppler::missingTools(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        QFETCH(Composition, figure);
        QFETCH(QString, plan);
        QFETCH(Name, name);
        QFETCH(QStringList, nameRead);
        const Built b = build(figure, plan, name);
        const QString pdf = writePdf(*b.sheet);
        QVERIFY(!pdf.isEmpty());

        const auto [pages, size] = WorksheetChecks::pagesAndSize(pdf);
        QCOMPARE(pages, 1);
        QVERIFY2(qAbs(size.width() - 595.28) < 0.5 && qAbs(size.height() - 841.89) < 0.5, "A4");
        const QStringList embedded = Poppler::fontsEmbedded(pdf);
        QVERIFY(!embedded.isEmpty());
        QCOMPARE(embedded.count(QStringLiteral("yes")), embedded.size());
        QVERIFY(Poppler::compactText(pdf).contains(QStringLiteral("関数の利用練習の結果")));
        QVERIFY(Poppler::run(QStringLiteral("pdfinfo"), { pdf }).contains(LessonExport::resultTitle(*b.sheet)));

        auto read = [&](QRectF box) { return compact(Poppler::wordsIn(pdf, box).join(QString())); };
        QCOMPARE(read(ResultPage::countBox()), QStringLiteral("正解%1/%2").arg(b.right).arg(b.answers.size()));
        QCOMPARE(read(ResultPage::nameLine()), nameLine(nameRead));
        QCOMPARE(read(ResultPage::groupLine()), b.groups);
        for (int i = 0; i < b.sheet->questionCount(); ++i) {
            QCOMPARE(read(ResultPage::cell(i, Column::Question)), compact(b.sheet->questions()[i].text()));
            QCOMPARE(read(ResultPage::cell(i, Column::Answer)), b.answers[i]);
            QCOMPARE(read(ResultPage::cell(i, Column::Mark)), b.marks[i]);
        }
        // Nothing below the last row: the page has room for every question a figure asks.
        const QRectF last = ResultPage::cell(b.sheet->questionCount() - 1, Column::Mark);
        QVERIFY(last.bottom() < ResultPage::paperSize().height() - 36);
        QVERIFY(Poppler::wordsIn(pdf, QRectF(0, last.bottom() + 1, 600, 300)).isEmpty());

        // The picture is the PDF's page: A4 at a resolution it says, white, with nothing
        // transparent, and block by block as dark as poppler draws the PDF at that resolution.
        const QImage picture = LessonExport::resultPicture(*b.sheet);
        const double dpi = picture.dotsPerMeterX() * 0.0254;
        QVERIFY2(dpi >= 150, "sharp enough to read and to print");
        QCOMPARE(qRound(picture.dotsPerMeterY() * 0.0254), qRound(dpi));
        const QSizeF a4 = ResultPage::paperSize() * dpi / 72;
        QVERIFY(qAbs(picture.width() - a4.width()) <= 1 && qAbs(picture.height() - a4.height()) <= 1);
        QVERIFY(!picture.hasAlphaChannel());
        const QImage png = QImage::fromData(LessonExport::pngBytes(picture), "PNG");
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));
        for (QPoint corner : { QPoint(0, 0), QPoint(picture.width() - 1, picture.height() - 1) })
            QCOMPARE(picture.pixelColor(corner), QColor(Qt::white));

        const QImage page = Poppler::render(pdf, qRound(dpi));
        // poppler rounds the page's size in pixels up, the picture to the nearest.
        QVERIFY(qAbs(page.width() - picture.width()) <= 1 && qAbs(page.height() - picture.height()) <= 1);
        // Blocks of about 4 mm: a word or a mark missing or out of place changes one by more
        // than two renderers' edges and hinting do (at most 17 greys, by the large count).
        const int block = qRound(dpi / 6);
        int worst = 0;
        QPoint worstAt;
        const QSize common = page.size().boundedTo(picture.size());
        for (int y = 0; y + block <= common.height(); y += block) {
            for (int x = 0; x + block <= common.width(); x += block) {
                int a = 0, p = 0;
                for (int j = y; j < y + block; ++j) {
                    for (int i = x; i < x + block; ++i) {
                        a += qGray(picture.pixel(i, j));
                        p += qGray(page.pixel(i, j));
                    }
                }
                const int difference = qAbs(a - p) / (block * block);
                if (difference > worst) {
                    worst = difference;
                    worstAt = QPoint(x, y);
                }
            }
        }
        QVERIFY2(worst < 25, qPrintable(QStringLiteral("block at %1,%2 differs by %3 greys")
                                            .arg(worstAt.x()).arg(worstAt.y()).arg(worst)));
    }

    // The file's name says what it holds and who handed it in, safe on any file system.
    void fileNameSaysWhose_data()
    {
        QTest::addColumn<Name>("name");
        QTest::addColumn<QString>("title");
        const QString base = QStringLiteral("関数の利用-練習の結果");
        QTest::newRow("no name") << Nobody << base;
        QTest::newRow("all four") << Hanako << base + QStringLiteral("-2年3組15番-山田_花子");
        QTest::newRow("the name only") << Name { "", "", "", " 山田 " } << base + QStringLiteral("-山田");
        QTest::newRow("the words typed too") << Name { "2年", "A 組", "7番", "" } << base + QStringLiteral("-2年A組7番");
        QTest::newRow("characters file systems refuse")
            << Name { "a/b", "c:d", "*?", "<x>|\"y\"\\" } << base + QStringLiteral("-a_b年c_d組-x_y");
        QTest::newRow("dots at the ends") << Name { "", "", "", ".hidden." } << base + QStringLiteral("-hidden");
        QTest::newRow("breaks and controls")
            << Name { QStringLiteral("\n\u2028"), QString(), QString(), QString::fromUtf8("\xf0\xa0\xae\xb7野\t家") + QChar(0) }
            << base + QStringLiteral("-") + QString::fromUtf8("\xf0\xa0\xae\xb7野_家");
        QTest::newRow("long") << Name { QString(30, QChar(u'1')), "", "", QString(30, QChar(u'あ')) }
                              << base + QStringLiteral("-11111111年-") + QString(24, QChar(u'あ'));
        // Cut after a whole character, never inside one written as two halves.
        QTest::newRow("cut beside a character of two halves")
            << Name { "", "", "", QString(23, QChar(u'あ')) + QString::fromUtf8("\xf0\xa0\xae\xb7") }
            << base + QStringLiteral("-") + QString(23, QChar(u'あ'));
    }
    void fileNameSaysWhose()
    {
        QFETCH(Name, name);
        QFETCH(QString, title);
        PracticeSheet sheet;
        sheet.start(Composition { 3, 1, 2, 0, 3 });
        for (int field = 0; field < PracticeSheet::NameFields; ++field)
            sheet.setName(field, name[field]);
        QCOMPARE(LessonExport::resultTitle(sheet), title);
        QVERIFY(title.toUtf8().size() + 4 <= 255);
    }
};

LESSON_TEST_MAIN(TestResultPdf)
#include "tst_result_pdf.moc"
