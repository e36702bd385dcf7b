#include "platform/db/isolated_call.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/core/scope_exit.h"
#include "platform/db/db_error.h"

namespace {

using Clock = std::chrono::steady_clock;

// The child's end of the result pipe: buffered, and the status byte 'K' goes out in front of
// the first bytes of the result, so a result streams out as it is written.
class ResultSink : public TByteSink {
 public:
  explicit ResultSink(int fd) : fd_(fd) { buffer_.reserve(kBufferSize); }
  ~ResultSink() override = default;

  void Write(const void* data, size_t size) override {
    if (!started_) {
      started_ = true;
      buffer_.push_back('K');
    }
    const char* p = static_cast<const char*>(data);
    if (buffer_.size() + size > kBufferSize) Flush();
    if (size >= kBufferSize) {
      writeAll(p, size);
    } else {
      buffer_.insert(buffer_.end(), p, p + size);
    }
  }
  void Flush() {
    writeAll(buffer_.data(), buffer_.size());
    buffer_.clear();
  }
  bool Started() const { return started_; }
  void writeAll(const char* p, size_t size) {
    while (size > 0) {
      ssize_t n = ::write(fd_, p, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) ::_exit(3);  // the parent went away
      p += n;
      size -= size_t(n);
    }
  }

 private:
  static constexpr size_t kBufferSize = 1 << 16;
  int fd_;
  bool started_ = false;
  std::vector<char> buffer_;
};

// Reads the child's result pipe, draining its stderr meanwhile, until the deadline.
class ChildSource : public TByteSource {
 public:
  ChildSource(int dataFd, int errFd, Clock::time_point deadline, size_t maxErr)
      : dataFd_(dataFd), errFd_(errFd), deadline_(deadline), maxErr_(maxErr) {}

  void Read(void* data, size_t size) override {
    char* p = static_cast<char*>(data);
    while (size > 0) {
      if (!waitReadable()) throw Stopped{timedOut_};
      ssize_t n = ::read(dataFd_, p, size);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n <= 0) throw Stopped{false};
      p += n;
      size -= size_t(n);
    }
  }

  // Reads what is left of stderr (after the child is gone).
  void DrainErr() {
    char buf[4096];
    while (errFd_ >= 0) {
      ssize_t n = ::read(errFd_, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      keep(buf, size_t(n));
    }
  }

  const std::string& Err() const { return err_; }
  struct Stopped { bool timedOut; };

 private:
  void keep(const char* buf, size_t n) {
    if (err_.size() < maxErr_) err_.append(buf, std::min(n, maxErr_ - err_.size()));
  }

  // Waits until the data pipe has bytes or is closed; false on timeout.
  bool waitReadable() {
    for (;;) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
      if (left.count() <= 0) { timedOut_ = true; return false; }
      pollfd fds[2] = {{dataFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
      int n = ::poll(fds, errFd_ >= 0 ? 2 : 1, int(std::min<long long>(left.count(), 1000)));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (errFd_ >= 0 && (fds[1].revents & (POLLIN | POLLHUP))) {
        char buf[4096];
        ssize_t got = ::read(errFd_, buf, sizeof buf);
        if (got > 0) keep(buf, size_t(got));
        else if (got == 0) errFd_ = -1;  // stderr closed; keep reading data
      }
      if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) return true;
    }
  }

  int dataFd_, errFd_;
  Clock::time_point deadline_;
  size_t maxErr_;
  std::string err_;
  bool timedOut_ = false;
};

std::string firstLine(const std::string& s) {
  size_t start = s.find_first_not_of(" \r\n\t");
  if (start == std::string::npos) return std::string();
  size_t end = s.find_first_of("\r\n", start);
  return s.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

[[noreturn]] void childMain(int dataFd, int errFd, const std::function<void(TByteSink&)>& work) {
  ::dup2(errFd, STDERR_FILENO);
  ::close(errFd);
  ::signal(SIGPIPE, SIG_DFL);
  ResultSink sink(dataFd);
  try {
    work(sink);
    if (!sink.Started()) sink.Write("", 0);  // an empty result still says 'K'
    sink.Flush();
  } catch (const std::exception& e) {
    if (sink.Started()) ::_exit(4);  // half a result: the parent reports a broken read
    std::string message = std::string("E") + e.what();
    sink.writeAll(message.data(), message.size());
  } catch (...) {
    if (sink.Started()) ::_exit(4);
    sink.writeAll("Eunknown failure", 16);
  }
  ::_exit(0);  // no atexit handlers, no static destructors of the parent's program
}

}  // namespace

void RunIsolated(const std::string& what, const std::function<void(TByteSink&)>& work,
                 const std::function<void(TByteSource&)>& read, TIsolatedOptions options) {
  int dataPipe[2], errPipe[2];
  if (::pipe2(dataPipe, O_CLOEXEC) != 0) throw EDatabaseError(what + ": cannot create a pipe");
  if (::pipe2(errPipe, O_CLOEXEC) != 0) {
    ::close(dataPipe[0]);
    ::close(dataPipe[1]);
    throw EDatabaseError(what + ": cannot create a pipe");
  }
  pid_t pid = ::fork();
  if (pid < 0) {
    for (int fd : {dataPipe[0], dataPipe[1], errPipe[0], errPipe[1]}) ::close(fd);
    throw EDatabaseError(what + ": cannot start the reader process");
  }
  if (pid == 0) {
    ::close(dataPipe[0]);
    ::close(errPipe[0]);
    childMain(dataPipe[1], errPipe[1], work);
  }
  ::close(dataPipe[1]);
  ::close(errPipe[1]);
  ::fcntl(dataPipe[0], F_SETPIPE_SZ, 1 << 20);  // fewer switches for big tables; best effort
  bool reaped = false;
  ScopeExit cleanup([&] {
    if (!reaped) {
      ::kill(pid, SIGKILL);
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {}
    }
    ::close(dataPipe[0]);
    ::close(errPipe[0]);
  });

  ChildSource source(dataPipe[0], errPipe[0], Clock::now() + std::chrono::milliseconds(options.TimeoutMs),
                     options.MaxStderrBytes);
  auto childFailure = [&](bool timedOut) -> EDatabaseError {
    // Stop the child first (a hung one still holds its stderr open), then read its last words.
    int status = 0;
    ::kill(pid, SIGKILL);  // a child that broke off is of no further use either
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    reaped = true;
    source.DrainErr();
    std::string cause;
    if (timedOut) {
      char seconds[32];
      std::snprintf(seconds, sizeof seconds, "%.1f", options.TimeoutMs / 1000.0);
      cause = std::string("the reader did not finish within ") + seconds +
              " s (the file may be damaged)";
    } else if (WIFSIGNALED(status) && WTERMSIG(status) != SIGKILL) {
      cause = "the reader crashed (signal " + std::to_string(WTERMSIG(status)) +
              "; the file is probably damaged)";
    } else {
      cause = "the reader stopped early (the file is probably damaged)";
    }
    std::string warning = firstLine(source.Err());
    if (!warning.empty()) cause += "; libmdb: " + warning;
    return EDatabaseError(what + ": " + cause);
  };

  char status = 0;
  try {
    source.Read(&status, 1);
    if (status == 'E') {
      std::string message;
      char buf[512];
      for (;;) {  // the error text runs to the end of the pipe
        ssize_t n = ::read(dataPipe[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        message.append(buf, size_t(n));
      }
      throw EDatabaseError(message);
    }
    read(source);
  } catch (const ChildSource::Stopped& stopped) {
    throw childFailure(stopped.timedOut);
  } catch (const EDatabaseError&) {
    if (status == 'E') throw;
    throw childFailure(false);  // the result did not decode: the child broke off
  }
  int wstatus = 0;
  while (::waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {}
  reaped = true;
}
