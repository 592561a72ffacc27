#pragma once
// Test support: JPEG frames encoded with libjpeg at run time, a plain
// libjpeg decode of the same bytes to compare against, and byte surgery for
// damaged and hostile frames.

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "common/FrameStream.h"

using Bytes = std::vector<std::uint8_t>;

enum class Subsampling { k420, k422, k444 };
enum class StoredAs { kDefault, kRgbAdobe, kRgbComponentIds, kYcck };

struct EncodeOptions {
  int width = 64;
  int height = 48;
  int components = 3;  // 1 gray, 3 colour, 4 inks (CMYK), 2 for an odd frame
  Subsampling subsampling = Subsampling::k420;
  bool progressive = false;
  int restart_rows = 0;
  bool arithmetic = false;
  int quality = 85;
  StoredAs stored_as = StoredAs::kDefault;
  int seed = 1;  // picks the synthetic picture
};

// A picture of options.components samples per pixel with gradients, edges
// and noise.
Bytes SyntheticSamples(const EncodeOptions& options);

// Encodes samples (options.components per pixel, row by row).
Bytes Encode(const EncodeOptions& options, const Bytes& samples);
inline Bytes EncodeSynthetic(const EncodeOptions& options) {
  return Encode(options, SyntheticSamples(options));
}

// A stream of quantisation and Huffman tables only (SOI, DQT, DHT, EOI).
Bytes EncodeTablesOnly();

// What plain libjpeg makes of bytes, in the given output colour space, with
// its own memory source; messages suppressed.
struct Reference {
  bool ok = false;
  int width = 0;
  int height = 0;
  int components = 0;
  Bytes samples;
};
Reference DecodeReference(const Bytes& jpeg, int out_color_space);

FrameStream StreamOf(const Bytes& bytes);

// Offset of the first SOF marker's segment (at its 0xFF), or -1.
int FindFrameHeader(const Bytes& jpeg);
// The frame with its dimensions in the SOF header replaced.
Bytes WithDimensions(Bytes jpeg, int width, int height);
// A progressive frame with its last scan repeated until it has scans scans.
Bytes WithRepeatedLastScan(const Bytes& jpeg, int scans);
// Number of SOS markers.
int CountScans(const Bytes& jpeg);

// "" when image is the reference's RGB (or gray) output as bytes blue,
// green, red, 0; otherwise where they first differ.
std::string CompareWithReference(const QImage& image, const Reference& reference);
