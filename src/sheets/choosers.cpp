#include "sheets/choosers.h"

#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QSortFilterProxyModel>
#include <algorithm>

#include "desktop/qt_text.h"
#include "files/file_names.h"
#include "sheets/sheet_texts.h"
#include "text/bounded_string.h"

namespace velnora::sheets {

QColor ToQColor(settings::ColorRef color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

settings::ColorRef ToColorRef(const QColor& color) {
    return static_cast<settings::ColorRef>(color.red()) |
           (static_cast<settings::ColorRef>(color.green()) << 8) |
           (static_cast<settings::ColorRef>(color.blue()) << 16);
}

std::optional<FontChoice> DialogChoosers::ChooseFont(QWidget* owner, const FontChoice& initial) {
    QFont font(desktop::FromSjis(initial.face_name));
    font.setPointSize(initial.point > 0 ? initial.point : 10);
    font.setBold(initial.bold);
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikeout);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, font, owner, desktop::FromSjis(kFontButton));
    if (!ok) {
        return std::nullopt;
    }
    FontChoice choice;
    choice.face_name = desktop::ToSjis(chosen.family());
    // Whole points, as a size in tenths of a point divided by 10.
    choice.point = static_cast<int>(chosen.pointSizeF() * 10) / 10;
    choice.bold = chosen.weight() == QFont::Bold;
    choice.italic = chosen.italic();
    choice.underline = chosen.underline();
    choice.strikeout = chosen.strikeOut();
    // Qt's font dialog offers no colour, so none is chosen here.
    return choice;
}

std::optional<settings::ColorRef> DialogChoosers::ChooseColor(
    QWidget* owner, std::string_view title, settings::ColorRef initial,
    std::array<settings::ColorRef, settings::kCustomColorCount>& custom_colors) {
    int shared_slots = std::min(QColorDialog::customCount(), settings::kCustomColorCount);
    for (int i = 0; i < shared_slots; ++i) {
        QColorDialog::setCustomColor(i, ToQColor(custom_colors[i]));
    }
    QColor chosen = QColorDialog::getColor(ToQColor(initial), owner, desktop::FromSjis(title));
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    for (int i = 0; i < shared_slots; ++i) {
        custom_colors[i] = ToColorRef(QColorDialog::customColor(i));
    }
    return ToColorRef(chosen);
}

namespace {

// A path chosen in a dialog as the program's file name: nothing when it has no Shift_JIS form
// or does not fit.
std::optional<std::string> ChosenPath(const QString& chosen) {
    std::optional<std::string> path = files::FromDiskName(QFile::encodeName(chosen).toStdString());
    if (!path || path->size() >= text::kPathSize) {
        return std::nullopt;
    }
    return path;
}

// Directories, and the files the user may run.
class ProgramsOnly : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (files == nullptr) {
            return true;
        }
        QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }
};

}  // namespace

std::optional<std::string> DialogChoosers::ChooseProgram(QWidget* owner, std::string_view current) {
    QFileDialog dialog(owner, desktop::FromSjis(kOpenFileTitle));
    dialog.setObjectName(QStringLiteral("programChooser"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog, which can list files by their permission.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ProgramsOnly(&dialog));
    dialog.setNameFilter(desktop::FromSjis(kProgramFilterName) + QStringLiteral(" (*)"));
    QFileInfo start(QFile::decodeName(files::ToDiskName(current).value_or("").c_str()));
    if (!current.empty() && start.isFile()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    } else {
        dialog.setDirectory(QStringLiteral("/usr/bin"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ChosenPath(dialog.selectedFiles().front());
}

std::optional<std::string> DialogChoosers::ChooseFile(QWidget* owner, std::string_view filter_name,
                                                      std::string_view pattern) {
    QString filters = desktop::FromSjis(filter_name) + QStringLiteral(" (") +
                      desktop::FromSjis(pattern) + QStringLiteral(");;") +
                      desktop::FromSjis(kAllFilesFilterName) + QStringLiteral(" (") +
                      desktop::FromSjis(kAllFilesFilterPattern) + QStringLiteral(")");
    QString chosen =
        QFileDialog::getOpenFileName(owner, desktop::FromSjis(kOpenFileTitle), QString(), filters);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return ChosenPath(chosen);
}

}  // namespace velnora::sheets
