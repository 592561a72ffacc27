#pragma once
// FFmpeg's libavformat, loaded the first time a video file is made. Linked
// in, it and its codecs would load some 150 libraries at every start of
// orxtool (30 ms, five times its start without them), for the one command
// of the many that makes videos.

extern "C" {
#include <libavformat/avformat.h>
}

#include <string>

struct LibavFunctions {
  decltype(&::avformat_alloc_output_context2) avformat_alloc_output_context2;
  decltype(&::avformat_free_context) avformat_free_context;
  decltype(&::avformat_new_stream) avformat_new_stream;
  decltype(&::avformat_write_header) avformat_write_header;
  decltype(&::av_write_frame) av_write_frame;
  decltype(&::av_write_trailer) av_write_trailer;
  decltype(&::avio_open) avio_open;
  decltype(&::avio_closep) avio_closep;
  decltype(&::av_packet_alloc) av_packet_alloc;
  decltype(&::av_packet_free) av_packet_free;
  decltype(&::av_dict_set) av_dict_set;
  decltype(&::av_rescale_q) av_rescale_q;
  decltype(&::av_log_set_level) av_log_set_level;
};

// The functions of the libavformat this program was built against (the
// same major version); null when it cannot be loaded, with why in error.
const LibavFunctions* Libav(std::string* error = nullptr);
