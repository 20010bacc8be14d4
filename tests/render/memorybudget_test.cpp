#include "render/memorybudget.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// A control-group tree in a temporary folder: limit files written at paths
// below it.
class FakeGroupTree {
public:
    void Limit(const std::string& path, const char* file, const std::string& value)
    {
        std::filesystem::create_directories(folder_.path() + path);
        WriteFileBytes(folder_.path() + path + "/" + file, value + "\n");
    }
    // A mountinfo line that mounts the tree's root of the group tree at
    // this folder.
    std::string Mount(const std::string& root, const char* type, const char* superOptions) const
    {
        return "40 30 0:37 " + root + " " + folder_.path() + " rw,relatime shared:9 - " + type + " " + type + " " +
               superOptions + "\n";
    }

private:
    TempFolder folder_;
};

} // namespace

TEST(MemoryBudget, AQuarterOfTheLeastLimit)
{
    MemoryLimits limits;
    EXPECT_EQ(BudgetForLimits(limits, false), kGiB) << "nothing known";
    limits.physical = 24 * kGiB;
    EXPECT_EQ(BudgetForLimits(limits, false), 6 * kGiB);
    EXPECT_EQ(BudgetForLimits(limits, true), 512u << 20);
    limits.controlGroup = 2 * kGiB;
    EXPECT_EQ(BudgetForLimits(limits, false), kGiB / 2);
    limits.data = kGiB;
    EXPECT_EQ(BudgetForLimits(limits, false), kGiB / 4);
    limits.addressSpace = 0;
    EXPECT_EQ(BudgetForLimits(limits, false), 0u) << "no room left at all";
}

TEST(MemoryBudget, ReadsVersion2LimitsOfTheGroupAndTheGroupsAboveIt)
{
    FakeGroupTree tree;
    tree.Limit("/user.slice", "memory.max", "3221225472");
    tree.Limit("/user.slice/app.scope", "memory.max", "max");
    const std::string mounts = "22 1 0:21 / /proc rw - proc proc rw\n" + tree.Mount("/", "cgroup2", "rw");
    EXPECT_EQ(ControlGroupMemoryLimit("0::/user.slice/app.scope\n", mounts), 3 * kGiB);

    // A tighter limit below wins; "max" everywhere is no limit.
    tree.Limit("/user.slice/app.scope", "memory.max", "2147483648");
    EXPECT_EQ(ControlGroupMemoryLimit("0::/user.slice/app.scope\n", mounts), 2 * kGiB);
    tree.Limit("/user.slice", "memory.max", "max");
    tree.Limit("/user.slice/app.scope", "memory.max", "max");
    EXPECT_EQ(ControlGroupMemoryLimit("0::/user.slice/app.scope\n", mounts), kNoMemoryLimit);

    // Without a version 2 mount, or with a path that climbs out of the tree,
    // nothing is read.
    EXPECT_EQ(ControlGroupMemoryLimit("0::/user.slice/app.scope\n", "22 1 0:21 / /proc rw - proc proc rw\n"),
              kNoMemoryLimit);
    tree.Limit("", "memory.max", "1024");
    EXPECT_EQ(ControlGroupMemoryLimit("0::/../..\n", mounts), kNoMemoryLimit);
}

TEST(MemoryBudget, ReadsVersion1MemoryLimitsOnlyFromTheMemoryController)
{
    FakeGroupTree memory, cpu;
    memory.Limit("/docker/abc", "memory.limit_in_bytes", "2147483648");
    memory.Limit("", "memory.limit_in_bytes", "9223372036854771712");
    cpu.Limit("/docker/abc", "memory.limit_in_bytes", "1");
    const std::string mounts = cpu.Mount("/", "cgroup", "rw,cpu,cpuacct") + memory.Mount("/", "cgroup", "rw,memory");
    const std::string self = "5:cpu,cpuacct:/docker/abc\n4:memory:/docker/abc\n0::/\n";
    EXPECT_EQ(ControlGroupMemoryLimit(self, mounts), 2 * kGiB);

    // Inside a container the tree is often mounted from the group's own
    // folder, and /proc/self/cgroup still names the full path.
    FakeGroupTree own;
    own.Limit("", "memory.limit_in_bytes", "1073741824");
    EXPECT_EQ(ControlGroupMemoryLimit(self, own.Mount("/docker/abc", "cgroup", "rw,memory")), kGiB);

    // Both versions present: the least wins.
    FakeGroupTree unified;
    unified.Limit("/", "memory.max", "536870912");
    EXPECT_EQ(ControlGroupMemoryLimit(self, mounts + unified.Mount("/", "cgroup2", "rw")), kGiB / 2);

    // Garbage is no limit and no crash.
    EXPECT_EQ(ControlGroupMemoryLimit("4:memory\n::\n:::\n", mounts), kNoMemoryLimit);
    EXPECT_EQ(ControlGroupMemoryLimit(self, " - cgroup\n1 2 3 4 - cgroup x memory\n"), kNoMemoryLimit);
    memory.Limit("/docker/abc", "memory.limit_in_bytes", "99999999999999999999999");
    memory.Limit("", "memory.limit_in_bytes", "12ab");
    EXPECT_EQ(ControlGroupMemoryLimit(self, mounts), kNoMemoryLimit);
}

TEST(MemoryBudget, MountPointsWithSpacesAreDecoded)
{
    TempFolder folder;
    const std::string spaced = folder.file("a b");
    std::filesystem::create_directories(spaced + "/g");
    WriteFileBytes(spaced + "/g/memory.max", "4096\n");
    const std::string mounts = "40 30 0:37 / " + folder.file("a\\040b") + " rw - cgroup2 cgroup2 rw\n";
    EXPECT_EQ(ControlGroupMemoryLimit("0::/g\n", mounts), 4096u);
}

TEST(MemoryBudget, FollowsTheProcessesResourceLimits)
{
#if defined(DECAGON_UNDER_ASAN)
    GTEST_SKIP() << "AddressSanitizer's shadow memory counts as data far beyond any limit";
#endif
    // In a child, so that the limits stay there.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const MemoryLimits before = CurrentMemoryLimits();
        const std::uint64_t cap = 8 * kGiB;
        struct rlimit limit {
            cap, cap
        };
        bool ok = before.physical != kNoMemoryLimit && before.physical > 0;
        ok = ok && ::setrlimit(RLIMIT_DATA, &limit) == 0;
        const MemoryLimits after = CurrentMemoryLimits();
        ok = ok && after.data < cap && after.data > cap - kGiB;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
