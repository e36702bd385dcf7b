#pragma once
// The sample terminology of data/ as plain rows: the terms of whoart.tsv and the organ
// systems of ljxt.tsv (UTF-8, tab-separated, one header line). Used by the gallery program
// and the painting benchmark to fill grids with real Chinese and English texts.
#include <string>
#include <vector>

#include "platform/core/exception.h"

// A sample file that cannot be opened or has a row with too few cells.
class ESampleTermsError : public Exception {
 public:
  using Exception::Exception;
};

struct TSampleTerm {
  std::string PY;     // pinyin abbreviation
  std::string Name;   // Chinese name
  std::string EName;  // English name
  std::string TID;    // ADR code
  std::string SID1, SID2, SID3;  // organ systems; SID2 and SID3 may be empty
};

struct TSampleOrganSystem {
  std::string SID;
  std::string Name;
  std::string EName;
};

std::vector<TSampleTerm> ReadSampleTerms(const std::string& whoartPath);
std::vector<TSampleOrganSystem> ReadSampleOrganSystems(const std::string& ljxtPath);

// The terms in pinyin-abbreviation order (byte order of the capitals), ties by ADR code.
std::vector<TSampleTerm> SortedByPinyin(std::vector<TSampleTerm> terms);

// ljxt.tsv in the folder of a whoart.tsv path.
std::string OrganSystemFileBeside(const std::string& whoartPath);
