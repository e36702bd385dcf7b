// TqlInplaceTextEdit (inplace_text_edit.h): the native line editor inside the in-place editor,
// the typing rules, and the context menu.
#include "treelist/inplace_text_edit.h"

#include "platform/core/utf8.h"
#include "platform/ui/services.h"
#include "treelist/container.h"

namespace {

TNativeAlignment nativeAlignment(TAlignment value) {
  return value == taRightJustify ? naRight : value == taCenter ? naCenter : naLeft;
}

}  // namespace

TqlInplaceTextEdit::TqlInplaceTextEdit(TComponent* AOwner)
    : TqlInplaceEdit(AOwner), host_(std::make_unique<TNativeEditHost>(*this, nekSingleLine)) {
  host_->OnChange = [this] { hostChanged(); };
  host_->OnCharTyped = [this](char32_t ch) { WMChar(ch); };
  host_->OnContextMenu = [this](TPoint screenPos, bool fromKeyboard) {
    ShowContextMenu(fromKeyboard ? ClientToScreen({0, Height()}) : screenPos);
  };
  host_->OnMousePress = [this](TPoint, bool isDouble) { return NoteTextPress(isDouble); };
  host_->SetFont(Font());
}

TqlInplaceTextEdit::~TqlInplaceTextEdit() {
  host_->OnChange = nullptr;
  host_->OnCharTyped = nullptr;
  host_->OnContextMenu = nullptr;
  host_->OnMousePress = nullptr;
  host_.reset();
}

// ===== text ==================================================================================

std::string TqlInplaceTextEdit::EditText() const { return host_->Text(); }

void TqlInplaceTextEdit::SetEditText(const std::string& value) {
  const bool was = assigningText_;
  assigningText_ = true;
  const bool modified = host_->Modified();
  host_->SetText(Cased(value));
  host_->SetModified(modified);
  assigningText_ = was;
}

bool TqlInplaceTextEdit::Modified() const { return host_->Modified(); }
void TqlInplaceTextEdit::SetModified(bool value) { host_->SetModified(value); }

void TqlInplaceTextEdit::SetReadOnly(bool value) {
  TqlInplaceEdit::SetReadOnly(value);
  host_->SetReadOnly(value);
}

void TqlInplaceTextEdit::SetAlignment(TAlignment value) {
  TqlInplaceEdit::SetAlignment(value);
  host_->SetAlignment(nativeAlignment(value));
}

void TqlInplaceTextEdit::SetCharCase(TEditCharCase value) {
  if (value == charCase_) return;
  charCase_ = value;
  const std::string cased = Cased(EditText());
  if (cased != EditText()) SetEditText(cased);
}

void TqlInplaceTextEdit::SetMaxLength(int value) { maxLength_ = std::max(0, value); }

void TqlInplaceTextEdit::SetPasswordChar(char32_t value) {
  passwordChar_ = value;
  host_->SetPasswordChar(value);
}

std::string TqlInplaceTextEdit::Cased(const std::string& text) const {
  switch (charCase_) {
    case ecUpperCase: return AnsiUpperCase(text);
    case ecLowerCase: return AnsiLowerCase(text);
    case ecNormal: break;
  }
  return text;
}

// A change in the window: the case rule, then (unless code set the text) OnChange and the
// column's hook.
void TqlInplaceTextEdit::hostChanged() {
  if (assigningText_) return;
  const std::string text = host_->Text();
  const std::string cased = Cased(text);
  if (cased != text) {
    const int start = SelStart(), length = SelLength();
    SetEditText(cased);
    SetSelection(start, length);
  }
  TextLengthChanged();
  if (OnChange) OnChange(this);
  TextChanged();
}

// A typed character replaces the selection unless the text would pass MaxLength.
void TqlInplaceTextEdit::InsertTyped(char32_t ch) {
  std::string typed;
  AppendUtf8(ch, typed);
  typed = Cased(typed);
  if (maxLength_ > 0 && TextLength() - SelLength() + 1 > maxLength_) {
    MessageBeep();
    return;
  }
  host_->ReplaceSelection(typed);
}

// ===== selection and clipboard ===============================================================

int TqlInplaceTextEdit::SelStart() const { return host_->SelStart(); }
int TqlInplaceTextEdit::SelLength() const { return host_->SelLength(); }
std::string TqlInplaceTextEdit::SelText() const { return host_->SelText(); }

void TqlInplaceTextEdit::SetSelection(int start, int length) {
  host_->SetSelStart(start);
  host_->SetSelLength(length);
}

void TqlInplaceTextEdit::SelectAll() { host_->SelectAll(); }
void TqlInplaceTextEdit::CaretToEnd() { SetSelection(TextLength(), 0); }
int TqlInplaceTextEdit::TextLength() const { return int(Utf8Length(EditText())); }
bool TqlInplaceTextEdit::CanUndo() const { return host_->CanUndo(); }
bool TqlInplaceTextEdit::CanRedo() const { return host_->CanRedo(); }
bool TqlInplaceTextEdit::CanPaste() const { return !ClipboardGetText().empty(); }
void TqlInplaceTextEdit::Undo() { host_->Undo(); }
void TqlInplaceTextEdit::Redo() { host_->Redo(); }
void TqlInplaceTextEdit::ClearUndo() { host_->ClearUndo(); }
void TqlInplaceTextEdit::CopyToClipboard() { host_->CopyToClipboard(); }

void TqlInplaceTextEdit::CutToClipboard() {
  if (CanModifyText()) host_->CutToClipboard();
}

// Pasted text follows the typing rules: the case, and MaxLength (the part that fits).
void TqlInplaceTextEdit::PasteFromClipboard() {
  if (!CanModifyText()) return;
  std::string text = Cased(ClipboardGetText());
  if (const size_t end = text.find_first_of("\r\n"); end != std::string::npos) text.resize(end);
  if (maxLength_ > 0) {
    const int room = std::max(0, maxLength_ - (TextLength() - SelLength()));
    text = Utf8Left(text, size_t(room));
  }
  host_->ReplaceSelection(text);
}

void TqlInplaceTextEdit::ClearSelection() {
  if (CanModifyText()) host_->ClearSelection();
}

// ===== context menu ==========================================================================

const std::vector<std::string>& TqlInplaceTextEdit::ContextMenuCaptions() {
  static const std::vector<std::string> captions = {
      "&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "&Delete", "-", "Select &All"};
  return captions;
}

std::vector<bool> TqlInplaceTextEdit::ContextMenuEnabling() const {
  const bool selected = SelLength() > 0;
  const bool mayChange = CanModifyText();
  const bool hidden = passwordChar_ != 0;
  std::vector<bool> enabled(ContextMenuCaptions().size(), true);
  enabled[emiUndo] = CanUndo();
  enabled[emiRedo] = CanRedo();
  enabled[emiCut] = selected && mayChange && !hidden;
  enabled[emiCopy] = selected && !hidden;
  enabled[emiPaste] = mayChange && CanPaste();
  enabled[emiDelete] = selected && mayChange;
  enabled[emiSelectAll] = SelLength() < TextLength();
  return enabled;
}

void TqlInplaceTextEdit::ShowContextMenu(TPoint screenPos) {
  std::vector<TPopupMenuItem> items;
  const std::vector<bool> enabled = ContextMenuEnabling();
  for (size_t i = 0; i < ContextMenuCaptions().size(); ++i)
    items.push_back({ContextMenuCaptions()[i], bool(enabled[i])});
  runMenuItem(ShowPopupMenu(items, screenPos));
}

void TqlInplaceTextEdit::runMenuItem(int item) {
  switch (item) {
    case emiUndo: Undo(); break;
    case emiRedo: Redo(); break;
    case emiCut: CutToClipboard(); break;
    case emiCopy: CopyToClipboard(); break;
    case emiPaste: PasteFromClipboard(); break;
    case emiDelete: ClearSelection(); break;
    case emiSelectAll: SelectAll(); break;
    default: break;
  }
}

// ===== look ==================================================================================

void TqlInplaceTextEdit::ActivationHook() {
  if (autoSelect_) SelectAll();
  Activate();
}

void TqlInplaceTextEdit::CMFontChanged() {
  TqlInplaceEdit::CMFontChanged();
  host_->SetFont(Font());
}

void TqlInplaceTextEdit::CMColorChanged() {
  TqlInplaceEdit::CMColorChanged();
  host_->SetColors(Color(), Font().Color());
}
