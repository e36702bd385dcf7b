#pragma once
// Shared fixtures of the record-set tests: a small terminology in the database's schema, built
// in code, and a data link that records what it is told.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/data_link.h"
#include "platform/db/data_source.h"
#include "platform/db/dataset.h"
#include "platform/db/table_source.h"

namespace dbtest {

using Cell = std::optional<std::string>;  // nullopt = NULL

// Text columns named cols, rows of cells.
inline TSnapshotPtr MakeTable(const std::string& name, const std::vector<std::string>& cols,
                              const std::vector<std::vector<Cell>>& rows) {
  std::vector<TSnapshotColumnDef> defs;
  for (const auto& c : cols) defs.push_back({c, ftWideString, 50});
  auto t = std::make_shared<TTableSnapshot>(name, defs);
  for (const auto& row : rows) {
    std::vector<Variant> values;
    for (const auto& cell : row) values.push_back(cell ? Variant(*cell) : Variant::Null());
    t->AppendRow(values);
  }
  return t;
}

// Terms (WHOART). Organ systems: 0410 stands only in SID1/SID2, 1810 only in SID3; 0008 has
// a null PY and an empty ENAME; 0007 has a quote in its English name.
inline TSnapshotPtr Whoart() {
  const std::nullopt_t N = std::nullopt;
  return MakeTable("WHOART", {"PY", "NAME", "ENAME", "TID", "SID1", "SID2", "SID3"},
                   {
                       {"FBZD", "腹部胀大", "ABDOMEN ENLARGED", "0001", "0600", N, N},
                       {"PZ", "皮疹", "RASH", "0002", "0100", "0800", N},
                       {"FR", "发热", "FEVER", "0003", "0800", "0100", "1810"},
                       {"FRG", "发热感", "FEVERISH FEELING", "0004", "0800", N, N},
                       {"TT", "头痛", "HEADACHE", "0005", "0410", N, N},
                       {"XY", "眩晕", "VERTIGO", "0006", "0800", "0410", N},
                       {"ABLE", "奥布赖恩", "O'BRIEN SYNDROME", "0007", "0100", N, N},
                       {N, "未知", "", "0008", "0600", N, N},
                   });
}

// Organ systems (LJXT); 9999 has no terms.
inline TSnapshotPtr Ljxt() {
  return MakeTable("LJXT", {"SID", "NAME", "ENAME"},
                   {
                       {"0100", "皮肤及其附件损害", "SKIN AND APPENDAGES DISORDERS"},
                       {"0410", "中枢及外周神经系统损害", "CENTRAL & PERIPHERAL NERVOUS SYSTEM DISORDERS"},
                       {"0600", "胃肠系统损害", "GASTRO-INTESTINAL SYSTEM DISORDERS"},
                       {"0800", "全身性损害", "BODY AS A WHOLE - GENERAL DISORDERS"},
                       {"1810", "代谢和营养障碍", "METABOLIC AND NUTRITIONAL DISORDERS"},
                       {"9999", "无术语", "NO TERMS"},
                   });
}

inline std::shared_ptr<TMemoryTableSource> TerminologySource() {
  auto source = std::make_shared<TMemoryTableSource>("terminology in memory");
  source->Add(Whoart());
  source->Add(Ljxt());
  return source;
}

// The values of one field over every record, from the first, leaving the cursor at the end.
inline std::vector<std::string> Column(TDataSet& ds, const std::string& field) {
  std::vector<std::string> out;
  ds.DisableControls();
  for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName(field)->AsString());
  ds.EnableControls();
  return out;
}

// A link that writes each callback into Log ("active:1", "changed", "scrolled:-1", ...).
class RecordingLink : public TDataLink {
 public:
  std::vector<std::string> Log;
  bool TakeFocus = false;
  TField* Focused = nullptr;

  void Clear() { Log.clear(); }

 protected:
  void ActiveChanged() override { Log.push_back(std::string("active:") + (Active() ? "1" : "0")); }
  void DataSetChanged() override { Log.push_back("changed"); }
  void DataSetScrolled(int Distance) override { Log.push_back("scrolled:" + std::to_string(Distance)); }
  void RecordChanged(TField* Field) override { Log.push_back("record"); }
  void LayoutChanged() override { Log.push_back("layout"); }
  void UpdateData() override { Log.push_back("update"); }
  void EditingChanged() override { Log.push_back("editing"); }
  void FocusControl(TField** Field) override {
    Log.push_back("focus:" + (*Field ? (*Field)->FieldName() : std::string("-")));
    if (TakeFocus) {
      Focused = *Field;
      *Field = nullptr;
    }
  }
};

}  // namespace dbtest
