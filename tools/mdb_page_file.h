#pragma once
// The file being written: pages go to a temporary file beside the target, which replaces the
// target only on Commit. Destroying an uncommitted TPageFile removes the temporary file, so a
// failed write leaves nothing behind and the target as it was.
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "tools/mdb_format.h"

namespace mdb {

class TPageFile {
 public:
  // Creates the temporary file; throws EMdbWriteError when the directory is not writable.
  explicit TPageFile(std::filesystem::path target);
  ~TPageFile();
  TPageFile(const TPageFile&) = delete;
  TPageFile& operator=(const TPageFile&) = delete;

  void Write(uint32_t pageNumber, const TPage& page);
  // Appends a page after the highest page written so far; returns its number.
  uint32_t Append(const TPage& page);
  uint32_t PageCount() const { return pageCount_; }

  // Flushes to disk and renames the temporary file over the target.
  void Commit();

 private:
  [[noreturn]] void Fail(const char* doing);

  std::filesystem::path target_;
  std::filesystem::path temp_;
  std::FILE* file_ = nullptr;
  uint32_t pageCount_ = 0;   // highest page written + 1
  bool committed_ = false;
};

}  // namespace mdb
