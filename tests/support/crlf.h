// Drawing-file text for tests: the lines joined with CR LF, each ended by it.
#pragma once

#include <string>
#include <vector>

inline std::string Crlf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}
