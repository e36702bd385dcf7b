#pragma once
// Edit styles: how an in-place editor's border and buttons look, and the components that hand
// the same look to many editors.
//
//   TqlStyledEditor          the editor side: its own controller (or none) and "your style
//                            changed"; the in-place editors derive from it
//   TqlStyleController       a component with linked editors, an update bracket and
//                            OnStyleChanged
//   TqlEditStyleController   the seven look values every linked editor without its own
//                            values uses
//   TqlCheckEditStyleController  the same with the check editors' defaults (no border,
//                            3-D buttons)
//   TqlEditStyle             one editor's values; a value whose svX bit is not in
//                            AssignedValues reads the style's default for it
//   ResolveEditLook          what an editor paints with, from its style and whether it is
//                            selected (focused or hot)
//
// The process-wide default controller, the check editors' controller and the clBtnShadow
// shadow brush live from the first use (or TreeListFamilyInit) until TreeListFamilyShutdown,
// which runs at program exit at the latest.
#include <functional>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/option_set.h"
#include "platform/core/types.h"
#include "platform/gfx/graphics.h"

enum TqlEditBorderStyle { xbsNone, xbsSingle, xbsThick, xbsFlat, xbs3D };
enum TqlEditButtonViewStyle { btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat };
enum TqlEditButtonTransparence { ebtNone, ebtInactive, ebtAlways, ebtHideInactive };
enum TqlEditEdge { edgLeft, edgTop, edgRight, edgBottom };
using TqlEditEdges = TOptionSet<TqlEditEdge>;
inline constexpr TqlEditEdges kAllEditEdges{edgLeft, edgTop, edgRight, edgBottom};

// Which values an edit style holds itself; the bits are 1, 2, 4 ... 64 in this order.
enum TqlEditStyleValue {
  svBorderColor,
  svBorderStyle,
  svButtonStyle,
  svButtonTransparence,
  svEdges,
  svHotTrack,
  svShadow
};
using TqlEditStyleValues = TOptionSet<TqlEditStyleValue>;

class TqlEditStyleController;
class TqlStyleController;

// The seven look values; the initialisers are a new controller's defaults.
struct TqlEditStyleData {
  TColor BorderColor = clWindowFrame;
  TqlEditBorderStyle BorderStyle = xbs3D;
  TqlEditButtonViewStyle ButtonStyle = btsDefault;
  TqlEditButtonTransparence ButtonTransparence = ebtNone;
  TqlEditEdges Edges = kAllEditEdges;
  bool HotTrack = false;
  bool Shadow = false;
  friend bool operator==(const TqlEditStyleData&, const TqlEditStyleData&) = default;
};

// The editor side of edit styles. An editor may have a style controller of its own; without
// one it follows the default controller (its TqlEditStyle links it there).
class TqlStyledEditor {
 public:
  TqlStyledEditor() = default;
  virtual ~TqlStyledEditor();  // leaves its own controller's link list
  TqlStyledEditor(const TqlStyledEditor&) = delete;
  TqlStyledEditor& operator=(const TqlStyledEditor&) = delete;

  TqlEditStyleController* StyleController() const { return styleController_; }
  // Leaves the old controller, links to the new one (null: back to the default) and restyles.
  void SetStyleController(TqlEditStyleController* value);
  // The editor re-reads its style and repaints.
  virtual void StyleChanged() = 0;

 private:
  friend class TqlEditStyleController;
  TqlEditStyleController* styleController_ = nullptr;  // non-owning; null = the default one
};

// Sender is the controller, Link the editor that has just been told about the change.
using TqlStyleChangedEvent = std::function<void(TObject* Sender, TqlStyledEditor* Link)>;

class TqlStyleController : public TComponent {
 public:
  explicit TqlStyleController(TComponent* AOwner);
  ~TqlStyleController() override;

  void LinkEditor(TqlStyledEditor* editor);    // once; linking twice keeps one entry
  void UnlinkEditor(TqlStyledEditor* editor);  // absent editors are ignored
  const std::vector<TqlStyledEditor*>& LinkedEditors() const { return links_; }

  // While the counter is above zero Changed does nothing; the last EndUpdate calls it once.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }
  // Tells each linked editor in link order (unless this controller is not the editor's to
  // follow), then raises OnStyleChanged for it. Nothing while loading or inside a bracket.
  void Changed();

  TqlStyleChangedEvent OnStyleChanged;

 protected:
  // Whether a linked editor takes its look from this controller.
  virtual bool IsFollowedBy(const TqlStyledEditor& editor) const { return true; }
  void Loaded() override;  // notifies once after a form has set every stored value

 private:
  std::vector<TqlStyledEditor*> links_;  // non-owning, link order
  int updateCount_ = 0;                  // >= 0
};

class TqlEditStyleController : public TqlStyleController {
 public:
  explicit TqlEditStyleController(TComponent* AOwner) : TqlStyleController(AOwner) {}
  // Editors that use this controller as their own fall back to the default controller.
  ~TqlEditStyleController() override;

  TColor BorderColor() const { return values_.BorderColor; }
  void SetBorderColor(TColor value);
  TqlEditBorderStyle BorderStyle() const { return values_.BorderStyle; }
  void SetBorderStyle(TqlEditBorderStyle value);
  TqlEditButtonViewStyle ButtonStyle() const { return values_.ButtonStyle; }
  void SetButtonStyle(TqlEditButtonViewStyle value);
  TqlEditButtonTransparence ButtonTransparence() const { return values_.ButtonTransparence; }
  void SetButtonTransparence(TqlEditButtonTransparence value);
  TqlEditEdges Edges() const { return values_.Edges; }
  void SetEdges(TqlEditEdges value);
  bool HotTrack() const { return values_.HotTrack; }
  void SetHotTrack(bool value);
  bool Shadow() const { return values_.Shadow; }
  void SetShadow(bool value);

  // All seven at once: the linked editors are told once when anything differs.
  const TqlEditStyleData& Values() const { return values_; }
  void SetValues(const TqlEditStyleData& value);
  void Assign(const TqlEditStyleController& source) { SetValues(source.Values()); }
  void RestoreDefaults() { SetValues(DefaultValues()); }
  // The values of a new controller of this class, which RestoreDefaults sets again.
  virtual TqlEditStyleData DefaultValues() const { return TqlEditStyleData{}; }

 protected:
  // Editors with a controller of their own do not follow this one.
  bool IsFollowedBy(const TqlStyledEditor& editor) const override;

 private:
  template <typename T>
  void setValue(T& field, T value);

  TqlEditStyleData values_;
};

// The controller of check editors: no border and 3-D buttons unless told otherwise.
class TqlCheckEditStyleController : public TqlEditStyleController {
 public:
  explicit TqlCheckEditStyleController(TComponent* AOwner);
  TqlEditStyleData DefaultValues() const override;
};

// The grid family's shared objects. Init is optional (first use creates them); Shutdown frees
// them and runs at program exit when nobody called it earlier.
void TreeListFamilyInit();
void TreeListFamilyShutdown();
// The default controller (created on first use): every editor without a controller follows it.
TqlEditStyleController& DefaultEditStyleController();
// The solid clBtnShadow brush of drop shadows (created on first use).
const TBrush& ShadowBrush();
// The shared check-editor controller without owner (created on first use).
TqlCheckEditStyleController& DefaultCheckEditStyleController();

// One editor's look values. Lives exactly as long as its editor and keeps it linked to the
// default controller meanwhile.
class TqlEditStyle : public TObject {
 public:
  explicit TqlEditStyle(TqlStyledEditor* editor);
  ~TqlEditStyle() override;
  TqlEditStyle(const TqlEditStyle&) = delete;
  TqlEditStyle& operator=(const TqlEditStyle&) = delete;

  TqlStyledEditor* Editor() const { return editor_; }

  // Never stored itself: the assigned values are what gets stored.
  TqlEditStyleValues AssignedValues() const { return assigned_; }
  void SetAssignedValues(TqlEditStyleValues value);
  // Whether a property is written when the style is stored.
  bool IsStored(TqlEditStyleValue value) const { return assigned_.contains(value); }

  TColor BorderColor() const;
  void SetBorderColor(TColor value);
  TqlEditBorderStyle BorderStyle() const;
  void SetBorderStyle(TqlEditBorderStyle value);
  TqlEditButtonViewStyle ButtonStyle() const;
  void SetButtonStyle(TqlEditButtonViewStyle value);
  TqlEditButtonTransparence ButtonTransparence() const;
  void SetButtonTransparence(TqlEditButtonTransparence value);
  TqlEditEdges Edges() const;
  void SetEdges(TqlEditEdges value);
  bool HotTrack() const;
  void SetHotTrack(bool value);
  bool Shadow() const;
  void SetShadow(bool value);

  // Copies the source's effective values, which assigns all seven.
  void Assign(const TqlEditStyle& source);
  // Empties AssignedValues: every value reads its default again.
  void RestoreDefaults();

 protected:
  // The values of unassigned properties: the editor's own controller, else the default one.
  virtual TColor DefaultBorderColor() const { return controller().BorderColor(); }
  virtual TqlEditBorderStyle DefaultBorderStyle() const { return controller().BorderStyle(); }
  virtual TqlEditButtonViewStyle DefaultButtonStyle() const { return controller().ButtonStyle(); }
  virtual TqlEditButtonTransparence DefaultButtonTransparence() const {
    return controller().ButtonTransparence();
  }
  virtual TqlEditEdges DefaultEdges() const { return controller().Edges(); }
  virtual bool DefaultHotTrack() const { return controller().HotTrack(); }
  virtual bool DefaultShadow() const { return controller().Shadow(); }

 private:
  const TqlEditStyleController& controller() const;
  template <typename T>
  void setValue(T& field, T value, TqlEditStyleValue flag);
  void changed();

  TqlStyledEditor* editor_;      // non-owning; the editor owns this style
  TqlEditStyleValues assigned_;  // which values of stored_ are meaningful
  TqlEditStyleData stored_;
};

// What an editor paints with.
struct TqlEditLook {
  TColor BorderColor = clWindowFrame;
  TqlEditBorderStyle BorderStyle = xbs3D;
  TqlEditButtonViewStyle ButtonStyle = bts3D;  // never btsDefault
  bool TransparentButtons = false;
  TqlEditEdges Edges = kAllEditEdges;
  bool Shadow = false;
  friend bool operator==(const TqlEditLook&, const TqlEditLook&) = default;
};

// selected: the editor is focused or under the mouse.
TqlEditLook ResolveEditLook(const TqlEditStyle& style, bool selected);
// The border one step up (hot tracking of a selected editor): none -> flat, single -> thick,
// flat -> 3-D; thick and 3-D stay.
TqlEditBorderStyle RaisedBorderStyle(TqlEditBorderStyle style);
// btsDefault follows the border: none -> simple, single -> hot flat, flat -> flat, else 3-D.
TqlEditButtonViewStyle ButtonStyleForBorder(TqlEditBorderStyle border);
