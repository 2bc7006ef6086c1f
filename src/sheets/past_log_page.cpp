#include "sheets/past_log_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "desktop/qt_text.h"
#include "sheets/sheet_controls.h"
#include "sheets/sheet_texts.h"

namespace velnora::sheets {

PastLogPage::PastLogPage(QWidget* parent, const store::ItemRecord& record, PastLogClearer clear)
    : QWidget(parent), record_(record), clear_(std::move(clear)) {
    setObjectName(QStringLiteral("pastLogPage"));
    QVBoxLayout* layout = NewPageLayout(this);

    QLabel* explanation = NewLabel(this, kPastLogExplanation, "pastLogExplanation");
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* button = new QPushButton(desktop::FromSjis(kClearPastLogsButton), this);
    button->setObjectName(QStringLiteral("clearPastLogs"));
    button->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addWidget(button);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);

    connect(button, &QPushButton::clicked, this, [this] {
        if (clear_) {
            clear_(record_);
        }
    });
}

}  // namespace velnora::sheets
