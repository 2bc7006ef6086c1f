#include "sheets/interval_field.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "sheets/sheet_texts.h"
#include "store/settings_keys.h"

namespace velnora::sheets {

namespace {

// The field shows minutes within the key's range; a typed value outside it becomes 0 when the
// field is left ("no key" is the check box's to say, not the field's).
ini::NumberKey FieldKey() {
    ini::NumberKey key = store::keys::kCheckInterval;
    key.fallback = 0;
    key.omitted_at_fallback = false;
    return key;
}

}  // namespace

IntervalField::IntervalField(QWidget* parent, bool offer_follow, int minutes, int inherited)
    : QWidget(parent) {
    setObjectName(QStringLiteral("checkInterval"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    bool following = minutes == store::keys::kFollowFolder;
    if (offer_follow) {
        follow_ = NewCheckBox(this, "followFolder", kFollowFolderLabel, following ? 1 : 0);
        row->addWidget(follow_);
        row->addSpacing(12);
        connect(follow_, &QCheckBox::clicked, this, [this] {
            UpdateEnabled();
            emit Edited();
        });
    }
    minutes_ = new NumberField(this, FieldKey());
    minutes_->SetNumber(following ? inherited : minutes);
    QLabel* label = NewLabel(this, kCheckIntervalLabel);
    label->setBuddy(minutes_);
    row->addWidget(label);
    row->addWidget(minutes_);
    row->addWidget(NewLabel(this, kMinutesUnit));
    row->addWidget(NewLabel(this, kIntervalHint));
    row->addStretch(1);
    connect(minutes_->editor(), &QLineEdit::textEdited, this, &IntervalField::Edited);
    connect(minutes_, &QSpinBox::valueChanged, this, [this] {
        if (minutes_->hasFocus()) {
            emit Edited();
        }
    });
    UpdateEnabled();
}

void IntervalField::UpdateEnabled() {
    minutes_->setEnabled(follow_ == nullptr || !follow_->isChecked());
}

int IntervalField::Minutes() {
    if (follow_ != nullptr && follow_->isChecked()) {
        return store::keys::kFollowFolder;
    }
    return minutes_->Number();
}

}  // namespace velnora::sheets
