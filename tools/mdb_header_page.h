#pragma once
// Page 0: the database header page of a Jet 4 file.
//
//   | offset | size | value                                                               |
//   |--------|------|---------------------------------------------------------------------|
//   | 0x00   | 4    | 00 01 00 00                                                         |
//   | 0x04   | 16   | "Standard Jet DB" and a NUL                                         |
//   | 0x14   | 4    | format version: 1 = Jet 4                                           |
//   | 0x18   | 128  | block scrambled with RC4, key C7 DA 39 6B (the bytes of 0x6B39DAC7) |
//   |        |      | - offsets below are of the plain block, relative to the page        |
//   | 0x3C   | 2    | default code page (1252; Jet 4 keeps text in UCS-2 regardless)      |
//   | 0x3E   | 4    | database key: 0 = pages are not encrypted                           |
//   | 0x42   | 40   | database password, UCS-2, masked with the creation date: all zero   |
//   |        |      | = no password (the date is 0, so its mask is 0 too)                 |
//   | 0x6E   | 4    | default sort order: 0x0409 "General", version 0                     |
//   | 0x72   | 8    | creation date (double, days since 1899-12-30): 0                    |
//   | rest   |      | zero                                                                |
#include "tools/mdb_format.h"

namespace mdb {

TPage BuildHeaderPage();

// RC4 with the given key, applied in place (scrambling and unscrambling are the same step).
void Rc4Apply(const uint8_t* key, size_t keyLength, uint8_t* data, size_t length);

}  // namespace mdb
