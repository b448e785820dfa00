// Writing the page and the tables: never into the ZADAZA file, and never a half-written file.
#pragma once

#include <string>
#include <string_view>

namespace view {

// Remembers the ZADAZA file (by identity, whatever name reaches it) so that no output can
// replace it.
void protect_zadaza_file(const std::string& path);

// Whether the path reaches the ZADAZA file.
bool is_zadaza_file(const std::string& path);

// Writes `content` as a staged file (os/staged_files.hpp) that then takes the name `path`.
// Returns an empty text on success, otherwise why nothing was written.
std::string write_output_file(const std::string& path, std::string_view content);

// Makes the folder and its parents when missing; returns why not, or an empty text.
std::string make_folder(const std::string& path);

}  // namespace view
