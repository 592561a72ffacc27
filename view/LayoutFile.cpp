#include "view/LayoutFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

LayoutList LayoutsFromBytes(const unsigned char* data, std::size_t size) {
  LayoutList layouts;
  if (!data) return layouts;
  constexpr std::size_t record = CameraLayout::RecordSize;
  for (std::size_t offset = 0; size - offset >= record; offset += record) {
    CameraLayout layout = DecodeLayout(data + offset);
    if (!layout.Usable()) continue;
    layouts.push_back(layout);
    if (layouts.size() == MaxLayouts) break;
  }
  return layouts;
}

QByteArray LayoutsToBytes(const LayoutList& layouts) {
  QByteArray bytes(static_cast<qsizetype>(layouts.size()) * CameraLayout::RecordSize, '\0');
  auto* out = reinterpret_cast<unsigned char*>(bytes.data());
  for (const CameraLayout& layout : layouts) {
    EncodeLayout(layout, out);
    out += CameraLayout::RecordSize;
  }
  return bytes;
}

bool ReadLayoutFile(const QString& path, LayoutList& layouts) {
  // Only a regular file: opening a pipe put in its place would wait for a
  // writer for ever.
  if (!QFileInfo(path).isFile()) return false;
  QFile file(path);
  // Read access is all it takes: a file the operator may not change still
  // gives its layouts.
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.read(static_cast<qint64>(MaxLayouts) * CameraLayout::RecordSize);
  if (file.error() != QFileDevice::NoError) return false;
  const LayoutList read =
      LayoutsFromBytes(reinterpret_cast<const unsigned char*>(bytes.constData()),
                       static_cast<std::size_t>(bytes.size()));
  layouts.insert(layouts.end(), read.begin(), read.end());
  return true;
}

bool WriteLayoutFile(const QString& path, const LayoutList& layouts) {
  QSaveFile file(path);
  // Unbuffered: QSaveFile commits without looking at a failure of the
  // flush that a buffered write leaves to the commit, so a short file
  // could take the old one's place. Written directly, a short write shows.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  const QByteArray bytes = LayoutsToBytes(layouts);
  if (file.write(bytes) != bytes.size()) return false;  // the old file stands
  return file.commit();
}
