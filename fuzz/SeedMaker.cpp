// fuzz_make_seeds SEEDS-FOLDER: writes SEEDS-FOLDER/{reader,writer,decoder,layout}.
// Crashers found by `make fuzz` are kept in SEEDS-FOLDER/crashers by hand
// or by fuzz/run-fuzzers.sh, never by this program.
#include <cstdio>
#include <filesystem>

#include "fuzz/FuzzSupport.h"
#include "fuzz/SeedMaker.h"
#include "tests/decode/TestJpeg.h"

namespace seeds {

void Keep(const std::string& folder, const std::string& name, const Bytes& bytes) {
  std::filesystem::create_directories(folder);
  fuzz::WriteScratchFile(folder + "/" + name, bytes);
}

void MakeDecoderSeeds(const std::string& folder) {
  struct Kind {
    const char* name;
    EncodeOptions options;
  };
  auto with = [](auto change) {
    EncodeOptions o;
    o.width = 24;
    o.height = 16;
    change(o);
    return o;
  };
  const Kind kinds[] = {
      {"baseline-420.jpg", with([](EncodeOptions&) {})},
      {"baseline-422.jpg", with([](EncodeOptions& o) { o.subsampling = Subsampling::k422; })},
      {"baseline-444.jpg", with([](EncodeOptions& o) { o.subsampling = Subsampling::k444; })},
      {"gray.jpg", with([](EncodeOptions& o) { o.components = 1; })},
      {"progressive.jpg", with([](EncodeOptions& o) { o.progressive = true; })},
      {"restart-markers.jpg", with([](EncodeOptions& o) { o.restart_rows = 1; })},
      {"arithmetic.jpg", with([](EncodeOptions& o) { o.arithmetic = true; })},
      {"odd-7x5.jpg", with([](EncodeOptions& o) { o.width = 7, o.height = 5; })},
      {"cmyk.jpg", with([](EncodeOptions& o) { o.components = 4; })},
      {"ycck.jpg", with([](EncodeOptions& o) { o.components = 4, o.stored_as = StoredAs::kYcck; })},
      {"rgb-adobe.jpg", with([](EncodeOptions& o) { o.stored_as = StoredAs::kRgbAdobe; })},
      {"rgb-component-ids.jpg",
       with([](EncodeOptions& o) { o.stored_as = StoredAs::kRgbComponentIds; })},
  };
  for (const Kind& k : kinds) Keep(folder, k.name, EncodeSynthetic(k.options));
  Keep(folder, "tables-only.jpg", EncodeTablesOnly());
  Bytes cut = EncodeSynthetic(with([](EncodeOptions&) {}));
  cut.resize(cut.size() / 2);
  Keep(folder, "cut-in-entropy-data.jpg", cut);
  Keep(folder, "not-a-jpeg.bin", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0});
}

}  // namespace seeds

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds SEEDS-FOLDER\n");
    return 2;
  }
  const std::string root = argv[1];
  seeds::MakeReaderSeeds(root + "/reader");
  seeds::MakeWriterSeeds(root + "/writer");
  seeds::MakeDecoderSeeds(root + "/decoder");
  seeds::MakeLayoutSeeds(root + "/layout");
  return 0;
}
