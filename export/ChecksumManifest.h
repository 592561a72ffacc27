#pragma once
// SHA256SUMS: the manifest of an export folder, in the format that
// `sha256sum -c` reads: one line per file, 64 lowercase hex digits, two
// blanks, the file's name. A name holding a backslash or a line break is
// written as sha256sum writes it: the line starts with a backslash and
// those characters are escaped ("\\", "\n", "\r").

#include <atomic>
#include <string>
#include <vector>

inline constexpr const char* ManifestName = "SHA256SUMS";

// The SHA-256 of a regular file as 64 lowercase hex digits (libcrypto);
// empty when the file cannot be read (a folder, a FIFO or a device is
// refused at once). stop, when given and set, ends the reading early (the
// result is then empty too).
std::string Sha256OfFile(const std::string& path, const std::atomic<bool>* stop = nullptr);

// Writes folder/SHA256SUMS over files (paths of files in folder, listed by
// their names in this order) with their digests (Sha256OfFile's, one per
// file). The manifest appears whole or not at all. False when a digest is
// missing (the file could not be hashed) or the manifest cannot be written.
bool WriteManifest(const std::string& folder, const std::vector<std::string>& files,
                   const std::vector<std::string>& digests);

struct ManifestEntry {
  std::string digest;  // 64 lowercase hex digits
  std::string name;    // a plain name in the manifest's folder
};

// The entries of a manifest's text. False at the first line that is not a
// checksum line, or names something outside its folder (a path, "." or
// ".."); badLine is then its number, from 1.
bool ParseManifest(const std::string& text, std::vector<ManifestEntry>& entries, int& badLine);
