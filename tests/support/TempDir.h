// A temporary folder removed with everything in it when the test ends.
#pragma once

#include <string>

namespace test {

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    // Whole-file helpers for arranging and asserting on files.
    static std::string Read(const std::string& path);
    static void Write(const std::string& path, const std::string& text);

private:
    std::string m_path;
};

} // namespace test
