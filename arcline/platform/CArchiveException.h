#pragma once
// Thrown by CArchive and by Serialize implementations when an archive cannot be read or written.

#include "arcline/platform/CException.h"

class CArchiveException : public CException {
public:
    // Values of m_cause. They are part of the interface: callers compare and log the numbers.
    enum {
        none = 0,
        genericException = 1, // the stream failed, or the archive was used after Close()
        readOnly = 2,         // tried to write into an archive opened for loading
        endOfFile = 3,        // tried to read past the end of the data
        writeOnly = 4,        // tried to read from an archive opened for storing
        badIndex = 5,         // a reference inside the archive is out of range
        badClass = 6,         // unknown class name, or an object of an unexpected class
        badSchema = 7,        // the data was written with a schema this code cannot read
    };

    explicit CArchiveException(int cause = none) noexcept : m_cause(cause) {}
    ~CArchiveException() override;

    // A fixed message naming the cause, e.g. "CArchiveException: endOfFile (reading past the end of the
    // archive)"; causes outside the list give a generic message.
    const char* what() const noexcept override;

    int m_cause;
};

[[noreturn]] void AfxThrowArchiveException(int cause);
