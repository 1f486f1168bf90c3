#include "inventory/system_interfaces.h"
#include "platform/system_access.h"
#include "tests/support/error_of.h"
#include "tests/support/scratch_folder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using quorvel::SystemRenumberingLock;
using quorvel::testing::errorOf;
using quorvel::testing::ScratchFolder;
using quorvel::testing::setEnvironment;
using quorvel::testing::unsetEnvironment;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The lock in a runtime folder of the test's own.
class RenumberingLockFile : public ::testing::Test {
protected:
    RenumberingLockFile() { setEnvironment("XDG_RUNTIME_DIR", scratch.path().string()); }
    ~RenumberingLockFile() override { unsetEnvironment("XDG_RUNTIME_DIR"); }

    fs::path lockFile() const { return scratch / "quorvel-renumbering.lock"; }

    ScratchFolder scratch;
};

TEST_F(RenumberingLockFile, IsTakenInTurn)
{
    SystemRenumberingLock first;
    first.acquire(std::chrono::seconds(1));
    EXPECT_TRUE(fs::is_regular_file(lockFile()));
    // Every lock object is a run of its own, even within one process.
    SystemRenumberingLock second;
    EXPECT_TRUE(contains(errorOf([&] { second.acquire(std::chrono::seconds(0)); }),
                         "another run was still giving an adapter LANA 0 after 0 s"));
    first.release();
    second.acquire(std::chrono::seconds(0));
    second.release();
}

TEST_F(RenumberingLockFile, RefusesAnythingButARegularFileOfThisUsers)
{
    std::ofstream(scratch / "target") << "keep me\n";
    const struct {
        const char* name;
        std::function<void(const fs::path&)> plant;
        const char* refusal;
    } cases[] = {
        {"a link", [this](const fs::path& at) { fs::create_symlink(scratch / "target", at); },
         "it is a symbolic link"},
        {"a FIFO", [](const fs::path& at) { ::mkfifo(at.c_str(), 0600); },
         "it is not a regular file"},
        {"another user's file",
         [](const fs::path& at) {
             std::ofstream(at) << "";
             if (::geteuid() == 0 && ::chown(at.c_str(), 65534, 65534) != 0)
                 ADD_FAILURE() << "could not hand the file to nobody";
         },
         ::geteuid() == 0 ? R"(it belongs to user "nobody", not to user "root")" : ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Only root can give a file away; others have nothing to refuse here.
        if (c.refusal[0] == '\0')
            continue;
        c.plant(lockFile());
        SystemRenumberingLock lock;
        const std::string error = errorOf([&] { lock.acquire(std::chrono::seconds(1)); });
        EXPECT_TRUE(contains(error, lockFile().string())) << error;
        EXPECT_TRUE(contains(error, c.refusal)) << error;
        fs::remove(lockFile());
    }
    std::ifstream in(scratch / "target");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep me\n");
}

} // namespace
