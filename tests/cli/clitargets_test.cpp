// decagon-cli writing into pipes, FIFOs and standard output by name, and
// under a memory limit.
#include "export/textfile.h"
#include "tests/cli/clifixture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using CliTargetTest = CliProcessTest;

std::string DefaultCsv() { return TextFileHeader() + TextFileDataLine(RecordWithHeight(kDefaultExpectedHeight)); }

bool IsFifo(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

} // namespace

TEST_F(CliTargetTest, StandardOutputByNameIsAppendedToNotReplaced)
{
    // decagon-cli --csv /dev/stdout >> log
    for (const char* name : {"/dev/stdout", "/dev/fd/1"}) {
        WriteFileBytes(Out("log"), "earlier lines\n");
        ProcessOptions appended;
        appended.standardOutput = Out("log");
        appended.appendOutput = true;
        const ProcessResult result = Run({"--csv", name}, appended);
        EXPECT_EQ(result.exitStatus, 0) << name << result.err;
        EXPECT_EQ(ReadFileBytes(Out("log")), "earlier lines\n" + DefaultCsv()) << name;
    }
    EXPECT_EQ(FolderNames(outputs.path()), std::vector<std::string>{"log"});
}

TEST_F(CliTargetTest, PipesAndFifosAreWrittenInto)
{
    // Standard output is a pipe, named as a file.
    for (const char* name : {"/dev/stdout", "/dev/fd/1"}) {
        ASSERT_EQ(::mkfifo(Out("stdout").c_str(), 0600), 0);
        auto piped = ReadFifoToEnd(Out("stdout"));
        ProcessOptions toPipe;
        toPipe.standardOutput = Out("stdout");
        const ProcessResult result = Run({"--csv", name}, toPipe);
        EXPECT_EQ(result.exitStatus, 0) << name << result.err;
        EXPECT_EQ(piped.get(), DefaultCsv()) << name;
        ::unlink(Out("stdout").c_str());
    }

    // A FIFO given as the file: its reader gets the file, and it stays a
    // FIFO.
    ASSERT_EQ(::mkfifo(Out("figure.csv").c_str(), 0600), 0);
    auto text = ReadFifoToEnd(Out("figure.csv"));
    ProcessResult result = Run({"--csv", Out("figure.csv"), "--verbose"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "File saved\nThe file is an aSCII Delimited File.\n");
    EXPECT_EQ(text.get(), DefaultCsv());
    EXPECT_TRUE(IsFifo(Out("figure.csv")));

    ASSERT_EQ(::mkfifo(Out("figure.png").c_str(), 0600), 0);
    auto image = ReadFifoToEnd(Out("figure.png"));
    result = Run({"--image", Out("figure.png"), "--height", "100"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    const std::string png = image.get();
    const QImage read = QImage::fromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()));
    EXPECT_EQ(read.size(), QSize(100, 100));
    EXPECT_TRUE(IsFifo(Out("figure.png")));
    EXPECT_EQ(FolderNames(outputs.path()), (std::vector<std::string>{"figure.csv", "figure.png"}));
}

TEST_F(CliTargetTest, AHeightBeyondTheMemoryLimitIsRefusedAndTheProgramLives)
{
#if defined(DECAGON_UNDER_ASAN)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit allows";
#endif
    ProcessOptions limited;
    limited.addressSpace = std::uint64_t{1} << 30;
    // Within the limit, but more than a quarter of what it leaves; and more
    // than the whole limit.
    for (const char* height : {"12000", "30000"}) {
        const ProcessResult result = Run({"--height", height, "--image", Out("big.bmp")}, limited);
        EXPECT_EQ(result.exitStatus, 1) << height;
        EXPECT_EQ(result.err, "Cannot create the image\n") << height;
        EXPECT_FALSE(FileExists(Out("big.bmp")));
    }
    // A figure of ordinary size is still made under the same limit.
    const ProcessResult result = Run({"--height", "1000", "--image", Out("fine.bmp")}, limited);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(QImage(QString::fromStdString(Out("fine.bmp"))).size(), QSize(1000, 1000));
}
