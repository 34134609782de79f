#include "ScriptedHost.h"

#include "framework/Cp932.h"

namespace zavio::test {

int ScriptedHost::MessageBox(std::string_view text, unsigned type)
{
    m_shown.push_back({std::string(text), type});
    if (!m_answers.empty()) {
        int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return (type == MB_YESNOCANCEL || type == MB_YESNO) ? IDYES : IDOK;
}

bool ScriptedHost::RunFileDialog(const FileDialogRequest& request, FileDialogResult& result)
{
    m_dialogRequests.push_back(request);
    if (m_dialogs.empty()) return false;
    std::optional<FileDialogResult> next = m_dialogs.front();
    m_dialogs.pop_front();
    if (!next) return false;
    result = *next;
    return true;
}

std::vector<std::string> ScriptedHost::MessagesUtf8() const
{
    std::vector<std::string> out;
    for (const Shown& s : m_shown) out.push_back(DecodeCp932Lossless(s.text));
    return out;
}

}  // namespace zavio::test
