// Temporary folders for tests.
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace test {

TempDir::TempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "korvax-test-XXXXXX").string();
    char* made = ::mkdtemp(tmpl.data());
    m_path = made ? made : tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Restore write rights first so tests that take them away still clean up.
    for (auto& entry : std::filesystem::recursive_directory_iterator(m_path, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void TempDir::Write(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace test
