#include "window/open_dialogs.h"

#include <QFileDialog>
#include <deque>

namespace velnora::window {

namespace {

// Answers given in advance by tests; only the user-interface thread uses them.
std::deque<std::optional<std::string>> next_answers;

std::optional<std::optional<std::string>> TakeAnswer() {
    if (next_answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(next_answers.front());
    next_answers.pop_front();
    return answer;
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path.toStdString();
}

}  // namespace

void SetNextOpenAnswer(std::optional<std::string> answer) {
    next_answers.push_back(std::move(answer));
}

std::optional<std::string> ChooseDirectory(QWidget* owner, const QString& caption) {
    if (auto answer = TakeAnswer()) {
        return *answer;
    }
    return Chosen(QFileDialog::getExistingDirectory(owner, caption));
}

std::optional<std::string> ChooseOpenFile(QWidget* owner, const QString& caption,
                                          const QString& filter) {
    if (auto answer = TakeAnswer()) {
        return *answer;
    }
    return Chosen(QFileDialog::getOpenFileName(owner, caption, QString(), filter));
}

}  // namespace velnora::window
