#pragma once

#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

// Reading a PDF back with the poppler tools, as any reader of the file would.
namespace Poppler {

// Empty when every tool is installed, otherwise what is missing.
inline QString missingTools()
{
    QStringList missing;
    for (const char *tool : { "pdfinfo", "pdftotext", "pdftoppm", "pdffonts" }) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing << QString::fromLatin1(tool);
    }
    return missing.isEmpty() ? QString()
                             : QStringLiteral("%1 not installed (Debian package poppler-utils)").arg(missing.join(QStringLiteral(", ")));
}

// The tool's standard output; empty when it failed.
inline QByteArray run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

inline QString info(const QString &pdf)
{
    return QString::fromUtf8(run(QStringLiteral("pdfinfo"), { pdf }));
}

// The text as pdftotext reads it, every blank and line break taken out.
inline QString compactText(const QString &pdf)
{
    QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") }));
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

struct Word
{
    QString text;
    QRectF box; // points from the page's top left
};

inline std::vector<Word> words(const QString &pdf)
{
    const QString html = QString::fromUtf8(run(QStringLiteral("pdftotext"), { QStringLiteral("-bbox"), pdf, QStringLiteral("-") }));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([-\\d.]+)\" yMin=\"([-\\d.]+)\" xMax=\"([-\\d.]+)\" yMax=\"([-\\d.]+)\">([^<]*)</word>"));
    std::vector<Word> result;
    for (const QRegularExpressionMatch &m : word.globalMatch(html)) {
        QString text = m.captured(5);
        text.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        result.push_back({ text, QRectF(topLeft, bottomRight) });
    }
    return result;
}

// The words whose centre lies in the box, in reading order.
inline QStringList wordsIn(const std::vector<Word> &all, QRectF box)
{
    QStringList found;
    for (const Word &w : all) {
        if (box.contains(w.box.center()))
            found << w.text;
    }
    return found;
}

// The fonts pdffonts lists, each with whether it is embedded.
struct Font
{
    QString name;
    bool embedded;
};

inline std::vector<Font> fonts(const QString &pdf)
{
    const QStringList lines = QString::fromUtf8(run(QStringLiteral("pdffonts"), { pdf })).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::vector<Font> result;
    // Two heading lines; then name, type (may hold blanks), encoding, emb, sub, uni, object, generation.
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() >= 7)
            result.push_back({ fields.first(), fields[fields.size() - 5] == QLatin1String("yes") });
    }
    return result;
}

// The first page as an image at the resolution, in dots per inch.
inline QImage render(const QString &pdf, int dpi, const QTemporaryDir &dir)
{
    const QString stem = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), { QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                                      QStringLiteral("-singlefile"), pdf, stem });
    return QImage(stem + QStringLiteral(".png"));
}

} // namespace Poppler
