// The host of the batch converter: no windows, every message box written to
// standard error and answered as the command line decided, every file the
// program saves named on standard output.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "framework/WindowlessHost.h"

namespace zavio {

class HeadlessHost : public WindowlessHost {
public:
    HeadlessHost(std::ostream& messages, std::ostream& written) : m_messages(messages), m_written(written) {}

    // The answer to a Yes/No question: Yes simplifies the header.
    void AnswerYes(bool yes) { m_answerYes = yes; }

    int MessageBox(std::string_view text, unsigned type) override;
    // The files the next Open dialog returns, full paths in CP932. Every other
    // dialog is cancelled: no one is there to pick.
    void PickFiles(std::vector<std::string> paths) { m_paths = std::move(paths); }
    bool RunFileDialog(const FileDialogRequest& request, FileDialogResult& result) override;
    void FileWritten(std::string_view path) override;
    // The user's own folder: the program folder may be read-only.
    std::string WorkingFolder() override;

private:
    std::ostream& m_messages;
    std::ostream& m_written;
    bool m_answerYes = true;
    std::vector<std::string> m_paths;
};

}  // namespace zavio
