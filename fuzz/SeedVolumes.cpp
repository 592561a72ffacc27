// Volume seeds for the reader and file images for the writer, each with a
// script that exercises it (the op codes are those of ReaderFuzz.cpp and
// WriterFuzz.cpp).
#include <cmath>
#include <functional>

#include "fuzz/FuzzSupport.h"
#include "fuzz/SeedMaker.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace seeds {
namespace {

using namespace orxtest;

constexpr std::int64_t SeedVolumeSize = 8 * 1024;  // 8 slots a ring, ~7.5 KiB of frames

// Reader ops.
enum : std::uint8_t { SeekFwd = 0, SeekBack = 1, Next = 2, Prev = 3, WalkFwd = 4, WalkBack = 5,
                      Cut = 6, Grow = 7, Repoint = 8, Reopen = 9, Close = 10, Range = 11 };
// A position at the time of slot `slot` of `ring` of the first image.
Bytes At(std::uint8_t op, int ring, int slot) {
  const int pick = slot << 1 | ring;
  return {op, std::uint8_t(0x80 | (pick & 31)), std::uint8_t(pick >> 5)};
}

// Both walks in full, single steps with counts, a cut, a regrowth and a
// moved ring pointer in the middle.
Bytes ReaderScript() {
  Bytes s;
  auto add = [&s](const Bytes& b) { s.insert(s.end(), b.begin(), b.end()); };
  add(At(SeekBack, 0, 0));
  add({WalkFwd, 0x80});
  add(At(SeekFwd, 0, 7));
  add({WalkBack, 0x80});
  add(At(SeekBack, 1, 3));
  add({Next, 0, 0x80, Prev, 0, 0x80, Next, 3, 0x03, Prev, 2, 0x80, Range});
  add({SeekFwd, 0x23});  // far in the future
  add({Next, 1, 0x80, Cut, 100, Next, 1, 0x80, Prev, 1, 0x80, Grow, 40});
  add({Repoint, 0x80 | 4, 2, WalkFwd, 0x80, Reopen, WalkBack, 0x80, Close, Next, 1, 0x80});
  return s;
}

void KeepVolume(const std::string& folder, const std::string& name,
                const std::function<void(VolumeBuilder&)>& fill, std::uint8_t flags = 0,
                std::int64_t size = SeedVolumeSize) {
  TempDir dir;
  VolumeBuilder v(dir.File("v.oxa"), size);
  fill(v);
  fuzz::ScriptedInput in;
  in.image = ReadFileBytes(v.Path());
  in.script = ReaderScript();
  in.flags = flags;
  Keep(folder, name, fuzz::JoinInput(in));
}

IndexEntry EntryAtTime(VolumeBuilder& v, double time) {
  IndexEntry e;
  e.Time = time;
  e.Kind = KindContinuous;
  e.Offset = static_cast<std::int32_t>(v.Geometry().DataStart());
  e.Length = 200;
  return e;
}

}  // namespace

void MakeReaderSeeds(const std::string& f) {
  KeepVolume(f, "sound-one-ring.oxa", [](VolumeBuilder& v) { v.AddRun(0, 6, 0, 1, 3); });
  KeepVolume(f, "sound-wrapped-rings.oxa", [](VolumeBuilder& v) {
    v.AddRun(1, 7, 0, 1);
    v.AddRun(0, 5, 20, 1, 1, KindMotion);
  });
  KeepVolume(f, "sound-overlapping-rings-equal-times.oxa", [](VolumeBuilder& v) {
    for (int i = 0; i < 6; ++i) v.Add(1, Sec(i / 2), i % 4);
    for (int i = 0; i < 6; ++i) v.Add(0, Sec(1 + i / 3), 5);
  });
  {
    // Two volumes of one image, split in the middle (flag 1); the second
    // starts half a second after the first ends.
    TempDir dir;
    VolumeBuilder a(dir.File("a.oxa"), SeedVolumeSize), b(dir.File("b.oxa"), SeedVolumeSize);
    a.AddRun(0, 4, 0, 1);
    b.AddRun(0, 4, 3.5, 1);
    fuzz::ScriptedInput in;
    in.image = ReadFileBytes(a.Path());
    const Bytes second = ReadFileBytes(b.Path());
    in.image.insert(in.image.end(), second.begin(), second.end());
    in.script = ReaderScript();
    in.flags = 1;
    Keep(f, "sound-two-volumes.oxa", fuzz::JoinInput(in));
  }
  KeepVolume(f, "fifo-and-missing-in-list.oxa", [](VolumeBuilder& v) { v.AddRun(0, 4, 0, 1); },
             /*flags=*/2);
  KeepVolume(f, "damaged-slot-out-of-order.oxa", [](VolumeBuilder& v) {
    v.AddRun(1, 5, 0, 1);
    for (int i = 0; i < 7; ++i) v.Add(0, Sec(i == 3 ? 7 : 10 + i));
  });
  KeepVolume(f, "damaged-last-time-past-step-gap.oxa", [](VolumeBuilder& v) {
    v.AddRun(0, 4, 0, 1);
    v.Add(0, 2e10);
  });
  KeepVolume(f, "damaged-first-time-far-before.oxa", [](VolumeBuilder& v) {
    v.Add(0, -2e10);
    v.AddRun(0, 4, 0, 1);
  });
  KeepVolume(f, "damaged-full-rings-of-zero-slots.oxa", [](VolumeBuilder& v) {
    v.SetLive(0, 0, v.Geometry().MaxEntriesPerRing());
    v.SetLive(1, 0, v.Geometry().MaxEntriesPerRing());
  });
  KeepVolume(f, "damaged-head-after-tail.oxa", [](VolumeBuilder& v) {
    v.AddRun(0, 4, 0, 1);
    v.AddRun(1, 3, 10, 1);
    v.Header().Ring1Head = v.Header().Ring1Tail + 32;
    v.WriteHeader();
  });
  KeepVolume(f, "damaged-pointer-off-slot.oxa", [](VolumeBuilder& v) {
    v.AddRun(0, 4, 0, 1);
    v.Header().Ring0Tail -= 4;
    v.WriteHeader();
  });
  KeepVolume(f, "damaged-time-not-a-number.oxa", [](VolumeBuilder& v) {
    v.AddRun(0, 5, 0, 1);
    v.PutEntry(0, 2, EntryAtTime(v, std::nan("")));
  });
  KeepVolume(f, "damaged-stale-time.oxa", [](VolumeBuilder& v) {
    v.AddRun(0, 5, 0, 1);
    v.PutEntry(0, 3, EntryAtTime(v, Sec(5000)));
  });
  KeepVolume(f, "damaged-frame-past-end.oxa", [](VolumeBuilder& v) {
    v.AddRun(0, 5, 0, 1);
    IndexEntry e = EntryAtTime(v, Sec(2));
    e.Offset = static_cast<std::int32_t>(SeedVolumeSize - 100);
    v.PutEntry(0, 2, e);
  });
  KeepVolume(f, "damaged-frame-too-short.oxa", [](VolumeBuilder& v) {
    v.AddRun(0, 5, 0, 1);
    IndexEntry e = EntryAtTime(v, Sec(2));
    e.Length = 99;
    v.PutEntry(0, 2, e);
  });
  Keep(f, "damaged-header-cut-short.oxa", Bytes{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77});
}

void MakeWriterSeeds(const std::string& f) {
  // Writer ops: kind (7: open again), camera + 4, kinds, time, length.
  const Bytes appends = {0, 4, 1, 10, 3, 1, 5, 5, 11, 4, 0, 4, 1, 12, 6, 7,
                         2, 40, 15, 13, 7, 3, 4, 1, 0, 2, 4, 4, 1, 14, 8, 5, 4, 1, 15, 9};
  auto keep = [&](const std::string& name, const Bytes& image, std::uint8_t flags = 0) {
    fuzz::ScriptedInput in;
    in.image = image;
    in.script = appends;
    in.flags = flags;
    Keep(f, name, fuzz::JoinInput(in));
  };
  keep("zeros-made-a-volume.bin", Bytes(64, 0));
  keep("too-small-for-a-volume.bin", Bytes(64, 0), /*flags=*/0xFF);
  TempDir dir;
  {
    VolumeBuilder v(dir.File("a.oxa"), MinVolumeSize);
    v.AddRun(0, 5, 0, 1);
    auto bytes = ReadFileBytes(v.Path());
    bytes.resize(32 + 5 * 32);
    keep("volume-ring0-holds-entries.bin", bytes);
  }
  {
    VolumeBuilder v(dir.File("b.oxa"), MinVolumeSize);
    v.AddRun(0, 3, 0, 1);
    v.AddRun(1, 3, 10, 1);  // ring 1 newer: it becomes current
    auto bytes = ReadFileBytes(v.Path());
    bytes.resize(32 + 3 * 32);  // ring 1's slots mirror these in the target
    keep("volume-both-rings.bin", bytes);
  }
  {
    VolumeBuilder v(dir.File("c.oxa"), MinVolumeSize);
    v.AddRun(0, 3, 0, 1);
    v.Header().Ring0Tail += 8;
    v.WriteHeader();
    auto bytes = ReadFileBytes(v.Path());
    bytes.resize(32 + 4 * 32);
    keep("damaged-pointer-off-slot.bin", bytes);
  }
}

}  // namespace seeds
