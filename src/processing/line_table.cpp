#include "processing/line_table.h"

#include <algorithm>

namespace velnora::processing {

void LineTable::Append(std::string_view text, std::string_view compare_form) {
    starts_.push_back(text_.size());
    text_.append(text);
    text_.push_back('\0');
    if (keeps_compare_form_) {
        compare_.append(compare_form.substr(0, text.size()));
        compare_.append(text.size() - std::min(text.size(), compare_form.size()) + 1, '\0');
    }
}

std::string_view LineTable::View(const std::string& pool, std::size_t i) const {
    std::size_t start = starts_[i];
    std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : pool.size();
    return std::string_view(pool).substr(start, end - start - 1);
}

std::vector<std::string_view> LineTable::CompareForms() const {
    std::vector<std::string_view> forms;
    forms.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        forms.push_back(CompareForm(i));
    }
    return forms;
}

}  // namespace velnora::processing
