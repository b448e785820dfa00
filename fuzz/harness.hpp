// What every fuzz target shares: catching the program's deliberate ends on an input/output
// failure, standard input fed from the fuzzer's bytes, and a scratch folder to work in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fuzz {

// Once per process: fail_io throws back into run_catching instead of ending the process,
// standard output goes to /dev/null, standard input is an in-memory file and the working
// folder is a fresh one under /tmp, removed at exit (paths given to the fuzzer must be
// absolute).
void set_up_harness();

// Makes `bytes` the whole of standard input, read from its start.
void feed_standard_input(std::string_view bytes);

// Writes `bytes` as the file `name` in the working folder, replacing it.
void write_scratch_file(const char* name, std::string_view bytes);

// Runs `body` and returns the exit status an input/output failure inside it would have
// ended the program with, or -1 when it returned normally. Afterwards every unit is closed,
// the console input forgotten and the console output written out, as at a fresh start.
int run_catching(void (*body)());

}  // namespace fuzz
