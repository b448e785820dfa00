// What a new user meets first: the help, the man pages, the guide's and README's commands run
// as written, and an install that gives working programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::TempDir;
using test_support::write_file;

std::string quoted(const fs::path& path) {
  std::string text = "'";
  text += path.string();
  text += "'";
  return text;
}

struct Shell {
  int exit_status = -1;
  std::string out;
};

// Runs the shell command with standard output and error captured together.
Shell shell(const std::string& command) {
  const test_support::ProgramRun run = test_support::run_program({{"sh", "-c", "(" + command + ") 2>&1"}});
  return {run.exited ? run.exit_status : -1, run.console};
}

std::string help_of(const std::string& program, const char* option) {
  return test_support::run_program({{program, option}}).console;
}

// Every option a help text names: -x and --word at the start of a word.
std::set<std::string> options_in(const std::string& help) {
  std::set<std::string> options;
  const std::regex option("(^|[\\s,|\\[])(--?[a-z][a-z-]*)");
  for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it) {
    options.insert((*it)[2]);
  }
  return options;
}

// A roff page as it reads: "\-" is a hyphen.
std::string page_text(const fs::path& page) {
  return std::regex_replace(read_file(page), std::regex("\\\\-"), "-");
}

// The options a man page describes: those of each tag line after ".TP".
std::set<std::string> described_options(const std::string& page) {
  std::set<std::string> options;
  std::istringstream lines(page);
  bool tag_line = false;
  for (std::string line; std::getline(lines, line);) {
    if (tag_line) options.merge(options_in(line));
    tag_line = line == ".TP";
  }
  return options;
}

TEST(Documentation, EveryHelpOptionIsInTheManPageAndTheGuide) {
  const fs::path source = ZZ_SOURCE_DIR;
  const std::string guide = read_file(source / "docs/guide.md");
  const struct {
    const char* program;
    const char* page;
    bool in_guide;
    std::size_t least_options;
  } programs[] = {{ZZ_CONVERTER, "man/zadaza2krano.1", true, 8},
                  {ZZ_MAKE_TOOL, "man/zadaza-make.1", false, 8},
                  {ZZ_VIEW_TOOL, "man/zadaza-view.1", true, 7}};
  for (const auto& p : programs) {
    const std::string help = help_of(p.program, "--help");
    const std::string page = page_text(source / p.page);
    const std::set<std::string> options = options_in(help);
    EXPECT_GE(options.size(), p.least_options) << help;
    // An option the page describes and the help leaves out is one the parser does not know.
    for (const std::string& option : described_options(page)) {
      EXPECT_TRUE(options.contains(option)) << option << " of " << p.page << " missing in the help";
    }
    for (const std::string& option : options) {
      EXPECT_NE(page.find(option), std::string::npos) << option << " missing in " << p.page;
      if (p.in_guide) {
        EXPECT_NE(guide.find(option), std::string::npos) << option << " missing in the guide";
      }
    }
  }
  const std::string version = help_of(ZZ_CONVERTER, "--version");
  const std::size_t number_at = version.find(' ') + 1;
  const std::string number =
      version.substr(number_at, version.find_first_of(" \r", number_at) - number_at);
  for (const char* page : {"man/zadaza2krano.1", "man/zadaza-make.1", "man/zadaza-view.1"}) {
    EXPECT_NE(read_file(source / page).find("\"zadaza2krano " + number + "\""), std::string::npos)
        << page << " does not carry version " << number;
  }
  EXPECT_NE(read_file(source / "CHANGELOG.md").find("## " + number), std::string::npos);
}

// The three programs answer --help, --version and a bad command line in one shape: the help
// from usage lines to exit statuses, "NAME VERSION", and a refusal on one line that points to
// the help, with status 2 and nothing on standard output.
// Where a help text leaves the one shape, or nothing: the usage lines ending with
// "NAME --help | --version", a blank line and the text, "Options:" after a blank line with
// -h/--help and --version among them, "Exit status:" after a blank line with the statuses,
// every line ending CR LF. Read line by line: a regex over the whole text recurses once a
// line, deeper than a Windows stack allows for the longest help.
std::string help_shape_fault(const std::string& help, const std::string& name) {
  if (!help.ends_with("\r\n")) return "the last line does not end in CR LF";
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < help.size();) {
    const std::size_t end = help.find("\r\n", at);
    lines.push_back(help.substr(at, end - at));
    at = end + 2;
  }
  const auto index_of = [&lines](std::size_t from, const auto& is_it) {
    for (std::size_t i = from; i < lines.size(); ++i) {
      if (is_it(lines[i])) return i;
    }
    return lines.size();
  };
  const auto line_is = [](const std::string& wanted) {
    return [wanted](const std::string& line) { return line == wanted; };
  };
  if (!(lines[0] == "usage: " + name || lines[0].starts_with("usage: " + name + " "))) {
    return "the first line is not the usage";
  }
  const std::size_t last_usage = index_of(0, line_is("       " + name + " --help | --version"));
  if (last_usage + 2 >= lines.size() || !lines[last_usage + 1].empty() ||
      lines[last_usage + 2].empty()) {
    return "the usage lines do not end with --help | --version, a blank line and the text";
  }
  const std::size_t options = index_of(last_usage, line_is("Options:"));
  if (options == lines.size() || !lines[options - 1].empty()) return "no Options: section";
  const std::regex help_line("  -h, --help +show this help and exit");
  const std::regex version_line("  --version +show the program name and version and exit");
  const std::size_t h = index_of(options, [&help_line](const std::string& line) {
    return std::regex_match(line, help_line);
  });
  if (h + 1 >= lines.size() || !std::regex_match(lines[h + 1], version_line)) {
    return "the options lack -h, --help and --version after it";
  }
  const std::size_t statuses = index_of(h, line_is("Exit status:"));
  if (statuses + 1 >= lines.size() || !lines[statuses - 1].empty() ||
      !lines[statuses + 1].starts_with("  0  ")) {
    return "no Exit status: section after the options";
  }
  return "";
}

TEST(CommandLines, HelpVersionAndRefusalsHaveOneShapeInTheThreePrograms) {
  const struct {
    const char* program;
    const char* name;
  } programs[] = {{ZZ_CONVERTER, "zadaza2krano"},
                  {ZZ_MAKE_TOOL, "zadaza-make"},
                  {ZZ_VIEW_TOOL, "zadaza-view"}};
  const struct {
    std::vector<std::string> arguments;
    const char* refusal;  // after "NAME: ", before "; NAME --help lists the options"
  } refusals[] = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--old", "--old"}, "option given twice '--old'; give each option once"},
      {{"--old=1"}, "no value allowed for option '--old=1'; --old takes no value"},
  };
  const std::string version = help_of(ZZ_CONVERTER, "--version");
  const std::string number = version.substr(version.find(' '), version.find(" (") - version.find(' '));
  for (const auto& p : programs) {
    const std::string name = p.name;
    const std::string help = help_of(p.program, "--help");
    EXPECT_EQ(help_shape_fault(help, name), "") << help;
    const std::string shown_version = help_of(p.program, "--version");
    EXPECT_TRUE(std::regex_match(shown_version, std::regex(name + number + "( \\(.*\\))?\r\n")))
        << shown_version;
    for (const auto& r : refusals) {
      std::vector<std::string> command{p.program};
      command.insert(command.end(), r.arguments.begin(), r.arguments.end());
      const test_support::ProgramRun run = test_support::run_program({command});
      EXPECT_EQ(run.exit_status, 2) << name;
      EXPECT_EQ(run.console, "") << name;
      EXPECT_EQ(run.errors, name + ": " + r.refusal + "; " + name + " --help lists the options\n");
    }
  }
}

// What a Markdown file tells a reader to run from the repository root: the lines of its sh
// blocks (the set-up commands left out: they are what runs this), then each inline command
// into the build, `build/...` with arguments. An inline `build/...` of one word names a
// program, file or folder the reader should find there.
struct Commands {
  std::string script;
  std::vector<std::string> build_names;
};

Commands commands_in(const fs::path& markdown) {
  std::istringstream in(read_file(markdown));
  Commands commands;
  std::string inline_commands;
  const std::regex into_the_build("`(build/[^`]*)`");
  bool in_block = false;
  for (std::string line; std::getline(in, line);) {
    if (!in_block && line == "```sh") {
      in_block = true;
    } else if (in_block && line == "```") {
      in_block = false;
    } else if (in_block && !line.starts_with("cmake --workflow")) {
      commands.script += line + "\n";
    } else if (!in_block) {
      for (auto it = std::sregex_iterator(line.begin(), line.end(), into_the_build);
           it != std::sregex_iterator(); ++it) {
        const std::string span = (*it)[1];
        if (span.find(' ') == std::string::npos) {
          commands.build_names.push_back(span);
        } else {
          inline_commands += span + "\n";
        }
      }
    }
  }
  commands.script += inline_commands;
  return commands;
}

// A repository root of its own: the sources, and a build folder whose entries are those of
// this build, so that files the commands write stay in the test's folder. The example's
// folder is a copy: the commands write beside its files, and the user's stay as the example
// made them.
void make_root(const fs::path& root) {
  for (const char* entry : {"examples", "docs", "man", "tools", "README.md", "CHANGELOG.md"}) {
    fs::create_symlink(fs::path(ZZ_SOURCE_DIR) / entry, root / entry);
  }
  fs::create_directories(root / "build");
  for (const auto& entry : fs::directory_iterator(ZZ_BINARY_DIR)) {
    const fs::path name = entry.path().filename();
    if (name == "example") {
      fs::copy(entry.path(), root / "build" / name, fs::copy_options::recursive);
    } else if (name != "trial") {
      fs::create_symlink(entry.path(), root / "build" / name);
    }
  }
  fs::create_directories(root / "home");
}

// What a folder holds, name by name, for comparing before and after.
std::map<std::string, std::string> contents_of(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    contents[fs::relative(entry.path(), folder).string()] =
        entry.is_regular_file() ? read_file(entry.path()) : "(folder)";
  }
  return contents;
}

TEST(Documentation, CommandsOfTheReadmeAndTheGuideRunAsWritten) {
  if (test_support::kOnWindows) GTEST_SKIP() << "the commands are for a POSIX shell and a Linux build";
  // The state after the two set-up commands: the example has run.
  ASSERT_EQ(shell("'" ZZ_CMAKE "' --build '" ZZ_BINARY_DIR "' --target run-example").exit_status, 0);
  const fs::path example = fs::path(ZZ_BINARY_DIR) / "example";
  const std::map<std::string, std::string> example_made = contents_of(example);
  for (const char* document : {"README.md", "docs/guide.md"}) {
    const Commands commands = commands_in(fs::path(ZZ_SOURCE_DIR) / document);
    const std::string& script = commands.script;
    ASSERT_NE(script, "") << document;
    const TempDir root;
    make_root(root.dir());
    for (const std::string& name : commands.build_names) {
      EXPECT_TRUE(fs::exists(root / name)) << document << " names " << name;
    }
    write_file(root / "commands.sh", "set -e\n" + script);
    const Shell run =
        shell("cd '" + root.dir() + "' && HOME='" + (root / "home").string() + "' sh commands.sh");
    EXPECT_EQ(run.exit_status, 0) << document << ":\n" << script << "\n---\n" << run.out;
  }
  EXPECT_EQ(contents_of(example), example_made) << "the example's folder is the user's";
}

TEST(Install, IntoATemporaryPrefixGivesWorkingProgramsAndWhatTheirHelpNames) {
  if (test_support::kOnWindows) GTEST_SKIP() << "installed by unpacking the ZIP, tested from the Linux build";
  const TempDir prefix;
  const fs::path p = prefix.dir();
  ASSERT_EQ(shell("'" ZZ_CMAKE "' --install '" ZZ_BINARY_DIR "' --prefix " + quoted(p)).exit_status, 0);
  for (const char* file : {"bin/zadaza2krano", "bin/zadaza-make", "bin/zadaza-view",
                           "share/man/man1/zadaza2krano.1.gz", "share/man/man1/zadaza-make.1.gz",
                           "share/man/man1/zadaza-view.1.gz", "share/doc/zadaza2krano/guide.md",
                           "share/doc/zadaza2krano/copyright",
                           "share/doc/zadaza2krano/CHANGELOG.md",
                           "share/doc/zadaza2krano/examples/answers-knf.txt"}) {
    EXPECT_TRUE(fs::exists(p / file)) << file;
  }
  const std::string make_help = shell(quoted(p / "bin/zadaza-make") + " --help").out;
  for (const char* named : {"share/doc/zadaza2krano/zadaza-make-format.md",
                            "share/doc/zadaza2krano/examples/"}) {
    EXPECT_NE(make_help.find(named), std::string::npos) << named;
    EXPECT_TRUE(fs::exists(p / named)) << named;
  }
  const std::string converted =
      "cd " + quoted(p) + " && bin/zadaza-make share/doc/zadaza2krano/examples/soil.txt"
      " soil.zdz && bin/zadaza2krano --mudline 0 --format knf soil.zdz && bin/zadaza-view soil.zdz";
  const Shell run = shell(converted);
  EXPECT_EQ(run.exit_status, 0) << run.out;
  EXPECT_NE(run.out.find("Conversion Completed"), std::string::npos) << run.out;
  EXPECT_GT(fs::file_size(p / "soil.zdz.fem"), 0u);
  EXPECT_GT(fs::file_size(p / "soil.zdz.html"), 0u);
  const std::string version = shell("'" ZZ_CONVERTER "' --version").out;
  EXPECT_EQ(shell(quoted(p / "bin/zadaza2krano") + " --version").out, version);
  const std::string number = version.substr(0, version.find(" ("));
  // One shape for the three: "PROGRAM VERSION", its line ended as the converter's lines are.
  for (const char* program : {"zadaza-make", "zadaza-view"}) {
    EXPECT_EQ(shell(quoted(p / "bin" / program) + " --version").out,
              std::string(program) + number.substr(number.find(' ')) + "\r\n");
  }
}

}  // namespace
