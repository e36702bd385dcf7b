#include "tools/mdb_page_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/mdb_writer.h"

namespace mdb {

TPageFile::TPageFile(std::filesystem::path target) : target_(std::move(target)) {
  const std::filesystem::path dir = target_.has_parent_path() ? target_.parent_path() : ".";
  std::string pattern = (dir / ("." + target_.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0)
    throw EMdbWriteError("Cannot create " + target_.string() + ": " + std::strerror(errno));
  temp_ = pattern;
  ::fchmod(fd, 0644);  // mkstemp makes it private; the database is an ordinary readable file
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    Fail("opening");
  }
}

TPageFile::~TPageFile() {
  if (file_) std::fclose(file_);
  if (!committed_ && !temp_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temp_, ignored);
  }
}

void TPageFile::Fail(const char* doing) {
  throw EMdbWriteError(std::string("Error ") + doing + " " + target_.string() + ": " + std::strerror(errno));
}

void TPageFile::Write(uint32_t pageNumber, const TPage& page) {
  if (::fseeko(file_, off_t(pageNumber) * off_t(kPageSize), SEEK_SET) != 0) Fail("writing");
  if (std::fwrite(page.data(), 1, page.size(), file_) != page.size()) Fail("writing");
  if (pageNumber >= pageCount_) pageCount_ = pageNumber + 1;
}

uint32_t TPageFile::Append(const TPage& page) {
  const uint32_t pageNumber = pageCount_;
  Write(pageNumber, page);
  return pageNumber;
}

void TPageFile::Commit() {
  if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) Fail("writing");
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) Fail("writing");
  std::error_code error;
  std::filesystem::rename(temp_, target_, error);
  if (error) throw EMdbWriteError("Cannot replace " + target_.string() + ": " + error.message());
  committed_ = true;
}

}  // namespace mdb
