// The rich text reader on arbitrary bytes. What it reads must survive being
// saved: written and read again it keeps its text (less the control
// characters the writer leaves out), and a second save reads back the same.
#include <cstdlib>

#include "fuzz_support.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

using namespace tovuri;

namespace {

std::string WithoutControls(const std::string& text) {
  std::string kept;
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') kept += c;
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<RichDocument> read = ReadRtf(fuzz::AsText(data, size));
  if (!read) return 0;
  const std::optional<RichDocument> saved = ReadRtf(WriteRtf(*read));
  if (!saved) abort();
  if (saved->PlainText() != WithoutControls(read->PlainText())) abort();
  const std::optional<RichDocument> saved_again = ReadRtf(WriteRtf(*saved));
  if (!saved_again || *saved_again != *saved) abort();
  return 0;
}
