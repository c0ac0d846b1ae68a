#include "platform/TextBox.h"

#include <QValidator>
#include <algorithm>

namespace cps {

// Cuts what the user types or pastes to the box's MaxLength. It sees every user edit (typing,
// pasting, dropping) before the text changes, and is bypassed while code sets the text.
class TextLengthLimit : public QValidator {
 public:
  explicit TextLengthLimit(TextBox* box) : QValidator(box), box_(box) {}

  State validate(QString& input, int& pos) const override {
    if (box_->codeAssignments_ > 0 || box_->maxLength_ <= 0) return Acceptable;
    // A text set from code may already be longer than the limit: the user may not lengthen it.
    int allowed = std::max<int>(box_->maxLength_, box_->lastText_.size());
    if (input.size() > allowed) {
      // The inserted characters end at the caret: drop the excess from their end.
      int excess = input.size() - allowed;
      int from = std::max(0, pos - excess);
      input.remove(from, excess);
      pos = from;
    }
    return Acceptable;
  }

 private:
  TextBox* box_;
};

TextBox::TextBox(QWidget* parent)
    : ControlBase<TextBox, QLineEdit>(parent), limit_(new TextLengthLimit(this)) {
  setValidator(limit_);
  connect(this, &QLineEdit::textChanged, this, &TextBox::OnTextChanged);
}

void TextBox::SetText(const QString& text) {
  if (text == this->text()) return;
  ++codeAssignments_;
  setText(text);  // raises Change through textChanged, nested
  --codeAssignments_;
}

void TextBox::SetMaxLength(int maxLength) { maxLength_ = std::max(0, maxLength); }

int TextBox::SelStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void TextBox::SetSelStart(int position) {
  setCursorPosition(std::clamp<int>(position, 0, text().size()));
}

void TextBox::OnTextChanged(const QString& text) {
  // A refused keystroke makes Qt report the unchanged text again; that is no change.
  if (text == lastText_) return;
  lastText_ = text;
  emit Change();
}

}  // namespace cps
