#pragma once
// RunIsolated: runs a piece of work in a forked child process and streams its result back.
//
// Why: libmdb trusts the file it reads. On a damaged file it may print warnings, read out of
// bounds and crash, or loop. Reading in a child keeps all of that away from the application:
// a crash or a hang becomes an EDatabaseError, and the child's stderr (libmdb's warnings) is
// captured for the message instead of reaching the user's terminal.
//
// Protocol on the child's result pipe: one status byte ('K' result follows, 'E' error message
// follows), then the bytes the work wrote, streamed as they are written (work should raise,
// if at all, before its first write). The parent reads them through a TByteSource that also
// drains the child's stderr and enforces the deadline.
#include <functional>
#include <string>

#include "platform/db/snapshot_codec.h"

struct TIsolatedOptions {
  int TimeoutMs = 30000;       // the whole call; the child is killed when it is over
  size_t MaxStderrBytes = 4096;  // kept of the child's stderr for messages
};

// work(sink) runs in the child and writes its result to sink; an Exception it raises becomes
// the parent's EDatabaseError with the same message. read(source) runs in the parent on the
// bytes. Raises EDatabaseError when the child crashes, times out or stops early; the message
// then begins with what (for example "Reading table WHOART of /x/ADR.mdb").
void RunIsolated(const std::string& what, const std::function<void(TByteSink&)>& work,
                 const std::function<void(TByteSource&)>& read, TIsolatedOptions options = {});
