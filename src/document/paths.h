// Paths as drawings record them: written on any system, so the folder part
// ends at the last '/' or '\'. (Paths of this machine's own files are
// handled with Qt or std::filesystem.)
#pragma once

#include <string>
#include <string_view>

// Folder part with its trailing separator; empty when there is none.
std::string PathFolder(std::string_view path);
// The name without its folder part.
std::string PathBareName(std::string_view path);
// The bare name's extension from its last dot on ("" when it has no dot).
std::string PathExtension(std::string_view path);
// The bare name without its extension.
std::string PathBaseName(std::string_view path);
