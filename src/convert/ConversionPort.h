// The one door between the conversion pipeline and the outside: the pipeline
// reads its sources, writes every file, moves the sources into Finished and
// speaks to the user through the port it is handed. The desktop's port makes
// a document window for each file and passes it through the working file;
// the batch converter's port writes the files directly.
#pragma once

#include <string>
#include <string_view>

#include "convert/Manuscript.h"
#include "framework/TextFile.h"

namespace zavio {

class PreparedFile;

// The two kinds of help a conversion makes.
enum class ConversionKind { HtmlHelp, HpType };

// What a file the pipeline writes is: the desktop keeps some in their windows.
enum class OutputRole {
    Page,          // a topic's page: its window closes once it is written
    ContentsPage,  // homepage-type help's contents page
    Project,       // the HTML Help project (.hhp)
    Sitemap,       // Table of Contents.hhc
    KeywordIndex,  // Index.hhk
    IndexPage,     // homepage-type help's index page
    Note,          // the integration note
    PageList,      // ListTitl.txt, the list of pages written
    Picture,       // a picture the pages show: bytes, no text
};

struct OutputFile {
    OutputRole role = OutputRole::Page;
    std::string path;       // CP932
    std::string extension;  // lower case, without the dot
    std::string baseName;
    std::string text;         // its lines, each ended by CR LF
    bool keepBackup = false;  // an earlier file of the name becomes NAME-Back.EXT
    // Its bytes, written already where no name leads to them (a port that
    // writes files ahead); the write takes them, whatever becomes of it.
    PreparedFile* prepared = nullptr;
};

// How far a run is: its manuscripts read, then its pages written.
struct ConversionProgress {
    enum class Stage { Reading, Writing };
    Stage stage = Stage::Reading;
    std::size_t done = 0;  // manuscripts read, or pages written, so far
    std::size_t total = 0;
    std::string name;  // the manuscript or page in hand
};

class ConversionPort {
public:
    virtual ~ConversionPort() = default;

    // The run begins once its sources are known: the desktop opens the list
    // of pages' window. False ends the run before anything is done.
    virtual bool BeginRun() { return true; }
    // The list of pages will be saved at `path`: its window takes the name.
    virtual void NamePageList(const std::string& path) { (void)path; }
    // The run reached its end: the desktop tiles the windows left open.
    virtual void EndRun() {}
    // Before each manuscript is read and each page is written. False asks the
    // run to stop there: before any file is written, or between two pages.
    virtual bool Progress(const ConversionProgress& progress)
    {
        (void)progress;
        return true;
    }

    // The source's text; false when it cannot be had (the port said why).
    virtual bool ReadSource(const SourceFile& source, SourceText& text) = 0;
    // Writes the file whole or not at all; false when it was not written,
    // said by the port.
    virtual bool WriteFile(const OutputFile& file) = 0;
    // Writes the file only where no file of its name stands, whole or not at
    // all. Taken: a file stands there, and nothing was done or said; the run
    // then looks at what it is before it writes with WriteFile. A port that
    // cannot tell answers Taken.
    enum class NewFile { Written, Taken, Failed };
    virtual NewFile WriteNewFile(const OutputFile& file)
    {
        (void)file;
        return NewFile::Taken;
    }
    // Whether a page's bytes may be written ahead of its turn, on another
    // thread, where no name leads to them (PrepareFileBytes): the port's
    // writes then give them their names in turn.
    virtual bool WritesFilesAhead() const { return false; }
    // Moves a source's file without replacing any file; `taken` tells that a
    // file stands at `to`.
    virtual bool MoveSource(const std::string& from, const std::string& to, bool& taken) = 0;
    // The run is done with a source, moved or not: its window closes.
    virtual void ReleaseSource(const SourceFile& source) { (void)source; }
    // A message to the user.
    virtual void Say(const std::string& message) = 0;
    // A message about one file whose text does not name it: a terminal names
    // it in front, a message box need not.
    virtual void SayAbout(const std::string& file, const std::string& message) { (void)file, Say(message); }
};

}  // namespace zavio
