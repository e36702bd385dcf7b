#include "platform/db/mdb_table_source.h"

#include <strings.h>

#include "platform/db/db_error.h"
#include "platform/db/isolated_call.h"
#include "platform/db/mdb_file_check.h"
#include "platform/db/mdb_table_reader.h"
#include "platform/db/snapshot_codec.h"

TMdbTableSource::TMdbTableSource(std::string path, int timeoutMs) : path_(std::move(path)) {
  TMdbFileInfo info = CheckMdbFile(path_);  // the common faults, without a child process
  // Generous: 20 s plus 1 s per 4 MiB, so only a reader that is stuck runs into it.
  timeoutMs_ = timeoutMs > 0 ? timeoutMs : int(20000 + info.FileSize / (4 << 20) * 1000);
  TIsolatedOptions options;
  options.TimeoutMs = timeoutMs_;
  RunIsolated(
      "Cannot open database " + path_,
      [this](TByteSink& sink) {
        TMdbCatalog catalog = MdbReadCatalog(path_);
        TSnapshotCodec::WriteU32(sink, uint32_t(catalog.JetVersion));
        TSnapshotCodec::WriteU32(sink, uint32_t(catalog.Tables.size()));
        for (const auto& t : catalog.Tables) TSnapshotCodec::WriteString(sink, t);
      },
      [this](TByteSource& source) {
        jetVersion_ = int(TSnapshotCodec::ReadU32(source));
        uint32_t count = TSnapshotCodec::ReadU32(source);
        if (count > 100000) throw EDatabaseError("catalog too large");
        for (uint32_t i = 0; i < count; ++i) tables_.push_back(TSnapshotCodec::ReadString(source, 4096));
      },
      options);
}

TSnapshotPtr TMdbTableSource::LoadTable(const std::string& tableName) {
  bool known = false;
  for (const auto& t : tables_) known = known || strcasecmp(t.c_str(), tableName.c_str()) == 0;
  if (!known) throw EDatabaseError("Cannot read database " + path_ + ": table '" + tableName + "' not found");
  TSnapshotPtr result;
  TIsolatedOptions options;
  options.TimeoutMs = timeoutMs_;
  RunIsolated(
      "Cannot read table " + tableName + " of database " + path_,
      [&](TByteSink& sink) { TSnapshotCodec::Write(*MdbReadTable(path_, tableName), sink); },
      [&](TByteSource& source) { result = TSnapshotCodec::Read(source); }, options);
  return result;
}
