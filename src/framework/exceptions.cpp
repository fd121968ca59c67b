#include "framework/exceptions.h"

#include <string.h>

#include <cerrno>

namespace framework {

std::string InOutErrorMessage(int code) {
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
    }
}

namespace {

// The code of the message table an errno value stands for; 0 when the table has no text for it.
int TableCode(int err) {
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS: return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return 101;
    default: return 0;
    }
}

}  // namespace

int InOutCodeFromErrno(int err) {
    const int code = TableCode(err);
    return code != 0 ? code : err;
}

EInOutError::EInOutError(int code) : Exception(InOutErrorMessage(code)), ErrorCode(code) {}

EInOutError::EInOutError(int code, const std::string& message) : Exception(message), ErrorCode(code) {}

EInOutError InOutErrorFromErrno(int err) {
    if (err == 0) err = EIO;
    const int code = TableCode(err);
    if (code != 0) return EInOutError(code);
    char buffer[256];
    return EInOutError(err, ::strerror_r(err, buffer, sizeof buffer));
}

}  // namespace framework
