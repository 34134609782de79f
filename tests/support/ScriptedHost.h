// The tests' host: answers message boxes and file dialogs from queues and
// records everything shown, so no test ever waits for a modal dialog.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "framework/WindowlessHost.h"

namespace zavio::test {

class ScriptedHost : public WindowlessHost {
public:
    struct Shown {
        std::string text;  // CP932
        unsigned type;
    };

    int MessageBox(std::string_view text, unsigned type) override;
    std::vector<std::string> WorkingFolders() override { return m_workingFolders; }
    bool RunFileDialog(const FileDialogRequest& request, FileDialogResult& result) override;

    // Next answers; without one a box is answered with its first button
    // and a dialog is cancelled.
    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    void QueueFiles(std::vector<std::string> paths) { m_dialogs.push_back(FileDialogResult{std::move(paths)}); }
    void QueueDialogCancel() { m_dialogs.push_back(std::nullopt); }

    // Messages shown, in UTF-8 for readable assertions.
    std::vector<std::string> MessagesUtf8() const;

    std::vector<Shown> m_shown;
    std::vector<std::string> m_workingFolders;  // none: the program folder
    std::vector<FileDialogRequest> m_dialogRequests;

private:
    std::deque<int> m_answers;
    std::deque<std::optional<FileDialogResult>> m_dialogs;
};

}  // namespace zavio::test
