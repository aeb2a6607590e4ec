#include "app/fonts.h"

#include <QApplication>

namespace Fonts {

QString layoutFace()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void install()
{
    const QStringList japaneseGothics = {
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
