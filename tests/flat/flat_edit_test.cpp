#include "flat/flat_edit.h"
#include "flat/flat_memo.h"

#include <gtest/gtest.h>

#include "flat/flat_radio_button.h"
#include "flat/hsl.h"
#include "platform/ui/application.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

constexpr TColor Parent = TestForm::FormColor;
constexpr TColor Border = 0x8396A0;
constexpr TColor FocusedColor = clWhite;

// The frame and the client background for one look, in window coordinates of a w x h control.
std::vector<PixelCase> FramePixels(int w, int h, TColor background) {
  return {{0, 0, Border, "outer line: ColorBorder"},
          {w - 1, h / 2, Border, "outer line, right"},
          {w / 2, h - 1, Border, "outer line, bottom"},
          {1, 1, background, "first inner ring: the look's background"},
          {w - 2, h / 2, background, "first inner ring, right"},
          {2, 2, background, "second inner ring"},
          {w / 2, h - 3, background, "second inner ring, bottom"},
          {3, 3, background, "client area: Color, the same background"},
          {w / 2, h / 2, background, "client area"}};
}

void ExpectFrame(TControl& control, TColor background, const std::string& context) {
  ExpectPixels(WindowPixels(control), FramePixels(control.Width(), control.Height(), background),
               context);
  EXPECT_EQ(control.Color(), background) << context << ": Color is the look's background";
}

template <typename T>
struct TwoControls {
  TestForm form;
  T* first;
  T* second;
  TFlatRadioButton* radio;
  TwoControls() {
    first = form.template Add<T>(10, 10, 121, 40);
    second = form.template Add<T>(10, 60, 121, 40);
    radio = form.template Add<TFlatRadioButton>(10, 120, 121, 17);
    form.ShowUnfocused();
  }
  void HoverOver(TControl& control) {
    input::CursorTo(control, 5, 5);
    Application->DoIdle();
    form.Paint();
  }
};

// tabKey: move the focus from the first to the second control with Tab (the memo wants all
// keys, so the form does not navigate out of it with Tab; it is focused directly).
template <typename T>
void CheckLooks(const char* kind, bool tabKey) {
  TwoControls<T> t;
  ExpectFrame(*t.first, Parent, std::string(kind) + " at rest: flat, ColorFlat = the parent's colour");

  t.first->SetFocus();
  t.form.Paint();
  ExpectFrame(*t.first, FocusedColor, std::string(kind) + " focused");
  ExpectFrame(*t.second, Parent, std::string(kind) + " other one");

  if (tabKey)
    input::KeyDown(t.form.form(), VK_TAB);
  else
    t.second->SetFocus();
  t.form.Paint();
  EXPECT_TRUE(t.second->Focused()) << kind;
  ExpectFrame(*t.first, Parent, std::string(kind) + " after Tab: back to flat");
  ExpectFrame(*t.second, FocusedColor, std::string(kind) + " after Tab: focused");

  t.HoverOver(*t.first);
  EXPECT_TRUE(t.first->Hot());
  ExpectFrame(*t.first, Parent,
              std::string(kind) + " hot while another one of its class has the focus: stays flat");

  t.radio->SetFocus();
  t.HoverOver(*t.second);
  EXPECT_FALSE(t.first->Hot());
  ExpectFrame(*t.first, Parent, std::string(kind) + " left by the mouse");
  ExpectFrame(*t.second, FocusedColor,
              std::string(kind) + " hot while a radio button has the focus: focused look");

  t.second->SetEnabled(false);
  t.form.Paint();
  ExpectFrame(*t.second, FocusedColor,
              std::string(kind) + " disabled under the mouse: still the focused look");
  t.HoverOver(t.form.form());
  ExpectFrame(*t.second, Parent, std::string(kind) + " disabled, mouse gone");
}

TEST(FlatEditLook, FrameInBothLooks) { CheckLooks<TFlatEdit>("edit", true); }
TEST(FlatMemoLook, FrameInBothLooks) { CheckLooks<TFlatMemo>("memo", false); }

TEST(FlatEditLook, EditAndMemoAreDifferentClasses) {
  TestForm form;
  auto* edit = form.Add<TFlatEdit>(10, 10, 121, 19);
  auto* memo = form.Add<TFlatMemo>(10, 40, 121, 60);
  form.Show();
  edit->SetFocus();
  input::CursorTo(*memo, 5, 5);
  Application->DoIdle();
  form.Paint();
  EXPECT_TRUE(memo->FocusedLook()) << "the focus is on a control of another class";
  ExpectFrame(*memo, FocusedColor, "memo hot, edit focused");
}

TEST(FlatEditLook, NoHighlightWithoutActiveWindow) {
  TestForm form;
  auto* edit = form.Add<TFlatEdit>(10, 10, 121, 19);
  form.Show();
  Application->SetActiveForm(nullptr);
  input::CursorTo(*edit, 5, 5);
  Application->DoIdle();
  EXPECT_FALSE(edit->Hot());
  Application->SetActiveForm(&form.form());
}

TEST(FlatEditColours, ParentColorAndColorFlat) {
  TestForm form;
  auto* edit = form.Add<TFlatEdit>(10, 10, 121, 19);
  form.ShowUnfocused();
  EXPECT_TRUE(edit->ParentColor());
  EXPECT_EQ(edit->ColorFlat(), Parent);
  form->SetColor(clTeal);
  EXPECT_EQ(edit->ColorFlat(), clTeal) << "follows the parent while ParentColor is on";

  edit->SetColorFlat(clYellow);
  EXPECT_FALSE(edit->ParentColor()) << "setting ColorFlat turns ParentColor off";
  form->SetColor(clOlive);
  EXPECT_EQ(edit->ColorFlat(), clYellow) << "no longer follows the parent";
  form.Paint();
  ExpectFrame(*edit, clYellow, "explicit ColorFlat");

  edit->SetParentColor(true);
  EXPECT_EQ(edit->ColorFlat(), clOlive) << "ParentColor on again takes the parent's colour";

  edit->SetColorBorder(clRed);
  form.Paint();
  EXPECT_EQ(WindowPixels(*edit).at(0, 0), ColorToRGB(clRed));
}

TEST(FlatEditColours, AdvancedColours) {
  TestForm form;
  auto* edit = form.Add<TFlatEdit>(10, 10, 121, 19);
  edit->SetColorFlat(clYellow);
  edit->SetUseAdvColors(true);
  EXPECT_TRUE(edit->ParentColor()) << "UseAdvColors sets ParentColor to the same value";
  EXPECT_EQ(edit->ColorFlat(), Parent);
  EXPECT_EQ(edit->ColorFocused(), ShiftLightness(Parent, clWhite, 10, false));
  EXPECT_EQ(edit->ColorBorder(), ShiftLightness(Parent, Border, 50, true));
  form->SetColor(clTeal);
  EXPECT_EQ(edit->ColorFlat(), clTeal);
  EXPECT_EQ(edit->ColorBorder(), ShiftLightness(clTeal, Border, 50, true));
  edit->SetAdvColorBorder(20);
  EXPECT_EQ(edit->ColorBorder(), ShiftLightness(clTeal, Border, 20, true));
}

TEST(FlatEdit, HeightFollowsTheFont) {
  TestForm form;
  auto* edit = form.Add<TFlatEdit>(10, 10, 121, 40);
  edit->Font().SetHeight(18);  // a positive height asks for that cell height: metric 18
  EXPECT_EQ(edit->Height(), 24);
  for (int fontHeight : {12, -11, -16}) {
    edit->Font().SetHeight(fontHeight);
    TCanvas measure;
    measure.Font = edit->Font();
    EXPECT_EQ(edit->Height(), measure.TextMetrics().tmHeight + 6) << "font height " << fontHeight;
  }
  TFlatMemo memo(nullptr);
  memo.SetBounds(0, 0, 185, 89);
  memo.Font().SetHeight(30);
  EXPECT_EQ(memo.Height(), 89) << "the memo keeps its size";
}

TEST(FlatEdit, DefaultsAndDialogCodes) {
  EnsureTestApplication();
  TFlatEdit edit(nullptr);
  EXPECT_EQ(edit.Width(), 121);
  EXPECT_EQ(edit.Height(), 19) << "8-point default font: metric 13 + 6";
  EXPECT_TRUE(edit.TabStop());
  EXPECT_EQ(edit.ClientWidth(), 121 - 6) << "three-pixel frame";
  EXPECT_EQ(edit.ColorFocused(), clWhite);
  EXPECT_EQ(edit.ColorBorder(), Border);
  EXPECT_EQ(edit.ColorFlat(), 0xE1EAEBu);
  EXPECT_EQ(edit.DispatchGetDlgCode(), DLGC_WANTARROWS | DLGC_WANTCHARS);

  TFlatMemo memo(nullptr);
  EXPECT_EQ(memo.Width(), 185);
  EXPECT_EQ(memo.Height(), 89);
  EXPECT_TRUE(memo.WordWrap());
  EXPECT_TRUE(memo.WantReturns());
  EXPECT_FALSE(memo.WantTabs());
  EXPECT_EQ(memo.ScrollBars(), ssNone);
  EXPECT_TRUE(memo.DispatchGetDlgCode() & DLGC_WANTALLKEYS);
  memo.SetWantReturns(false);
  memo.SetWantTabs(true);
  EXPECT_FALSE(memo.DispatchGetDlgCode() & DLGC_WANTALLKEYS);
  EXPECT_TRUE(memo.DispatchGetDlgCode() & DLGC_WANTTAB);
}

TEST(FlatEdit, TextChangeAndKeys) {
  TestForm form;
  auto* edit = form.Add<TFlatEdit>(10, 10, 121, 19);
  form.Show();
  int changes = 0;
  std::vector<uint16_t> keys;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); };
  edit->SetText("FT");
  EXPECT_EQ(edit->Text(), "FT");
  EXPECT_EQ(changes, 1);
  edit->SetText("FT");
  EXPECT_EQ(changes, 1) << "the same text is no change";
  edit->SetMaxLength(4);
  edit->SetText("");
  EXPECT_EQ(changes, 2);

  edit->SetFocus();
  input::KeyDown(form.form(), VK_RETURN);
  input::KeyDown(form.form(), VK_LEFT);
  EXPECT_EQ(keys, (std::vector<uint16_t>{VK_RETURN, VK_LEFT}))
      << "Enter reaches OnKeyDown; arrows stay with the edit";
  EXPECT_TRUE(edit->Focused());
}

// The search fields are flat edits: a pasted spreadsheet cell arrives without its line break,
// and the text the edit reports is the one its OnChange saw last.
TEST(FlatEdit, PasteKeepsTheFirstLine) {
  struct Case {
    TEditCharCase charCase;
    const char* clipboard;
    const char* text;
  };
  const Case cases[] = {
      {ecNormal, "Headache\n", "Headache"},
      {ecNormal, "头痛\r\nHeadache\r\n", "头痛"},
      {ecNormal, "Headache\t0412\r\n", "Headache\t0412"},
      {ecUpperCase, "headache\r\n", "HEADACHE"},
      {ecNormal, "\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clipboard);
    TestForm form;
    auto* edit = form.Add<TFlatEdit>(10, 10, 121, 19);
    edit->SetCharCase(c.charCase);
    form.Show();
    edit->SetFocus();
    std::string seen;
    edit->OnChange = [&](TObject*) { seen = edit->Text(); };
    ClipboardSetText(c.clipboard);
    edit->NativeEdit()->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), c.text);
    EXPECT_EQ(seen, c.text);
  }
}

TEST(FlatMemo, LinesAndScrollCorner) {
  TestForm form;
  auto* memo = form.Add<TFlatMemo>(10, 10, 185, 89);
  memo->SetReadOnly(true);
  memo->SetScrollBars(ssVertical);
  memo->Lines().SetText("第一行\r\n第二行");
  memo->Lines().Add("third");
  EXPECT_EQ(memo->Lines().Count(), 3);
  EXPECT_EQ(memo->Lines().Strings(1), "第二行");
  EXPECT_EQ(memo->Lines().Strings(2), "third");
  EXPECT_TRUE(memo->ReadOnly());
  memo->SetScrollBars(ssBoth);
  form.ShowUnfocused();
  ExpectFrame(*memo, Parent, "memo with both scroll bars");
}

}  // namespace
