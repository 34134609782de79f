// A host without a screen: document windows are byte buffers, timers never
// fire, the profile lives in memory. The batch converter and the tests build
// on it and decide how message boxes and file dialogs are answered.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/Host.h"

namespace zavio {

class ByteBufferControl : public EditControl {
public:
    std::string GetText() const override { return m_text; }
    void SetText(std::string bytes) override { m_text = std::move(bytes); }
    const std::string* HeldText() const override { return &m_text; }

private:
    std::string m_text;
};

class WindowlessHost : public Host {
public:
    std::unique_ptr<EditControl> CreateDocumentWindow(CDocument& doc) override;
    void DestroyDocumentWindow(CDocument& doc) override;
    // Showing a window makes it the active one, as on a screen.
    void ShowDocumentWindow(CDocument& doc) override { Activate(doc); }
    void TileDocumentWindows() override { ++m_tileCount; }
    CDocument* ActiveDocument() override { return m_windows.empty() ? nullptr : m_windows.back(); }
    void ShellOpen(std::string_view path) override { m_shellOpened.emplace_back(path); }
    unsigned SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned handle) override;
    std::string GetProfileString(std::string_view section, std::string_view key) override;
    void WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

    // Document windows in activation order, the active one last.
    const std::vector<CDocument*>& Windows() const { return m_windows; }
    void Activate(CDocument& doc);

    int m_tileCount = 0;
    bool m_failWindowCreation = false;
    std::vector<std::string> m_shellOpened;
    std::map<unsigned, unsigned> m_timers;         // handle -> id of running timers
    std::map<std::string, std::string> m_profile;  // "section/key" -> value

private:
    std::vector<CDocument*> m_windows;
    unsigned m_nextTimer = 0;
};

}  // namespace zavio
