// Layout file seeds: sound files and files damaged the ways a hand edit or a
// cut-off write damages them, named for their fault.
#include <cstring>

#include "fuzz/SeedMaker.h"
#include "view/LayoutFile.h"

namespace seeds {

namespace {

CameraLayout Plain(const char* name, int grid) {
  CameraLayout layout;
  layout.SetNameText(QString::fromUtf8(name));
  layout.GridSize = grid;
  for (int i = 0; i < CellCount; ++i) {
    layout.Column[i] = i % grid;
    layout.Row[i] = i / grid;
    layout.WidthSpan[i] = layout.HeightSpan[i] = 1;
    layout.Visible[i] = i < grid * grid;
  }
  return layout;
}

Bytes ToBytes(const LayoutList& layouts) {
  const QByteArray bytes = LayoutsToBytes(layouts);
  return Bytes(bytes.begin(), bytes.end());
}

}  // namespace

void MakeLayoutSeeds(const std::string& f) {
  CameraLayout enlarged = Plain("Вход", 4);
  enlarged.WidthSpan[15] = enlarged.HeightSpan[15] = 2;
  enlarged.Column[15] = enlarged.Row[15] = 2;
  for (int i : {10, 11, 14}) enlarged.Visible[i] = 0;
  const LayoutList sound = {Plain("Склад", 5), enlarged, Plain("Все камеры", 6)};
  Keep(f, "sound-three-layouts.cfg", ToBytes(sound));

  Bytes trailing = ToBytes({Plain("Вход", 4), Plain("вход2", 5)});
  trailing.resize(trailing.size() + 28, 0x55);
  Keep(f, "damaged-trailing-piece.cfg", trailing);

  CameraLayout zeroGrid = Plain("Ноль", 4);
  zeroGrid.GridSize = 0;
  Keep(f, "damaged-grid-size-zero.cfg", ToBytes({zeroGrid, Plain("Вход", 4)}));

  CameraLayout huge = Plain("Огромная", 4);
  huge.WidthSpan[0] = 0x7fffffff;
  huge.Row[1] = -5;
  Keep(f, "damaged-huge-and-negative-spans.cfg", ToBytes({Plain("Вход", 4), huge}));

  Bytes unterminated = ToBytes({Plain("Вход", 4)});
  std::memset(unterminated.data(), 'A', CameraLayout::NameSize);
  Keep(f, "damaged-name-without-zero.cfg", unterminated);
}

}  // namespace seeds
