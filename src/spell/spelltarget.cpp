#include "spell/spelltarget.h"

#include <algorithm>

namespace qm {

void TStringSpellTarget::Select(int start, int length) {
    const int len = Length();
    selStart_ = std::clamp(start, 0, len);
    selLength_ = std::clamp(length, 0, len - selStart_);
}

void TStringSpellTarget::ReplaceSelection(std::string_view text) {
    text_.replace(static_cast<std::size_t>(selStart_), static_cast<std::size_t>(selLength_), text);
    selStart_ += static_cast<int>(text.size());
    selLength_ = 0;
    ++undoSteps_;
}

TSpellBox TStringSpellTarget::ScreenBox(int start, int length) const {
    return TSpellBox{start * 8, Top, (start + length) * 8, Top + 16};
}

void TStringSpellTarget::Edit(int position, int removed, std::string_view inserted) {
    const int len = Length();
    position = std::clamp(position, 0, len);
    removed = std::clamp(removed, 0, len - position);
    text_.replace(static_cast<std::size_t>(position), static_cast<std::size_t>(removed), inserted);
    ReportEdit(position, removed, inserted);
}

}  // namespace qm
