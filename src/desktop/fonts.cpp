#include "desktop/fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <array>

#include "desktop/qt_text.h"

namespace velnora::desktop {

namespace {

// Japanese families preferred when the configured face is not installed, best first.
constexpr std::array<const char*, 5> kJapaneseFamilies = {
    "Noto Sans CJK JP", "IPAPGothic", "IPAGothic", "VL PGothic", "TakaoPGothic"};

constexpr int kDefaultPoint = 10;

}  // namespace

QString ShownFamily(std::string_view face_name) {
    QString face = FromSjis(face_name);
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
        return face;
    }
    for (const char* family : kJapaneseFamilies) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            return QString::fromLatin1(family);
        }
    }
    QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& family : japanese) {
        if (family.contains(QLatin1String("Sans")) || family.contains(QLatin1String("Gothic"))) {
            return family;
        }
    }
    return japanese.isEmpty() ? face : japanese.first();
}

QFont ShownFont(const FontSettings& settings) {
    QFont font(ShownFamily(settings.face_name));
    font.setPointSize(settings.point > 0 ? settings.point : kDefaultPoint);
    font.setBold(settings.bold);
    font.setItalic(settings.italic);
    font.setUnderline(settings.underline);
    font.setStrikeOut(settings.strikeout);
    return font;
}

}  // namespace velnora::desktop
