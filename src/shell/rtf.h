#pragma once
// Our own RTF writer and reader. The writer produces RTF 1.x that word processors open with
// its layout (fonts, sizes, bold, italic, underline, colour, alignment, bullets; text outside
// ASCII as \u escapes). The reader takes the same features from any RTF file and ignores
// the rest; it never fails on malformed input, it keeps what it could read.
#include <string>
#include <string_view>

#include "shell/rich_text.h"

namespace tolmex::shell {

std::string WriteRtf(const RichDocument& doc);
RichDocument ReadRtf(std::string_view rtf);

// True when the data starts as an RTF document ("{\rtf", after an optional UTF-8 byte-order
// mark and blanks).
bool LooksLikeRtf(std::string_view data);

// A file's contents as a document: RTF when it looks like RTF, otherwise plain text (UTF-8
// when valid, else read as Windows-1252) in `plainFormat`.
RichDocument DocumentFromFileData(std::string_view data, const CharFormat& plainFormat);

}  // namespace tolmex::shell
