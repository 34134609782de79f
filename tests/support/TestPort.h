// A port for stage tests: files are written and sources moved on the disk as
// the batch converter does; sources are read from texts the test gives, and
// every message and every file written is recorded.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "convert/ConversionPort.h"
#include "convert/RunFiles.h"
#include "framework/Cp932.h"
#include "framework/FileSystem.h"

namespace zavio::test {

class TestPort : public ConversionPort {
public:
    bool ReadSource(const SourceFile& source, SourceText& text) override
    {
        auto found = m_sources.find(source.path);
        if (found == m_sources.end()) return false;
        text = found->second;
        return true;
    }
    bool WriteFile(const OutputFile& file) override
    {
        if (!WriteOutputFileBytes(file)) {
            Say(file.path + " not written");
            return false;
        }
        m_written.push_back(file.path);
        return true;
    }
    bool MoveSource(const std::string& from, const std::string& to, bool& taken) override
    {
        return MoveFile(from, to, &taken);
    }
    void Say(const std::string& message) override { m_messages.push_back(DecodeCp932Lossless(message)); }

    std::map<std::string, SourceText> m_sources;  // by path
    std::vector<std::string> m_written;           // CP932 paths
    std::vector<std::string> m_messages;          // UTF-8
};

}  // namespace zavio::test
