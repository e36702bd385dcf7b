// A small window that shows the control tree and the canvas at work: aligned panels, a
// clickable control that counts clicks, 3-D edges and Chinese text.
#include <string>

#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace {

class DemoPanel : public TCustomControl {
 public:
  DemoPanel(TComponent* owner, TColor color, std::string caption) : TCustomControl(owner), caption_(std::move(caption)) {
    SetColor(color);
    Font().SetName("宋体");
    Font().SetHeight(-13);
  }
  int clicks = 0;

 protected:
  void Paint() override {
    TCanvas& c = Canvas();
    c.DrawEdge(ClientRect(), EDGE_RAISED, BF_RECT);
    c.Font.Assign(Font());
    c.Brush.SetStyle(bsClear);
    std::string text = caption_ + (clicks ? "  (" + std::to_string(clicks) + ")" : "");
    c.DrawText(text, ClientRect(), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  void Click() override {
    ++clicks;
    Invalidate();
  }

 private:
  std::string caption_;
};

}  // namespace

int main(int argc, char** argv) {
  return RunProgram(argc, argv, [] {
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetText("Quillon");
    form->SetBounds(40, 40, 640, 400);
    auto add = [&](TAlign align, TColor color, const char* caption, int size) {
      auto* p = new DemoPanel(form, color, caption);
      p->SetBounds(0, 0, size, size);
      p->SetParent(form);
      p->SetAlign(align);
    };
    add(alTop, 0xE4A384, "不良反应检索 — 顶部", 48);
    add(alLeft, 0xF7DFD6, "左侧", 160);
    add(alClient, clWindow, "点击这里 (click here)", 0);
    Application->Run();
  });
}
