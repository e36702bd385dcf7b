#pragma once
// TFileReplacement: a new version of a file, written under a temporary name in the target's
// folder and moved over the target in one step at the end, so the target is either the old
// file or the complete new one, never a half-written one.
//
// Contract:
//   constructor  creates ".<name>.XXXXXX" beside the target (the folder must exist and be
//                writable; a target that is a folder is refused before anything is written)
//   Write        appends bytes to the temporary file
//   TempPath     the temporary file's name, for a library that writes a file by name; what
//                it writes there is committed like bytes given to Write
//   Commit       flushes to the disk, gives the file the old target's permission bits (or the
//                user's default ones for a new file), renames it over the target
//   destructor   removes the temporary file unless Commit succeeded
// Every failure throws EFileWriteError with the target's path and the system's error number.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/core/exception.h"

// What went wrong with a file, as a user can act on it.
enum TFileFailure {
  ffNoPermission,  // the folder or the file may not be written
  ffDiskFull,      // no space left (or the user's quota is used up)
  ffTooLarge,      // the file grew past what the system allows
  ffIsFolder,      // the target is a folder
  ffNoFolder,      // the target's folder does not exist
  ffReadOnly,      // the disk is mounted read-only
  ffOther,         // anything else: see SystemText
};

class EFileWriteError : public Exception {
 public:
  // errorNumber: the errno value of the failed call (0 when the cause is unknown).
  EFileWriteError(std::filesystem::path path, int errorNumber);
  // A failure a library reports in its own words.
  EFileWriteError(std::filesystem::path path, int errorNumber, const std::string& detail);

  TFileFailure Failure() const;
  const std::filesystem::path& Path() const { return path_; }
  int ErrorNumber() const { return errorNumber_; }
  // The system's (or the library's) description of the cause, in English.
  const std::string& SystemText() const { return systemText_; }

 private:
  std::filesystem::path path_;
  int errorNumber_;
  std::string systemText_;
};

class TFileReplacement {
 public:
  explicit TFileReplacement(std::filesystem::path target);
  ~TFileReplacement();
  TFileReplacement(const TFileReplacement&) = delete;
  TFileReplacement& operator=(const TFileReplacement&) = delete;

  const std::filesystem::path& Target() const { return target_; }
  const std::filesystem::path& TempPath() const { return temp_; }
  void Write(std::string_view bytes);
  void Commit();

 private:
  [[noreturn]] void fail(int errorNumber) const;

  std::filesystem::path target_;
  std::filesystem::path temp_;  // beside target_; empty until created
  std::FILE* file_ = nullptr;   // the temporary file, open until Commit
  bool committed_ = false;
};
