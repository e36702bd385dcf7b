#pragma once
// JPEG pictures through libjpeg (IJG): decoding into a TBitmap, and encoding for tools and
// tests. Failures raise EInvalidGraphic with libjpeg's message.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"

TBitmap LoadJpeg(const std::string& path);
TBitmap LoadJpeg(const uint8_t* data, size_t size);
inline TBitmap LoadJpeg(const std::vector<uint8_t>& bytes) { return LoadJpeg(bytes.data(), bytes.size()); }
// Baseline JPEG of the bitmap, quality 1..100.
std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int quality = 90);
