#pragma once
// The folder half of orxtool verify: an export folder's SHA256SUMS checked
// file by file.

#include <string>
#include <vector>

// Checks folder/SHA256SUMS when there is one: one line per listed file
// ("matches SHA256SUMS", "differs from SHA256SUMS", "missing (listed in
// SHA256SUMS)"), one per file in the folder that it does not list, or one
// for a manifest that cannot be read. Prints "<folder>: no SHA256SUMS" when
// there is none. Returns the number of problems.
int CheckManifest(const std::string& folder);
