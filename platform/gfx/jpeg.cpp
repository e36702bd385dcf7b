// JPEG through libjpeg (IJG API). libjpeg reports fatal errors through error_exit, which must
// not return: we longjmp back to the caller's frame, which holds nothing that needs a
// destructor between setjmp and the jump, and raise EInvalidGraphic there.
#include "platform/gfx/jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>

extern "C" {
#include <jpeglib.h>
}

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

void onMessage(j_common_ptr) {}  // warnings are not shown

// Decodes into pixels (0x00RRGGBB); returns false with err.message set on failure.
bool decode(const uint8_t* data, size_t size, std::vector<uint32_t>& pixels, int& width,
            int& height, ErrorManager& err) {
  jpeg_decompress_struct cinfo;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = onError;
  err.pub.output_message = onMessage;
  JSAMPROW row = nullptr;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    delete[] row;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;  // greyscale and YCbCr alike come out as RGB
  jpeg_start_decompress(&cinfo);
  width = int(cinfo.output_width);
  height = int(cinfo.output_height);
  pixels.assign(size_t(width) * size_t(height), 0);
  row = new JSAMPLE[size_t(width) * 3];
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = int(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, &row, 1);
    uint32_t* out = pixels.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x)
      out[x] = (uint32_t(row[3 * x]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x + 2];
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  delete[] row;
  return true;
}

bool encode(const TBitmap& bitmap, int quality, unsigned char*& out, unsigned long& outSize,
            ErrorManager& err) {
  jpeg_compress_struct cinfo;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = onError;
  err.pub.output_message = onMessage;
  JSAMPROW row = nullptr;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    delete[] row;
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &out, &outSize);
  cinfo.image_width = JDIMENSION(bitmap.Width());
  cinfo.image_height = JDIMENSION(bitmap.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  row = new JSAMPLE[size_t(bitmap.Width()) * 3];
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint32_t* in = bitmap.ScanLine(int(cinfo.next_scanline));
    for (int x = 0; x < bitmap.Width(); ++x) {
      row[3 * x] = JSAMPLE((in[x] >> 16) & 0xFF);
      row[3 * x + 1] = JSAMPLE((in[x] >> 8) & 0xFF);
      row[3 * x + 2] = JSAMPLE(in[x] & 0xFF);
    }
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  delete[] row;
  return true;
}

}  // namespace

TBitmap LoadJpeg(const uint8_t* data, size_t size) {
  if (!data || size == 0) throw EInvalidGraphic("JPEG error: empty data");
  ErrorManager err{};
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  if (!decode(data, size, pixels, width, height, err))
    throw EInvalidGraphic(std::string("JPEG error: ") + err.message);
  TBitmap bitmap(width, height);
  std::copy(pixels.begin(), pixels.end(), bitmap.Bits());
  return bitmap;
}

TBitmap LoadJpeg(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EInvalidGraphic("Cannot open file \"" + path + "\"");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return LoadJpeg(bytes.data(), bytes.size());
}

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality) {
  if (bitmap.Empty()) throw EInvalidGraphic("JPEG error: empty bitmap");
  ErrorManager err{};
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  const bool ok = encode(bitmap, std::clamp(quality, 1, 100), out, outSize, err);
  std::vector<uint8_t> bytes;
  if (ok) bytes.assign(out, out + outSize);
  free(out);  // jpeg_mem_dest allocates with malloc
  if (!ok) throw EInvalidGraphic(std::string("JPEG error: ") + err.message);
  return bytes;
}
