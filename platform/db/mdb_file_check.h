#pragma once
// Checks an Access file's header before libmdb sees it, so the common faults get a clear
// message and libmdb only meets files that at least look like Jet databases.
//
// Jet file header (page 0):
//   0x00      page type 0x00 (database definition page), then 01 00 00
//   0x04..13  "Standard Jet DB" (Jet 3, Jet 4) or "Standard ACE DB" (Access 2007 and later)
//   0x14      version: 0 Jet 3 (2048-byte pages), 1 Jet 4, 2.. ACE (4096-byte pages)
// Page 2 is the table definition of the system catalog (page type 0x02).
#include <cstdint>
#include <string>

struct TMdbFileInfo {
  int JetVersion = 0;  // the byte at 0x14
  int PageSize = 0;    // 2048 or 4096
  uint64_t FileSize = 0;
};

// Raises EDatabaseError "<path>: <cause>" when the file is missing, unreadable, empty, not an
// Access database, of an unknown version, or visibly damaged (truncated, no catalog page).
TMdbFileInfo CheckMdbFile(const std::string& path);
