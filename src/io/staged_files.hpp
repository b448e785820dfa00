// Files written under a temporary name in their own folder that take their real name only when
// the run has finished them, so that a run ending early loses no earlier file of that name.
//
// Used by the unit table (units.cpp); one staged file at most per unit number.
#pragma once

#include <sys/stat.h>

namespace io::staging {

// Creates the temporary file for `path` (NUL-terminated, not ending in '/') in the folder of
// `path`, and returns 0 with its descriptor, or the errno of the refusal (a missing folder, a
// folder that may not be written). A file `existing` at the name (null when there is none)
// gives the temporary file its permissions and owner. A name whose place another unit has
// staged is refused with kFileInUse, before anything is created.
int create(int unit, const char* path, const struct stat* existing, int& descriptor);

// Whether a file is staged on the unit.
bool is_staged(int unit);

// Gives the staged file of the unit its real name, replacing whatever was there (a symbolic
// link is replaced, not followed). Returns 0 or the errno of the refusal; the file stays
// staged after a refusal.
int commit(int unit);

// Removes the temporary file of the unit; nothing when none is staged.
void discard(int unit);

// Removes every temporary file; safe inside a signal handler.
void discard_all();

}  // namespace io::staging
