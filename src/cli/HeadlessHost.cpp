#include "HeadlessHost.h"

#include "app/ZavioApp.h"
#include "framework/Cp932.h"

namespace zavio {

int HeadlessHost::MessageBox(std::string_view text, unsigned type)
{
    m_messages << DecodeCp932Lossless(text) << '\n' << std::flush;
    switch (type) {
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return m_answerYes ? IDYES : IDNO;
        default:
            return IDOK;
    }
}

bool HeadlessHost::RunFileDialog(const FileDialogRequest& request, FileDialogResult& result)
{
    if (!request.openKind || m_paths.empty()) return false;
    result.paths = std::move(m_paths);
    m_paths.clear();
    return true;
}

std::string HeadlessHost::WorkingFolder()
{
    return UserProgramFolder();
}

void HeadlessHost::FileWritten(std::string_view path)
{
    // Not flushed name by name: a conversion writes hundreds of files, and the
    // stream is flushed when the program ends.
    m_written << DecodeCp932Lossless(path) << '\n';
}

}  // namespace zavio
