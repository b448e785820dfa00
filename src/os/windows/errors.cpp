#include <utility>

#include "os/windows/system.hpp"

namespace os {
namespace {

constexpr std::pair<DWORD, int> kNumbers[] = {
    {ERROR_FILE_NOT_FOUND, kNoSuchFile},        {ERROR_PATH_NOT_FOUND, kNoSuchFile},
    {ERROR_INVALID_DRIVE, kNoSuchFile},         {ERROR_BAD_NETPATH, kNoSuchFile},
    {ERROR_BAD_PATHNAME, kNoSuchFile},          {ERROR_TOO_MANY_OPEN_FILES, kTooManyOpenFiles},
    {ERROR_ACCESS_DENIED, kAccessDenied},       {ERROR_INVALID_HANDLE, kBadFile},
    {ERROR_NOT_ENOUGH_MEMORY, kNoMemory},       {ERROR_OUTOFMEMORY, kNoMemory},
    {ERROR_WRITE_PROTECT, kReadOnlyFileSystem}, {ERROR_SHARING_VIOLATION, kBusy},
    {ERROR_LOCK_VIOLATION, kBusy},              {ERROR_HANDLE_DISK_FULL, kNoSpace},
    {ERROR_DISK_FULL, kNoSpace},                {ERROR_FILE_EXISTS, kExists},
    {ERROR_ALREADY_EXISTS, kExists},            {ERROR_INVALID_PARAMETER, kInvalidArgument},
    {ERROR_INVALID_NAME, kInvalidArgument},     {ERROR_BROKEN_PIPE, kBrokenPipe},
    {ERROR_NO_DATA, kBrokenPipe},               {ERROR_DIRECTORY, kNotAFolder},
    {ERROR_FILENAME_EXCED_RANGE, kNameTooLong}, {ERROR_DIR_NOT_EMPTY, kFolderNotEmpty},
    {ERROR_NOT_SAME_DEVICE, kCrossDevice},      {ERROR_CANT_RESOLVE_FILENAME, kTooManyLinks},
    {ERROR_FILE_TOO_LARGE, kFileTooLarge},      {ERROR_CRC, kInputOutputError},
};

// The words Linux gives the same numbers, so that a refusal reads the same on both systems.
constexpr std::pair<int, std::string_view> kTexts[] = {
    {kNotPermitted, "Operation not permitted"},
    {kNoSuchFile, "No such file or directory"},
    {kInputOutputError, "Input/output error"},
    {kBadFile, "Bad file descriptor"},
    {kNoMemory, "Cannot allocate memory"},
    {kAccessDenied, "Permission denied"},
    {kBusy, "Device or resource busy"},
    {kExists, "File exists"},
    {kCrossDevice, "Invalid cross-device link"},
    {kNotAFolder, "Not a directory"},
    {kIsAFolder, "Is a directory"},
    {kInvalidArgument, "Invalid argument"},
    {kTooManyOpenFiles, "Too many open files"},
    {kTextFileBusy, "Text file busy"},
    {kFileTooLarge, "File too large"},
    {kNoSpace, "No space left on device"},
    {kReadOnlyFileSystem, "Read-only file system"},
    {kBrokenPipe, "Broken pipe"},
    {kNameTooLong, "File name too long"},
    {kFolderNotEmpty, "Directory not empty"},
    {kTooManyLinks, "Too many levels of symbolic links"},
};

}  // namespace

std::string_view describe(int error) {
  for (const auto& [number, text] : kTexts) {
    if (number == error) return text;
  }
  return error == 0 ? "Success" : "Unknown error";
}

namespace windows {

int from_windows_error(DWORD error) {
  for (const auto& [native, ours] : kNumbers) {
    if (native == error) return ours;
  }
  return kInputOutputError;
}

}  // namespace windows
}  // namespace os
