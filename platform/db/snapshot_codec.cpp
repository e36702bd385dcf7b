#include "platform/db/snapshot_codec.h"

#include <cstring>

#include "platform/db/db_error.h"

namespace {

constexpr uint32_t kVersion = 1;
constexpr size_t kMaxName = 4096;
constexpr uint32_t kMaxColumns = 4096;

[[noreturn]] void corrupt(const char* what) {
  throw EDatabaseError(std::string("The table data read from the database is inconsistent (") +
                       what + ")");
}

template <typename T>
void writePod(TByteSink& sink, const T& v) { sink.Write(&v, sizeof v); }

template <typename T>
T readPod(TByteSource& source) {
  T v;
  source.Read(&v, sizeof v);
  return v;
}

template <typename T>
void writeArray(TByteSink& sink, const std::vector<T>& v) {
  writePod<uint64_t>(sink, v.size());
  if (!v.empty()) sink.Write(v.data(), v.size() * sizeof(T));
}

template <typename T>
void readArray(TByteSource& source, std::vector<T>& v, uint64_t expected) {
  uint64_t n = readPod<uint64_t>(source);
  if (n != expected) corrupt("array length");
  v.resize(n);
  if (n) source.Read(v.data(), n * sizeof(T));
}

}  // namespace

void TStringSource::Read(void* data, size_t size) {
  if (bytes_.size() - pos_ < size) corrupt("short data");
  std::memcpy(data, bytes_.data() + pos_, size);
  pos_ += size;
}

void TSnapshotCodec::WriteString(TByteSink& sink, const std::string& s) {
  WriteU32(sink, uint32_t(s.size()));
  sink.Write(s.data(), s.size());
}

std::string TSnapshotCodec::ReadString(TByteSource& source, size_t maxLength) {
  uint32_t n = ReadU32(source);
  if (n > maxLength) corrupt("string length");
  std::string s(n, '\0');
  if (n) source.Read(s.data(), n);
  return s;
}

void TSnapshotCodec::Write(const TTableSnapshot& snapshot, TByteSink& sink) {
  // The arrays go out by slot: a table changed in place goes as its copy in row order.
  if (snapshot.mapped_) return Write(*snapshot.Copy(), sink);
  sink.Write("QSNP", 4);
  WriteU32(sink, kVersion);
  WriteString(sink, snapshot.tableName_);
  WriteU32(sink, uint32_t(snapshot.columns_.size()));
  for (const auto& c : snapshot.columns_) {
    WriteString(sink, c.def_.Name);
    writePod<int32_t>(sink, c.def_.DataType);
    writePod<int32_t>(sink, c.def_.Size);
  }
  WriteU32(sink, snapshot.rowCount_);
  for (const auto& c : snapshot.columns_) {
    if (c.text_) {
      writeArray(sink, c.nullBits_);
      writeArray(sink, c.ends_);
      writePod<uint64_t>(sink, c.arena_.size());
      sink.Write(c.arena_.data(), c.arena_.size());
      continue;
    }
    for (const Variant& v : c.values_) {
      switch (v.VarType()) {
        case varEmpty: case varNull: writePod<uint8_t>(sink, 0); break;
        case varBoolean: writePod<uint8_t>(sink, 4); writePod<uint8_t>(sink, v.AsBoolean()); break;
        case varCurrency: writePod<uint8_t>(sink, 5); writePod<int64_t>(sink, v.AsCurrencyScaled()); break;
        case varDate: writePod<uint8_t>(sink, 6); writePod<double>(sink, v.AsDate()); break;
        case varSingle: case varDouble: writePod<uint8_t>(sink, 2); writePod<double>(sink, v.AsDouble()); break;
        case varString: case varOleStr: writePod<uint8_t>(sink, 3); WriteString(sink, v.StringRef()); break;
        default: writePod<uint8_t>(sink, 1); writePod<int64_t>(sink, v.AsInt64()); break;
      }
    }
  }
}

std::shared_ptr<TTableSnapshot> TSnapshotCodec::Read(TByteSource& source) {
  char magic[4];
  source.Read(magic, 4);
  if (std::memcmp(magic, "QSNP", 4) != 0 || ReadU32(source) != kVersion) corrupt("header");
  std::string tableName = ReadString(source, kMaxName);
  uint32_t columnCount = ReadU32(source);
  if (columnCount > kMaxColumns) corrupt("column count");
  std::vector<TSnapshotColumnDef> defs(columnCount);
  for (auto& d : defs) {
    d.Name = ReadString(source, kMaxName);
    int32_t type = readPod<int32_t>(source);
    if (type < ftUnknown || type > ftGuid) corrupt("column type");
    d.DataType = TFieldType(type);
    d.Size = readPod<int32_t>(source);
  }
  auto snapshot = std::make_shared<TTableSnapshot>(std::move(tableName), std::move(defs));
  const uint32_t rows = ReadU32(source);
  for (auto& c : snapshot->columns_) {
    c.slotCount_ = rows;
    if (c.text_) {
      readArray(source, c.nullBits_, (uint64_t(rows) + 63) / 64);
      readArray(source, c.ends_, rows);
      uint64_t arenaSize = readPod<uint64_t>(source);
      if (arenaSize > UINT32_MAX) corrupt("text size");
      uint32_t previous = 0;
      for (uint32_t end : c.ends_) {  // offsets must rise and stay inside the arena
        if (end < previous || end > arenaSize) corrupt("text offsets");
        previous = end;
      }
      c.arena_.resize(arenaSize);
      if (arenaSize) source.Read(c.arena_.data(), arenaSize);
      continue;
    }
    c.nullBits_.assign((uint64_t(rows) + 63) / 64, 0);
    c.values_.reserve(rows);
    for (uint32_t r = 0; r < rows; ++r) {
      uint8_t tag = readPod<uint8_t>(source);
      Variant v;
      switch (tag) {
        case 0: v = Variant::Null(); break;
        case 1: v = Variant(readPod<int64_t>(source)); break;
        case 2: v = Variant(readPod<double>(source)); break;
        case 3: v = Variant(ReadString(source, UINT32_MAX)); break;
        case 4: v = Variant(readPod<uint8_t>(source) != 0); break;
        case 5: v = Variant::CurrencyScaled(readPod<int64_t>(source)); break;
        case 6: v = Variant::Date(readPod<double>(source)); break;
        default: corrupt("value tag");
      }
      if (v.IsNull()) {
        c.nullBits_[r >> 6] |= uint64_t(1) << (r & 63);
        c.values_.push_back(v);
      } else {
        c.values_.push_back(v.ChangeType(VarTypeOfFieldType(c.def_.DataType)));
      }
    }
  }
  snapshot->rowCount_ = snapshot->slotCount_ = rows;
  return snapshot;
}
