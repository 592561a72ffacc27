#include "tools/FrameCheck.h"

FrameCheck::FrameCheck() { decoder_.SetMessagesToStandardError(false); }

std::string FrameCheck::Check(const FileHandle& file, std::int64_t offset, std::int64_t length) {
  stream_.Clear();
  std::uint8_t* bytes = stream_.Extend(static_cast<std::size_t>(length));
  if (!file.ReadAt(offset, bytes, length)) return "cannot be read";
  if (decoder_.Decode(stream_, target_) != 1)
    return std::string("does not decode (") + decoder_.Message() + ")";
  ++decoded_;
  const int warnings = decoder_.Warnings();
  if (warnings == 0) return {};
  return "decodes with " + std::to_string(warnings) + (warnings == 1 ? " warning (" : " warnings (") +
         decoder_.Message() + ")";
}
