#include <cerrno>
#include <cstring>
#include <utility>

#include "os/unix/system.hpp"

namespace os {
namespace {

// errno values and the layer's numbers; on Linux each pair is one number twice.
constexpr std::pair<int, int> kNumbers[] = {
    {EPERM, kNotPermitted},   {ENOENT, kNoSuchFile},       {EIO, kInputOutputError},
    {EBADF, kBadFile},        {ENOMEM, kNoMemory},         {EACCES, kAccessDenied},
    {EBUSY, kBusy},           {EEXIST, kExists},           {EXDEV, kCrossDevice},
    {ENOTDIR, kNotAFolder},   {EISDIR, kIsAFolder},        {EINVAL, kInvalidArgument},
    {EMFILE, kTooManyOpenFiles}, {ETXTBSY, kTextFileBusy}, {EFBIG, kFileTooLarge},
    {ENOSPC, kNoSpace},       {EROFS, kReadOnlyFileSystem}, {EPIPE, kBrokenPipe},
    {ENAMETOOLONG, kNameTooLong}, {ENOTEMPTY, kFolderNotEmpty}, {ELOOP, kTooManyLinks}};

int to_errno(int number) {
  for (const auto& [native, ours] : kNumbers) {
    if (ours == number) return native;
  }
  return number;
}

}  // namespace

std::string_view describe(int error) { return std::strerror(to_errno(error)); }

namespace posix {

int from_errno(int error) {
  for (const auto& [native, ours] : kNumbers) {
    if (native == error) return ours;
  }
  return error;
}

}  // namespace posix
}  // namespace os
