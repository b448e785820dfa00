// Files written under a temporary name in the folder of their real name, which they take only
// when they are finished, in one step that replaces whatever was at the name: a link there is
// replaced, never followed. A program that ends early loses no earlier file of that name.
#pragma once

#include "os/errors.hpp"
#include "os/files.hpp"

namespace os {

// The places for staged files, numbered by the caller (the converter uses its unit numbers).
inline constexpr int kStagedFiles = 100;

// Creates the temporary file for `name` (not ending in a folder separator), and returns its
// handle for writing. The place is registered before the file exists, so that a discard at
// any moment removes it. An earlier regular file at the name itself (not a link) passes on its
// permissions and, where the system allows, its owner; anything else gives the permissions of
// a new file of this user. A name that another place stages is refused (kBusy), before
// anything is created. A place already staged is discarded first.
Error stage_file(int place, const char* name, FileHandle& file);

bool is_staged(int place);

// Gives the file of the place its real name; the handle stays open. The file stays staged
// after a refusal.
Error commit_staged_file(int place);

// Removes the temporary file of the place (its handle is the caller's to close); nothing when
// none is staged.
void discard_staged_file(int place);

// Removes every temporary file; safe at a termination (it calls nothing a signal may not).
void discard_all_staged_files();

}  // namespace os
