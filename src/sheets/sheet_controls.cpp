#include "sheets/sheet_controls.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "desktop/qt_text.h"
#include "sheets/sheet_texts.h"
#include "text/bounded_string.h"
#include "text/cp932.h"

namespace velnora::sheets {

namespace {

constexpr int kPageMargin = 14;
constexpr int kPageSpacing = 8;

// A widget text as one line-break form: CR LF, CR and LF all become LF.
QString WithLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString WithCrLf(QString text) {
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

// Characters without a Shift_JIS form, other than the replacement character.
int Unmappable(const QString& text) {
    int unmapped = 0;
    ToSjisCounting(text, &unmapped);
    return unmapped - static_cast<int>(text.count(QChar::ReplacementCharacter));
}

}  // namespace

std::string ToSjisCounting(const QString& text, int* unmapped) {
    return text::Utf16ToShiftJis(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                            static_cast<std::size_t>(text.size())),
        unmapped);
}

SjisBufferValidator::SjisBufferValidator(std::size_t buffer_size, QObject* parent)
    : QValidator(parent), buffer_size_(buffer_size) {}

QValidator::State SjisBufferValidator::validate(QString& input, int& /*pos*/) const {
    return (Unmappable(input) <= 0 && desktop::ToSjis(input).size() < buffer_size_) ? Acceptable
                                                                                    : Invalid;
}

TextField::TextField(QWidget* parent, const char* object_name, int max_chars,
                     std::size_t buffer_size)
    : QLineEdit(parent), buffer_size_(buffer_size) {
    setObjectName(QString::fromLatin1(object_name));
    setMaxLength(max_chars);
    setValidator(new SjisBufferValidator(buffer_size, this));
}

TextField::TextField(QWidget* parent, const ini::TextKey& key, int number)
    : TextField(parent, ini::KeyName(key, number).c_str(), key.MaxChars(), key.buffer) {}

void TextField::SetSjis(std::string_view text) {
    stored_ = text::CutToBuffer(text, buffer_size_);
    setText(desktop::FromSjis(stored_));
    shown_ = this->text();
}

std::string TextField::Sjis() const {
    if (text() == shown_) {
        return stored_;
    }
    return text::CutToBuffer(desktop::ToSjis(text()), buffer_size_);
}

TextBox::TextBox(QWidget* parent, const ini::TextKey& key)
    : QPlainTextEdit(parent), max_chars_(key.MaxChars()), buffer_size_(key.buffer) {
    setObjectName(QString::fromStdString(ini::KeyName(key)));
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &TextBox::TrimToLimits);
}

void TextBox::SetSjis(std::string_view text) {
    stored_ = text::CutToBuffer(text, buffer_size_);
    setPlainText(WithLineFeeds(desktop::FromSjis(stored_)));
    shown_ = toPlainText();
}

std::string TextBox::Sjis() const {
    QString text = toPlainText();
    if (text == shown_) {
        return stored_;
    }
    return text::CutToBuffer(desktop::ToSjis(WithCrLf(text)), buffer_size_);
}

bool TextBox::Fits() const {
    QString stored = WithCrLf(toPlainText());
    return stored.size() <= max_chars_ && desktop::ToSjis(stored).size() < buffer_size_ &&
           Unmappable(stored) <= 0;
}

void TextBox::TrimToLimits() {
    if (trimming_ || Fits()) {
        return;
    }
    // Removes characters before the cursor (what was just entered) until the text fits; a text
    // set as a whole, with the cursor at its start, loses its end instead.
    trimming_ = true;
    QTextCursor cursor = textCursor();
    if (cursor.position() == 0) {
        cursor.movePosition(QTextCursor::End);
    }
    while (!Fits() && cursor.position() > 0) {
        cursor.deletePreviousChar();
    }
    setTextCursor(cursor);
    trimming_ = false;
}

NumberField::NumberField(QWidget* parent, const ini::NumberKey& key) : QSpinBox(parent), key_(key) {
    setObjectName(QString::fromStdString(ini::KeyName(key)));
    setRange(key.range.low, key.range.high);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    lineEdit()->setMaxLength(key.range.Digits());
    setValue(key.fallback);
}

void NumberField::SetNumber(int value) {
    setValue(ini::Ranged(key_, value));
}

int NumberField::Number() {
    interpretText();
    return value();
}

QValidator::State NumberField::validate(QString& input, int& /*pos*/) const {
    if (input.size() > key_.range.Digits()) {
        return QValidator::Invalid;
    }
    for (QChar c : input) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return QValidator::Invalid;
        }
    }
    if (input.isEmpty()) {
        return QValidator::Intermediate;
    }
    int value = input.toInt();
    return (value >= minimum() && value <= maximum()) ? QValidator::Acceptable
                                                      : QValidator::Intermediate;
}

void NumberField::fixup(QString& input) const {
    // What is typed counts as its number (nothing typed as 0); outside the range it becomes the
    // key's default.
    input = QString::number(ini::Ranged(key_, input.isEmpty() ? 0 : input.toInt()));
}

QCheckBox* NewCheckBox(QWidget* parent, const char* object_name, std::string_view text,
                       int checked) {
    auto* box = new QCheckBox(desktop::FromSjis(text), parent);
    box->setObjectName(QString::fromLatin1(object_name));
    box->setChecked(checked != 0);
    return box;
}

QComboBox* NewChoiceList(QWidget* parent, const char* object_name,
                         std::initializer_list<std::string_view> texts, int index) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(object_name));
    for (std::string_view text : texts) {
        list->addItem(desktop::FromSjis(text));
    }
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    return list;
}

int ChoiceValue(const QComboBox* list, int kept) {
    int index = list->currentIndex();
    return index >= 0 ? index : kept;
}

QLabel* NewLabel(QWidget* parent, std::string_view text, const char* object_name) {
    auto* label = new QLabel(desktop::FromSjis(text), parent);
    if (object_name != nullptr) {
        label->setObjectName(QString::fromLatin1(object_name));
    }
    return label;
}

QVBoxLayout* NewPageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->setSpacing(kPageSpacing);
    return layout;
}

PropertySheet::PropertySheet(QWidget* owner, const char* object_name, std::string_view caption)
    : QDialog(owner), pages_(new QTabWidget(this)) {
    setObjectName(QString::fromLatin1(object_name));
    setWindowTitle(desktop::FromSjis(caption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    pages_->setObjectName(QStringLiteral("pages"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(desktop::FromSjis(kOkButtonText), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(desktop::FromSjis(kCancelButtonText), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("okButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    ok->setDefault(true);
    ok_ = ok;
    cancel_ = cancel;
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
}

void PropertySheet::AddPage(QWidget* page, std::string_view title) {
    pages_->addTab(page, desktop::FromSjis(title));
}

namespace {

bool TakesTab(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           widget->focusProxy() == nullptr;
}

}  // namespace

void PropertySheet::ArrangeTabOrder() {
    // The buttons were made before the pages' fields, so they stand before them in the focus
    // chain: the order is set afresh, the tabs, every field in the order the pages were built,
    // OK and Cancel.
    QList<QWidget*> order{pages_->tabBar()};
    for (QWidget* w = pages_->nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (pages_->isAncestorOf(w) && w != pages_->tabBar() && TakesTab(w)) {
            order.append(w);
        }
    }
    order << ok_ << cancel_;
    for (qsizetype i = 0; i + 1 < order.size(); ++i) {
        QWidget::setTabOrder(order[i], order[i + 1]);
    }
}

QWidget* PropertySheet::FirstField() const {
    QWidget* page = pages_->currentWidget();
    for (QWidget* w = pages_->nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (page != nullptr && page->isAncestorOf(w) && TakesTab(w) && w->isVisibleTo(this) &&
            w->isEnabled()) {
            return w;
        }
    }
    return nullptr;
}

void PropertySheet::showEvent(QShowEvent* event) {
    if (!arranged_) {
        arranged_ = true;
        ArrangeTabOrder();
        if (QWidget* first = FirstField()) {
            first->setFocus(Qt::TabFocusReason);
        }
    }
    QDialog::showEvent(event);
}

void AddWordColumn(QWidget* page, QVBoxLayout* layout, const ini::TextKey& key,
                   const std::array<std::string, 10>& values, std::array<TextField*, 10>& fields) {
    auto* words = new QFormLayout;
    words->setVerticalSpacing(5);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fields[i] = new TextField(page, key, static_cast<int>(i));
        fields[i]->SetSjis(values[i]);
        words->addRow(new QLabel(QString::number(i + 1), page), fields[i]);
    }
    layout->addLayout(words);
}

}  // namespace velnora::sheets
