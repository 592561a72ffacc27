#pragma once
// The folder half of orxtool verify: an export folder's SHA256SUMS checked
// file by file.

#include <string>

// Checks folder/SHA256SUMS when there is one: one line per listed file
// ("matches SHA256SUMS", "differs from SHA256SUMS", "missing (listed in
// SHA256SUMS)"), one per file in the folder that it does not list, or one
// for a manifest that cannot be read. Returns the number of problems, -1
// when there is no manifest.
int CheckManifest(const std::string& folder);
