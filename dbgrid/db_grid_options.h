#pragma once
// The option sets of the data-aware grid.
//
// Published sets (what a form stores): OptionsBehavior, OptionsCustomize, OptionsDB,
// OptionsView. Each value's bit is its position in its enumeration (first value = bit 0).
// Internal words: Options and OptionsEx, which the grid's own code tests; they are not stored.
// Every published value edgoX mirrors the internal value egoX of the same name in whichever
// word holds it, and where the core has a flag of the same name (tloX) the published setter
// sets that too. Four published values have no internal twin: edgoAutoCopySelectedToClipboard
// and edgoHotTrack (core flags only), edgoPartialLoad and edgoUseBookmarks (read straight from
// OptionsDB).
//
// The mapping is one table (db_grid_options.cpp); the setters that apply it live with the grid
// (db_treelist_options.cpp).
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/core/option_set.h"
#include "treelist/treelist_types.h"

// ----- published -----------------------------------------------------------------------------
enum TqlDBGridOptionBehavior {
  edgoAnsiSort, edgoAutoCopySelectedToClipboard, edgoAutoSearch, edgoAutoSort,
  edgoBandButtonClicking, edgoCaseInsensitive, edgoCellMultiSelect, edgoCollapsedReload,
  edgoDblClick, edgoDragCollapse, edgoDragExpand, edgoDragScroll, edgoEditing,
  edgoEnterShowEditor, edgoEnterThrough, edgoExtMultiSelect, edgoHeaderButtonClicking,
  edgoHorzThrough, edgoImmediateEditor, edgoMouseScroll, edgoMultiSelect, edgoMultiSort,
  edgoSeekDetail, edgoShowHourGlass, edgoStoreToIniFile, edgoStoreToRegistry, edgoTabs,
  edgoTabThrough, edgoVertThrough
};
using TqlDBGridOptionsBehavior = TOptionSet<TqlDBGridOptionBehavior>;

enum TqlDBGridOptionCustomize {
  edgoBandMoving, edgoBandPanelSizing, edgoBandSizing, edgoColumnMoving, edgoColumnSizing,
  edgoExtCustomizing, edgoFullSizing, edgoHeaderPanelSizing, edgoKeepColumnWidth,
  edgoNotHideColumn, edgoRowSizing
};
using TqlDBGridOptionsCustomize = TOptionSet<TqlDBGridOptionCustomize>;

enum TqlDBGridOptionDB {
  edgoCanAppend, edgoCancelOnExit, edgoCanDelete, edgoCanInsert, edgoCanNavigation,
  edgoConfirmDelete, edgoLoadAllRecords, edgoPartialLoad, edgoResetColumnFocus,
  edgoSmartRefresh, edgoSmartReload, edgoSyncSelection, edgoUseBookmarks, edgoUseLocate
};
using TqlDBGridOptionsDB = TOptionSet<TqlDBGridOptionDB>;

enum TqlDBGridOptionView {
  edgoAutoCalcPreviewLines, edgoAutoHeaderPanelHeight, edgoAutoWidth, edgoBandHeaderWidth,
  edgoDrawEndEllipsis, edgoHideFocusRect, edgoHotTrack, edgoIndicator, edgoInvertSelect,
  edgoPreview, edgoRowAutoHeight, edgoRowSelect, edgoShowButtonAlways, edgoUseBitmap
};
using TqlDBGridOptionsView = TOptionSet<TqlDBGridOptionView>;

// Defaults: 0x18043808, 0x1D, 0x103E, 0x2008.
inline constexpr TqlDBGridOptionsBehavior kDefaultOptionsBehavior{
    edgoAutoSort, edgoDragScroll, edgoEditing, edgoEnterShowEditor, edgoImmediateEditor,
    edgoTabThrough, edgoVertThrough};
inline constexpr TqlDBGridOptionsCustomize kDefaultOptionsCustomize{
    edgoBandMoving, edgoBandSizing, edgoColumnMoving, edgoColumnSizing};
inline constexpr TqlDBGridOptionsDB kDefaultOptionsDB{
    edgoCancelOnExit, edgoCanDelete, edgoCanInsert, edgoCanNavigation, edgoConfirmDelete,
    edgoUseBookmarks};
inline constexpr TqlDBGridOptionsView kDefaultOptionsView{edgoBandHeaderWidth, edgoUseBitmap};

// ----- internal words ------------------------------------------------------------------------
enum TqlDBGridOption {
  egoColumnSizing, egoColumnMoving, egoEditing, egoTabs, egoTabThrough, egoRowSelect,
  egoMultiSelect, egoCanDelete, egoConfirmDelete, egoCanNavigation, egoCanAppend,
  egoCancelOnExit, egoImmediateEditor, egoCanInsert, egoLoadAllRecords, egoPreview,
  egoDrawEndEllipsis, egoStoreToRegistry, egoAutoWidth, egoShowHourGlass, egoCaseInsensitive,
  egoDblClick, egoIndicator, egoExtMultiSelect, egoResetColumnFocus, egoExtCustomizing,
  egoHideFocusRect, egoStoreToIniFile, egoUseLocate, egoSmartReload, egoSmartRefresh,
  egoSeekDetail
};
using TqlDBGridOptions = TOptionSet<TqlDBGridOption>;

enum TqlDBGridOptionEx {
  egoInvertSelect, egoUseBitmap, egoBandHeaderWidth, egoAutoCalcPreviewLines, egoBandSizing,
  egoBandMoving, egoHorzThrough, egoVertThrough, egoCellMultiSelect, egoEnterThrough,
  egoEnterShowEditor, egoFullSizing, egoDragScroll, egoDragExpand, egoDragCollapse,
  egoRowAutoHeight, egoBandButtonClicking, egoBandPanelSizing, egoHeaderButtonClicking,
  egoHeaderPanelSizing, egoRowSizing, egoAutoSort, egoNotHideColumn, egoMultiSort,
  egoShowButtonAlways, egoAutoHeaderPanelHeight, egoKeepColumnWidth, egoSyncSelection,
  egoCollapsedReload, egoAnsiSort, egoMouseScroll, egoAutoSearch
};
using TqlDBGridOptionsEx = TOptionSet<TqlDBGridOptionEx>;

// Defaults: 0x3B97 and 0x2014B6.
inline constexpr TqlDBGridOptions kDefaultDBGridOptions = TqlDBGridOptions::fromBits(0x3B97);
inline constexpr TqlDBGridOptionsEx kDefaultDBGridOptionsEx =
    TqlDBGridOptionsEx::fromBits(0x2014B6);

// ----- the mapping ---------------------------------------------------------------------------
// Which published set a value belongs to.
enum class TqlPublishedOptionSet : uint8_t { Behavior, Customize, DB, View };

// One published value and its twins.
struct TqlDBGridOptionTwin {
  TqlPublishedOptionSet Set;
  int PublishedBit;                          // the value's bit in its published set
  std::optional<TqlDBGridOption> Internal;   // its twin in Options, when that word has one
  std::optional<TqlDBGridOptionEx> InternalEx;  // its twin in OptionsEx, when that word has one
  std::optional<TqlTreeListOption> Core;     // the core flag of the same name, when any
};

// Every published value of every set, in set order then bit order.
const std::vector<TqlDBGridOptionTwin>& DBGridOptionTwins();

// The internal words and core flags as a published set puts them: the bits of the other sets
// stay as they are.
struct TqlDBGridOptionWords {
  TqlDBGridOptions Options;
  TqlDBGridOptionsEx OptionsEx;
  TqlTreeListOptions Core;
};
// Copies each value of one published set (given as raw bits) into its twins in words.
void MirrorPublishedSet(TqlPublishedOptionSet set, uint64_t publishedBits,
                        TqlDBGridOptionWords& words);
// The published bits of one set as the internal words say (edgoPartialLoad, edgoUseBookmarks,
// edgoAutoCopySelectedToClipboard and edgoHotTrack, having no internal twin, come from
// keepBits, the set's current bits).
uint64_t PublishedFromInternal(TqlPublishedOptionSet set, const TqlDBGridOptionWords& words,
                               uint64_t keepBits);
