// flat_gallery: one window showing every flat control in each of its states, with Chinese
// captions, for looking at the controls by eye (and for screenshots).
//
// States that normally need the mouse (hot, pressed) are produced with synthetic input once
// the window is up; the hover trackers' timers are then stopped so that each hot control
// stays hot while the cursor rests somewhere else.
#include <string>

#include "flat/flat_button.h"
#include "flat/flat_edit.h"
#include "flat/flat_memo.h"
#include "flat/flat_panel.h"
#include "flat/flat_radio_button.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/services.h"

namespace {

// A 16 x 16 magnifier: black outline and handle, blue glass, on white (the transparent
// colour, taken from the bottom-left pixel).
TBitmap MagnifierGlyph() {
  TBitmap glyph(16, 16);
  TCanvas& c = glyph.Canvas();
  c.Brush.SetColor(clAqua);
  c.Pen.SetColor(clBlack);
  c.Ellipse(1, 1, 11, 11);
  c.Pen.SetWidth(1);
  for (int i = 0; i < 5; ++i) {
    c.SetPixels(10 + i, 10 + i, clBlack);
    c.SetPixels(11 + i, 10 + i, clBlack);
  }
  return glyph;
}

// Two images: enabled (coloured) and disabled (grey), 16 x 16 each.
TBitmap TwoStateGlyph() {
  TBitmap glyph(32, 16);
  TCanvas& c = glyph.Canvas();
  c.Brush.SetColor(clWhite);
  c.FillRect({0, 0, 32, 16});
  c.Pen.SetColor(clMaroon);
  c.Brush.SetColor(clRed);
  c.Polygon({{2, 13}, {8, 2}, {14, 13}});
  c.Pen.SetColor(clGray);
  c.Brush.SetColor(clSilver);
  c.Polygon({{18, 13}, {24, 2}, {30, 13}});
  return glyph;
}

struct Gallery {
  TForm* form = nullptr;

  template <typename T>
  T* add(TWinControl* parent, int left, int top, int width, int height, const std::string& caption = {}) {
    auto* control = new T(form);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    if (!caption.empty()) control->SetCaption(caption);
    return control;
  }
  TLabel* label(TWinControl* parent, int left, int top, const std::string& text) {
    auto* l = add<TLabel>(parent, left, top, 0, 0, text);
    l->SetTransparent(true);
    return l;
  }
  TFlatPanel* section(int top, int height, const std::string& caption) {
    auto* p = add<TFlatPanel>(form, 8, top, 1000, height);
    label(p, 8, 4, caption)->Font().SetStyle({fsBold});
    return p;
  }
};

}  // namespace

int main(int argc, char** argv) {
  return RunProgram(argc, argv, [] {
    Gallery g;
    Application->CreateForm(g.form);
    TForm* form = g.form;
    form->SetText("Quillon — 平面控件一览");
    form->SetBorderStyle(bsSingle);
    form->SetBounds(0, 0, 1024, 730);
    form->SetColor(0xE1EAEB);
    form->Font().SetName("宋体");
    form->Font().SetHeight(-12);

    // --- buttons ---
    TFlatPanel* buttons = g.section(8, 150, "按钮 TFlatButton");
    const char* captions[] = {"静止", "默认", "热点", "按下", "锁定", "禁用"};
    const char* states[] = {"up", "Default", "hot", "down", "exclusive", "disabled"};
    TFlatButton* b[6];
    for (int i = 0; i < 6; ++i) {
      b[i] = g.add<TFlatButton>(buttons, 10 + i * 90, 28, 80, 28, captions[i]);
      g.label(buttons, 10 + i * 90, 60, states[i]);
    }
    b[1]->SetDefault(true);
    b[4]->SetGroupIndex(1);
    b[4]->SetDown(true);
    b[5]->SetEnabled(false);

    TFlatButton* glyphTop = g.add<TFlatButton>(buttons, 560, 24, 64, 56, "检索(&S)");
    glyphTop->SetGlyph(MagnifierGlyph());
    TFlatButton* glyphDisabled = g.add<TFlatButton>(buttons, 630, 24, 64, 56, "禁用");
    glyphDisabled->SetGlyph(MagnifierGlyph());
    glyphDisabled->SetEnabled(false);
    TFlatButton* twoLeft = g.add<TFlatButton>(buttons, 700, 24, 90, 28, "帮助");
    twoLeft->SetGlyph(TwoStateGlyph());
    twoLeft->SetLayout(blGlyphLeft);
    TFlatButton* twoDisabled = g.add<TFlatButton>(buttons, 700, 56, 90, 28, "帮助");
    twoDisabled->SetGlyph(TwoStateGlyph());
    twoDisabled->SetLayout(blGlyphLeft);
    twoDisabled->SetEnabled(false);
    g.label(buttons, 560, 86, "字形: 1 幅 / 禁用浮雕 / 2 幅 (左 / 禁用)");

    TFlatPanel* tinted = g.add<TFlatPanel>(buttons, 800, 24, 190, 70);
    tinted->SetColor(0x00C8E8F8);
    tinted->SetColorHighLight(clWhite);
    tinted->SetColorShadow(0x8396A0);
    TFlatButton* always = g.add<TFlatButton>(tinted, 8, 8, 84, 26, "透明");
    always->SetTransparentMode(tmAlways);
    TFlatButton* notFocused = g.add<TFlatButton>(tinted, 98, 8, 84, 26, "非焦点透明");
    notFocused->SetTransparentMode(tmNotFocused);
    g.label(tinted, 8, 44, "tmAlways / tmNotFocused");

    TFlatButton* group[3];
    for (int i = 0; i < 3; ++i) {
      group[i] = g.add<TFlatButton>(buttons, 10 + i * 60, 90, 56, 24, std::string("组") + char('1' + i));
      group[i]->SetGroupIndex(2);
    }
    group[1]->SetDown(true);
    TFlatButton* adv = g.add<TFlatButton>(buttons, 200, 90, 110, 24, "高级颜色");
    adv->SetUseAdvColors(true);
    g.label(buttons, 10, 120, "GroupIndex 组: 第二个按下;  UseAdvColors 由 Color 导出边框");

    // --- radio buttons ---
    TFlatPanel* radios = g.section(166, 110, "单选按钮 TFlatRadioButton");
    auto* pinyin = g.add<TFlatRadioButton>(radios, 10, 28, 120, 17, "按拼音 (选中)");
    pinyin->SetChecked(true);
    g.add<TFlatRadioButton>(radios, 140, 28, 120, 17, "按中文 (未选)");
    auto* hotRadio = g.add<TFlatRadioButton>(radios, 270, 28, 120, 17, "热点");
    auto* focusRadio = g.add<TFlatRadioButton>(radios, 400, 28, 120, 17, "焦点");
    focusRadio->SetGroupIndex(3);
    auto* disabledRadio = g.add<TFlatRadioButton>(radios, 530, 28, 120, 17, "禁用 (选中)");
    disabledRadio->SetGroupIndex(4);
    disabledRadio->SetChecked(true);
    disabledRadio->SetEnabled(false);
    auto* right = g.add<TFlatRadioButton>(radios, 660, 28, 150, 17, "右侧圆圈 radioRight");
    right->SetLayout(radioRight);
    right->SetGroupIndex(5);
    right->SetChecked(true);
    auto* wrap = g.add<TFlatRadioButton>(radios, 830, 24, 160, 40, "较长的标题会自动换行, 圆圈仍在顶部");
    wrap->SetGroupIndex(6);
    auto* transparentRadio = g.add<TFlatRadioButton>(radios, 10, 60, 200, 17, "透明背景 (Transparent)");
    transparentRadio->SetGroupIndex(7);
    transparentRadio->SetTransparent(true);
    g.label(radios, 10, 86, "选中 / 未选 / 热点 / 焦点 / 禁用 / 右侧 / 换行");

    // --- edits and memos ---
    TFlatPanel* edits = g.section(284, 170, "编辑框 TFlatEdit / TFlatMemo");
    auto* flatEdit = g.add<TFlatEdit>(edits, 10, 28, 150, 19);
    flatEdit->SetText("FT 平面外观");
    auto* hotEdit = g.add<TFlatEdit>(edits, 170, 28, 150, 19);
    hotEdit->SetText("鼠标悬停 (焦点外观)");
    auto* disabledEdit = g.add<TFlatEdit>(edits, 330, 28, 150, 19);
    disabledEdit->SetText("禁用");
    disabledEdit->SetEnabled(false);
    auto* readOnly = g.add<TFlatEdit>(edits, 490, 28, 150, 19);
    readOnly->SetText("只读 ReadOnly");
    readOnly->SetReadOnly(true);
    auto* password = g.add<TFlatEdit>(edits, 650, 28, 150, 19);
    password->SetText("secret");
    password->SetPasswordChar(U'*');
    g.label(edits, 10, 52, "平面 / 悬停 (焦点在单选按钮上) / 禁用 / 只读 / 密码");
    auto* memo = g.add<TFlatMemo>(edits, 10, 72, 300, 89);
    memo->SetReadOnly(true);
    memo->SetScrollBars(ssVertical);
    memo->Lines().SetText(
        "使用说明:\r\n1. 在拼音框输入拼音首字母, 按回车检索。\r\n2. 在中文框输入名称的开头。\r\n"
        "3. 英文检索按英文名称的开头。\r\n4. 器官系统按代码或名称检索。\r\n5. 点击列标题排序。");
    auto* memo2 = g.add<TFlatMemo>(edits, 320, 72, 300, 89);
    memo2->SetColorFlat(clWhite);
    memo2->Lines().SetText("ColorFlat = 白色\r\nWordWrap 默认开启, 长行会自动换到下一行显示。");
    auto* memoBoth = g.add<TFlatMemo>(edits, 630, 72, 200, 89);
    memoBoth->SetScrollBars(ssBoth);
    memoBoth->SetWordWrap(false);
    memoBoth->Lines().SetText("ScrollBars = ssBoth\r\nWordWrap = false, a long line that does not wrap at all");

    // --- panels ---
    TFlatPanel* panels = g.section(462, 230, "面板 TFlatPanel");
    auto* left = g.add<TFlatPanel>(panels, 10, 28, 180, 41, "左对齐");
    left->SetAlignment(taLeftJustify);
    g.add<TFlatPanel>(panels, 200, 28, 180, 41, "居中 (默认)");
    auto* rightPanel = g.add<TFlatPanel>(panels, 390, 28, 180, 41, "右对齐");
    rightPanel->SetAlignment(taRightJustify);
    auto* raised = g.add<TFlatPanel>(panels, 580, 28, 180, 41, "凸起 (白 / 黑)");
    raised->SetColorHighLight(clWhite);
    raised->SetColorShadow(clBlack);
    auto* disabledPanel = g.add<TFlatPanel>(panels, 770, 28, 180, 41, "禁用面板");
    disabledPanel->SetEnabled(false);

    auto* backdrop = g.add<TFlatPanel>(panels, 10, 80, 460, 140);
    backdrop->SetColor(0x00B0D8F0);
    backdrop->SetCaption("父面板 (有颜色)");
    backdrop->SetAlignment(taLeftJustify);
    auto* see = g.add<TFlatPanel>(backdrop, 170, 10, 280, 120, "透明面板 Transparent");
    see->SetTransparent(true);
    auto* inner = g.add<TFlatButton>(see, 10, 10, 90, 26, "子控件");
    (void)inner;
    auto* opaque = g.add<TFlatPanel>(panels, 480, 80, 300, 140, "不透明面板, alClient 子面板留出边框");
    opaque->SetColor(0x00F0F0F0);
    auto* client = g.add<TFlatPanel>(opaque, 0, 0, 10, 10, "alClient 子面板");
    client->SetAlign(alClient);
    client->SetColor(0x00D8E8D0);
    client->SetAlignment(taCenter);

    form->Show();

    // Hot and pressed states through synthetic input, then the trackers stop checking so the
    // hot controls stay hot.
    auto moveOver = [&](TControl* c, int x, int y) {
      form->HandleMouse(mmMove, mbLeft, c->ClientToForm({x, y}), {});
    };
    moveOver(hotRadio, 20, 8);
    TFlatRadioButton::ClassHoverTracker().Timer()->SetEnabled(false);
    moveOver(b[2], 20, 10);
    TFlatButton::ClassHoverTracker().Timer()->SetEnabled(false);
    form->HandleMouse(mmDown, mbLeft, b[3]->ClientToForm({20, 10}), {ssLeft});
    form->SetCaptureControl(nullptr);  // stays pressed; the real mouse goes where it points
    focusRadio->SetFocus();
    SetCursorPos(hotEdit->ClientToScreen({20, 5}));
    Application->DoIdle();
    form->PaintPending();

    Application->Run();
  });
}
