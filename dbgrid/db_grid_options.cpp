// The one table that ties every published option value to its twins (see the header).
#include "dbgrid/db_grid_options.h"

using S = TqlPublishedOptionSet;

const std::vector<TqlDBGridOptionTwin>& DBGridOptionTwins() {
  // Set, published value, twin in Options, twin in OptionsEx, core flag.
  static const std::vector<TqlDBGridOptionTwin> twins = {
      {S::Behavior, edgoAnsiSort, std::nullopt, egoAnsiSort, tloAnsiSort},
      {S::Behavior, edgoAutoCopySelectedToClipboard, std::nullopt, std::nullopt, tloAutoCopySelectedToClipboard},
      {S::Behavior, edgoAutoSearch, std::nullopt, egoAutoSearch, tloAutoSearch},
      {S::Behavior, edgoAutoSort, std::nullopt, egoAutoSort, tloAutoSort},
      {S::Behavior, edgoBandButtonClicking, std::nullopt, egoBandButtonClicking, tloBandButtonClicking},
      {S::Behavior, edgoCaseInsensitive, egoCaseInsensitive, std::nullopt, tloCaseInsensitive},
      {S::Behavior, edgoCellMultiSelect, std::nullopt, egoCellMultiSelect, tloCellMultiSelect},
      {S::Behavior, edgoCollapsedReload, std::nullopt, egoCollapsedReload, std::nullopt},
      {S::Behavior, edgoDblClick, egoDblClick, std::nullopt, std::nullopt},
      {S::Behavior, edgoDragCollapse, std::nullopt, egoDragCollapse, tloDragCollapse},
      {S::Behavior, edgoDragExpand, std::nullopt, egoDragExpand, tloDragExpand},
      {S::Behavior, edgoDragScroll, std::nullopt, egoDragScroll, tloDragScroll},
      {S::Behavior, edgoEditing, egoEditing, std::nullopt, tloEditing},
      {S::Behavior, edgoEnterShowEditor, std::nullopt, egoEnterShowEditor, tloEnterShowEditor},
      {S::Behavior, edgoEnterThrough, std::nullopt, egoEnterThrough, tloEnterThrough},
      {S::Behavior, edgoExtMultiSelect, egoExtMultiSelect, std::nullopt, tloExtMultiSelect},
      {S::Behavior, edgoHeaderButtonClicking, std::nullopt, egoHeaderButtonClicking, tloHeaderButtonClicking},
      {S::Behavior, edgoHorzThrough, std::nullopt, egoHorzThrough, tloHorzThrough},
      {S::Behavior, edgoImmediateEditor, egoImmediateEditor, std::nullopt, tloImmediateEditor},
      {S::Behavior, edgoMouseScroll, std::nullopt, egoMouseScroll, tloMouseScroll},
      {S::Behavior, edgoMultiSelect, egoMultiSelect, std::nullopt, tloMultiSelect},
      {S::Behavior, edgoMultiSort, std::nullopt, egoMultiSort, tloMultiSort},
      {S::Behavior, edgoSeekDetail, egoSeekDetail, std::nullopt, std::nullopt},
      {S::Behavior, edgoShowHourGlass, egoShowHourGlass, std::nullopt, tloShowHourGlass},
      {S::Behavior, edgoStoreToIniFile, egoStoreToIniFile, std::nullopt, tloStoreToIniFile},
      {S::Behavior, edgoStoreToRegistry, egoStoreToRegistry, std::nullopt, tloStoreToRegistry},
      {S::Behavior, edgoTabs, egoTabs, std::nullopt, tloTabs},
      {S::Behavior, edgoTabThrough, egoTabThrough, std::nullopt, tloTabThrough},
      {S::Behavior, edgoVertThrough, std::nullopt, egoVertThrough, tloVertThrough},
      {S::Customize, edgoBandMoving, std::nullopt, egoBandMoving, tloBandMoving},
      {S::Customize, edgoBandPanelSizing, std::nullopt, egoBandPanelSizing, tloBandPanelSizing},
      {S::Customize, edgoBandSizing, std::nullopt, egoBandSizing, tloBandSizing},
      {S::Customize, edgoColumnMoving, egoColumnMoving, std::nullopt, tloColumnMoving},
      {S::Customize, edgoColumnSizing, egoColumnSizing, std::nullopt, tloColumnSizing},
      {S::Customize, edgoExtCustomizing, egoExtCustomizing, std::nullopt, tloExtCustomizing},
      {S::Customize, edgoFullSizing, std::nullopt, egoFullSizing, tloFullSizing},
      {S::Customize, edgoHeaderPanelSizing, std::nullopt, egoHeaderPanelSizing, tloHeaderPanelSizing},
      {S::Customize, edgoKeepColumnWidth, std::nullopt, egoKeepColumnWidth, tloKeepColumnWidth},
      {S::Customize, edgoNotHideColumn, std::nullopt, egoNotHideColumn, std::nullopt},
      {S::Customize, edgoRowSizing, std::nullopt, egoRowSizing, tloRowSizing},
      {S::DB, edgoCanAppend, egoCanAppend, std::nullopt, std::nullopt},
      {S::DB, edgoCancelOnExit, egoCancelOnExit, std::nullopt, std::nullopt},
      {S::DB, edgoCanDelete, egoCanDelete, std::nullopt, std::nullopt},
      {S::DB, edgoCanInsert, egoCanInsert, std::nullopt, std::nullopt},
      {S::DB, edgoCanNavigation, egoCanNavigation, std::nullopt, std::nullopt},
      {S::DB, edgoConfirmDelete, egoConfirmDelete, std::nullopt, std::nullopt},
      {S::DB, edgoLoadAllRecords, egoLoadAllRecords, std::nullopt, std::nullopt},
      {S::DB, edgoPartialLoad, std::nullopt, std::nullopt, std::nullopt},
      {S::DB, edgoResetColumnFocus, egoResetColumnFocus, std::nullopt, std::nullopt},
      {S::DB, edgoSmartRefresh, egoSmartRefresh, std::nullopt, std::nullopt},
      {S::DB, edgoSmartReload, egoSmartReload, std::nullopt, std::nullopt},
      {S::DB, edgoSyncSelection, std::nullopt, egoSyncSelection, std::nullopt},
      {S::DB, edgoUseBookmarks, std::nullopt, std::nullopt, std::nullopt},
      {S::DB, edgoUseLocate, egoUseLocate, std::nullopt, std::nullopt},
      {S::View, edgoAutoCalcPreviewLines, std::nullopt, egoAutoCalcPreviewLines, tloAutoCalcPreviewLines},
      {S::View, edgoAutoHeaderPanelHeight, std::nullopt, egoAutoHeaderPanelHeight, tloAutoHeaderPanelHeight},
      {S::View, edgoAutoWidth, egoAutoWidth, std::nullopt, tloAutoWidth},
      {S::View, edgoBandHeaderWidth, std::nullopt, egoBandHeaderWidth, tloBandHeaderWidth},
      {S::View, edgoDrawEndEllipsis, egoDrawEndEllipsis, std::nullopt, tloDrawEndEllipsis},
      {S::View, edgoHideFocusRect, egoHideFocusRect, std::nullopt, tloHideFocusRect},
      {S::View, edgoHotTrack, std::nullopt, std::nullopt, tloHotTrack},
      {S::View, edgoIndicator, egoIndicator, std::nullopt, tloIndicator},
      {S::View, edgoInvertSelect, std::nullopt, egoInvertSelect, tloInvertSelect},
      {S::View, edgoPreview, egoPreview, std::nullopt, tloPreview},
      {S::View, edgoRowAutoHeight, std::nullopt, egoRowAutoHeight, tloRowAutoHeight},
      {S::View, edgoRowSelect, egoRowSelect, std::nullopt, tloRowSelect},
      {S::View, edgoShowButtonAlways, std::nullopt, egoShowButtonAlways, tloShowButtonAlways},
      {S::View, edgoUseBitmap, std::nullopt, egoUseBitmap, tloUseBitmap},
  };
  return twins;
}

void MirrorPublishedSet(TqlPublishedOptionSet set, uint64_t publishedBits,
                        TqlDBGridOptionWords& words) {
  for (const TqlDBGridOptionTwin& twin : DBGridOptionTwins()) {
    if (twin.Set != set) continue;
    const bool on = (publishedBits >> twin.PublishedBit) & 1;
    if (twin.Internal) on ? words.Options.include(*twin.Internal) : words.Options.exclude(*twin.Internal);
    if (twin.InternalEx)
      on ? words.OptionsEx.include(*twin.InternalEx) : words.OptionsEx.exclude(*twin.InternalEx);
    if (twin.Core) on ? words.Core.include(*twin.Core) : words.Core.exclude(*twin.Core);
  }
}

uint64_t PublishedFromInternal(TqlPublishedOptionSet set, const TqlDBGridOptionWords& words,
                               uint64_t keepBits) {
  uint64_t bits = 0;
  for (const TqlDBGridOptionTwin& twin : DBGridOptionTwins()) {
    if (twin.Set != set) continue;
    bool on;
    if (twin.Internal)
      on = words.Options.contains(*twin.Internal);
    else if (twin.InternalEx)
      on = words.OptionsEx.contains(*twin.InternalEx);
    else if (twin.Core)
      on = words.Core.contains(*twin.Core);  // kept in the core flags only
    else
      on = (keepBits >> twin.PublishedBit) & 1;  // read straight from the published set
    if (on) bits |= uint64_t(1) << twin.PublishedBit;
  }
  return bits;
}
