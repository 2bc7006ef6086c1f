#include "window/message_box.h"

#include <QMessageBox>
#include <deque>
#include <vector>

#include "desktop/qt_text.h"

namespace velnora::window {

namespace {
// Answers given in advance by tests, and what was asked; only the user-interface thread uses
// them.
std::deque<MessageAnswer> next_answers;
std::vector<ShownMessage> shown;
}  // namespace

void SetNextMessageAnswer(MessageAnswer answer) {
    next_answers.push_back(answer);
}

std::vector<ShownMessage> TakeShownMessages() {
    return std::exchange(shown, {});
}

MessageAnswer ShowMessage(QWidget* owner, std::string_view text, std::string_view caption,
                          MessageButtons buttons, MessageIcon icon) {
    if (!next_answers.empty()) {
        MessageAnswer answer = next_answers.front();
        next_answers.pop_front();
        shown.push_back({std::string(text), std::string(caption), icon, owner != nullptr});
        return answer;
    }
    QMessageBox box(owner);
    box.setWindowTitle(desktop::FromSjis(caption));
    box.setText(desktop::FromSjis(text));
    switch (icon) {
        case MessageIcon::kNone:
            break;
        case MessageIcon::kInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::kWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::kError:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::kQuestion:
            box.setIcon(QMessageBox::Question);
            break;
    }
    if (buttons == MessageButtons::kYesNoDefaultNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::kYes : MessageAnswer::kNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::kOk;
}

}  // namespace velnora::window
