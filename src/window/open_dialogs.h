#pragma once

// Choosing something to read: an existing directory or an existing file. Paths are the disk's
// own (UTF-8): what is read may have a name the program's Shift_JIS could not hold. Tests answer
// the dialogs in advance instead of showing them.

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

namespace velnora::window {

// The directory chosen, or nothing when the dialog was cancelled.
std::optional<std::string> ChooseDirectory(QWidget* owner, const QString& caption);
// The file chosen, or nothing; `filter` is a Qt name filter.
std::optional<std::string> ChooseOpenFile(QWidget* owner, const QString& caption,
                                          const QString& filter);

// For tests: the next dialog of either kind is not shown but answered with this path
// (nothing: cancelled).
void SetNextOpenAnswer(std::optional<std::string> answer);

}  // namespace velnora::window
