// Fuzz target of the RTF reader: any bytes must read without a crash, and what was read must
// survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  using namespace tolmex::shell;
  const RichDocument doc = ReadRtf(input);
  const RichDocument again = ReadRtf(WriteRtf(doc));
  if (!(again == doc)) std::abort();
  (void)DocumentFromFileData(input, CharFormat{});
  return 0;
}
