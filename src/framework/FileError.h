// Why a file operation failed, kept where it failed, as errno is, so that
// the message that reports the failure can say why: the system's error, a
// name the file-system boundary cannot convert, or what a file's bytes are
// when they are no text the program reads.
#pragma once

#include <string>

namespace zavio {

enum class FileErrorCause {
    None,                   // nothing is known
    System,                 // the system refused; FileError::osError says why
    NameWithoutCp932Form,   // a name on disk with characters CP932 lacks
    NameNotUtf8OrCp932,     // a name on disk in neither encoding
    PathWithoutNativeForm,  // a path whose bytes are no CP932 text
    NotRegularFile,         // a pipe or a device
    // What a file's bytes are, where they are no text the program reads.
    Empty,
    NotText,  // a zero byte
    Pdf,
    Png,
    Jpeg,
    Gif,
    CompoundDocument,  // Word's .doc and the other Office binaries
    Zip,               // Word's .docx and the other Office files
    Utf32,
    Utf16WithoutByteOrderMark,
    Utf16CutShort,  // an odd number of bytes
};

struct FileError {
    FileErrorCause cause = FileErrorCause::None;
    int osError = 0;  // errno, for FileErrorCause::System
};

// The failure of this thread's last file operation that failed; set by the
// file functions of the framework where the failure happens.
const FileError& LastFileError();
void SetLastFileError(FileError error);
// errno as it is now, as the last failure.
void KeepSystemError();

// The reason as the user reads it, one line of CP932; empty when nothing is
// known.
std::string FileErrorReason(const FileError& error);
// The message with the last failure's reason on a line of its own; the
// message alone when no reason is known.
std::string WithLastFileErrorReason(std::string message);

}  // namespace zavio
