// orxtool: the command-line tool for Orx archive volumes.

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "tools/DecodeCommand.h"
#include "tools/ExportCommand.h"
#include "tools/ExtractCommand.h"
#include "tools/InfoCommand.h"
#include "tools/MakeDemoCommand.h"
#include "tools/TimelineCommand.h"
#include "tools/ToolArgs.h"
#include "tools/VerifyCommand.h"
#include "tools/WalkCommand.h"

namespace {

const char kHelp[] =
    "usage: orxtool COMMAND [ARGS...]\n"
    "\n"
    "  info VOLUME...                 size, geometry, header and rings of each file\n"
    "  verify [--frames] VOLUME|FOLDER...\n"
    "                                 check every format rule; a folder's SHA256SUMS\n"
    "                                 and its volumes; with --frames also decode every\n"
    "                                 frame; exit 1 on any problem\n"
    "  make-demo [--out DIR] [--start TIME]\n"
    "                                 write a demo archive (default DIR build/demo)\n"
    "  walk [--now TIME] [--cameras MASK] [--kinds MASK] VOLUME... -- OP...\n"
    "                                 drive the reader; OP is seek:TIME, seekback:TIME,\n"
    "                                 next:N, prev:N or range\n"
    "  decode IN.jpg OUT.ppm          decode one frame into a binary PPM\n"
    "  extract VOLUME... --at TIME [--count N] [--cameras MASK] --out DIR\n"
    "                                 write frames from TIME on as .jpg files\n"
    "  export --from TIME --to TIME [--cameras MASK] [--kinds MASK] [--format oxa|mkv]\n"
    "         [--out DIR] [--quiet] [--now TIME] VOLUME...\n"
    "                                 the interval as the viewer exports it, into a new\n"
    "                                 folder TempORX-... under DIR (default .): volumes,\n"
    "                                 or with mkv one video per camera (camera-N.mkv);\n"
    "                                 with SHA256SUMS. Cameras default all, kinds 15.\n"
    "  timeline [--from TIME] [--to TIME] [--cameras MASK] [--kinds MASK]\n"
    "           [--gap SECONDS] VOLUME|FOLDER...\n"
    "                                 one line per run of records of a camera and kind\n"
    "                                 (1, 2, 4, 8) whose neighbours lie at most the gap\n"
    "                                 apart (default 5 s), ordered by first time\n"
    "  --help                         this text\n"
    "\n"
    "Examples:\n"
    "  orxtool export --from 2026-12-07T09:00:00 --to 2026-12-07T09:05:00 \\\n"
    "      --cameras 0x6 --kinds 5 --out /mnt/usb archive/*.oxa\n"
    "  orxtool export --from 2026-12-07T09:00:00 --to 2026-12-07T09:05:00 \\\n"
    "      --format mkv --out ~/handover archive\n"
    "  orxtool timeline --from 2026-12-07T02:00:00 --to 2026-12-07T04:00:00 \\\n"
    "      --kinds 4 archive\n"
    "  orxtool verify \"/mnt/usb/TempORX-[7] [12] [2026] 12-5-3250\"\n"
    "\n"
    "VOLUME of walk, extract, export and timeline may be a folder: its .oxa files.\n"
    "TIME: a day number (46000.5) or a local date-time (2026-12-07T09:00:00.040).\n"
    "MASK: decimal or 0x hexadecimal. Exit codes: 0 done, 1 problem found or\n"
    "failed, 2 misuse. See docs/orxtool.md.\n";

int Dispatch(const std::string& command, const std::vector<std::string>& args) {
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kHelp, stdout);
    return ExitOk;
  }
  if (command == "info") return RunInfo(args);
  if (command == "verify") return RunVerify(args);
  if (command == "walk") return RunWalk(args);
  if (command == "decode") return RunDecode(args);
  if (command == "extract") return RunExtract(args);
  if (command == "export") return RunExportCommand(args);
  if (command == "timeline") return RunTimeline(args);
  if (command == "make-demo") return RunMakeDemo(args);
  return UsageError("unknown command '" + command + "'");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageError("no command given");
  const std::string command = argv[1];
  // Whatever a command meets (a full disk, memory running out), the tool
  // ends with one line and exit 1, never with an abort.
  try {
    const std::vector<std::string> args(argv + 2, argv + argc);
    return Dispatch(command, args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orxtool: %s: %s\n", command.c_str(), e.what());
  } catch (...) {
    std::fprintf(stderr, "orxtool: %s: failed\n", command.c_str());
  }
  std::fflush(stdout);
  return ExitProblem;
}
