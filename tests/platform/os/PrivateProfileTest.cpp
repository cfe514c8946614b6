// The private-profile functions as callers and users' files see them: what a read returns, and the
// exact text a write leaves behind.
#include "platform/os/PrivateProfile.h"
#include "tests/platform/os/Unprivileged.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using test::TempDir;

std::string Get(const std::string& file, const char* section, const char* key, const char* def = "dflt",
                DWORD size = 64)
{
    std::string buf(size, '#');
    DWORD n = GetPrivateProfileStringA(section, key, def, size ? &buf[0] : nullptr, size, file.c_str());
    EXPECT_EQ(n, size ? std::strlen(buf.c_str()) : 0u);
    return size ? std::string(buf.c_str()) : std::string();
}

struct ReadCase
{
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::string expected;
};

TEST(GetPrivateProfileString, FindsValuesAsWindowsReadsThem)
{
    const std::string longValue(100000, 'x');
    const ReadCase cases[] = {
        {"plain", "[Korv]\nInitialized=1\n", "Korv", "Initialized", "1"},
        {"names ignore ASCII case", "[KORV]\ninitialized=1\n", "korv", "INITIALIZED", "1"},
        {"blanks around names and value", "  [ Korv ]  \n  Key  =  some value  \n", "Korv", "Key",
         "some value"},
        {"double quotes removed", "[S]\nK=\"  quoted  \"\n", "S", "K", "  quoted  "},
        {"single quotes removed", "[S]\nK='q'\n", "S", "K", "q"},
        {"unmatched quote kept", "[S]\nK=\"open\n", "S", "K", "\"open"},
        {"empty value", "[S]\nK=\n", "S", "K", ""},
        {"first of duplicate keys", "[S]\nK=1\nK=2\n", "S", "K", "1"},
        {"first of duplicate sections", "[S]\nA=1\n[S]\nK=2\n", "S", "K", "dflt"},
        {"keys before any section never match", "K=1\n[S]\nX=2\n", "S", "K", "dflt"},
        {"comment is not a key", "[S]\n;K=1\n", "S", "K", "dflt"},
        {"line without '=' is not a key", "[S]\nK\n", "S", "K", "dflt"},
        {"key of another section", "[A]\nK=1\n[S]\n", "S", "K", "dflt"},
        {"Windows line endings", "[S]\r\nA=1\r\nK=2\r\n", "S", "K", "2"},
        {"no final line break", "[S]\nK=2", "S", "K", "2"},
        {"byte-order mark before the first section", "\xEF\xBB\xBF[S]\nK=3\n", "S", "K", "3"},
        {"NUL bytes on other lines", std::string("[S]\nA=\0\0\nK=4\n", 13), "S", "K", "4"},
        {"header without closing bracket", "[S\nK=5\n", "S", "K", "5"},
        {"value of 100,000 characters cut to the buffer", "[S]\nK=" + longValue + "\n", "S", "K",
         longValue.substr(0, 63)},
        {"binary junk", std::string("\x01\xff[\n=\n]\0[S", 10), "S", "K", "dflt"},
        {"empty file", "", "S", "K", "dflt"},
        {"empty key name", "[S]\n=1\n", "S", "", "dflt"},
    };
    TempDir dir;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir::Write(dir.file("a.ini"), c.text);
        EXPECT_EQ(Get(dir.file("a.ini"), c.section, c.key), c.expected);
    }
}

TEST(GetPrivateProfileString, DefaultsAndBuffers)
{
    TempDir dir;
    EXPECT_EQ(Get(dir.file("missing.ini"), "S", "K", "99"), "99");
    EXPECT_EQ(Get(dir.file("missing.ini"), "S", "K", "0  "), "0") << "trailing blanks of the default go";
    EXPECT_EQ(Get(dir.file("missing.ini"), "S", "K", nullptr), "");
    EXPECT_EQ(Get(dir.path(), "S", "K", "99"), "99") << "a folder is not a file";

    TempDir::Write(dir.file("a.ini"), "[S]\nK=123456\n");
    EXPECT_EQ(Get(dir.file("a.ini"), "S", "K", "", 4), "123");
    EXPECT_EQ(Get(dir.file("a.ini"), "S", "K", "", 1), "");
    EXPECT_EQ(Get(dir.file("a.ini"), "S", "K", "", 0), "") << "a zero-sized buffer is never written";
    EXPECT_EQ(Get(dir.file("a.ini"), nullptr, "K"), "") << "section listing is not offered";
}

struct WriteCase
{
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(WritePrivateProfileString, ChangesOnlyWhatItWrites)
{
    const WriteCase cases[] = {
        {"new key after the last key, before blank lines", "[A]\nx=1\n\n[B]\ny=2\n", "A", "z", "3",
         "[A]\nx=1\nz=3\n\n[B]\ny=2\n"},
        {"new key after the last key, before a trailing comment", "[A]\nx=1\n; about B\n[B]\n", "A", "z", "3",
         "[A]\nx=1\nz=3\n; about B\n[B]\n"},
        {"new key in an empty section", "[A]\n[B]\n", "A", "z", "3", "[A]\nz=3\n[B]\n"},
        {"new section at the end, no blank line", "[A]\nx=1\n", "B", "y", "2", "[A]\nx=1\n[B]\ny=2\n"},
        {"new section after a missing final line break", "[A]\nx=1", "B", "y", "2", "[A]\nx=1\n[B]\ny=2\n"},
        {"new key after a missing final line break", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"Windows line endings kept and used", "[A]\r\nx=1\r\n", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        {"Windows line endings in a new section", "[A]\r\nx=1\r\n", "B", "y", "2",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        {"value replaced in place, spacing and name kept", "; top\n[A]\n  X = old  \r\nq=1\n", "a", "x",
         "new", "; top\n[A]\n  X = new\r\nq=1\n"},
        // Regression: rewriting a value that starts with blanks widened the blanks every time.
        {"value with its own leading blanks", "[A]\nx = 1\n", "A", "x", " 2", "[A]\nx = 2\n"},
        {"first of duplicate sections", "[A]\nx=1\n[A]\nx=2\n", "A", "x", "9", "[A]\nx=9\n[A]\nx=2\n"},
        {"first of duplicate keys", "[A]\nx=1\nx=2\n", "A", "x", "9", "[A]\nx=9\nx=2\n"},
        {"keys before any section kept", "k=0\n[A]\n", "A", "x", "1", "k=0\n[A]\nx=1\n"},
        {"NUL bytes elsewhere kept", std::string("[A]\nn=\0\n", 8), "A", "x", "1",
         std::string("[A]\nn=\0\nx=1\n", 12)},
        {"empty file", "", "A", "x", "1", "[A]\nx=1\n"},
        {"negative number", "", "A", "x", "-135", "[A]\nx=-135\n"},
        {"delete a key", "[A]\nx=1\ny=2\n", "A", "x", nullptr, "[A]\ny=2\n"},
        {"delete a section", "[A]\nx=1\n\n[B]\ny=2\n", "A", nullptr, nullptr, "[B]\ny=2\n"},
        {"delete a missing key", "[A]\ny=2\n", "A", "x", nullptr, "[A]\ny=2\n"},
    };
    TempDir dir;
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir::Write(dir.file("a.ini"), c.before);
        EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, dir.file("a.ini").c_str()));
        EXPECT_EQ(TempDir::Read(dir.file("a.ini")), c.after);
    }
}

TEST(WritePrivateProfileString, CreatesTheFileAndReadsBackWhatItWrote)
{
    TempDir dir;
    const std::string file = dir.file("new.ini");
    ASSERT_TRUE(WritePrivateProfileStringA("Korv", "GPUDID", "1180", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Korv", "Initialized", "1", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Windows Startup", "AutoRun", "0", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("korv", "gpudid", "1189", file.c_str()));
    EXPECT_EQ(TempDir::Read(file), "[Korv]\nGPUDID=1189\nInitialized=1\n[Windows Startup]\nAutoRun=0\n");
    EXPECT_EQ(Get(file, "KORV", "GpuDid"), "1189");
    EXPECT_FALSE(std::filesystem::exists(dir.file(".new.ini.tmp"))) << "no temporary file is left";
}

// Regression: a value or name with a line break would have written extra keys or sections.
TEST(WritePrivateProfileString, RefusesWhatCannotBeStoredOnOneLine)
{
    struct
    {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"A", "x", "1\n[Korv]\nInitialized=0"},
        {"A", "x", "1\r"},
        {"A", "x=y", "1"},
        {"A", "[x", "1"},
        {"A", ";x", "1"},
        {"A", "", "1"},
        {"A", "  ", "1"},
        {"A]", "x", "1"},
        {"A\nB", "x", "1"},
        {"", "x", "1"},
        {nullptr, "x", "1"},
    };
    TempDir dir;
    const std::string file = dir.file("a.ini");
    TempDir::Write(file, "[A]\nx=0\n");
    for (const auto& r : refused) {
        SCOPED_TRACE(std::string(r.key) + " / " + r.value);
        EXPECT_FALSE(WritePrivateProfileStringA(r.section, r.key, r.value, file.c_str()));
        EXPECT_EQ(TempDir::Read(file), "[A]\nx=0\n");
    }
    EXPECT_FALSE(WritePrivateProfileStringA("A", "x=y", "1", dir.file("none.ini").c_str()));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.ini"))) << "a refused write creates no file";
}

TEST(WritePrivateProfileString, KeepsModeAndLinks)
{
    TempDir dir;
    const std::string target = dir.file("real.ini");
    TempDir::Write(target, "[A]\nx=1\n");
    ::chmod(target.c_str(), 0640);
    std::filesystem::create_symlink(target, dir.file("link.ini"));

    ASSERT_TRUE(WritePrivateProfileStringA("A", "x", "2", dir.file("link.ini").c_str()));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(TempDir::Read(target), "[A]\nx=2\n");
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(WritePrivateProfileString, FailsWithoutWriteRightsAndKeepsTheFile)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string folder = dir.file("locked");
    std::filesystem::create_directory(folder);
    const std::string file = folder + "/a.ini";
    TempDir::Write(file, "[A]\nx=1\n");
    ::chmod(file.c_str(), 0666); // the file itself is writable, the folder is not
    ::chmod(folder.c_str(), 0555);

    int rc = test::RunUnprivileged([&] {
        int bad = 0;
        bad |= WritePrivateProfileStringA("A", "x", "2", file.c_str()) ? 1 : 0;
        bad |= WritePrivateProfileStringA("A", "x", "2", (folder + "/new.ini").c_str()) ? 2 : 0;
        bad |= os::AppendPrivateProfileLineBreak(file.c_str()) ? 4 : 0;
        char buf[8];
        GetPrivateProfileStringA("A", "x", "", buf, sizeof buf, file.c_str());
        bad |= std::strcmp(buf, "1") != 0 ? 8 : 0;
        return bad;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(TempDir::Read(file), "[A]\nx=1\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "/new.ini"));
    EXPECT_FALSE(WritePrivateProfileStringA("A", "x", "1", dir.file("no/such/folder.ini").c_str()));
}

TEST(WritePrivateProfileEntries, SameTextAsOneWritePerKeyThenTheLineBreak)
{
    const os::ProfileEntry entries[] = {{"EngineClock", "600"},
                                        {"x=bad", "1"},
                                        {"ShaderClock", "1200"},
                                        {"engineclock", "601"},
                                        {"Gone", nullptr}};
    const std::string befores[] = {"", "[Default]\nGone=1\nShaderClock=5\n\n[Other]\nk=1", "[A]\r\nk=1\r\n"};
    TempDir dir;
    for (const std::string& before : befores) {
        SCOPED_TRACE(before);
        for (bool appendBreak : {false, true}) {
            TempDir::Write(dir.file("one.ini"), before);
            TempDir::Write(dir.file("each.ini"), before);
            EXPECT_FALSE(os::WritePrivateProfileEntries("Default", entries, 5, appendBreak,
                                                        dir.file("one.ini").c_str()))
                << "one key was refused";
            for (const os::ProfileEntry& e : entries)
                WritePrivateProfileStringA("Default", e.key, e.value, dir.file("each.ini").c_str());
            if (appendBreak)
                os::AppendPrivateProfileLineBreak(dir.file("each.ini").c_str());
            EXPECT_EQ(TempDir::Read(dir.file("one.ini")), TempDir::Read(dir.file("each.ini")));
        }
    }
    EXPECT_TRUE(os::WritePrivateProfileEntries("Default", entries, 1, false, dir.file("one.ini").c_str()));
}

TEST(AppendPrivateProfileLineBreak, UsesTheFilesLineBreak)
{
    TempDir dir;
    TempDir::Write(dir.file("a.ini"), "[A]\r\nx=1\r\n");
    ASSERT_TRUE(os::AppendPrivateProfileLineBreak(dir.file("a.ini").c_str()));
    EXPECT_EQ(TempDir::Read(dir.file("a.ini")), "[A]\r\nx=1\r\n\r\n");
    TempDir::Write(dir.file("b.ini"), "[A]\nx=1");
    ASSERT_TRUE(os::AppendPrivateProfileLineBreak(dir.file("b.ini").c_str()));
    EXPECT_EQ(TempDir::Read(dir.file("b.ini")), "[A]\nx=1\n") << "ends the last line, adds no empty one";
}

TEST(PrivateProfileLargeFiles, HugeFileIsReadAndWrittenWholly)
{
    TempDir dir;
    const std::string file = dir.file("huge.ini");
    std::string block;
    for (int i = 0; i < 64; ++i)
        block += "k" + std::to_string(i) + "=" + std::string(60, static_cast<char>('a' + i % 26)) + "\n";
    std::string junk;
    junk.reserve((100u << 20) + block.size());
    while (junk.size() < (100u << 20))
        junk += block;
    TempDir::Write(file, "[Big]\n" + junk + "[Korv]\nInitialized=1\n");

    EXPECT_EQ(Get(file, "Korv", "Initialized"), "1");
    ASSERT_TRUE(WritePrivateProfileStringA("Korv", "Synchronize", "0", file.c_str()));
    std::string expected = "[Big]\n" + junk + "[Korv]\nInitialized=1\nSynchronize=0\n";
    junk = std::string();
    EXPECT_TRUE(TempDir::Read(file) == expected) << "every byte of the 100 MB is kept";
}

TEST(PrivateProfileLargeFiles, OverTheLimitReadsDefaultsAndIsNeverRewritten)
{
    TempDir dir;
    const std::string file = dir.file("sparse.ini");
    TempDir::Write(file, "[Korv]\nInitialized=1\n");
    ASSERT_EQ(::truncate(file.c_str(), os::kMaxProfileFileBytes + 1), 0); // sparse: costs no disk
    EXPECT_EQ(Get(file, "Korv", "Initialized", "99"), "99");
    EXPECT_FALSE(WritePrivateProfileStringA("Korv", "Initialized", "0", file.c_str()));
    EXPECT_EQ(std::filesystem::file_size(file), static_cast<std::uintmax_t>(os::kMaxProfileFileBytes + 1));
}

// A writer killed at any moment leaves the old or the new file, never a partial one.
TEST(PrivateProfileConcurrency, KilledWriterLeavesAWholeFile)
{
    TempDir dir;
    const std::string file = dir.file("a.ini");
    std::string padding;
    for (int i = 0; i < 20000; ++i)
        padding += "; padding line " + std::to_string(i) + "\n";
    const std::string head = padding + "[Counter]\nn=";
    TempDir::Write(file, head + "0\n");

    for (int round = 1; round <= 12; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(ready[0]);
            for (long n = 1;; ++n) {
                WritePrivateProfileStringA("Counter", "n", std::to_string(n).c_str(), file.c_str());
                if (n == round) // from here on the parent may kill at any point of a write
                    (void)!::write(ready[1], "x", 1);
            }
        }
        ::close(ready[1]);
        char c;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);

        std::string text = TempDir::Read(file);
        ASSERT_EQ(text.compare(0, head.size(), head), 0) << "round " << round;
        std::string tail = text.substr(head.size());
        ASSERT_FALSE(tail.empty());
        EXPECT_EQ(tail.back(), '\n');
        EXPECT_EQ(tail.find_first_not_of("0123456789"), tail.size() - 1) << "round " << round;
    }
    ASSERT_TRUE(WritePrivateProfileStringA("Counter", "n", "done", file.c_str()));
    EXPECT_EQ(TempDir::Read(file), head + "done\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file(".a.ini.tmp")))
        << "a killed writer's temporary file is reused";
}

// Two running copies writing different keys of one file at once: neither loses the other's keys.
TEST(PrivateProfileConcurrency, ParallelWritersKeepEachOthersKeys)
{
    TempDir dir;
    const std::string file = dir.file("a.ini");
    constexpr int kWriters = 3, kKeys = 150;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    pid_t pids[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        pids[w] = ::fork();
        ASSERT_GE(pids[w], 0);
        if (pids[w] == 0) {
            ::close(go[1]);
            char c;
            (void)!::read(go[0], &c, 1); // all start together when the parent closes the pipe
            int failed = 0;
            for (int k = 0; k < kKeys; ++k) {
                std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
                failed += !WritePrivateProfileStringA(w % 2 ? "Odd" : "Even", key.c_str(), "1", file.c_str());
            }
            ::_exit(failed ? 1 : 0);
        }
    }
    ::close(go[0]);
    ::close(go[1]);
    for (pid_t pid : pids) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int missing = 0;
    for (int w = 0; w < kWriters; ++w)
        for (int k = 0; k < kKeys; ++k) {
            std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
            missing += Get(file, w % 2 ? "Odd" : "Even", key.c_str()) != "1";
        }
    EXPECT_EQ(missing, 0);
}

} // namespace
