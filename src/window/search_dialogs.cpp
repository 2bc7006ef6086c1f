#include "window/search_dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "desktop/qt_text.h"

namespace velnora::window {

namespace {

// The label and the edit above the dialog's row of buttons.
QLineEdit* AddTextRow(QDialog* dialog, QVBoxLayout* layout, const std::string& kept) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QString::fromUtf16(u"検索文字列"), dialog);
    auto* edit = new QLineEdit(desktop::FromSjis(kept), dialog);
    edit->setObjectName("SearchText");
    edit->setMinimumWidth(240);
    label->setBuddy(edit);
    row->addWidget(label);
    row->addWidget(edit, 1);
    layout->addLayout(row);
    edit->selectAll();
    return edit;
}

QPushButton* AddButton(QDialog* dialog, QHBoxLayout* row, const char16_t* text, const char* name) {
    auto* button = new QPushButton(QString::fromUtf16(text), dialog);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

}  // namespace

FindDialog::FindDialog(QWidget* parent, const std::string& kept,
                       std::function<bool(std::string)> find, std::function<bool()> find_next)
    : QDialog(parent) {
    setObjectName("FindDialog");
    setWindowTitle(QString::fromUtf16(u"検索"));
    auto* layout = new QVBoxLayout(this);
    edit_ = AddTextRow(this, layout, kept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* search = AddButton(this, buttons, u"検索", "FindButton");
    QPushButton* next = AddButton(this, buttons, u"次を検索", "FindNextButton");
    QPushButton* cancel = AddButton(this, buttons, u"ｷｬﾝｾﾙ", "CancelButton");
    search->setDefault(true);
    layout->addLayout(buttons);
    connect(search, &QPushButton::clicked, this, [this, find] {
        if (find(desktop::ToSjis(edit_->text()))) {
            accept();
        }
    });
    connect(next, &QPushButton::clicked, this, [this, find_next] {
        if (find_next()) {
            accept();
        }
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

PastLogSearchDialog::PastLogSearchDialog(QWidget* parent, const std::string& kept,
                                         std::function<bool(std::string)> start,
                                         std::function<void()> stop)
    : QDialog(parent) {
    setObjectName("PastLogSearchDialog");
    setWindowTitle(QString::fromUtf16(u"過去ログ検索"));
    auto* layout = new QVBoxLayout(this);
    edit_ = AddTextRow(this, layout, kept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    search_ = AddButton(this, buttons, u"検索", "SearchButton");
    stop_ = AddButton(this, buttons, u"中止", "StopButton");
    close_ = AddButton(this, buttons, u"終了", "CloseButton");
    search_->setDefault(true);
    layout->addLayout(buttons);
    SetSearching(false);
    connect(search_, &QPushButton::clicked, this, [this, start] {
        if (start(desktop::ToSjis(edit_->text()))) {
            SetSearching(true);
        }
    });
    connect(stop_, &QPushButton::clicked, this, [stop] { stop(); });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void PastLogSearchDialog::SearchEnded() {
    SetSearching(false);
}

void PastLogSearchDialog::SetSearching(bool searching) {
    searching_ = searching;
    search_->setEnabled(!searching);
    close_->setEnabled(!searching);
    stop_->setEnabled(searching);
}

void PastLogSearchDialog::reject() {
    if (!searching_) {
        QDialog::reject();
    }
}

}  // namespace velnora::window
