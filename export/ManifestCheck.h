#pragma once
// An export folder checked against its SHA256SUMS: each file the manifest
// lists, by its digest, and each file in the folder that it does not list.
// orxtool verify prints it; the viewer checks a folder it opens with it.

#include <atomic>
#include <string>
#include <vector>

struct FileVerdict {
  enum class Kind {
    Matches,    // listed, and its digest is the one listed
    Differs,    // listed, but it holds something else now (or cannot be read)
    Missing,    // listed, but not there
    NotListed,  // in the folder, but not in the manifest
  };
  std::string name;
  Kind kind = Kind::Matches;
};

struct ManifestCheck {
  enum class Manifest {
    None,        // the folder holds no SHA256SUMS
    Unreadable,  // it cannot be read (why says so)
    BadLine,     // line badLine is not a checksum line of a file in the folder
    Read,
    Stopped,     // the check was stopped before it was done
  };
  Manifest manifest = Manifest::None;
  std::string why;
  int badLine = 0;
  // The listed files in the manifest's order, then the files it does not
  // list by name.
  std::vector<FileVerdict> files;
};

// Checks folder; stop, when given and set, ends the check early (Stopped).
ManifestCheck CheckAgainstManifest(const std::string& folder, const std::atomic<bool>* stop = nullptr);
