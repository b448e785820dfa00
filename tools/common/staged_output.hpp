// The tools' outputs: each written under a temporary name (os/staged_files.hpp) and given its
// name only when complete; never onto an input, never two outputs of one run onto one file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/files.hpp"

namespace tools {

// Remembers an input file by its identity, whatever name or link reaches it, so that no
// output can replace it. Every input of the run is remembered.
void protect_input(const std::string& path);

// Whether the path reaches a protected input file.
bool reaches_input(const std::string& path);

// Forgets every protected input: for tests and harnesses that run many times in one process,
// where a removed input's identity may come back as another file's.
void forget_protected_inputs();

// Why the outputs of one run (empty names passed over) may not be written, or empty: one
// reaches an input (called `input` in the text, "the ZADAZA file"), or one is the file an
// earlier one is (the same name, or the same file by a link or a hard link).
std::string refused_outputs(const std::vector<std::string>& outputs, std::string_view input);

// One output being written: staged at its creation, named at commit(); the temporary file is
// removed when the object goes without a commit (a refusal, an exception). A device or a pipe
// at the name is written directly. One at a time.
class StagedOutput {
 public:
  explicit StagedOutput(const std::string& path);
  ~StagedOutput();
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  // Empty while all went well; otherwise why nothing was written.
  const std::string& refusal() const { return refusal_; }
  // Appends to the temporary file; false (with the refusal) when it is refused.
  bool write(std::string_view content);
  // Gives the file its name; false (with the refusal) when that is refused.
  bool commit();

 private:
  void close();
  void discard();
  std::string refusal_;
  os::FileHandle file_ = os::kNoFile;
  bool staged_ = false;
};

// Writes `content` as a staged file that then takes the name `path`. Returns an empty text on
// success, otherwise why nothing was written.
std::string write_output_file(const std::string& path, std::string_view content);

// The one output of a run staged before any input is read, so that a refused name costs no
// reading: why not ("cannot write 'PATH': ..." or why it reaches the input, called `input`), or
// empty.
std::string stage_output(std::optional<StagedOutput>& staged, const std::string& path,
                         std::string_view input);

// Writes `content` into the staged output and gives it its name `path`: why not, or empty.
std::string write_staged(StagedOutput& staged, const std::string& path, std::string_view content);

// Every ending signal (os/termination.hpp) removes the temporary file and ends the program as
// the signal would; a file grown past the size limit is then a refused write.
void discard_outputs_on_termination();

}  // namespace tools
