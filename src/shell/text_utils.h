#pragma once
// UTF-8 helpers: the program's texts are UTF-8 and its layouts count characters (code
// points), not bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace tolmex::shell {

// Number of code points.
std::size_t Utf8Length(std::string_view s);
// The first n code points.
std::string Utf8Left(std::string_view s, std::size_t n);
// Padded with spaces on the right / left to n code points (never cut).
std::string PadRight(std::string_view s, std::size_t n);
std::string PadLeft(std::string_view s, std::size_t n);
// True when the bytes are valid UTF-8.
bool IsValidUtf8(std::string_view s);
// Blanks and control characters removed at both ends.
std::string_view Trim(std::string_view s);

}  // namespace tolmex::shell
