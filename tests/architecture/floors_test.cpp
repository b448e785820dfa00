// The shape of the house, read from the sources: every folder includes only its own floor or
// the floors below it, no two folders include each other round a cycle, and only the run
// sequence writes the run's status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource{ZZ_SOURCE_DIR};

// Floors from the ground up; the tools stand on top of everything.
const std::map<std::string, int> kFloors{{"src/os", 0},      {"src/format", 1}, {"src/io", 2},
                                         {"src/zadaza", 3},  {"src/convert", 4}, {"src/app", 5}};
constexpr int kToolFloor = 6;
const std::string kPlatformLayer = "src/os";

struct Include {
  fs::path file;
  std::string folder;  // the folder of the including file, e.g. "src/zadaza"
  std::string target;  // the folder of the included header
};

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<fs::path> code_files(const fs::path& root) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const auto extension = entry.path().extension();
    if (extension == ".cpp" || extension == ".hpp") files.push_back(entry.path());
  }
  return files;
}

std::string folder_of(const fs::path& file) {
  return fs::relative(file.parent_path(), kSource).generic_string();
}

// A header named from src/ ("io/units.hpp"), from tools/ ("zadaza_make/x.hpp"), or next to
// the file that includes it ("x.hpp").
std::optional<std::string> target_folder(const fs::path& file, const std::string& header) {
  if (fs::exists(file.parent_path() / header)) return folder_of(file);
  for (const char* root : {"src", "tools"}) {
    const fs::path candidate = kSource / root / header;
    if (fs::exists(candidate)) return folder_of(candidate);
  }
  return std::nullopt;
}

std::vector<Include> project_includes() {
  static const std::regex kInclude{R"re(^\s*#\s*include\s*"([^"]+)")re"};
  std::vector<Include> includes;
  for (const char* root : {"src", "tools"}) {
    for (const fs::path& file : code_files(kSource / root)) {
      std::ifstream in(file);
      std::smatch match;
      for (std::string line; std::getline(in, line);) {
        if (!std::regex_search(line, match, kInclude)) continue;
        const std::string header = match[1];
        const auto target = target_folder(file, header);
        EXPECT_TRUE(target.has_value()) << file << " includes an unknown \"" << header << '"';
        if (target) includes.push_back({file, folder_of(file), *target});
      }
    }
  }
  return includes;
}

std::optional<int> floor_of(const std::string& folder) {
  if (folder.rfind("tools/", 0) == 0) return kToolFloor;
  // The platform layer's interface and its implementation for each system.
  if (folder.rfind(kPlatformLayer + "/", 0) == 0) return kFloors.at(kPlatformLayer);
  const auto it = kFloors.find(folder);
  if (it == kFloors.end()) return std::nullopt;
  return it->second;
}

// Whether `to` can be reached from `from` through at least one edge.
bool reaches(const std::map<std::string, std::set<std::string>>& edges, const std::string& from,
             const std::string& to) {
  std::set<std::string> seen;
  std::vector<std::string> open{from};
  while (!open.empty()) {
    const std::string at = open.back();
    open.pop_back();
    const auto it = edges.find(at);
    if (it == edges.end()) continue;
    for (const std::string& next : it->second) {
      if (next == to) return true;
      if (seen.insert(next).second) open.push_back(next);
    }
  }
  return false;
}

TEST(Floors, NoIncludeRunsUpAFloor) {
  const std::vector<Include> includes = project_includes();
  ASSERT_GT(includes.size(), 50U);
  for (const Include& include : includes) {
    const auto from = floor_of(include.folder);
    const auto to = floor_of(include.target);
    ASSERT_TRUE(from.has_value()) << include.folder << " has no floor";
    ASSERT_TRUE(to.has_value()) << include.target << " has no floor";
    EXPECT_LE(*to, *from) << include.file << " includes from " << include.target;
    if (*from != kToolFloor) {
      EXPECT_NE(*to, kToolFloor) << include.file << " includes a tool";
    }
  }
}

TEST(Floors, NoCycleBetweenFolders) {
  std::map<std::string, std::set<std::string>> edges;
  for (const Include& include : project_includes()) {
    if (include.folder != include.target) edges[include.folder].insert(include.target);
  }
  for (const auto& [folder, targets] : edges) {
    EXPECT_FALSE(reaches(edges, folder, folder)) << folder << " includes itself round a cycle";
  }
}

// The operating system is reached only through the platform layer: nothing else includes a
// system header or asks which system it is built for.
TEST(Floors, OnlyThePlatformLayerTouchesTheSystem) {
  static const std::regex kSystemHeader{
      R"re(^\s*#\s*include\s*<((unistd|fcntl|signal|windows|io|direct|dirent)\.h|(sys|win)/.*|csignal)>)re"};
  static const std::regex kSystemTest{R"(\b(_WIN32|__linux__|__unix__)\b)"};
  for (const char* root : {"src", "tools", "fuzz", "bench"}) {
    const bool product = std::string(root) == "src" || std::string(root) == "tools";
    for (const fs::path& file : code_files(kSource / root)) {
      if (folder_of(file).rfind(kPlatformLayer, 0) == 0) continue;
      std::ifstream in(file);
      for (std::string line; std::getline(in, line);) {
        EXPECT_FALSE(product && std::regex_search(line, kSystemHeader))
            << file << ": " << line << " outside " << kPlatformLayer;
        EXPECT_FALSE(std::regex_search(line, kSystemTest))
            << file << ": " << line << " outside " << kPlatformLayer;
      }
    }
  }
}

// The code of a file without its comments and string literals, so that a name mentioned in
// prose does not count.
std::string code_only(const std::string& text) {
  static const std::regex kNoise{R"re(//[^\n]*|/\*[\s\S]*?\*/|"(\\.|[^"\\\n])*")re"};
  return std::regex_replace(text, kNoise, " ");
}

TEST(RunStatus, OnlyTheRunSequenceWritesIt) {
  static const std::regex kName{R"(\bRUN_STATUS\b)"};
  static const std::regex kWrite{R"(\bRUN_STATUS\s*(=[^=]|\+=|-=|\+\+|--))"};
  std::vector<std::string> naming;
  int writes = 0;
  for (const char* root : {"src", "tools"}) {
    for (const fs::path& file : code_files(kSource / root)) {
      static const std::regex kDefinition{R"(\bint32_t\s+RUN_STATUS\s*=)"};
      // The harnesses' reset puts the storage back as at start; it combines no outcome.
      static const std::regex kReset{R"(void reset_run_storage\(\) \{[\s\S]*?\n\})"};
      const std::string code = std::regex_replace(
          std::regex_replace(code_only(read_text(file)), kDefinition, "int32_t RUN_STATUS "),
          kReset, " ");
      if (!std::regex_search(code, kName)) continue;
      naming.push_back(fs::relative(file, kSource).generic_string());
      writes += static_cast<int>(std::distance(
          std::sregex_iterator(code.begin(), code.end(), kWrite), std::sregex_iterator()));
    }
  }
  EXPECT_EQ(naming, std::vector<std::string>{"src/app/run.cpp"});
  EXPECT_EQ(writes, 1) << "one place combines the outcomes";
}

TEST(Tests, EveryTestFolderMirrorsASourceFolder) {
  for (const auto& entry : fs::directory_iterator(kSource / "tests")) {
    if (!entry.is_directory()) continue;
    const std::string name = entry.path().filename().string();
    if (name == "support" || name == "architecture") continue;
    const bool mirrors =
        fs::is_directory(kSource / "src" / name) || fs::is_directory(kSource / "tools" / name);
    EXPECT_TRUE(mirrors) << "tests/" << name << " has no folder it tests";
  }
}

}  // namespace
