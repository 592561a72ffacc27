// Fuzz target: the layout file reader on any bytes. Contracts:
// - it keeps exactly the complete records that can be applied, in file
//   order and byte for byte, and at most MaxLayouts of them;
// - every kept record has a zero-terminated name and a grid of 1 to 6 units
//   on which every visible cell lies whole, so applying it can never place
//   a cell outside the grid area or give it an absurd size;
// - writing the kept records and reading them back gives the same list.
#include <cstring>

#include "fuzz/FuzzSupport.h"
#include "view/LayoutFile.h"

namespace {

void CheckApplicable(const CameraLayout& layout) {
  FUZZ_CHECK(std::memchr(layout.Name.data(), 0, layout.Name.size()) != nullptr);
  FUZZ_CHECK(layout.GridSize >= 1 && layout.GridSize <= 6);
  for (int i = 0; i < CellCount; ++i) {
    FUZZ_CHECK(layout.WidthSpan[i] >= 1 && layout.WidthSpan[i] <= layout.GridSize);
    FUZZ_CHECK(layout.HeightSpan[i] >= 1 && layout.HeightSpan[i] <= layout.GridSize);
    FUZZ_CHECK(layout.Row[i] >= 0 && layout.Column[i] >= 0);
    if (layout.Visible[i] == 0) continue;
    FUZZ_CHECK(layout.Row[i] + layout.HeightSpan[i] <= layout.GridSize);
    FUZZ_CHECK(layout.Column[i] + layout.WidthSpan[i] <= layout.GridSize);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const LayoutList layouts = LayoutsFromBytes(data, size);
  constexpr std::size_t record = CameraLayout::RecordSize;
  FUZZ_CHECK(layouts.size() <= size / record && layouts.size() <= MaxLayouts);

  std::size_t kept = 0;
  for (std::size_t offset = 0; size - offset >= record && kept < MaxLayouts; offset += record) {
    if (!DecodeLayout(data + offset).Usable()) continue;
    FUZZ_CHECK(kept < layouts.size());
    CheckApplicable(layouts[kept]);
    unsigned char bytes[record];
    EncodeLayout(layouts[kept], bytes);
    FUZZ_CHECK(std::memcmp(bytes, data + offset, record) == 0);
    ++kept;
  }
  FUZZ_CHECK(kept == layouts.size());

  const QByteArray written = LayoutsToBytes(layouts);
  const LayoutList again = LayoutsFromBytes(
      reinterpret_cast<const unsigned char*>(written.constData()), std::size_t(written.size()));
  FUZZ_CHECK(LayoutsToBytes(again) == written);
  return 0;
}
