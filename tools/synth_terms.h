#pragma once
// Synthetic terminologies of any size with the schema of the terminology database, for tests
// and benchmarks. Deterministic: the same count and seed give the same rows on every machine
// (the generator uses its own random numbers, not the standard library's distributions).
//
// Each term row (WHOART: PY, NAME, ENAME, TID, SID1, SID2, SID3):
//   - NAME: 2..8 CJK characters; PY: the pinyin initial of each, so PY has as many letters;
//   - ENAME: upper-case English, some with an apostrophe ("CROHN'S DISEASE") or a comma
//     ("ANAEMIA, HAEMOLYTIC");
//   - TID: unique, decimal, zero-padded to four digits, or to as many as count - 1 needs
//     (five from 10001 terms on); the rows are not in TID order;
//   - SID1..SID3: one to three different codes of the organ-system list; a term with one
//     code has SID2 and SID3 NULL, one with two has SID3 NULL.
// The organ systems (LJXT: SID, NAME, ENAME) are a fixed list of 30 four-digit codes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/mdb_writer.h"

constexpr uint64_t kSynthDefaultSeed = 20240601;
constexpr size_t kSynthMaxTerms = 10'000'000;

class TSynthTermGenerator {
 public:
  // termCount: 1..kSynthMaxTerms (throws EInvalidOperation otherwise).
  TSynthTermGenerator(size_t termCount, uint64_t seed);

  size_t TermCount() const { return termCount_; }
  // The term with the given index (0-based); any order, any number of times, same result.
  void Term(size_t termIndex, TMdbRow& row) const;
  TMdbRow Term(size_t termIndex) const;

 private:
  size_t termCount_;
  uint64_t seed_;
  uint64_t tidStep_;    // coprime with termCount_: TID = (termIndex * step + offset) % count
  uint64_t tidOffset_;
  int tidDigits_;
};

struct TSynthTerminology {
  std::vector<TMdbRow> Whoart;  // term rows, in generation order
  std::vector<TMdbRow> Ljxt;    // the organ systems, ascending SID
};

// The organ-system rows (LJXT).
std::vector<TMdbRow> SynthOrganSystemRows();

// Every row of both tables in memory.
TSynthTerminology SynthTerminology(size_t termCount, uint64_t seed = kSynthDefaultSeed);

// Writes a database with tables WHOART and LJXT; the terms stream into the file, so even a
// million terms need little memory.
void WriteSynthMdb(const std::filesystem::path& path, size_t termCount, uint64_t seed = kSynthDefaultSeed);
