#include "decode/DecoderErrorManager.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* const kDecoderMessages[] = {
    "Frame dimensions %dx%d exceed the limit of %d pixels per side",
    "Frame of %dx%d pixels exceeds the limit of %d pixels per frame",
    "Scan number %d exceeds the limit of %d scans per frame",
    "Cannot allocate a %dx%d bitmap",
};
static_assert(sizeof(kDecoderMessages) / sizeof(kDecoderMessages[0]) ==
              kLastDecoderMessage - kFirstDecoderMessage + 1);

// Called by libjpeg for every message it shows: the first warning of a
// frame and its fatal error.
void OutputMessage(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<DecoderErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->last_message);
  if (manager->to_standard_error) std::fprintf(stderr, "%s\n", manager->last_message);
}

// Called by libjpeg on a fatal error. Writes the message (standard error)
// and leaves the library for good through the armed jump target.
[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<DecoderErrorManager*>(cinfo->err);
  (*cinfo->err->output_message)(cinfo);
  // Nothing to return to outside a decode (a library mismatch at creation):
  // returning into libjpeg is not allowed.
  if (!manager->armed) std::abort();
  std::longjmp(manager->jump, 1);
}

}  // namespace

jpeg_error_mgr* InitDecoderErrorManager(DecoderErrorManager* manager) {
  jpeg_std_error(&manager->pub);
  manager->pub.error_exit = ErrorExit;
  manager->pub.output_message = OutputMessage;
  manager->pub.addon_message_table = kDecoderMessages;
  manager->pub.first_addon_message = kFirstDecoderMessage;
  manager->pub.last_addon_message = kLastDecoderMessage;
  manager->armed = false;
  manager->to_standard_error = true;
  manager->last_message[0] = '\0';
  return &manager->pub;
}

void RaiseDecoderError(j_common_ptr cinfo, DecoderMessage code, int a, int b, int c) {
  cinfo->err->msg_code = code;
  cinfo->err->msg_parm.i[0] = a;
  cinfo->err->msg_parm.i[1] = b;
  cinfo->err->msg_parm.i[2] = c;
  (*cinfo->err->error_exit)(cinfo);
  std::abort();  // error_exit never returns
}
