#pragma once
// Which cameras a volume holds records of: every live entry of both rings
// read, a chunk of the index at a time. An archive of many large volumes
// takes a while, so it is meant to run off the window's thread and can be
// stopped between chunks.

#include <cstdint>
#include <stop_token>
#include <string>

// The cameras (bit n for camera n) with at least one live entry in the
// volume at path; 0 for a file that is no volume or cannot be read. When
// stop is requested, what was found so far.
std::uint32_t CamerasRecorded(const std::string& path, const std::stop_token& stop);
