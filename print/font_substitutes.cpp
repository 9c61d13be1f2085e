#include "print/font_substitutes.h"

#include <QFont>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

void InstallFontSubstitutes()
{
    // Proportional faces first where the name asks for one; the fixed-pitch
    // face and then any sans-serif Japanese face behind it.
    const QStringList gothic = {u"IPAGothic"_s, u"IPAexGothic"_s, u"Noto Sans CJK JP"_s, u"VL Gothic"_s};
    const QStringList pGothic = QStringList{u"IPAPGothic"_s} + gothic;
    const QStringList mincho = {u"IPAMincho"_s, u"IPAexMincho"_s, u"Noto Serif CJK JP"_s};
    const QStringList pMincho = QStringList{u"IPAPMincho"_s} + mincho;
    QFont::insertSubstitutions(u"ＭＳ ゴシック"_s, gothic);
    QFont::insertSubstitutions(u"ＭＳ Ｐゴシック"_s, pGothic);
    QFont::insertSubstitutions(u"ＭＳ 明朝"_s, mincho);
    QFont::insertSubstitutions(u"ＭＳ Ｐ明朝"_s, pMincho);
}

QStringList SubstitutedFaceNames()
{
    return {u"ＭＳ ゴシック"_s, u"ＭＳ Ｐゴシック"_s, u"ＭＳ 明朝"_s, u"ＭＳ Ｐ明朝"_s};
}
