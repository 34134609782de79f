#include "framework/FileError.h"

#include <cerrno>
#include <cstring>

#include "framework/Cp932.h"

namespace zavio {
namespace {

// One per thread, as errno is: a failure is read on the thread it happened on.
thread_local FileError t_lastError;

// The encodings a reader is told about when a file is in none of them.
const std::string& EncodingsRead()
{
    return ToCp932("読み込める文字コードは Shift_JIS (CP932)、UTF-8、バイトオーダーマーク付きの UTF-16 です。");
}

std::string SystemErrorReason(int osError)
{
    switch (osError) {
        case ENOSPC:
            return ToCp932("ディスクの空き容量が不足しています。");
        case EDQUOT:
            return ToCp932("ディスクの使用量の制限 (クォータ) を超えています。");
        case EACCES:
        case EPERM:
            return ToCp932("アクセス権がありません。");
        case EROFS:
            return ToCp932("読み取り専用のディスクです。");
        case ENAMETOOLONG:
            return ToCp932("ファイル名またはパスが長すぎます。");
        case EXDEV:
            return ToCp932("別のディスクへは移動できません。");
        case ENOENT:
            return ToCp932("ファイルまたはフォルダが見つかりません。");
        case ENOTDIR:
            return ToCp932("パスの途中にフォルダではないファイルがあります。");
        case EISDIR:
            return ToCp932("ファイルではなくフォルダです。");
        case EEXIST:
            return ToCp932("同じ名前のファイルがあります。");
        case EBUSY:
        case ETXTBSY:
            return ToCp932("ファイルが使用中です。");
        case ELOOP:
            return ToCp932("シンボリックリンクが多すぎるか、循環しています。");
        case EIO:
            return ToCp932("ディスクの読み書きでエラーが起きました。");
        case EMFILE:
        case ENFILE:
            return ToCp932("開いているファイルが多すぎます。");
        case ENOMEM:
            return ToCp932("メモリが不足しています。");
        case EFBIG:
            return ToCp932("ファイルが大きすぎます。");
        default:
            // The system's own words, in ASCII.
            return ToCp932("システムのエラーです (") + std::to_string(osError) + ": " + std::strerror(osError) +
                   ToCp932(")。");
    }
}

}  // namespace

const FileError& LastFileError()
{
    return t_lastError;
}

void SetLastFileError(FileError error)
{
    t_lastError = error;
}

void KeepSystemError()
{
    t_lastError = {FileErrorCause::System, errno};
}

std::string FileErrorReason(const FileError& error)
{
    switch (error.cause) {
        case FileErrorCause::None:
            return {};
        case FileErrorCause::System:
            return SystemErrorReason(error.osError);
        case FileErrorCause::NameWithoutCp932Form:
            return ToCp932("名前に Shift_JIS (CP932) にない文字があります。");
        case FileErrorCause::NameNotUtf8OrCp932:
            return ToCp932("名前が UTF-8 でも Shift_JIS (CP932) でもありません。");
        case FileErrorCause::PathWithoutNativeForm:
            return ToCp932("名前に Shift_JIS (CP932) の文字ではないバイトがあります。");
        case FileErrorCause::NotRegularFile:
            return ToCp932("通常のファイルではありません (パイプやデバイスです)。");
        case FileErrorCause::Empty:
            return ToCp932("ファイルが空です (0 バイト)。");
        case FileErrorCause::NotText:
            return ToCp932("テキストファイルではありません (値が 0 のバイトがあります)。");
        case FileErrorCause::Pdf:
            return ToCp932("PDF ファイルです。");
        case FileErrorCause::Png:
            return ToCp932("PNG の画像です。");
        case FileErrorCause::Jpeg:
            return ToCp932("JPEG の画像です。");
        case FileErrorCause::Gif:
            return ToCp932("GIF の画像です。");
        case FileErrorCause::CompoundDocument:
            return ToCp932("Word 文書 (.doc) などのバイナリファイルです。");
        case FileErrorCause::Zip:
            return ToCp932("Word 文書 (.docx) などの ZIP 形式のファイルです。");
        case FileErrorCause::Utf32:
            return ToCp932("UTF-32 のテキストです。") + EncodingsRead();
        case FileErrorCause::Utf16WithoutByteOrderMark:
            return ToCp932("バイトオーダーマークのない UTF-16 のテキストです。") + EncodingsRead();
        case FileErrorCause::Utf16CutShort:
            return ToCp932("UTF-16 のテキストが途中で切れています (バイト数が奇数です)。");
    }
    return {};
}

std::string WithLastFileErrorReason(std::string message)
{
    const std::string reason = FileErrorReason(t_lastError);
    if (!reason.empty()) message += "\n" + reason;
    return message;
}

}  // namespace zavio
