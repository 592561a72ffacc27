// Layout file seeds: sound files and files damaged the ways a hand edit or a
// cut-off write damages them, named for their fault.
#include <cstring>

#include "fuzz/SeedMaker.h"
#include "tests/view/PlainLayout.h"
#include "view/LayoutFile.h"

namespace seeds {

namespace {

Bytes ToBytes(const LayoutList& layouts) {
  const QByteArray bytes = LayoutsToBytes(layouts);
  return Bytes(bytes.begin(), bytes.end());
}

}  // namespace

void MakeLayoutSeeds(const std::string& f) {
  CameraLayout enlarged = PlainLayout(QString::fromUtf8("Вход"), 4);
  enlarged.WidthSpan[15] = enlarged.HeightSpan[15] = 2;
  enlarged.Column[15] = enlarged.Row[15] = 2;
  for (int i : {10, 11, 14}) enlarged.Visible[i] = 0;
  const LayoutList sound = {PlainLayout(QString::fromUtf8("Склад"), 5), enlarged,
                            PlainLayout(QString::fromUtf8("Все камеры"), 6)};
  Keep(f, "sound-three-layouts.cfg", ToBytes(sound));

  Bytes trailing = ToBytes(
      {PlainLayout(QString::fromUtf8("Вход"), 4), PlainLayout(QString::fromUtf8("вход2"), 5)});
  trailing.resize(trailing.size() + 28, 0x55);
  Keep(f, "damaged-trailing-piece.cfg", trailing);

  CameraLayout zeroGrid = PlainLayout(QString::fromUtf8("Ноль"), 4);
  zeroGrid.GridSize = 0;
  Keep(f, "damaged-grid-size-zero.cfg",
       ToBytes({zeroGrid, PlainLayout(QString::fromUtf8("Вход"), 4)}));

  CameraLayout huge = PlainLayout(QString::fromUtf8("Огромная"), 4);
  huge.WidthSpan[0] = 0x7fffffff;
  huge.Row[1] = -5;
  Keep(f, "damaged-huge-and-negative-spans.cfg",
       ToBytes({PlainLayout(QString::fromUtf8("Вход"), 4), huge}));

  Bytes unterminated = ToBytes({PlainLayout(QString::fromUtf8("Вход"), 4)});
  std::memset(unterminated.data(), 'A', CameraLayout::NameSize);
  Keep(f, "damaged-name-without-zero.cfg", unterminated);
}

}  // namespace seeds
