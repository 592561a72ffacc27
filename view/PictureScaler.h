#pragma once
// PictureScaler: a decoded frame brought to a camera cell's size for display,
// on the calling thread.
//
// Shrinking first averages blocks of 2 x 2 pixels, as long as the cell is at
// most half the picture's size both ways, and then interpolates bilinearly
// to the exact size. So every pixel of the frame counts: fine detail (text,
// fences, sensor noise) keeps its average brightness instead of breaking up
// into moire, as it does when a large shrink only samples the picture (as
// Qt's smooth drawImage does, which besides hands the work to a thread pool
// and waits for it). Stretching is bilinear.
//
// The scaler keeps its buffers between frames: a steady frame and cell size
// allocate nothing.

#include <QImage>
#include <QSize>

#include <cstdint>
#include <vector>

#include "view/PictureRows.h"

class PictureScaler {
 public:
  // picture at size, in Format_RGB32 with opaque pixels. A picture of that
  // very size is returned as it is; one of another format is converted
  // first. The result stays valid until the next call or Release.
  // REQUIRES: picture and size are not empty.
  const QImage& Scale(const QImage& picture, QSize size);

  // Row y of picture is final, with its pixels as the decoder tells them
  // (four bytes each: blue, green, red, one that means nothing). When picture
  // is to be shrunk to size by half or more, the first halving of its rows is
  // done as they come, while they are in the processor's cache, and when
  // that halving is the only one, also the output rows that only need them.
  // Scale uses this work if every row came, in order, for that size, and
  // picture was not written to since.
  void RowArrived(const QImage& picture, int y, const std::uint8_t* pixels, QSize size);

  // Exchanges the last picture Scale made (not the picture it was given,
  // when that had the size asked) with other: the caller keeps the
  // picture, the scaler fills other's buffer next time.
  void SwapResult(QImage& other) { result_.swap(other); }
  // Whether picture is the scaler's own last result (not the picture given).
  bool MadeLast(const QImage& picture) const { return &picture == &result_; }

  // Bytes its buffers hold now.
  std::size_t HeldBytes() const;

  // Frees the buffers (an emptied cell keeps no memory).
  void Release();

  // Where a bilinear output pixel samples its source, per axis: source
  // index and the weight of the next pixel, in 1/256.
  struct Taps {
    int from = -1;
    int to = -1;
    std::vector<int> index;
    std::vector<int> weight;
    // Per output pixel, eight weights for the four channels of the two source
    // pixels: 256 - weight four times, then weight four times.
    std::vector<std::int16_t> pairs;
  };

 private:
  // Taps, result and row buffer for interpolating from a picture of size
  // from to size.
  void PrepareBilinear(QSize from, QSize size);
  // Output row y from source rows top and bottom mixed by weight.
  void BilinearRow(const std::uint32_t* top, const std::uint32_t* bottom, int weight, int width,
                   int y);
  // Output rows [from, to) from source.
  void BilinearRows(const QImage& source, int from, int to);
  // Rows of the source that output row y reads: all before this one.
  int RowsNeeded(int y) const;

  const picture_rows::Kernels& kernels_ = picture_rows::Best();
  QImage converted_;
  // What RowArrived has done: arrivedRows_ rows so far of the picture with
  // cacheKey arrivedKey_ (0: none), meant for arrivedSize_; scaledRows_
  // output rows made from the halved rows kept in halvedPair_, or -1 when
  // more than one halving is needed: then the first is made in halves_[0]
  // and the rest is left to Scale.
  QImage halves_[2];
  std::vector<std::uint32_t> halvedPair_;
  // The even row of a pair, until the odd one comes.
  std::vector<std::uint32_t> evenRow_;
  int arrivedRows_ = 0;
  qint64 arrivedKey_ = 0;
  QSize arrivedSize_;
  int scaledRows_ = -1;
  QImage result_;
  Taps columns_;
  Taps rows_;
  // One row of the source interpolated between two rows, 16 bits a channel,
  // plus a copy of its last pixel, so every output pixel can read two
  // neighbours.
  std::vector<std::uint16_t> blended_;
};
