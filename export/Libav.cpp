#include "export/Libav.h"

#include <dlfcn.h>

namespace {

struct Loaded {
  LibavFunctions functions{};
  std::string error;
  bool ok = false;
};

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

Loaded Load() {
  Loaded loaded;
  const std::string name = "libavformat.so." + std::to_string(LIBAVFORMAT_VERSION_MAJOR);
  // Never closed: the functions are used until the program ends.
  void* library = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    loaded.error = ::dlerror();
    return loaded;
  }
  LibavFunctions& f = loaded.functions;
  // libavcodec's and libavutil's functions are found through libavformat,
  // which needs both.
  loaded.ok =
      Resolve(library, "avformat_alloc_output_context2", f.avformat_alloc_output_context2) &&
      Resolve(library, "avformat_free_context", f.avformat_free_context) &&
      Resolve(library, "avformat_new_stream", f.avformat_new_stream) &&
      Resolve(library, "avformat_write_header", f.avformat_write_header) &&
      Resolve(library, "av_write_frame", f.av_write_frame) &&
      Resolve(library, "av_write_trailer", f.av_write_trailer) &&
      Resolve(library, "avio_open", f.avio_open) &&
      Resolve(library, "avio_closep", f.avio_closep) &&
      Resolve(library, "av_packet_alloc", f.av_packet_alloc) &&
      Resolve(library, "av_packet_free", f.av_packet_free) &&
      Resolve(library, "av_dict_set", f.av_dict_set) &&
      Resolve(library, "av_rescale_q", f.av_rescale_q) &&
      Resolve(library, "av_log_set_level", f.av_log_set_level);
  if (!loaded.ok) loaded.error = name + ": " + ::dlerror();
  return loaded;
}

}  // namespace

const LibavFunctions* Libav(std::string* error) {
  static const Loaded loaded = Load();
  if (!loaded.ok && error) *error = loaded.error;
  return loaded.ok ? &loaded.functions : nullptr;
}
