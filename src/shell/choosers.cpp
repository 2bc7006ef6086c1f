#include "shell/choosers.h"

#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <algorithm>

#include "common/bounded_string.h"
#include "platform/file_names.h"
#include "platform/qt_text.h"
#include "shell/sheet_texts.h"

namespace velnora::shell {

QColor ToQColor(ColorRef color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

ColorRef ToColorRef(const QColor& color) {
    return static_cast<ColorRef>(color.red()) | (static_cast<ColorRef>(color.green()) << 8) |
           (static_cast<ColorRef>(color.blue()) << 16);
}

std::optional<FontChoice> DialogChoosers::ChooseFont(QWidget* owner, const FontChoice& initial) {
    QFont font(platform::FromSjis(initial.face_name));
    font.setPointSize(initial.point > 0 ? initial.point : 10);
    font.setBold(initial.bold);
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikeout);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, font, owner, platform::FromSjis(kFontButton));
    if (!ok) {
        return std::nullopt;
    }
    FontChoice choice;
    choice.face_name = platform::ToSjis(chosen.family());
    // Whole points, as a size in tenths of a point divided by 10.
    choice.point = static_cast<int>(chosen.pointSizeF() * 10) / 10;
    choice.bold = chosen.weight() == QFont::Bold;
    choice.italic = chosen.italic();
    choice.underline = chosen.underline();
    choice.strikeout = chosen.strikeOut();
    // Qt's font dialog offers no colour, so none is chosen here.
    return choice;
}

std::optional<ColorRef> DialogChoosers::ChooseColor(
    QWidget* owner, std::string_view title, ColorRef initial,
    std::array<ColorRef, kCustomColorCount>& custom_colors) {
    int shared_slots = std::min(QColorDialog::customCount(), kCustomColorCount);
    for (int i = 0; i < shared_slots; ++i) {
        QColorDialog::setCustomColor(i, ToQColor(custom_colors[i]));
    }
    QColor chosen = QColorDialog::getColor(ToQColor(initial), owner, platform::FromSjis(title));
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    for (int i = 0; i < shared_slots; ++i) {
        custom_colors[i] = ToColorRef(QColorDialog::customColor(i));
    }
    return ToColorRef(chosen);
}

std::optional<std::string> DialogChoosers::ChooseFile(QWidget* owner, std::string_view filter_name,
                                                      std::string_view pattern) {
    QString filters = platform::FromSjis(filter_name) + QStringLiteral(" (") +
                      platform::FromSjis(pattern) + QStringLiteral(");;") +
                      platform::FromSjis(kAllFilesFilterName) + QStringLiteral(" (") +
                      platform::FromSjis(kAllFilesFilterPattern) + QStringLiteral(")");
    QString chosen =
        QFileDialog::getOpenFileName(owner, platform::FromSjis(kOpenFileTitle), QString(), filters);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    std::optional<std::string> path =
        platform::FromDiskName(QFile::encodeName(chosen).toStdString());
    if (!path || path->size() >= common::kPathSize) {
        return std::nullopt;
    }
    return path;
}

}  // namespace velnora::shell
