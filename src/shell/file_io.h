#pragma once
// Whole-file reads and atomic writes. Errors are thrown as std::runtime_error with a
// Portuguese message naming the file.
#include <string>
#include <string_view>

namespace tolmex::shell {

// The file's bytes.
std::string ReadWholeFile(const std::string& path);

// Writes `data` to a temporary file in the folder of `path`, flushes it to disk and renames
// it over `path`. On any failure the old file is left as it was and the temporary removed.
void WriteFileAtomic(const std::string& path, std::string_view data);

}  // namespace tolmex::shell
