#include "window/file_dialog.h"

#include <QFileDialog>
#include <deque>

#include "files/file_names.h"

namespace velnora::window {

namespace {
// Answers given in advance by tests; only the user-interface thread uses them.
std::deque<std::optional<std::string>> next_answers;
std::string last_proposed;
}  // namespace

void SetNextSaveFileAnswer(std::optional<std::string> answer) {
    next_answers.push_back(std::move(answer));
}

std::string TakeProposedSaveFile() {
    return std::exchange(last_proposed, {});
}

std::optional<std::string> ChooseSaveFile(QWidget* owner, std::string_view proposed,
                                          const QString& filter) {
    if (!next_answers.empty()) {
        std::optional<std::string> answer = next_answers.front();
        next_answers.pop_front();
        last_proposed.assign(proposed);
        return answer;
    }
    QString start = QString::fromStdString(files::ToDiskName(proposed).value_or(""));
    // The dialog asks before replacing a file and only offers existing directories.
    QString chosen = QFileDialog::getSaveFileName(owner, QString(), start, filter);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return files::FromDiskName(chosen.toStdString());
}

}  // namespace velnora::window
