#pragma once
// Files hold Windows-1252 bytes; JSON and the UI want UTF-8.
#include <string>
#include <string_view>

namespace vorna {
std::string cp1252ToUtf8(std::string_view bytes);
} // namespace vorna
