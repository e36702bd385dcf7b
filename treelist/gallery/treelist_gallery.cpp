// treelist_gallery: one window showing the tree-list grid painted in its three looks, each
// filled with the sample terms, and a small tree with expand buttons and preview text. It is
// for looking at the painting by eye (and on screenshots) and for trying the mouse: column
// headers can be dragged to new places in every grid (and out of the banded grid's headers to
// hide them), the tree's nodes can be dragged onto other nodes (a closed node opens while a
// node is held over its button), and the middle button starts anchor scrolling anywhere.
// Ctrl+Insert copies the focused grid's captions and selected rows in the order shown. Nothing
// is saved.
//
// Usage: treelist_gallery [whoart.tsv]
//   The terms file defaults to data/whoart.tsv of the source tree; ljxt.tsv is read from the
//   same folder.
#include <string>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "treelist/gallery/gallery_grids.h"
#include "treelist/gallery/sample_terms.h"

namespace {

constexpr int kMargin = 8;
constexpr int kCaptionHeight = 18;
constexpr int kTermGridWidth = 780;
constexpr int kTermGridHeight = 290;
constexpr int kFocusRow = 5;

void addCaption(TForm* form, const char* text, int left, int top) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(left, top, 0, 0);
  label->SetCaption(text);
}

void buildGallery(const std::string& whoartPath) {
  std::vector<TSampleTerm> terms = ReadSampleTerms(whoartPath);
  std::vector<TSampleOrganSystem> systems = ReadSampleOrganSystems(OrganSystemFileBeside(whoartPath));
  std::vector<TSampleTerm> sorted = SortedByPinyin(terms);

  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetCaption("Tree-list gallery");
  form->SetBounds(0, 0, 1590, 990);

  struct LookRow {
    TqlLookAndFeel look;
    const char* caption;
  };
  const LookRow rows[] = {{lfStandard, "lfStandard"}, {lfFlat, "lfFlat"},
                          {lfUltraFlat, "lfUltraFlat (the search window's look; has the focus)"}};
  TCustomqlTreeListControl* focused = nullptr;
  int top = kMargin;
  for (const LookRow& r : rows) {
    addCaption(form, r.caption, kMargin, top);
    top += kCaptionHeight;
    focused = MakeTermGrid(form, form, r.look, sorted, kFocusRow,
                           TRect(kMargin, top, kMargin + kTermGridWidth, top + kTermGridHeight));
    top += kTermGridHeight + kMargin;
  }

  const int treeLeft = kMargin * 2 + kTermGridWidth;
  addCaption(form, "Tree paint style, lfFlat, preview", treeLeft, kMargin);
  const int treeBottom = kMargin + kCaptionHeight + 560;
  MakeOrganTree(form, form, terms, systems,
                TRect(treeLeft, kMargin + kCaptionHeight, treeLeft + 760, treeBottom));
  const int bandedTop = treeBottom + kMargin;
  addCaption(form,
             "lfUltraFlat with indicator, bands, two header rows, an empty band; drag a header "
             "to move it, out of the headers to hide it",
             treeLeft, bandedTop);
  MakeBandedGrid(form, form, sorted,
                 TRect(treeLeft, bandedTop + kCaptionHeight, treeLeft + 760, 950));

  form->SetActiveControl(focused);  // the ultra-flat grid, made last
  Application->Run();
}

}  // namespace

int main(int argc, char** argv) {
  std::string whoartPath = argc > 1 ? argv[1] : std::string(QUILLON_GALLERY_DATA_DIR) + "/whoart.tsv";
  return RunProgram(argc, argv, [&] { buildGallery(whoartPath); });
}
