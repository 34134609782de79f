#include "TestApp.h"

#include <cstdlib>
#include <filesystem>

#include "framework/Cp932.h"
#include "framework/DocTemplate.h"
#include "framework/EditView.h"
#include "framework/FileSystem.h"

namespace zavio::test {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zavio-test-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("cannot make a temporary folder");
    m_path = *FromNativePath(made) + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::permissions(*ToNativePath(m_path), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(*ToNativePath(m_path), ec);
}

AppTest::AppTest() : m_startFolder(CurrentFolder()), m_app(std::make_unique<CZavioApp>(m_host))
{
    m_app->InitState(m_folder.Path());
}

AppTest::~AppTest()
{
    m_app.reset();
    AfxSetApp(nullptr);
    // A conversion that makes its Finished folder enters the parent folder,
    // here the test folder about to go; later tests need a folder that exists.
    if (m_startFolder) ChangeFolder(*m_startFolder);
}

std::string AppTest::InProgramFolder(std::string_view utf8Name) const
{
    return m_folder.Path() + J(utf8Name);
}

CZavioDoc* AppTest::NewDocument()
{
    m_app->OnFileNewDocument();
    return m_app->m_pNewDoc;
}

std::string AppTest::ViewText(CZavioDoc* doc) const
{
    return doc->GetView()->GetRawText();
}

void AppTest::SetViewText(CZavioDoc* doc, std::string bytes) const
{
    doc->GetView()->Control().SetText(std::move(bytes));
}

std::vector<CZavioDoc*> AppTest::OpenDocuments() const
{
    std::vector<CZavioDoc*> out;
    for (CDocument* d : m_app->m_pDocTemplate->GetDocuments()) out.push_back(static_cast<CZavioDoc*>(d));
    return out;
}

void WriteFile(const std::string& path, std::string_view bytes)
{
    if (!WriteFileBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path)
{
    auto bytes = ReadFileBytes(path);
    if (!bytes) throw std::runtime_error("cannot read " + path);
    return *bytes;
}

std::string J(std::string_view utf8)
{
    return ToCp932(utf8);
}

}  // namespace zavio::test
