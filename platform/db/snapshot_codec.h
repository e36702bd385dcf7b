#pragma once
// Byte form of a snapshot, for handing a table from the isolated libmdb reader (a child
// process) to the application. Arrays go as they are in memory, so writing and reading cost
// little more than copying the bytes; every count read back is checked before use.
//
// Layout (little-endian, host widths):
//   "QSNP" u32 version=1, str tableName, u32 columnCount,
//   per column: str name, i32 dataType, i32 size
//   u32 rowCount
//   per column: text kinds: u64 n + n x u64 null bits, u64 n + n x u32 ends, u64 n + arena bytes
//               other kinds: per row u8 tag + payload (0 null, 1 i64, 2 f64, 3 str, 4 bool,
//               5 currency i64, 6 date f64)
//   str = u32 length + bytes
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/table_snapshot.h"

class TByteSink {
 public:
  virtual ~TByteSink() = default;
  virtual void Write(const void* data, size_t size) = 0;
};

class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // Fills exactly size bytes or raises EDatabaseError.
  virtual void Read(void* data, size_t size) = 0;
};

class TStringSink : public TByteSink {
 public:
  void Write(const void* data, size_t size) override {
    Bytes.append(static_cast<const char*>(data), size);
  }
  std::string Bytes;
};

class TStringSource : public TByteSource {
 public:
  explicit TStringSource(std::string_view bytes) : bytes_(bytes) {}
  void Read(void* data, size_t size) override;

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

class TSnapshotCodec {
 public:
  static void Write(const TTableSnapshot& snapshot, TByteSink& sink);
  static std::shared_ptr<TTableSnapshot> Read(TByteSource& source);

  static void WriteString(TByteSink& sink, const std::string& s);
  static std::string ReadString(TByteSource& source, size_t maxLength);
  static void WriteU32(TByteSink& sink, uint32_t v) { sink.Write(&v, sizeof v); }
  static uint32_t ReadU32(TByteSource& source) {
    uint32_t v;
    source.Read(&v, sizeof v);
    return v;
  }
};
