#include "platform/db/mdb_file_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/scope_exit.h"
#include "platform/db/db_error.h"

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& cause) {
  throw EDatabaseError("Cannot open database " + path + ": " + cause);
}

// Reads exactly n bytes at offset; false when the file ends first.
bool readAt(int fd, uint64_t offset, unsigned char* buf, size_t n) {
  size_t done = 0;
  while (done < n) {
    ssize_t got = ::pread(fd, buf + done, n - done, off_t(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += size_t(got);
  }
  return true;
}

}  // namespace

TMdbFileInfo CheckMdbFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) fail(path, "the file does not exist");
    fail(path, std::strerror(errno));
  }
  if (!S_ISREG(st.st_mode)) fail(path, "it is not a regular file");
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // read only: nothing is ever written
  if (fd < 0) fail(path, std::string("the file cannot be read (") + std::strerror(errno) + ")");
  ScopeExit closeFd([fd] { ::close(fd); });

  TMdbFileInfo info;
  info.FileSize = uint64_t(st.st_size);
  if (info.FileSize == 0) fail(path, "the file is empty");
  unsigned char head[0x20] = {};
  if (info.FileSize < sizeof head || !readAt(fd, 0, head, sizeof head))
    fail(path, "not an Access database (the file is too short for a database header)");
  bool jet = std::memcmp(head + 4, "Standard Jet DB", 15) == 0;
  bool ace = std::memcmp(head + 4, "Standard ACE DB", 15) == 0;
  if (head[0] != 0 || (!jet && !ace))
    fail(path, "not an Access database (no Jet database signature)");
  info.JetVersion = head[0x14];
  if (info.JetVersion > 6) fail(path, "unknown Access file version " + std::to_string(info.JetVersion));
  info.PageSize = info.JetVersion == 0 ? 2048 : 4096;
  if (info.FileSize % uint64_t(info.PageSize) != 0)
    fail(path, "the file is damaged (truncated: its size is not a whole number of pages)");
  if (info.FileSize < uint64_t(info.PageSize) * 3)
    fail(path, "the file is damaged (too short to hold the system catalog)");
  unsigned char catalogType = 0xFF;
  if (!readAt(fd, uint64_t(info.PageSize) * 2, &catalogType, 1) || catalogType != 0x02)
    fail(path, "the file is damaged (the system catalog page is missing)");
  return info;
}
