#include "treelist/edit_style.h"

#include <algorithm>
#include <memory>

// ===== the family's shared objects =============================================================

namespace {

// Both pointers are valid between the first use (or TreeListFamilyInit) and
// TreeListFamilyShutdown; plain pointers so that code running during program exit can still
// ask whether they exist.
TqlEditStyleController* gDefaultController = nullptr;
TqlCheckEditStyleController* gCheckController = nullptr;
TBrush* gShadowBrush = nullptr;

// Frees the shared objects at program exit when nobody shut the family down before.
struct FamilyExitGuard {
  ~FamilyExitGuard() { TreeListFamilyShutdown(); }
};

// The default controller if it exists now; edit styles dying during exit must not create it.
TqlEditStyleController* existingDefaultController() { return gDefaultController; }

}  // namespace

void TreeListFamilyInit() {
  static FamilyExitGuard exitGuard;
  if (!gDefaultController) gDefaultController = new TqlEditStyleController(nullptr);
  if (!gShadowBrush) {
    gShadowBrush = new TBrush();
    gShadowBrush->SetColor(clBtnShadow);
    gShadowBrush->SetStyle(bsSolid);
  }
}

void TreeListFamilyShutdown() {
  delete gCheckController;
  gCheckController = nullptr;
  delete gDefaultController;
  gDefaultController = nullptr;
  delete gShadowBrush;
  gShadowBrush = nullptr;
}

TqlEditStyleController& DefaultEditStyleController() {
  if (!gDefaultController) TreeListFamilyInit();
  return *gDefaultController;
}

const TBrush& ShadowBrush() {
  if (!gShadowBrush) TreeListFamilyInit();
  return *gShadowBrush;
}

TqlCheckEditStyleController& DefaultCheckEditStyleController() {
  TreeListFamilyInit();  // registers the exit guard that frees it
  if (!gCheckController) gCheckController = new TqlCheckEditStyleController(nullptr);
  return *gCheckController;
}

// ===== the editor side =========================================================================

TqlStyledEditor::~TqlStyledEditor() {
  if (styleController_) styleController_->UnlinkEditor(this);
}

void TqlStyledEditor::SetStyleController(TqlEditStyleController* value) {
  if (styleController_ == value) return;
  if (styleController_) styleController_->UnlinkEditor(this);
  styleController_ = value;
  if (styleController_) styleController_->LinkEditor(this);
  StyleChanged();
}

// ===== style controllers =======================================================================

TqlStyleController::TqlStyleController(TComponent* AOwner) : TComponent(AOwner) {}

TqlStyleController::~TqlStyleController() = default;

void TqlStyleController::LinkEditor(TqlStyledEditor* editor) {
  if (!editor || std::find(links_.begin(), links_.end(), editor) != links_.end()) return;
  links_.push_back(editor);
}

void TqlStyleController::UnlinkEditor(TqlStyledEditor* editor) {
  links_.erase(std::remove(links_.begin(), links_.end(), editor), links_.end());
}

void TqlStyleController::EndUpdate() {
  if (updateCount_ == 0) return;  // an unpaired end changes nothing
  if (--updateCount_ == 0) Changed();
}

void TqlStyleController::Changed() {
  if (updateCount_ > 0 || IsLoading()) return;
  // An editor may unlink itself (or others) while it restyles: walk a copy and skip editors
  // that have left the list meanwhile.
  const std::vector<TqlStyledEditor*> snapshot = links_;
  for (TqlStyledEditor* editor : snapshot) {
    if (std::find(links_.begin(), links_.end(), editor) == links_.end()) continue;
    if (!IsFollowedBy(*editor)) continue;
    editor->StyleChanged();
    if (OnStyleChanged) OnStyleChanged(this, editor);
  }
}

void TqlStyleController::Loaded() {
  TComponent::Loaded();
  Changed();
}

TqlEditStyleController::~TqlEditStyleController() {
  const std::vector<TqlStyledEditor*> snapshot = LinkedEditors();
  for (TqlStyledEditor* editor : snapshot) {
    if (editor->styleController_ != this) continue;
    editor->styleController_ = nullptr;
    editor->StyleChanged();  // now follows the default controller
  }
}

bool TqlEditStyleController::IsFollowedBy(const TqlStyledEditor& editor) const {
  return editor.StyleController() == nullptr || editor.StyleController() == this;
}

template <typename T>
void TqlEditStyleController::setValue(T& field, T value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TqlEditStyleController::SetBorderColor(TColor value) { setValue(values_.BorderColor, value); }
void TqlEditStyleController::SetBorderStyle(TqlEditBorderStyle value) {
  setValue(values_.BorderStyle, value);
}
void TqlEditStyleController::SetButtonStyle(TqlEditButtonViewStyle value) {
  setValue(values_.ButtonStyle, value);
}
void TqlEditStyleController::SetButtonTransparence(TqlEditButtonTransparence value) {
  setValue(values_.ButtonTransparence, value);
}
void TqlEditStyleController::SetEdges(TqlEditEdges value) { setValue(values_.Edges, value); }
void TqlEditStyleController::SetHotTrack(bool value) { setValue(values_.HotTrack, value); }
void TqlEditStyleController::SetShadow(bool value) { setValue(values_.Shadow, value); }

void TqlEditStyleController::SetValues(const TqlEditStyleData& value) {
  if (values_ == value) return;
  values_ = value;
  Changed();
}

TqlCheckEditStyleController::TqlCheckEditStyleController(TComponent* AOwner)
    : TqlEditStyleController(AOwner) {
  SetValues(DefaultValues());  // nothing is linked yet: nobody is told
}

TqlEditStyleData TqlCheckEditStyleController::DefaultValues() const {
  TqlEditStyleData values;
  values.BorderStyle = xbsNone;
  values.ButtonStyle = bts3D;
  return values;
}

// ===== edit style ==============================================================================

TqlEditStyle::TqlEditStyle(TqlStyledEditor* editor) : editor_(editor) {
  DefaultEditStyleController().LinkEditor(editor_);
}

TqlEditStyle::~TqlEditStyle() {
  if (TqlEditStyleController* c = existingDefaultController()) c->UnlinkEditor(editor_);
}

const TqlEditStyleController& TqlEditStyle::controller() const {
  if (editor_ && editor_->StyleController()) return *editor_->StyleController();
  return DefaultEditStyleController();
}

void TqlEditStyle::changed() {
  if (editor_) editor_->StyleChanged();
}

template <typename T>
void TqlEditStyle::setValue(T& field, T value, TqlEditStyleValue flag) {
  if (assigned_.contains(flag) && field == value) return;
  field = value;
  assigned_.include(flag);
  changed();
}

void TqlEditStyle::SetAssignedValues(TqlEditStyleValues value) {
  if (assigned_ == value) return;
  assigned_ = value;
  changed();
}

TColor TqlEditStyle::BorderColor() const {
  return assigned_.contains(svBorderColor) ? stored_.BorderColor : DefaultBorderColor();
}
TqlEditBorderStyle TqlEditStyle::BorderStyle() const {
  return assigned_.contains(svBorderStyle) ? stored_.BorderStyle : DefaultBorderStyle();
}
TqlEditButtonViewStyle TqlEditStyle::ButtonStyle() const {
  return assigned_.contains(svButtonStyle) ? stored_.ButtonStyle : DefaultButtonStyle();
}
TqlEditButtonTransparence TqlEditStyle::ButtonTransparence() const {
  return assigned_.contains(svButtonTransparence) ? stored_.ButtonTransparence
                                                  : DefaultButtonTransparence();
}
TqlEditEdges TqlEditStyle::Edges() const {
  return assigned_.contains(svEdges) ? stored_.Edges : DefaultEdges();
}
bool TqlEditStyle::HotTrack() const {
  return assigned_.contains(svHotTrack) ? stored_.HotTrack : DefaultHotTrack();
}
bool TqlEditStyle::Shadow() const {
  return assigned_.contains(svShadow) ? stored_.Shadow : DefaultShadow();
}

void TqlEditStyle::SetBorderColor(TColor value) {
  setValue(stored_.BorderColor, value, svBorderColor);
}
void TqlEditStyle::SetBorderStyle(TqlEditBorderStyle value) {
  setValue(stored_.BorderStyle, value, svBorderStyle);
}
void TqlEditStyle::SetButtonStyle(TqlEditButtonViewStyle value) {
  setValue(stored_.ButtonStyle, value, svButtonStyle);
}
void TqlEditStyle::SetButtonTransparence(TqlEditButtonTransparence value) {
  setValue(stored_.ButtonTransparence, value, svButtonTransparence);
}
void TqlEditStyle::SetEdges(TqlEditEdges value) { setValue(stored_.Edges, value, svEdges); }
void TqlEditStyle::SetHotTrack(bool value) { setValue(stored_.HotTrack, value, svHotTrack); }
void TqlEditStyle::SetShadow(bool value) { setValue(stored_.Shadow, value, svShadow); }

void TqlEditStyle::Assign(const TqlEditStyle& source) {
  SetBorderColor(source.BorderColor());
  SetBorderStyle(source.BorderStyle());
  SetButtonStyle(source.ButtonStyle());
  SetButtonTransparence(source.ButtonTransparence());
  SetEdges(source.Edges());
  SetHotTrack(source.HotTrack());
  SetShadow(source.Shadow());
}

void TqlEditStyle::RestoreDefaults() {
  assigned_ = {};
  changed();
}

// ===== look ====================================================================================

TqlEditBorderStyle RaisedBorderStyle(TqlEditBorderStyle style) {
  switch (style) {
    case xbsNone: return xbsFlat;
    case xbsSingle: return xbsThick;
    case xbsFlat: return xbs3D;
    default: return style;
  }
}

TqlEditButtonViewStyle ButtonStyleForBorder(TqlEditBorderStyle border) {
  switch (border) {
    case xbsNone: return btsSimple;
    case xbsSingle: return btsHotFlat;
    case xbsFlat: return btsFlat;
    default: return bts3D;
  }
}

TqlEditLook ResolveEditLook(const TqlEditStyle& style, bool selected) {
  TqlEditLook look;
  look.BorderColor = style.BorderColor();
  look.BorderStyle = style.BorderStyle();
  if (selected && style.HotTrack()) look.BorderStyle = RaisedBorderStyle(look.BorderStyle);
  look.ButtonStyle = style.ButtonStyle();
  if (look.ButtonStyle == btsDefault) look.ButtonStyle = ButtonStyleForBorder(look.BorderStyle);
  TqlEditButtonTransparence transparence = style.ButtonTransparence();
  look.TransparentButtons = transparence == ebtAlways || (transparence == ebtInactive && !selected);
  look.Edges = style.Edges();
  look.Shadow = style.Shadow();
  return look;
}
