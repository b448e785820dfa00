#include "staged_output.hpp"

#include "os/files.hpp"
#include "os/staged_files.hpp"
#include "os/termination.hpp"

namespace tools {
namespace {

// One output is written at a time, in a place of the staged files no unit number uses.
constexpr int kOutputPlace = 0;

std::vector<os::FileIdentity> inputs;

os::FileIdentity identity_of(const std::string& path) {
  os::FileFacts facts;
  if (os::facts_of(path.c_str(), facts)) return {};
  return facts.identity;
}

// The folder of a name and the entry in it, the folder "." when the name has none.
struct Entry {
  std::string folder;
  std::string name;
};

Entry entry_of(const std::string& path) {
  std::size_t at = path.size();
  while (at > 0 && !os::is_folder_separator(path[at - 1])) --at;
  if (at == 0) return {".", path};
  return {at == 1 ? path.substr(0, 1) : path.substr(0, at - 1), path.substr(at)};
}

// Whether two output names reach one file: the same entry of the same folder (what a staged
// file replaces), or, where both exist, one file by links.
bool same_output(const std::string& a, const std::string& b) {
  if (a == b || identity_of(a).same_as(identity_of(b))) return true;
  const Entry ea = entry_of(a);
  const Entry eb = entry_of(b);
  return ea.name == eb.name && identity_of(ea.folder).same_as(identity_of(eb.folder));
}

void discard_and_end(int cause) {
  os::discard_all_staged_files();
  os::end_interrupted(cause);
}

}  // namespace

void protect_input(const std::string& path) { inputs.push_back(identity_of(path)); }

bool reaches_input(const std::string& path) {
  const os::FileIdentity output = identity_of(path);
  for (const os::FileIdentity& input : inputs) {
    if (input.same_as(output)) return true;
  }
  return false;
}

void forget_protected_inputs() { inputs.clear(); }

std::string refused_outputs(const std::vector<std::string>& outputs, std::string_view input) {
  for (std::size_t n = 0; n < outputs.size(); ++n) {
    const std::string& path = outputs[n];
    if (path.empty()) continue;
    if (reaches_input(path)) return "cannot write '" + path + "': it is " + std::string(input);
    for (std::size_t earlier = 0; earlier < n; ++earlier) {
      if (outputs[earlier].empty() || !same_output(outputs[earlier], path)) continue;
      return "cannot write '" + path + "': it is the file '" + outputs[earlier] +
             "', an output of this run too; give each output its own name";
    }
  }
  return {};
}

StagedOutput::StagedOutput(const std::string& path) {
  if (reaches_input(path)) {
    refusal_ = "it is an input of this run";
    return;
  }
  // A device or a pipe at the name is written directly, as the converter writes it: nothing
  // there can be replaced.
  os::FileFacts facts;
  if (!os::facts_of(path.c_str(), facts) && facts.kind == os::FileKind::Other) {
    if (const os::Error refused = os::open_for_writing(path.c_str(), true, false, file_)) {
      refusal_ = refused.text();
    }
    return;
  }
  if (const os::Error refused = os::stage_file(kOutputPlace, path.c_str(), file_)) {
    refusal_ = refused.text();
    return;
  }
  staged_ = true;
}

StagedOutput::~StagedOutput() { discard(); }

void StagedOutput::close() {
  if (file_ != os::kNoFile) os::close_file(file_);
  file_ = os::kNoFile;
}

void StagedOutput::discard() {
  close();
  if (staged_) os::discard_staged_file(kOutputPlace);
  staged_ = false;
}

bool StagedOutput::write(std::string_view content) {
  if (file_ == os::kNoFile) return false;
  if (const os::Error error = os::write_all(file_, content.data(), content.size())) {
    refusal_ = error.text();
    discard();
    return false;
  }
  return true;
}

bool StagedOutput::commit() {
  if (file_ == os::kNoFile) return false;
  close();
  if (!staged_) return true;
  if (const os::Error error = os::commit_staged_file(kOutputPlace)) {
    refusal_ = error.text();
    discard();
    return false;
  }
  staged_ = false;
  return true;
}

std::string write_output_file(const std::string& path, std::string_view content) {
  StagedOutput output(path);
  if (output.write(content)) output.commit();
  return output.refusal();
}

void discard_outputs_on_termination() { os::on_termination(discard_and_end); }

std::string stage_output(std::optional<StagedOutput>& staged, const std::string& path,
                         std::string_view input) {
  if (std::string refused = refused_outputs({path}, input); !refused.empty()) return refused;
  staged.emplace(path);
  if (staged->refusal().empty()) return {};
  return "cannot write '" + path + "': " + staged->refusal();
}

std::string write_staged(StagedOutput& staged, const std::string& path, std::string_view content) {
  if (staged.write(content) && staged.commit()) return {};
  return "cannot write '" + path + "': " + staged.refusal();
}

}  // namespace tools
