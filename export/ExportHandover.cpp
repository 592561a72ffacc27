#include "export/ExportHandover.h"

#include <sys/stat.h>

#include <QString>
#include <QSysInfo>
#include <algorithm>
#include <bit>
#include <memory>

#include "export/BackgroundHasher.h"
#include "export/ChecksumManifest.h"
#include "export/ExportReport.h"
#include "export/ExportVolumeSink.h"
#include "export/MatroskaSink.h"

namespace {

std::int64_t FileBytes(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_size) : 0;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ExportSummary RunExportHandover(ExportSource& source, const FrameStream& stream,
                                const ExportRequest& request) {
  std::unique_ptr<FrameSink> sink;
  if (request.format == ExportFormat::Video)
    sink = std::make_unique<MatroskaSink>(request.folder, request.to);
  else
    sink = std::make_unique<ExportVolumeSink>(request.folder);
  BackgroundHasher hasher;
  sink->TellFinished([&hasher](const std::string& path) { hasher.Add(path); });
  const ExportEnd end = RunExport(source, stream, *sink);
  sink->TellFinished(nullptr);  // the sink outlives the hasher

  ExportSummary summary;
  summary.state = end == ExportEnd::SinkFailed ? ExportState::Failed
                  : source.Interrupted()       ? ExportState::Interrupted
                                               : ExportState::Complete;
  summary.files = sink->Files();
  summary.framesLeftOut = sink->FramesLeftOut();
  summary.framesUnreadable = source.FramesUnreadable();
  std::vector<std::string> digests = hasher.Digests(summary.files);

  ReportFacts facts{request, summary.state, summary.framesLeftOut, summary.framesUnreadable,
                    QSysInfo::machineHostName().toStdString(), {}};
  for (std::size_t i = 0; i < summary.files.size(); ++i) {
    const std::string& path = summary.files[i];
    ReportFile file{BaseName(path), sink->TallyOf(path), FileBytes(path), digests[i]};
    const FileTally& t = file.tally;
    if (t.frames > 0) {
      if (summary.frames == 0 || t.first < summary.first) summary.first = t.first;
      if (summary.frames == 0 || t.last > summary.last) summary.last = t.last;
    }
    summary.frames += t.frames;
    summary.frameBytes += t.frameBytes;
    summary.fileBytes += file.bytes;
    facts.files.push_back(std::move(file));
  }

  // Videos by camera, as a person looks for them; volumes in time order,
  // as they were made.
  if (request.format == ExportFormat::Video)
    std::stable_sort(facts.files.begin(), facts.files.end(),
                     [](const ReportFile& a, const ReportFile& b) {
                       return std::countr_zero(a.tally.cameras) <
                              std::countr_zero(b.tally.cameras);
                     });

  std::vector<std::string> listed = summary.files;
  summary.reported = WriteReport(request.folder, facts);
  if (summary.reported) {
    listed.push_back(request.folder + "/" + ReportName);
    digests.push_back(Sha256OfFile(listed.back()));
  }
  summary.listed = WriteManifest(request.folder, listed, digests);
  return summary;
}
