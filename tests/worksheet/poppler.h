#pragma once

#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <vector>

// Reading a PDF back with the poppler tools, as any reader of the file would.
namespace Poppler {

// Empty when every tool is there, otherwise what is missing.
inline QString missingTools()
{
    QStringList missing;
    for (const char *tool : { "pdfinfo", "pdftotext", "pdftoppm", "pdffonts" }) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    }
    return missing.isEmpty() ? QString() : missing.join(QLatin1Char(' ')) + QStringLiteral(" missing: install poppler-utils");
}

inline QString run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(60000);
    return process.exitCode() == 0 ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

// pdftotext's text with every blank and line break taken out.
inline QString compactText(const QString &pdf)
{
    return run(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") }).remove(QRegularExpression(QStringLiteral("\\s")));
}

// The words whose centre lies in the box (points from the page's top left), in reading order.
inline QStringList wordsIn(const QString &pdf, QRectF box)
{
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QStringList found;
    for (const auto &m : word.globalMatch(run(QStringLiteral("pdftotext"), { QStringLiteral("-bbox"), pdf, QStringLiteral("-") }))) {
        const QRectF r(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        if (box.contains(r.center()))
            found << m.captured(5);
    }
    return found;
}

// The "emb" column of pdffonts, one entry per font.
inline QStringList fontsEmbedded(const QString &pdf)
{
    QStringList embedded;
    const QStringList lines = run(QStringLiteral("pdffonts"), { pdf }).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        // name, type (may hold blanks), encoding, emb, sub, uni, object, generation
        const QStringList fields = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        embedded << fields.value(fields.size() - 5);
    }
    return embedded;
}

// The first page as an image, at dpi dots per inch.
inline QImage render(const QString &pdf, int dpi)
{
    const QString stem = pdf + QStringLiteral("-page");
    run(QStringLiteral("pdftoppm"), { QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                      QStringLiteral("-singlefile"), pdf, stem });
    return QImage(stem + QStringLiteral(".png"));
}

} // namespace Poppler
