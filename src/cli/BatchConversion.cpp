#include "BatchConversion.h"

#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>

#include "TerminalProgress.h"
#include "convert/ConversionDriver.h"
#include "convert/ConversionState.h"
#include "convert/RunFiles.h"
#include "framework/Cp932.h"
#include "framework/Document.h"
#include "framework/FileEncoding.h"
#include "framework/FileError.h"
#include "framework/FileSystem.h"
#include "framework/JobGroup.h"
#include "framework/Path.h"
#include "res/FileKinds.h"
#include "res/Messages.h"

namespace zavio {
namespace {

class BatchPort : public ConversionPort {
public:
    BatchPort(std::ostream& messages, std::ostream& written, std::size_t progressColumns)
        : m_messages(messages), m_written(written)
    {
        if (progressColumns > 0) m_progress.emplace(messages, progressColumns);
    }
    ~BatchPort() override
    {
        if (m_progress) m_progress->Clear();
    }

    // The text each file had when it was opened, as a window holds it; the
    // run takes each once.
    std::vector<SourceText> m_opened;

    bool ReadSource(const SourceFile& source, SourceText& text) override
    {
        // A file the command line named is read already; a project's are read now.
        const auto number = reinterpret_cast<std::uintptr_t>(source.handle);
        if (number == 0) {
            std::optional<SourceText> read = ReadSourceFile(source);
            if (!read) Say(WithLastFileErrorReason(res::NotReadMessage(source.path)));
            if (read) text = std::move(*read);
            return read.has_value();
        }
        if (number > m_opened.size()) return false;
        text = std::move(m_opened[number - 1]);
        return true;
    }

    bool WriteFile(const OutputFile& file) override { return Written(file, WriteOutputFileBytes(file)); }

    NewFile WriteNewFile(const OutputFile& file) override
    {
        const bool written = WriteOutputFileBytes(file, true);
        const FileError& error = LastFileError();
        if (!written && error.cause == FileErrorCause::System && error.osError == EEXIST) return NewFile::Taken;
        return Written(file, written) ? NewFile::Written : NewFile::Failed;
    }

    bool WritesFilesAhead() const override { return true; }

    bool MoveSource(const std::string& from, const std::string& to, bool& taken) override
    {
        return MoveFile(from, to, &taken);
    }

    bool Progress(const ConversionProgress& progress) override
    {
        if (!m_progress) return true;
        const res::ProgressStep step = progress.stage == ConversionProgress::Stage::Writing
                                           ? res::ProgressStep::WritingPages
                                           : res::ProgressStep::ReadingManuscripts;
        m_progress->Show(res::ProgressMessage(step, progress.done, progress.total) + " " + progress.name);
        return true;
    }

    // As command-line programs speak: "zavio-convert: " in front of each
    // message, and the file it is about where its text does not begin with it.
    void Say(const std::string& message) override { SayAbout({}, message); }
    void SayAbout(const std::string& file, const std::string& message) override
    {
        if (m_progress) m_progress->Clear();
        m_messages << "zavio-convert: ";
        if (!file.empty() && !message.starts_with(file)) m_messages << DecodeCp932Lossless(file) << ": ";
        m_messages << DecodeCp932Lossless(message) << '\n' << std::flush;
    }

private:
    // What a write of `file` that did or did not succeed says.
    bool Written(const OutputFile& file, bool written)
    {
        if (!written) {
            SayAbout(file.path, DocumentNotSavedMessage());
            Say(WithLastFileErrorReason(res::NotOpenedMessage(file.path, res::NotOpenedWhile::Writing)));
            return false;
        }
        // Not flushed name by name: a conversion writes hundreds of files,
        // and the stream is flushed when the program ends.
        m_written << DecodeCp932Lossless(file.path) << '\n';
        return true;
    }

    std::ostream& m_messages;
    std::ostream& m_written;
    std::optional<TerminalProgress> m_progress;
};

// Opens the files in order as the Open command would: each once, each read
// whole, its text kept for the run. Every refusal is said; false when any
// file was refused, as a script must not convert half a project. The files
// are read at once, each on a core of its own where there are several, and
// said in order.
bool OpenFiles(const std::vector<std::string>& paths, std::vector<SourceFile>& opened, BatchPort& port)
{
    struct Reading {
        PathParts parts;
        std::string extension;
        bool repeated = false;  // an earlier path names the file: it is read in turn, if at all
        std::optional<HeldText> text;
        FileError error;
        void Read(const std::string& path)
        {
            text = ReadHeldText(path, IsWebPageExtension(extension));
            if (!text) error = LastFileError();
        }
    };
    std::vector<Reading> reads(paths.size());
    {
        JobGroup reading(JobGroup::WorkersFor(paths.size()));
        for (std::size_t i = 0; i < paths.size(); ++i) {
            Reading& read = reads[i];
            read.parts = SplitPath(paths[i]);
            read.extension = MbLowerAscii(read.parts.ext.empty() ? read.parts.ext : read.parts.ext.substr(1));
            for (std::size_t k = 0; k < i && !read.repeated; ++k) read.repeated = MbCompare(paths[k], paths[i]) == 0;
            if (!read.repeated) reading.Run([&read, &path = paths[i]] { read.Read(path); });
        }
        reading.Wait();
    }
    bool every = true;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        Reading& read = reads[i];
        bool already = false;
        for (const SourceFile& file : opened) already = already || MbCompare(file.path, path) == 0;
        if (already) {
            port.Say(path + ToCp932(" はすでに開かれています"));
            port.Say(res::NotOpenedMessage(path, res::NotOpenedWhile::Opening));
            every = false;
            continue;
        }
        if (read.repeated) read.Read(path);  // the earlier one could not be read
        if (!read.text) {
            SetLastFileError(read.error);
            port.Say(WithLastFileErrorReason(res::NotReadMessage(path)));
            every = false;
            continue;
        }
        port.m_opened.push_back({std::move(read.text->bytes), HeldEncoding(read.text->encoding)});
        opened.push_back({path, read.parts.fname, read.extension, reinterpret_cast<const void*>(port.m_opened.size())});
    }
    return every;
}

// A run left to go with the process: still reachable, so no leak to a
// checker, and never freed.
CConversionState* g_keptRun = nullptr;

BatchExit Outcome(const CConversionState& run)
{
    if (!run.m_bConversionFinished) return kExitEndedEarly;
    // A manuscript in which no topic was found was not converted either.
    const bool projectWhole = !run.m_project || run.m_project->problems.empty();
    const bool whole =
        run.m_saNotWritten.empty() && run.m_saWithoutTopics.empty() && run.m_saIncomplete.empty() && projectWhole;
    return whole ? kExitCompleted : kExitNotAllWritten;
}

}  // namespace

BatchExit ConvertFiles(const BatchRequest& request, std::ostream& messages, std::ostream& written)
{
    BatchPort port(messages, written, request.progressColumns);
    std::vector<SourceFile> opened;
    if (!OpenFiles(request.paths, opened, port)) return kExitEndedEarly;

    auto owned = std::make_unique<CConversionState>(request.kind);
    CConversionState& run = *owned;
    // The desktop's question is answered by the command line, not asked.
    run.m_bKeepHeader = run.HtmlHelp() || request.keepHeader;
    RunConversion(run, port, CollectSources(opened));
    const BatchExit exit = Outcome(run);
    if (request.processEndsAfter) g_keptRun = owned.release();
    return exit;
}

}  // namespace zavio
