// Windows .bmp reading and writing.
//
// File layout relied on (all little-endian):
//   BITMAPFILEHEADER  14 bytes: "BM", file size (u32), 2 reserved u16, pixel data offset (u32)
//   BITMAPINFOHEADER  size (u32, 40 or more; 12 = OS/2 BITMAPCOREHEADER with u16 sizes),
//                     width (i32), height (i32, negative = top-down), planes (u16 = 1),
//                     bit count (u16), compression (u32; BI_RGB = 0, BI_BITFIELDS = 3),
//                     image size, x/y pixels per metre, colours used (0 = 2^bits), important
//   palette           colours-used entries of B, G, R, 0 (B, G, R for the core header)
//   pixels            rows bottom-up unless height < 0, each padded to 4 bytes; 1/4/8-bit rows
//                     pack palette indexes with the leftmost pixel in the high bits
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/gfx/bitmap.h"

namespace {

uint32_t rd16(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }
uint32_t rd32(const uint8_t* p) { return rd16(p) | (rd16(p + 2) << 16); }
void wr16(std::vector<uint8_t>& v, uint32_t x) { v.push_back(uint8_t(x)); v.push_back(uint8_t(x >> 8)); }
void wr32(std::vector<uint8_t>& v, uint32_t x) { wr16(v, x & 0xFFFF); wr16(v, x >> 16); }

[[noreturn]] void bad(const char* why) { throw EInvalidGraphic(std::string("Bitmap image is not valid: ") + why); }

}  // namespace

void TBitmap::LoadFromBmpBytes(const uint8_t* data, size_t size) {
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') bad("no BM header");
  const uint32_t dataOffset = rd32(data + 10);
  const uint8_t* ih = data + 14;
  const uint32_t headerSize = rd32(ih);
  if (headerSize != 12 && (headerSize < 40 || 14 + size_t(headerSize) > size)) bad("unknown info header");
  const bool core = headerSize == 12;
  int64_t width = core ? int64_t(rd16(ih + 4)) : int64_t(int32_t(rd32(ih + 4)));
  int64_t height = core ? int64_t(rd16(ih + 6)) : int64_t(int32_t(rd32(ih + 8)));
  const uint32_t bits = core ? rd16(ih + 10) : rd16(ih + 14);
  const uint32_t compression = core ? 0 : rd32(ih + 16);
  uint32_t colorsUsed = core ? 0 : rd32(ih + 32);
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > 32768 || height > 32768) bad("bad size");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) bad("unsupported bit count");
  if (compression != 0 && !(compression == 3 && bits == 32)) bad("compressed bitmaps are not supported");

  // Palette (index -> 0x00RRGGBB).
  std::vector<uint32_t> palette;
  if (bits <= 8) {
    if (colorsUsed == 0 || colorsUsed > (1u << bits)) colorsUsed = 1u << bits;
    const size_t entry = core ? 3 : 4;
    size_t at = 14 + headerSize;
    if (at + entry * colorsUsed > size) bad("truncated palette");
    for (uint32_t i = 0; i < colorsUsed; ++i) {
      const uint8_t* e = data + at + entry * i;
      palette.push_back((uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0]);
    }
    palette.resize(size_t(1) << bits, 0);  // indexes past colours-used read black
  }
  // 32-bit with bit fields: only the usual 8-8-8 masks are understood.
  if (compression == 3) {
    if (14 + 40 + 12 > size) bad("truncated bit fields");
    const uint8_t* m = ih + 40;
    if (rd32(m) != 0x00FF0000 || rd32(m + 4) != 0x0000FF00 || rd32(m + 8) != 0x000000FF)
      bad("unsupported bit fields");
  }

  const size_t rowBytes = ((size_t(width) * bits + 31) / 32) * 4;
  if (dataOffset > size || rowBytes * size_t(height) > size - dataOffset) bad("truncated pixel data");

  std::vector<uint32_t> px(size_t(width) * size_t(height));
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t* src = data + dataOffset + rowBytes * size_t(row);
    int64_t y = topDown ? row : height - 1 - row;
    uint32_t* dst = px.data() + size_t(y) * size_t(width);
    for (int64_t x = 0; x < width; ++x) {
      switch (bits) {
        case 1: dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: dst[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
        case 8: dst[x] = palette[src[x]]; break;
        case 24: { const uint8_t* p = src + 3 * x; dst[x] = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]; break; }
        case 32: { const uint8_t* p = src + 4 * x; dst[x] = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0]; break; }
      }
    }
  }
  // A 1-bit black-and-white file loads as a monochrome bitmap, so it keeps working as a
  // mask and a pattern (black and white take the text and background colours).
  bool mono = bits == 1 && ((palette[0] == 0 && palette[1] == 0xFFFFFF) ||
                            (palette[0] == 0xFFFFFF && palette[1] == 0));
  width_ = int(width);
  height_ = int(height);
  pixels_ = std::move(px);
  monochrome_ = mono;
  rebindCanvas();
}

void TBitmap::LoadFromBmpStream(std::istream& in) {
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LoadFromBmpBytes(bytes.data(), bytes.size());
}

void TBitmap::LoadFromBmpFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EInvalidGraphic("Cannot open file \"" + path + "\"");
  LoadFromBmpStream(in);
}

std::vector<uint8_t> TBitmap::SaveToBmpBytes() const {
  const size_t rowBytes = ((size_t(width_) * 24 + 31) / 32) * 4;
  const uint32_t imageSize = uint32_t(rowBytes * height_);
  std::vector<uint8_t> v;
  v.reserve(54 + imageSize);
  v.push_back('B');
  v.push_back('M');
  wr32(v, 54 + imageSize);
  wr32(v, 0);
  wr32(v, 54);
  wr32(v, 40);
  wr32(v, uint32_t(width_));
  wr32(v, uint32_t(height_));  // bottom-up
  wr16(v, 1);
  wr16(v, 24);
  wr32(v, 0);  // BI_RGB
  wr32(v, imageSize);
  wr32(v, 3780);  // 96 dpi in pixels per metre
  wr32(v, 3780);
  wr32(v, 0);
  wr32(v, 0);
  for (int y = height_ - 1; y >= 0; --y) {
    const uint32_t* row = ScanLine(y);
    for (int x = 0; x < width_; ++x) {
      v.push_back(uint8_t(row[x]));
      v.push_back(uint8_t(row[x] >> 8));
      v.push_back(uint8_t(row[x] >> 16));
    }
    for (size_t pad = size_t(width_) * 3; pad < rowBytes; ++pad) v.push_back(0);
  }
  return v;
}

void TBitmap::SaveToBmpStream(std::ostream& out) const {
  std::vector<uint8_t> v = SaveToBmpBytes();
  out.write(reinterpret_cast<const char*>(v.data()), std::streamsize(v.size()));
}

void TBitmap::SaveToBmpFile(const std::string& path) const {
  std::ofstream out(path, std::ios::binary);
  if (!out) throw EInvalidGraphic("Cannot create file \"" + path + "\"");
  SaveToBmpStream(out);
  if (!out) throw EInvalidGraphic("Cannot write file \"" + path + "\"");
}
