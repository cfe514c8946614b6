// Private-profile functions: file access, locking and atomic replacement around ProfileText.
#include "platform/os/PrivateProfile.h"

#include "platform/os/ProfileText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Fd
{
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void Reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

bool ReadAll(int fd, std::string& out)
{
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > os::kMaxProfileFileBytes)
        return false;
    out.clear();
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    for (;;) {
        if (got == out.size()) // the file may have grown since fstat
            out.resize(out.size() + 4096);
        ssize_t n = ::pread(fd, &out[got], out.size() - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        if (static_cast<long long>(got) > os::kMaxProfileFileBytes)
            return false;
    }
    out.resize(got);
    return true;
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes go to the file a link points at, so replacing it keeps the link.
std::string ResolvePath(const char* file)
{
    struct stat st;
    if (::lstat(file, &st) == 0 && S_ISLNK(st.st_mode)) {
        char real[PATH_MAX];
        if (::realpath(file, real))
            return real;
    }
    return file;
}

// The file opened and exclusively locked for one read-modify-write. The lock belongs to the open
// inode, and a writer that got in first may have renamed a new file over the path in the meantime:
// the path is re-checked after locking and the open is repeated until it names the locked inode.
class LockedFile
{
public:
    explicit LockedFile(const std::string& path) : m_path(path)
    {
        for (int attempt = 0; attempt < 64; ++attempt) {
            int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            m_created = fd >= 0;
            if (fd < 0 && errno == EEXIST)
                fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
            if (fd < 0)
                return;
            m_fd.Reset(fd);
            int rc;
            do
                rc = ::flock(fd, LOCK_EX);
            while (rc != 0 && errno == EINTR);
            // A file system without flock still gets the atomic replacement, just not the lock.
            struct stat held, now;
            if (::fstat(fd, &held) != 0)
                break;
            if (::stat(path.c_str(), &now) == 0 && now.st_dev == held.st_dev && now.st_ino == held.st_ino) {
                m_stat = held;
                m_ok = true;
                return;
            }
            m_fd.Reset();
        }
        m_fd.Reset();
    }

    bool ok() const { return m_ok; }
    bool Read(std::string& text) const { return ReadAll(m_fd.get(), text); }

    // Writes the new text to a temporary file beside the old one, with the old one's mode and owner,
    // and renames it over the old one while the lock is still held.
    bool Replace(const std::string& text) const
    {
        std::size_t slash = m_path.rfind('/');
        std::string dir = slash == std::string::npos ? std::string() : m_path.substr(0, slash + 1);
        std::string base = slash == std::string::npos ? m_path : m_path.substr(slash + 1);
        // One fixed name is enough: only the lock holder ever uses it, and a leftover from a
        // killed writer is simply truncated.
        std::string temp = dir + "." + base + ".tmp";
        Fd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (out.get() < 0)
            return false;
        bool ok = WriteAll(out.get(), text);
        ok = ok && ::fchmod(out.get(), m_stat.st_mode & 07777) == 0;
        if (ok && (m_stat.st_uid != ::geteuid() || m_stat.st_gid != ::getegid()))
            (void)!::fchown(out.get(), m_stat.st_uid, m_stat.st_gid); // only root can; others keep theirs
        out.Reset();
        ok = ok && ::rename(temp.c_str(), m_path.c_str()) == 0;
        if (!ok)
            ::unlink(temp.c_str());
        return ok;
    }

    // Takes back an empty file this write created but did not use.
    void DiscardIfCreated()
    {
        if (m_created && m_ok && m_stat.st_size == 0)
            ::unlink(m_path.c_str());
    }

private:
    std::string m_path;
    Fd m_fd;
    struct stat m_stat = {};
    bool m_ok = false;
    bool m_created = false;
};

DWORD CopyOut(const char* s, std::size_t n, LPSTR out, DWORD size)
{
    if (!out || size == 0)
        return 0;
    if (n > size - 1)
        n = size - 1;
    std::memcpy(out, s, n);
    out[n] = '\0';
    return static_cast<DWORD>(n);
}

} // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR def, LPSTR out, DWORD size, LPCSTR file)
{
    if (!section || !key)
        return CopyOut("", 0, out, size);
    if (file) {
        Fd fd(::open(file, O_RDONLY | O_CLOEXEC));
        std::string text, value;
        if (fd.get() >= 0 && ReadAll(fd.get(), text) && os::profile::FindValue(text, section, key, &value))
            return CopyOut(value.data(), value.size(), out, size);
    }
    std::size_t n = def ? std::strlen(def) : 0;
    while (n > 0 && (def[n - 1] == ' ' || def[n - 1] == '\t'))
        --n;
    return CopyOut(def ? def : "", n, out, size);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)
{
    if (!section || !file || !*file)
        return FALSE;
    LockedFile locked(ResolvePath(file));
    std::string text;
    if (!locked.ok() || !locked.Read(text))
        return FALSE;
    switch (os::profile::Edit(text, section, key, value)) {
    case os::profile::EditResult::Unchanged:
        locked.DiscardIfCreated();
        return TRUE;
    case os::profile::EditResult::Refused:
        locked.DiscardIfCreated();
        return FALSE;
    case os::profile::EditResult::Changed:
        break;
    }
    return locked.Replace(text) ? TRUE : FALSE;
}

namespace os {

BOOL WritePrivateProfileEntries(LPCSTR section, const ProfileEntry* entries, int count, bool appendBreak,
                                LPCSTR file)
{
    if (!section || !file || !*file || count < 0 || (count > 0 && !entries))
        return FALSE;
    LockedFile locked(ResolvePath(file));
    std::string text;
    if (!locked.ok() || !locked.Read(text))
        return FALSE;
    bool allStored = true, changed = false;
    for (int i = 0; i < count; ++i) {
        if (!entries[i].key) { // deleting a section is not a key write
            allStored = false;
            continue;
        }
        switch (profile::Edit(text, section, entries[i].key, entries[i].value)) {
        case profile::EditResult::Changed:
            changed = true;
            break;
        case profile::EditResult::Refused:
            allStored = false;
            break;
        case profile::EditResult::Unchanged:
            break;
        }
    }
    if (appendBreak) {
        text += profile::LineBreakOf(text);
        changed = true;
    }
    if (!changed) {
        locked.DiscardIfCreated();
        return allStored ? TRUE : FALSE;
    }
    return locked.Replace(text) && allStored ? TRUE : FALSE;
}

BOOL AppendPrivateProfileLineBreak(LPCSTR file)
{
    if (!file || !*file)
        return FALSE;
    LockedFile locked(ResolvePath(file));
    std::string text;
    if (!locked.ok() || !locked.Read(text))
        return FALSE;
    text += profile::LineBreakOf(text);
    return locked.Replace(text) ? TRUE : FALSE;
}

} // namespace os
