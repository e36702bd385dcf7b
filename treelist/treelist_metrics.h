#pragma once
// Heights and widths of the grid's parts, measured from its fonts and properties each time
// the layout is recalculated. Initial values are those before the first recalculation.
struct TqlTreeListMetrics {
  bool FlatLook = false;          // LookAndFeel is lfFlat or lfUltraFlat
  int BandLineHeight = 11;        // "Wg" in BandFont
  int BandPanelHeight = 0;        // 0 when ShowBands is off
  int HeaderCellHeight = 18;      // one header row
  int HeaderPanelHeight = 18;     // 0 when ShowHeader is off
  int TextHeight = 11;            // "Wg" in Font
  int FooterLineHeight = 18;
  int FooterPanelHeight = 0;      // 0 when the footer panel is off
  int RowFooterHeight = 0;
  int StatusPanelHeight = 0;      // 0 when the status panel is off
  int GroupAreaHeight = 0;
  int IndicatorColumnWidth = 0;   // GrIndicatorWidth when the indicator is shown
  int PreviewLineHeight = 11;     // "Wg" in PreviewFont
  int ButtonSize = 16;            // expand button cell
  int LevelIndent = 16;           // one tree level
  int HScrollStep = 8;            // width of "0" in Font
  int GridLine = 1;               // 1 when ShowGrid and ShowPreviewGrid, else 0
  int SmallestRowHeight = 18;
  int UnitRowHeight = 18;         // row height of one header row's worth of cells
  int NewItemSeparatorHeight = 6; // 5 flat, 6 standard
  int NewItemAreaHeight = 0;
  int FullRowCount = 1;           // rows fully shown from the top node, >= 1
  int PartRowCount = 1;           // rows at least partly shown from the top node, >= 1
};

// What the metrics are computed from: text heights measured by the caller ("Wg" in each
// font, "0" wide in the grid font) and the layout switches. Kept apart from the control so
// the arithmetic can be checked on plain numbers.
struct TqlMetricsInput {
  bool FlatLook = false;
  int BandTextHeight = 11;
  int HeaderTextHeight = 11;
  int TextHeight = 11;
  int PreviewTextHeight = 11;
  int ZeroWidth = 8;               // width of "0" in the grid font
  int BandRowCount = 1;            // >= 1
  int HeaderMinRowCount = 1;       // >= 1
  int HeaderPanelRowCount = 1;     // >= 1
  bool ShowBands = false;
  bool ShowHeader = true;
  bool FooterPanelShown = false;
  bool StatusPanelShown = false;
  bool ShowGrid = true;
  bool ShowPreviewGrid = true;
  bool ShowIndicator = false;
  int GrIndicatorWidth = 12;
  int GroupAreaHeight = 0;
  bool ShowNewItemRow = false;
  int VisibleBandCount = 1;
  int NodeImageHeight = 0;         // 0 without node images
  int StateImageHeight = 0;        // 0 without state images
  int ColumnMinRowHeight = 0;      // largest minimum row height the shown columns ask for
  bool InvertSelect = false;
  int DefaultRowHeight = 18;       // the current UnitRowHeight
  bool DefaultRowHeightAssigned = false;
};

struct TqlMetricsResult {
  TqlTreeListMetrics Metrics;      // FullRowCount / PartRowCount are left at 1
  bool DefaultRowHeightAssigned = false;  // cleared when the set height equals the smallest
};

TqlMetricsResult ComputeTreeListMetrics(const TqlMetricsInput& in);
