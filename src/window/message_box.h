#pragma once

// The program's message boxes: texts are Shift_JIS, buttons and icons as the window needs them.
// Tests answer them in advance (SetNextMessageAnswer) instead of showing them.

#include <QWidget>
#include <string>
#include <string_view>

namespace velnora::window {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MessageButtons { kOk, kYesNoDefaultNo };
enum class MessageAnswer { kOk, kYes, kNo };

// Shows a modal message box (owner may be null) and returns the button pressed.
MessageAnswer ShowMessage(QWidget* owner, std::string_view text, std::string_view caption,
                          MessageButtons buttons = MessageButtons::kOk,
                          MessageIcon icon = MessageIcon::kInformation);

// For tests: the next message boxes are not shown but answered with these answers, in order;
// their texts and captions are kept.
void SetNextMessageAnswer(MessageAnswer answer);
struct ShownMessage {
    std::string text;  // Shift_JIS
    std::string caption;
    MessageIcon icon = MessageIcon::kNone;
    bool owned = false;  // shown over an owner window
};
// The messages answered in advance so far, oldest first; cleared by TakeShownMessages.
std::vector<ShownMessage> TakeShownMessages();

}  // namespace velnora::window
