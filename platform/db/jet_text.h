#pragma once
// The stored bytes of a Jet 4 text value into UTF-8. Plain byte decoding, no libmdb: the
// table reader (mdb_table_reader.h) hands it the bytes of a text cell found by JetCrackRow.
//
// Stored forms (the writer's side is tools/mdb_text.h):
//
//   | bytes        | meaning                                                            |
//   |--------------|--------------------------------------------------------------------|
//   | (none)       | the empty text                                                     |
//   | FF FE ...    | compressed: starts in one-byte mode (each byte a character from    |
//   |              | U+0001..U+00FF); a 00 byte switches between one-byte mode and      |
//   |              | two-byte mode (UTF-16LE code units)                                |
//   | anything else| UTF-16LE code units                                                |
//
// The code units are UTF-16, not UCS-2: a high surrogate followed by a low one is one
// character beyond U+FFFF (U+20000 is D840 DC00). What cannot be read becomes U+FFFD, one per
// fault: a high surrogate not followed by a low one, a low surrogate without a high one
// before it, and a last byte that is half a code unit. U+0000 stays a character (a zero byte
// in the UTF-8). The empty result and an all-FFFD result are both possible; the caller never
// fails on text.
//
// Cost: one pass over the bytes, appending to out; nothing is allocated beyond out's growth.
#include <cstdint>
#include <span>
#include <string>

// Appends the UTF-8 form of a Jet 4 text value's stored bytes to out.
void AppendJet4Text(std::span<const uint8_t> stored, std::string& out);
