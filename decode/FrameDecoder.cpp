#include "decode/FrameDecoder.h"

#include <jerror.h>

#include "decode/FrameDecoderState.h"
#include "decode/MemoryStreamSource.h"
#include "decode/PixelRows.h"

#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo is needed: colour frames are decoded blue first (JCS_EXT_BGRX)"
#endif

namespace {

// How a decoded scanline becomes a bitmap row.
enum class RowKind { Gray, Bgrx, Cmyk };

// Every function below runs between setjmp and a possible longjmp: their
// locals must stay trivially destructible.

void CreateObject(FrameDecoder::State& s) {
  jpeg_create_decompress(&s.cinfo);
  ApplyFrameLimits(&s.cinfo, &s.scans);
}

// Picks the output colour space: blue first for colour frames, whether coded
// as YCbCr or stored as RGB (libjpeg reorders both), inks for four-component
// frames (converted here; libjpeg has no CMYK-to-RGB path).
RowKind ChooseOutput(j_decompress_ptr cinfo) {
  switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
      cinfo->out_color_space = JCS_GRAYSCALE;
      return RowKind::Gray;
    case JCS_YCbCr:
    case JCS_RGB:
      // Four bytes per pixel: the copy into the bitmap is a masked move.
      cinfo->out_color_space = JCS_EXT_BGRX;
      return RowKind::Bgrx;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo->out_color_space = JCS_CMYK;
      return RowKind::Cmyk;
    default:
      ERREXIT(cinfo, JERR_CONVERSION_NOTIMPL);
  }
  return RowKind::Gray;  // not reached
}

// Width, then height, then format; a new buffer only when one of them
// changes, so frames of a steady size reuse the same bits.
void PrepareBitmap(j_decompress_ptr cinfo, QImage& bitmap) {
  const int width = int(cinfo->output_width);
  const int height = int(cinfo->output_height);
  if (bitmap.width() != width || bitmap.height() != height ||
      bitmap.format() != QImage::Format_RGB32) {
    bitmap = QImage(width, height, QImage::Format_RGB32);
  }
  if (bitmap.isNull())
    RaiseDecoderError(reinterpret_cast<j_common_ptr>(cinfo), kErrBitmapAllocation, width, height);
}

// Returns the row's pixels as blue, green, red and a fourth byte, as they
// are freshest in the processor's cache: the row buffer for colour rows read
// through it (the same pixels, with 255 in the fourth byte).
const std::uint8_t* ConvertRow(RowKind kind, const JSAMPLE* decoded, std::uint8_t* row,
                               unsigned width, bool inverted_inks, bool streaming) {
  switch (kind) {
    case RowKind::Gray: GrayToBgr0(decoded, row, width); return row;
    case RowKind::Bgrx:
      if (streaming && decoded != row)
        BgrxToBgr0Streaming(decoded, row, width);
      else
        BgrxToBgr0(decoded, row, width);
      return decoded;
    case RowKind::Cmyk: CmykToBgr0(decoded, row, width, inverted_inks); return row;
  }
  return row;
}

void DecodeFrame(FrameDecoder::State& s, FrameStream& stream, FrameTarget& target) {
  QImage& bitmap = target.Bitmap();
  j_decompress_ptr cinfo = &s.cinfo;
  stream.SetPosition(0);
  InstallMemoryStreamSource(cinfo, &stream);
  jpeg_read_header(cinfo, TRUE);
  CheckFrameDimensions(cinfo);
  const RowKind kind = ChooseOutput(cinfo);
  const int scale = target.DecodeScale(int(cinfo->image_width), int(cinfo->image_height));
  cinfo->scale_num = 1;
  cinfo->scale_denom = scale == 2 || scale == 4 || scale == 8 ? unsigned(scale) : 1u;
  jpeg_start_decompress(cinfo);
  s.wrote_bitmap = true;
  PrepareBitmap(cinfo, bitmap);

  const unsigned width = cinfo->output_width;
  const bool inverted_inks = cinfo->saw_Adobe_marker;
  // CheckFrameDimensions keeps every row within the row buffer.
  const bool use_row_buffer = s.rows_per_call == 1;
  const bool streaming = target.StreamBitmap();
  std::uint8_t* const bits = bitmap.bits();
  const std::size_t stride = std::size_t(bitmap.bytesPerLine());

  while (cinfo->output_scanline < cinfo->output_height) {
    const JDIMENSION first = cinfo->output_scanline;
    JSAMPROW rows[FrameDecoder::kMaxRowsPerCall];
    JDIMENSION wanted = 1;
    if (use_row_buffer) {
      rows[0] = s.row_buffer;
    } else {
      wanted = JDIMENSION(s.rows_per_call);
      if (wanted > cinfo->output_height - first) wanted = cinfo->output_height - first;
      for (JDIMENSION i = 0; i < wanted; ++i) rows[i] = bits + (first + i) * stride;
    }
    const JDIMENSION got = jpeg_read_scanlines(cinfo, rows, wanted);
    if (got == 0) break;  // cannot happen without suspension; finish reports it
    for (JDIMENSION i = 0; i < got; ++i) {
      const std::uint8_t* pixels =
          ConvertRow(kind, rows[i], bits + (first + i) * stride, width, inverted_inks, streaming);
      target.RowDecoded(int(first + i), pixels);
    }
  }
  if (streaming) FinishStreaming();
  jpeg_finish_decompress(cinfo);
}

}  // namespace

FrameDecoder::FrameDecoder() : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.cinfo.err = InitDecoderErrorManager(&s.error);
  CreateObject(s);
}

FrameDecoder::~FrameDecoder() { jpeg_destroy_decompress(&state_->cinfo); }

void FrameDecoder::SetRowsPerCall(int rows) {
  state_->rows_per_call = rows < 1 ? 1 : rows > kMaxRowsPerCall ? kMaxRowsPerCall : rows;
}

bool FrameDecoder::WroteBitmap() const { return state_->wrote_bitmap; }

int FrameDecoder::Warnings() const { return int(state_->error.pub.num_warnings); }

const char* FrameDecoder::Message() const { return state_->error.last_message; }

void FrameDecoder::SetMessagesToStandardError(bool enabled) {
  state_->error.to_standard_error = enabled;
}

int FrameDecoder::Decode(FrameStream& stream, FrameTarget& target) {
  State* const s = state_.get();
  s->wrote_bitmap = false;
  s->error.pub.num_warnings = 0;
  s->error.last_message[0] = '\0';
  if (setjmp(s->error.jump) != 0) {
    // A fatal error anywhere in the frame: back to the start state. The
    // bitmap keeps whatever it had received.
    s->error.armed = false;
    jpeg_destroy_decompress(&s->cinfo);
    CreateObject(*s);
    return -1;
  }
  s->error.armed = true;
  DecodeFrame(*s, stream, target);
  s->error.armed = false;
  target.Repaint();
  return 1;
}
