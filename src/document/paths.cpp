#include "document/paths.h"

namespace {

size_t LastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

}  // namespace

std::string PathFolder(std::string_view path) {
  const size_t sep = LastSeparator(path);
  return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string PathBareName(std::string_view path) {
  const size_t sep = LastSeparator(path);
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string PathExtension(std::string_view path) {
  const std::string bare = PathBareName(path);
  const size_t dot = bare.rfind('.');
  return dot == std::string::npos ? std::string() : bare.substr(dot);
}

std::string PathBaseName(std::string_view path) {
  const std::string bare = PathBareName(path);
  const size_t dot = bare.rfind('.');
  return dot == std::string::npos ? bare : bare.substr(0, dot);
}
