#pragma once
// CameraLayout: a named arrangement of the 36 camera cells, the 636-byte
// record that OrxCamVis.cfg is a plain sequence of. Fields in file order:
//
//   offset   0  name[20]          Windows-1251, zero-terminated, <= 19 chars
//   offset  20  grid size         int32, grid units per row and column
//   offset  24  row[36]           int32, top edge in grid units
//   offset 168  column[36]        int32, left edge
//   offset 312  width span[36]    int32
//   offset 456  height span[36]   int32
//   offset 600  visible[36]       one byte each, non-zero = visible
//
// Integers are little-endian; no padding, no header. The struct is coded
// field by field, never copied as raw memory.

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

inline constexpr int CellCount = 36;

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
  // A record that can be applied: a positive grid size.
  bool Usable() const { return GridSize > 0; }
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
