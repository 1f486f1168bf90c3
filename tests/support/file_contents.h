#pragma once

#include <filesystem>
#include <string>

namespace quorvel::testing {

// A file's bytes, or nothing when it cannot be read.
std::string readFile(const std::filesystem::path& path);
// Writes the bytes as they are, making the folders on the way.
void writeFile(const std::filesystem::path& path, const std::string& bytes);

} // namespace quorvel::testing
