// quillon_make_icons FOLDER: draws the program's icon (app_icon.h) in every size of a desktop
// icon theme and writes FOLDER/<n>x<n>/apps/quillon.png.
//
// The PNG files as written here:
//   IHDR   n x n, 8 bits per channel, colour type 6 (RGBA, straight alpha), no interlace
//   IDAT   one zlib stream: header 78 01, a single deflate block with the fixed Huffman codes,
//          Adler-32 of the filtered rows
//   IEND
// Each row is filtered with None, Sub or Up, whichever gives the smallest sum of its bytes
// taken as signed values; flat areas then become runs of one byte, which the block codes as
// copies at distance 1 (up to 258 bytes each). Everything else is a literal.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_icon.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

uint32_t adler32(const Bytes& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

void putBigEndian32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

// Deflate's bit order: values go in from their lowest bit; Huffman codes from their highest.
class BitWriter {
 public:
  explicit BitWriter(Bytes& out) : out_(out) {}
  void bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bit((value >> i) & 1);
  }
  void code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) bit((code >> i) & 1);
  }
  void flush() {
    if (used_ > 0) out_.push_back(current_);
    current_ = 0;
    used_ = 0;
  }

 private:
  void bit(uint32_t b) {
    current_ |= uint8_t(b << used_);
    if (++used_ == 8) flush();
  }
  Bytes& out_;
  uint8_t current_ = 0;
  int used_ = 0;
};

// The fixed literal / length code of a symbol 0..287.
void putSymbol(BitWriter& w, int symbol) {
  if (symbol < 144) w.code(0x30 + symbol, 8);
  else if (symbol < 256) w.code(0x190 + (symbol - 144), 9);
  else if (symbol < 280) w.code(symbol - 256, 7);
  else w.code(0xC0 + (symbol - 280), 8);
}

// A copy of `length` (3..258) bytes from one byte back.
void putRun(BitWriter& w, int length) {
  static const int base[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const int extra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  int i = 28;
  while (base[i] > length) --i;
  if (i == 27 && length == 258) i = 28;  // 258 has its own code
  putSymbol(w, 257 + i);
  w.bits(uint32_t(length - base[i]), extra[i]);
  w.code(0, 5);  // distance code 0: one byte back
}

Bytes deflateFixed(const Bytes& data) {
  Bytes out;
  BitWriter w(out);
  w.bits(1, 1);  // the last block
  w.bits(1, 2);  // fixed Huffman codes
  size_t i = 0;
  while (i < data.size()) {
    size_t run = 0;
    if (i > 0)
      while (run < 258 && i + run < data.size() && data[i + run] == data[i - 1]) ++run;
    if (run >= 3) {
      putRun(w, int(run));
      i += run;
    } else {
      putSymbol(w, data[i]);
      ++i;
    }
  }
  putSymbol(w, 256);  // end of block
  w.flush();
  return out;
}

// The picture's rows as RGBA bytes, each after its filter-type byte.
Bytes filteredRows(const AppIconPicture& picture) {
  const int n = picture.Size;
  const size_t rowBytes = size_t(n) * 4;
  Bytes previous(rowBytes, 0), out;
  for (int y = 0; y < n; ++y) {
    Bytes row(rowBytes);
    for (int x = 0; x < n; ++x) {
      const TColor c = picture.Colors.GetPixel(x, y);
      row[size_t(x) * 4 + 0] = GetRValue(c);
      row[size_t(x) * 4 + 1] = GetGValue(c);
      row[size_t(x) * 4 + 2] = GetBValue(c);
      row[size_t(x) * 4 + 3] = GetRValue(picture.Opacity.GetPixel(x, y));
    }
    std::array<Bytes, 3> candidates{row, row, row};  // None, Sub, Up
    for (size_t i = 0; i < rowBytes; ++i) {
      candidates[1][i] = uint8_t(row[i] - (i >= 4 ? row[i - 4] : 0));
      candidates[2][i] = uint8_t(row[i] - previous[i]);
    }
    int best = 0;
    long bestCost = -1;
    for (int f = 0; f < 3; ++f) {
      long cost = 0;
      for (uint8_t b : candidates[f]) cost += std::abs(int(int8_t(b)));
      if (bestCost < 0 || cost < bestCost) {
        best = f;
        bestCost = cost;
      }
    }
    out.push_back(uint8_t(best));
    out.insert(out.end(), candidates[best].begin(), candidates[best].end());
    previous = row;
  }
  return out;
}

void putChunk(Bytes& png, const char* type, const Bytes& data) {
  putBigEndian32(png, uint32_t(data.size()));
  Bytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  png.insert(png.end(), typed.begin(), typed.end());
  putBigEndian32(png, crc32(typed.data(), typed.size()));
}

Bytes encodePng(const AppIconPicture& picture) {
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  putBigEndian32(header, uint32_t(picture.Size));
  putBigEndian32(header, uint32_t(picture.Size));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // depth, RGBA, deflate, adaptive filters, no interlace
  putChunk(png, "IHDR", header);
  const Bytes rows = filteredRows(picture);
  Bytes zlib{0x78, 0x01};
  const Bytes deflated = deflateFixed(rows);
  zlib.insert(zlib.end(), deflated.begin(), deflated.end());
  putBigEndian32(zlib, adler32(rows));
  putChunk(png, "IDAT", zlib);
  putChunk(png, "IEND", {});
  return png;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillon_make_icons FOLDER\n");
    return 2;
  }
  try {
    for (int size : AppIconThemeSizes()) {
      const std::string name = std::to_string(size) + "x" + std::to_string(size);
      const std::filesystem::path folder = std::filesystem::path(argv[1]) / name / "apps";
      std::filesystem::create_directories(folder);
      const Bytes png = encodePng(DrawAppIcon(size));
      std::ofstream out(folder / "quillon.png", std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
      if (!out) throw std::runtime_error("cannot write " + (folder / "quillon.png").string());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quillon_make_icons: %s\n", e.what());
    return 1;
  }
  return 0;
}
