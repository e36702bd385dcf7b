#include "platform/io/file_replacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fs = std::filesystem;

namespace {

std::string describe(const fs::path& path, const std::string& detail) {
  return "Cannot write " + path.string() + ": " + detail;
}

// The permission bits a new file gets from the user's file-creation mask.
mode_t defaultMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

EFileWriteError::EFileWriteError(fs::path path, int errorNumber)
    : EFileWriteError(std::move(path), errorNumber,
                      errorNumber ? std::strerror(errorNumber) : "unknown error") {}

EFileWriteError::EFileWriteError(fs::path path, int errorNumber, const std::string& detail)
    : Exception(describe(path, detail)),
      path_(std::move(path)),
      errorNumber_(errorNumber),
      systemText_(detail) {}

TFileFailure EFileWriteError::Failure() const {
  switch (errorNumber_) {
    case EACCES: case EPERM: return ffNoPermission;
    case ENOSPC: case EDQUOT: return ffDiskFull;
    case EFBIG: return ffTooLarge;
    case EISDIR: return ffIsFolder;
    case ENOENT: case ENOTDIR: return ffNoFolder;
    case EROFS: return ffReadOnly;
    default: return ffOther;
  }
}

TFileReplacement::TFileReplacement(fs::path target) : target_(std::move(target)) {
  std::error_code ec;
  if (fs::is_directory(target_, ec)) fail(EISDIR);
  const fs::path dir = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
  std::string pattern = (dir / ("." + target_.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) fail(errno);
  temp_ = pattern;
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    const int error = errno;
    ::close(fd);
    fail(error);
  }
}

TFileReplacement::~TFileReplacement() {
  if (file_) std::fclose(file_);
  if (!committed_ && !temp_.empty()) {
    std::error_code ignored;
    fs::remove(temp_, ignored);
  }
}

void TFileReplacement::fail(int errorNumber) const { throw EFileWriteError(target_, errorNumber); }

void TFileReplacement::Write(std::string_view bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) fail(errno);
}

void TFileReplacement::Commit() {
  // mkstemp made the file private; it takes the old file's bits, or a new file's.
  struct stat old{};
  const mode_t mode = ::stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : defaultMode();
  if (std::fflush(file_) != 0 || ::fchmod(::fileno(file_), mode) != 0 ||
      ::fsync(::fileno(file_)) != 0)
    fail(errno);
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) fail(errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) fail(errno);
  committed_ = true;
  // The rename itself reaches the disk with the folder's next flush; ask for it now.
  const fs::path dir = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}
