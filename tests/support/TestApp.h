// A fresh application per test: scripted host, program folder in a temporary
// folder of its own, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "ScriptedHost.h"
#include "app/ZavioApp.h"
#include "doc/ZavioDoc.h"
#include "framework/FileFaults.h"
#include "framework/FileSystem.h"

namespace zavio::test {

// A new empty folder under the system's temporary folder (native UTF-8 path,
// ending in '/'), deleted with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder as a CP932 path ending in a separator.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

class AppTest : public ::testing::Test {
protected:
    AppTest();
    ~AppTest() override;

    // A CP932 path in the program folder for a UTF-8 file name.
    std::string InProgramFolder(std::string_view utf8Name) const;
    // A new document with a window, named like a New document.
    CZavioDoc* NewDocument();
    std::string ViewText(CZavioDoc* doc) const;
    void SetViewText(CZavioDoc* doc, std::string bytes) const;
    std::vector<CZavioDoc*> OpenDocuments() const;

    std::optional<std::string> m_startFolder;
    TempFolder m_folder;
    ScriptedHost m_host;
    std::unique_ptr<CZavioApp> m_app;
    // The run state a test hands to the conversion stages it calls directly.
    CConversionState m_run;
};

// The file errors of a read-only folder or a full disk, injected at the
// file-system boundary for every path that begins with `prefix` (CP932)
// while the object lives.
class InjectedFaults {
public:
    InjectedFaults(FileFaults::Kind kind, std::string prefix)
    {
        InjectFileFaults({kind, [prefix](std::string_view path) { return path.starts_with(prefix); }});
    }
    ~InjectedFaults() { InjectFileFaults({}); }
    InjectedFaults(const InjectedFaults&) = delete;
    InjectedFaults& operator=(const InjectedFaults&) = delete;
};

// Writes / reads a whole file by CP932 path.
void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
// CP932 text of a UTF-8 literal.
std::string J(std::string_view utf8);

}  // namespace zavio::test
