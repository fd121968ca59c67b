// The exception classes the program raises and catches by name. Every failure is one of these;
// the application's error box shows `Message`.
#pragma once

#include <stdexcept>
#include <string>

namespace framework {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that does not convert (a time of day, a number).
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A variant that cannot take the asked type (a settings line that is no Boolean).
class EVariantTypeCastError : public Exception {
public:
    using Exception::Exception;
};

// An operation that the object's state does not allow.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// The silent exception: it unwinds like any other but the application shows no box for it.
class EAbort : public Exception {
public:
    using Exception::Exception;
};

// A file operation failed. `ErrorCode` is, as a rule, the system's error code; the message
// comes from the code (see InOutErrorMessage).
class EInOutError : public Exception {
public:
    explicit EInOutError(int code);
    EInOutError(int code, const std::string& message);
    int ErrorCode;
};

// The error of a failed system call. The errno values the message table names keep the
// table's code and text (ENOENT "File not found", EACCES "File access denied", ENOSPC "Disk
// full", ...); every other value keeps its number and shows the system's own text, so EIO
// never reads as "File access denied". errno 0 (a call that failed without saying why)
// counts as EIO.
EInOutError InOutErrorFromErrno(int err);

// "File not found" for 2, ..., "I/O error %d" for codes without a text of their own.
std::string InOutErrorMessage(int code);

// Maps an errno value to the code EInOutError carries: the codes with a text of their own
// keep their meaning (ENOENT is 2, EACCES is 5, ENOSPC is 101), the rest pass unchanged.
int InOutCodeFromErrno(int err);

}  // namespace framework

namespace framework {
// A platform object could not be made.
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};
}  // namespace framework
