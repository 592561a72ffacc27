#pragma once
// report.html: the page that goes with an export, for the person who
// receives it. It states what was asked (interval, cameras, kinds, format),
// how the export ended, when, on which machine and by which program, and
// lists every file made with its camera(s), first and last recorded time,
// frames, bytes and SHA-256. For video each file's first frame is shown,
// embedded as the stored JPEG itself. Russian; plain HTML with inline CSS
// that opens without a network and prints on A4.

#include <cstdint>
#include <string>
#include <vector>

#include "export/ExportRequest.h"
#include "export/FrameSink.h"

inline constexpr const char* ReportName = "report.html";

struct ReportFile {
  std::string name;  // in the export's folder
  FileTally tally;
  std::int64_t bytes = 0;
  std::string digest;  // SHA-256, 64 hex digits
};

struct ReportFacts {
  ExportRequest request;
  ExportState state = ExportState::Complete;
  std::int64_t framesLeftOut = 0;
  std::int64_t framesUnreadable = 0;
  std::string machine;  // the host name
  std::vector<ReportFile> files;
};

// The page's text (UTF-8).
std::string ReportHtml(const ReportFacts& facts);

// Writes folder/report.html whole or not at all. False when it cannot be
// written.
bool WriteReport(const std::string& folder, const ReportFacts& facts);
