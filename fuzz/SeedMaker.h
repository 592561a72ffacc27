#pragma once
// Makes the seeds kept in fuzz/seeds: volumes (sound and damaged, named for
// their fault) with reader scripts, file images with writer scripts, and
// frames of a dozen JPEG kinds, and layout files.

#include <cstdint>
#include <string>
#include <vector>

namespace seeds {

using Bytes = std::vector<std::uint8_t>;

// Writes bytes as folder/name.
void Keep(const std::string& folder, const std::string& name, const Bytes& bytes);

void MakeReaderSeeds(const std::string& folder);
void MakeWriterSeeds(const std::string& folder);
void MakeDecoderSeeds(const std::string& folder);
void MakeLayoutSeeds(const std::string& folder);

}  // namespace seeds
