#pragma once

// The save-file dialog: a name proposed, an existing directory required, a prompt before an
// existing file is replaced. Tests answer it in advance instead of showing it.

#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

namespace velnora::window {

// The path chosen (Shift_JIS), or nothing when the dialog was cancelled or the name has no
// Shift_JIS form. `proposed` is a Shift_JIS path; `filter` a Qt name filter in UTF-8.
std::optional<std::string> ChooseSaveFile(QWidget* owner, std::string_view proposed,
                                          const QString& filter);

// For tests: the next dialog is not shown but answered with this path (nothing: cancelled); the
// path it proposed is kept for TakeProposedSaveFile.
void SetNextSaveFileAnswer(std::optional<std::string> answer);
std::string TakeProposedSaveFile();

}  // namespace velnora::window
