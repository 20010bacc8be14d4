// What a save writes when the path is not a plain file: FIFOs, devices, open
// descriptors, sockets and symbolic links, and the temporaries a killed save
// leaves.
#include "fileio/filereplace.h"
#include "fileio/tempname.h"
#include "fileio/writetarget.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

mode_t KindOf(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// A process id that no process has: one of a child that has ended.
pid_t EndedProcessId()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

std::string LinkTarget(const std::string& link)
{
    std::error_code error;
    return std::filesystem::read_symlink(link, error).string();
}

} // namespace

TEST(SaveTarget, AFifoIsWrittenIntoAndStaysAFifo)
{
    TempFolder folder;
    const std::string fifo = folder.file("pipe.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The reader comes a little after the writer, as in a shell pipeline.
    auto reader = ReadFifoToEnd(fifo, std::chrono::milliseconds(300));
    EXPECT_TRUE(ReplaceFileContents(fifo, "through the pipe"));
    EXPECT_EQ(reader.get(), "through the pipe");
    EXPECT_EQ(KindOf(fifo), S_IFIFO);
    EXPECT_EQ(FilesIn(folder.path()), 1);

    // Nobody ever reads: the save fails after a while instead of hanging.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ReplaceFileContents(fifo, "unread"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(KindOf(fifo), S_IFIFO);
    EXPECT_EQ(FilesIn(folder.path()), 1);
}

TEST(SaveTarget, CharacterDevicesAreWrittenIntoNeverReplaced)
{
    TempFolder folder;
    const std::string null = folder.file("null"), full = folder.file("full");
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "no device nodes can be made here";
    EXPECT_TRUE(ReplaceFileContents(null, "discarded"));
    EXPECT_EQ(KindOf(null), S_IFCHR);
    // The device's own error comes back as a failed save: "full" has no room.
    EXPECT_FALSE(ReplaceFileContents(full, "no room"));
    EXPECT_EQ(KindOf(full), S_IFCHR);
    EXPECT_EQ(FilesIn(folder.path()), 2);
    // A link to a device leads to the device.
    ASSERT_EQ(::symlink("null", folder.file("link").c_str()), 0);
    EXPECT_TRUE(ReplaceFileContents(folder.file("link"), "discarded"));
    EXPECT_EQ(KindOf(null), S_IFCHR);
    EXPECT_EQ(LinkTarget(folder.file("link")), "null");
}

TEST(SaveTarget, SocketsAndFoldersAreRefusedAndKept)
{
    TempFolder folder;
    const std::string socketPath = folder.file("socket");
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(server, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(ReplaceFileContents(socketPath, "lost"));
    EXPECT_EQ(KindOf(socketPath), S_IFSOCK);
    ::close(server);

    std::filesystem::create_directory(folder.file("sub"));
    EXPECT_FALSE(ReplaceFileContents(folder.file("sub"), "lost"));
    EXPECT_EQ(KindOf(folder.file("sub")), S_IFDIR);
    EXPECT_EQ(FilesIn(folder.path()), 2);
}

TEST(SaveTarget, OwnDescriptorsAreWrittenThroughNotReopened)
{
    TempFolder folder;
    // A file opened for appending, as a shell's ">>" opens standard output:
    // the earlier content stays and the new one follows it.
    const std::string log = folder.file("log");
    WriteFileBytes(log, "earlier\n");
    const int appended = ::open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(appended, 0);
    const std::string number = std::to_string(appended);
    EXPECT_TRUE(ReplaceFileContents("/dev/fd/" + number, "first\n"));
    EXPECT_TRUE(ReplaceFileContents("/proc/self/fd/" + number, "second\n"));
    EXPECT_EQ(ReadFileBytes(log), "earlier\nfirst\nsecond\n");
    EXPECT_EQ(FilesIn(folder.path()), 1);
    EXPECT_EQ(WriteTarget{}.kind, TargetKind::Refused);
    EXPECT_EQ(FindWriteTarget("/dev/fd/" + number).kind, TargetKind::Descriptor);
    // The descriptor stays open for its owner.
    EXPECT_EQ(::write(appended, "third\n", 6), 6);
    ::close(appended);
    EXPECT_EQ(ReadFileBytes(log), "earlier\nfirst\nsecond\nthird\n");

    // A pipe.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    EXPECT_TRUE(ReplaceFileContents("/dev/fd/" + std::to_string(ends[1]), "piped"));
    char bytes[16] = {};
    EXPECT_EQ(::read(ends[0], bytes, sizeof bytes), 5);
    EXPECT_STREQ(bytes, "piped");
    // The reading end cannot be written, and a closed descriptor is nothing.
    EXPECT_FALSE(ReplaceFileContents("/dev/fd/" + std::to_string(ends[0]), "x"));
    ::close(ends[0]);
    ::close(ends[1]);
    EXPECT_FALSE(ReplaceFileContents("/dev/fd/" + std::to_string(ends[1]), "x"));
}

TEST(SaveTarget, LinksLeadToTheFileTheyNameAndStay)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.file("real"));
    WriteFileBytes(folder.file("real/Vanteo.ini"), "old");
    // Relative links are read from the link's own folder, chains followed.
    ASSERT_EQ(::symlink("real/Vanteo.ini", folder.file("first").c_str()), 0);
    ASSERT_EQ(::symlink("first", folder.file("Vanteo.ini").c_str()), 0);
    EXPECT_TRUE(ReplaceFileContents(folder.file("Vanteo.ini"), "new"));
    EXPECT_EQ(ReadFileBytes(folder.file("real/Vanteo.ini")), "new");
    EXPECT_EQ(LinkTarget(folder.file("Vanteo.ini")), "first");
    EXPECT_EQ(LinkTarget(folder.file("first")), "real/Vanteo.ini");
    EXPECT_EQ(FilesIn(folder.file("real")), 1);

    // A dangling link gets its file made where it points.
    ASSERT_EQ(::symlink("real/made.ini", folder.file("dangling").c_str()), 0);
    EXPECT_TRUE(ReplaceFileContents(folder.file("dangling"), "made"));
    EXPECT_EQ(KindOf(folder.file("dangling")), S_IFLNK);
    EXPECT_EQ(ReadFileBytes(folder.file("real/made.ini")), "made");
    // An absolute one too.
    ASSERT_EQ(::symlink(folder.file("real/absolute.ini").c_str(), folder.file("absolute").c_str()), 0);
    EXPECT_TRUE(ReplaceFileContents(folder.file("absolute"), "abs"));
    EXPECT_EQ(ReadFileBytes(folder.file("real/absolute.ini")), "abs");

    // A loop, or a link into a folder that does not exist, fails and leaves
    // the links as they were.
    ASSERT_EQ(::symlink("loop-b", folder.file("loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", folder.file("loop-b").c_str()), 0);
    EXPECT_FALSE(ReplaceFileContents(folder.file("loop-a"), "x"));
    ASSERT_EQ(::symlink("nowhere/x.ini", folder.file("lost").c_str()), 0);
    EXPECT_FALSE(ReplaceFileContents(folder.file("lost"), "x"));
    EXPECT_EQ(LinkTarget(folder.file("loop-a")), "loop-b");
    EXPECT_EQ(LinkTarget(folder.file("lost")), "nowhere/x.ini");
    EXPECT_EQ(FilesIn(folder.path()), 8);
}

TEST(SaveTarget, InASharedStickyFolderOnlyTrustedLinksAreFollowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs to give files to other users";
    TempFolder folder;
    const uid_t folderOwner = 1000, stranger = 65534;
    const std::string shared = folder.file("shared"), elsewhere = folder.file("elsewhere");
    std::filesystem::create_directory(shared);
    std::filesystem::create_directory(elsewhere);
    ASSERT_EQ(::chown(shared.c_str(), folderOwner, folderOwner), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    WriteFileBytes(elsewhere + "/victim", "precious");
    auto link = [&](const std::string& name, uid_t owner) {
        const std::string path = shared + "/" + name;
        EXPECT_EQ(::symlink((elsewhere + "/" + name + ".target").c_str(), path.c_str()), 0);
        EXPECT_EQ(::lchown(path.c_str(), owner, owner), 0);
        return path;
    };

    // A stranger's link, existing target or dangling: refused, nothing
    // written anywhere.
    ASSERT_EQ(::symlink((elsewhere + "/victim").c_str(), (shared + "/planted").c_str()), 0);
    ASSERT_EQ(::lchown((shared + "/planted").c_str(), stranger, stranger), 0);
    EXPECT_FALSE(ReplaceFileContents(shared + "/planted", "overwritten"));
    EXPECT_EQ(ReadFileBytes(elsewhere + "/victim"), "precious");
    EXPECT_FALSE(ReplaceFileContents(link("dangling", stranger), "made"));
    EXPECT_FALSE(FileExists(elsewhere + "/dangling.target"));
    EXPECT_EQ(FindWriteTarget(shared + "/planted").kind, TargetKind::Refused);

    // The folder owner's links and our own are followed.
    EXPECT_TRUE(ReplaceFileContents(link("owners", folderOwner), "owner's"));
    EXPECT_EQ(ReadFileBytes(elsewhere + "/owners.target"), "owner's");
    EXPECT_TRUE(ReplaceFileContents(link("ours", ::geteuid()), "ours"));
    EXPECT_EQ(ReadFileBytes(elsewhere + "/ours.target"), "ours");

    // Without the sticky bit, or when not everyone may write there, the
    // stranger's link is an ordinary link.
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    EXPECT_TRUE(ReplaceFileContents(shared + "/planted", "unsticky"));
    ASSERT_EQ(::chmod(shared.c_str(), 01775), 0);
    EXPECT_TRUE(ReplaceFileContents(shared + "/planted", "group only"));
    EXPECT_EQ(ReadFileBytes(elsewhere + "/victim"), "group only");
}

TEST(SaveTarget, TemporariesSayWhoseTheyAreAndStaleOnesGo)
{
    TempFolder folder;
    const std::string target = folder.file("figure.csv");
    PendingFile pending;
    ASSERT_TRUE(BeginReplace(pending, target));
    const std::string ownName = pending.tempPath.substr(folder.path().size() + 1);
    EXPECT_EQ(ownName.rfind(".figure.csv.decagon-", 0), 0u) << ownName;
    const std::string ownProcess = std::string("-").append(std::to_string(::getpid())).append("-");
    EXPECT_NE(ownName.find(ownProcess), std::string::npos) << ownName;
    AbortReplace(pending);

    // What a killed save of an ended process left, and temporaries that are
    // not stale or not ours to judge.
    const std::string dead = TemporaryNameFor(target, EndedProcessId(), 0x1);
    const std::string running = TemporaryNameFor(target, ::getppid(), 0x2);
    const std::string mine = TemporaryNameFor(target, ::getpid(), 0x3);
    std::string foreign = TemporaryNameFor(target, EndedProcessId(), 0x4);
    const auto tagAt = foreign.find(".decagon-") + 9;
    foreign.replace(tagAt, 8, foreign.substr(tagAt, 8) == "00000000" ? "00000001" : "00000000");
    const std::string otherFile = TemporaryNameFor(folder.file("other.csv"), EndedProcessId(), 0x5);
    const std::string lookalike = folder.file(".figure.csv.decagon-notours.tmp");
    for (const std::string& path : {dead, running, mine, foreign, otherFile, lookalike})
        WriteFileBytes(path, "partial");
    const std::string deadFolder = TemporaryNameFor(target, EndedProcessId(), 0x6);
    std::filesystem::create_directory(deadFolder);

    EXPECT_TRUE(ReplaceFileContents(target, "saved"));
    EXPECT_FALSE(FileExists(dead));
    for (const std::string& path : {running, mine, foreign, otherFile, lookalike, deadFolder})
        EXPECT_TRUE(FileExists(path)) << path;
    EXPECT_EQ(ReadFileBytes(target), "saved");

    // The longest names keep within the system's limit.
    const std::string longest = TemporaryNameFor(folder.file(std::string(255, 'n')), 4194304, 0xffffffffu);
    EXPECT_LE(longest.size() - folder.path().size() - 1, 255u);
}
