// The order of the system calls that make a replaced file durable and keep
// it private until complete. This program stands in for fsync, fchmod and
// rename (its own definitions win over the C library's) and logs each call
// before passing it on.
#include "fileio/filereplace.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Call {
    std::string what; // "fsync", "fchmod" or "rename"
    ino_t inode = 0;  // of the file or folder the call was about
    bool folder = false;
    unsigned mode = 0;  // fchmod: the new permissions
    std::string target; // rename: the new name's content just after the call
};

std::vector<Call>& Log()
{
    static std::vector<Call> calls;
    return calls;
}

bool logging = false;

template <typename Function> Function Next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

Call About(const char* what, int fd)
{
    Call call;
    call.what = what;
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        call.inode = info.st_ino;
        call.folder = S_ISDIR(info.st_mode);
    }
    return call;
}

ino_t InodeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

extern "C" int fsync(int fd)
{
    if (logging)
        Log().push_back(About("fsync", fd));
    return Next<int (*)(int)>("fsync")(fd);
}

extern "C" int fchmod(int fd, mode_t mode) noexcept
{
    if (logging) {
        Call call = About("fchmod", fd);
        call.mode = mode & 07777;
        Log().push_back(call);
    }
    return Next<int (*)(int, mode_t)>("fchmod")(fd, mode);
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    const int result = Next<int (*)(const char*, const char*)>("rename")(from, to);
    if (logging) {
        Call call;
        call.what = "rename";
        call.inode = InodeOf(to);
        call.target = ReadFileBytes(to);
        Log().push_back(call);
    }
    return result;
}

TEST(ReplaceOrder, ContentFlushedThenWidenedThenRenamedThenFolderFlushed)
{
    TempFolder folder;
    const std::string path = folder.file("data.csv");
    WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0644);
    Log().clear();
    logging = true;
    const bool replaced = ReplaceFileContents(path, "new");
    logging = false;
    ASSERT_TRUE(replaced);

    const std::vector<Call>& calls = Log();
    ASSERT_EQ(calls.size(), 4u);
    const ino_t written = InodeOf(path);
    EXPECT_EQ(calls[0].what, "fsync");
    EXPECT_EQ(calls[0].inode, written);
    EXPECT_EQ(calls[1].what, "fchmod");
    EXPECT_EQ(calls[1].inode, written);
    EXPECT_EQ(calls[1].mode, 0644u);
    EXPECT_EQ(calls[2].what, "rename");
    EXPECT_EQ(calls[2].target, "new");
    EXPECT_EQ(calls[3].what, "fsync");
    EXPECT_TRUE(calls[3].folder);
    EXPECT_EQ(calls[3].inode, InodeOf(folder.path()));
}
