#pragma once
// CameraLayout: a named arrangement of the 36 camera cells, the 636-byte
// record that OrxCamVis.cfg is a plain sequence of. The record's bytes are
// described in docs/layout-file.md; the struct holds its fields in file
// order and is coded field by field, never copied as raw memory.

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

inline constexpr int CellCount = 36;
// The largest grid size: 6 x 6 units, one for each of the 36 cells.
inline constexpr int MaxGridSize = 6;

struct CameraLayout {
  static constexpr int RecordSize = 636;
  static constexpr int NameSize = 20;
  static constexpr int MaxNameLength = 19;

  std::array<char, NameSize> Name{};
  std::int32_t GridSize = 4;
  std::array<std::int32_t, CellCount> Row{};
  std::array<std::int32_t, CellCount> Column{};
  std::array<std::int32_t, CellCount> WidthSpan{};
  std::array<std::int32_t, CellCount> HeightSpan{};
  std::array<std::uint8_t, CellCount> Visible{};

  // The name as text; the bytes up to the first zero (all 20 when there is
  // none), read as Windows-1251.
  QString NameText() const;
  // Stores text as Windows-1251, cut to 19 bytes, zero after it and in the
  // rest of the field. Characters without a Windows-1251 code become '?'.
  void SetNameText(const QString& text);
  // A record the window can show as it was stored: a zero after the name,
  // a grid size of 1 to 6 (the window stores 4, 5 or 6), every cell's row
  // and column within 0..35, its spans within 1..grid size, and every
  // visible cell inside the grid.
  // Every record the window stores is usable; the layout file gives only
  // usable ones, so a damaged record never makes cells of absurd size.
  bool Usable() const;
};

// The ordered list of layouts; index i is entry i of the layout list box.
using LayoutList = std::vector<CameraLayout>;

// bytes must hold CameraLayout::RecordSize bytes.
void EncodeLayout(const CameraLayout& layout, unsigned char* bytes);
CameraLayout DecodeLayout(const unsigned char* bytes);

// Windows-1251 bytes <-> text (through iconv); unmappable characters of
// text become '?'.
QString FromWindows1251(const char* bytes, int length);
std::vector<char> ToWindows1251(const QString& text);
