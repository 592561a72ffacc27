#include "view/CameraLayout.h"

#include "common/LittleEndian.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

// One iconv conversion descriptor, closed when it goes out of scope.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts in one go; a character that cannot be converted becomes
// replacement and is stepped over (with its continuation bytes when the
// input is UTF-8).
std::vector<char> Convert(const char* to, const char* from, const char* data,
                          std::size_t length, char replacement, bool utf8Input) {
  std::vector<char> out;
  Iconv cd(to, from);
  if (!cd.ok()) return out;
  std::vector<char> in(data, data + length);
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t r = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
    out.insert(out.end(), buffer, outPtr);
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: mark and step over the offending input.
      out.push_back(replacement);
      ++inPtr;
      --inLeft;
      while (utf8Input && inLeft > 0 && (static_cast<unsigned char>(*inPtr) & 0xC0) == 0x80) {
        ++inPtr;
        --inLeft;
      }
    }
  }
  return out;
}

constexpr int kGridOffset = 20;
constexpr int kRowOffset = 24;
constexpr int kColumnOffset = kRowOffset + 4 * CellCount;
constexpr int kWidthOffset = kColumnOffset + 4 * CellCount;
constexpr int kHeightOffset = kWidthOffset + 4 * CellCount;
constexpr int kVisibleOffset = kHeightOffset + 4 * CellCount;
static_assert(kColumnOffset == 168 && kWidthOffset == 312 && kHeightOffset == 456 &&
              kVisibleOffset == 600);
static_assert(kVisibleOffset + CellCount == CameraLayout::RecordSize);
static_assert(sizeof(CameraLayout) == CameraLayout::RecordSize);

}  // namespace

QString FromWindows1251(const char* bytes, int length) {
  if (length <= 0) return QString();
  const std::vector<char> utf8 =
      Convert("UTF-8", "CP1251", bytes, static_cast<std::size_t>(length), '?', false);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::vector<char> ToWindows1251(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Convert("CP1251", "UTF-8", utf8.constData(),
                 static_cast<std::size_t>(utf8.size()), '?', true);
}

QString CameraLayout::NameText() const {
  const void* zero = std::memchr(Name.data(), 0, Name.size());
  const int length = zero ? static_cast<int>(static_cast<const char*>(zero) - Name.data())
                          : static_cast<int>(Name.size());
  return FromWindows1251(Name.data(), length);
}

void CameraLayout::SetNameText(const QString& text) {
  const std::vector<char> bytes = ToWindows1251(text);
  Name.fill(0);
  const std::size_t n = std::min<std::size_t>(bytes.size(), MaxNameLength);
  std::memcpy(Name.data(), bytes.data(), n);
}

bool CameraLayout::Usable() const {
  if (!std::memchr(Name.data(), 0, Name.size())) return false;
  if (GridSize < 1 || GridSize > MaxGridSize) return false;
  for (int i = 0; i < CellCount; ++i) {
    const bool placed = Row[i] >= 0 && Row[i] < CellCount && Column[i] >= 0 &&
                        Column[i] < CellCount && WidthSpan[i] >= 1 &&
                        WidthSpan[i] <= GridSize && HeightSpan[i] >= 1 &&
                        HeightSpan[i] <= GridSize;
    if (!placed) return false;
    // Hidden cells keep any place (the plain grid parks them below it);
    // a visible one must lie on the grid.
    if (Visible[i] != 0 &&
        (Row[i] + HeightSpan[i] > GridSize || Column[i] + WidthSpan[i] > GridSize))
      return false;
  }
  return true;
}

void EncodeLayout(const CameraLayout& layout, unsigned char* bytes) {
  std::memcpy(bytes, layout.Name.data(), CameraLayout::NameSize);
  PutI32(bytes + kGridOffset, layout.GridSize);
  for (int i = 0; i < CellCount; ++i) {
    PutI32(bytes + kRowOffset + 4 * i, layout.Row[i]);
    PutI32(bytes + kColumnOffset + 4 * i, layout.Column[i]);
    PutI32(bytes + kWidthOffset + 4 * i, layout.WidthSpan[i]);
    PutI32(bytes + kHeightOffset + 4 * i, layout.HeightSpan[i]);
    bytes[kVisibleOffset + i] = layout.Visible[i];
  }
}

CameraLayout DecodeLayout(const unsigned char* bytes) {
  CameraLayout layout;
  std::memcpy(layout.Name.data(), bytes, CameraLayout::NameSize);
  layout.GridSize = GetI32(bytes + kGridOffset);
  for (int i = 0; i < CellCount; ++i) {
    layout.Row[i] = GetI32(bytes + kRowOffset + 4 * i);
    layout.Column[i] = GetI32(bytes + kColumnOffset + 4 * i);
    layout.WidthSpan[i] = GetI32(bytes + kWidthOffset + 4 * i);
    layout.HeightSpan[i] = GetI32(bytes + kHeightOffset + 4 * i);
    layout.Visible[i] = bytes[kVisibleOffset + i];
  }
  return layout;
}
