#include "surface/fonts.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>

namespace Fonts {

QString layoutFace()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void install()
{
    // A build without system fonts (the browser's) carries subsets of the faces below
    // under names of their own; they come first where they exist.
    QStringList embedded;
    for (const char *file : { ":/lesson-fonts/lesson-gothic.ttf", ":/lesson-fonts/lesson-gothic-fallback.ttf" }) {
        if (QFile::exists(QLatin1String(file)))
            embedded += QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(QLatin1String(file)));
    }
    const QStringList japaneseGothics = embedded + QStringList {
        QStringLiteral("Monapo"),
        QStringLiteral("IPAPGothic"),
        QStringLiteral("IPAGothic"),
        QStringLiteral("Noto Sans CJK JP"),
        QStringLiteral("VL PGothic"),
        QStringLiteral("TakaoPGothic"),
    };
    QFont::insertSubstitutions(layoutFace(), japaneseGothics);
    QApplication::setFont(defaultFont());
}

QFont layoutFont(double pointSize, bool bold)
{
    QFont font(layoutFace());
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QFont defaultFont()
{
    return layoutFont(9);
}

} // namespace Fonts
