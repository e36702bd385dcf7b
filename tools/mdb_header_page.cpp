#include "tools/mdb_header_page.h"

#include <cstring>
#include <utility>

namespace mdb {

namespace {
constexpr size_t kScrambledStart = 0x18;
constexpr size_t kScrambledLength = 128;
constexpr uint8_t kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
}  // namespace

void Rc4Apply(const uint8_t* key, size_t keyLength, uint8_t* data, size_t length) {
  uint8_t state[256];
  for (int i = 0; i < 256; ++i) state[i] = uint8_t(i);
  uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = uint8_t(j + state[i] + key[i % keyLength]);
    std::swap(state[i], state[j]);
  }
  uint8_t x = 0, y = 0;
  for (size_t n = 0; n < length; ++n) {
    x = uint8_t(x + 1);
    y = uint8_t(y + state[x]);
    std::swap(state[x], state[y]);
    data[n] ^= state[uint8_t(state[x] + state[y])];
  }
}

TPage BuildHeaderPage() {
  TPage page{};
  PutU32(&page[0x00], 0x00000100);
  std::memcpy(&page[0x04], "Standard Jet DB", 16);  // with its terminating NUL
  PutU32(&page[0x14], 1);                            // Jet 4

  PutU16(&page[0x3C], kCodePageWestern);
  PutU32(&page[0x3E], 0);                            // database key: not encrypted
  // 0x42..0x69: empty password, 0x72..0x79: creation date 0 (both already zero).
  PutU16(&page[0x6E], kSortGeneral);

  Rc4Apply(kHeaderKey, sizeof kHeaderKey, &page[kScrambledStart], kScrambledLength);
  return page;
}

}  // namespace mdb
