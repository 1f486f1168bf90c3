#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <pwd.h>
#include <regex>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;
using quorvel::testing::readFile;
using quorvel::testing::ScratchFolder;
using quorvel::testing::writeFile;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

constexpr const char* kSampleList = "2\t3Com EtherLink III Adapter\n"
                                    "4\tIntel(R) PRO/100 Adapter\n";

void writeScript(const fs::path& path, const std::string& content)
{
    writeFile(path, content);
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
}

// AddressSanitizer reserves terabytes of address space, so a limit on it cannot apply there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitized = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitized = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitized = false;
#endif

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string utf16LittleEndian(std::u16string_view text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Runs the built program as a script would: no display, the stand-in lanacfg on PATH (or a
// fake one before it), a binding table of the test's own, and a working folder for the
// report file.
class Unattended : public ::testing::Test {
protected:
    fs::path work() const { return scratch / "work"; }

    void useTable(const std::string& table) { writeFile(scratch / "bindings.txt", table); }

    // A lanacfg in a folder before the stand-in's on PATH; "$REAL" in the script is the
    // stand-in itself.
    void useFakeLanacfg(const std::string& script)
    {
        fs::create_directories(scratch / "fake");
        writeScript(scratch / "fake" / "lanacfg",
                    "#!/bin/sh\nREAL='" LANACFG_DIR "/lanacfg'\n" + script);
        path = (scratch / "fake").string() + ":" + path;
    }

    // The system's temporary folder for the program; the locks' is the scratch's "state".
    fs::path temporary() const { return scratch / "tmp"; }

    void start(QProcess& process, const QStringList& arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("PATH"), QString::fromStdString(path));
        env.insert(QStringLiteral("TMPDIR"), QString::fromStdString(temporary().string()));
        env.insert(QStringLiteral("XDG_STATE_HOME"),
                   QString::fromStdString((scratch / "state").string()));
        env.insert(QStringLiteral("LANACFG_STATE"),
                   QString::fromStdString((scratch / "bindings.txt").string()));
        if (!pauseBeforeChange.empty())
            env.insert(QStringLiteral("LANACFG_TEST_PAUSE_BEFORE_CHANGE"),
                       QString::fromStdString(pauseBeforeChange));

        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString(work().string()));
        if (!standardOutput.empty())
            process.setStandardOutputFile(QString::fromStdString(standardOutput));
        if (childSetup)
            process.setChildProcessModifier(childSetup);
        process.start(QString::fromStdString(program), arguments);
    }

    static Outcome finish(QProcess& process)
    {
        EXPECT_TRUE(process.waitForFinished(60'000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    Outcome quorvel(const QStringList& arguments)
    {
        QProcess process;
        start(process, arguments);
        return finish(process);
    }

    // Two runs at the same time.
    std::pair<Outcome, Outcome> together(const QStringList& first, const QStringList& second)
    {
        QProcess one;
        QProcess other;
        start(one, first);
        start(other, second);
        Outcome firstRun = finish(one);
        return {std::move(firstRun), finish(other)};
    }

    ScratchFolder scratch;
    bool workMade = fs::create_directory(work()) && fs::create_directory(temporary());
    // Milliseconds the stand-in waits in setlananumber before it locks its table.
    std::string pauseBeforeChange;
    std::string path = std::string(LANACFG_DIR) + ":/usr/bin:/bin";
    std::string program = QUORVEL_EXE;
    std::string standardOutput;
    std::function<void()> childSetup;
};

TEST_F(Unattended, ListsTheSampleWithNoDisplay)
{
    const Outcome run = quorvel({QStringLiteral("--list")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kSampleList);
    EXPECT_FALSE(fs::exists(work() / "lanapaths.txt"));
}

TEST_F(Unattended, ListsNothingForATableWithoutNetBEUIOnALan)
{
    useTable("0\tNetBT\tIntel(R) PRO/100 Adapter\n"
             "1\tNetBEUI Protocol\tWAN Miniport (NetBEUI, Dial Out)\n");
    const Outcome run = quorvel({QStringLiteral("--list")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(Unattended, SetGivesTheAdapterLana0AndPrintsTheNewList)
{
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--set"), QStringLiteral("Intel(R) PRO/100 Adapter")},
          QStringList{QStringLiteral("--set-match"), QStringLiteral("intel(r) pro/100*")}}) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        fs::remove(scratch / "bindings.txt");
        const Outcome run = quorvel(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "0\tIntel(R) PRO/100 Adapter\n"
                           "2\t3Com EtherLink III Adapter\n");
        EXPECT_TRUE(contains(readFile(scratch / "bindings.txt"),
                             "0\tNetBEUI Protocol\tIntel(R) PRO/100 Adapter"));
    }
}

TEST_F(Unattended, SetComparesTheNamesBytesAsGiven)
{
    const std::string latin1Name = "Carte r\xe9seau";
    useTable("3\tNetBEUI Protocol\t" + latin1Name + "\n");
    // QProcess would encode the argument; the shell's printf passes the byte itself.
    writeScript(scratch / "set-latin1",
                "#!/bin/sh\nexec '" QUORVEL_EXE "' --set \"$(printf 'Carte r\\351seau')\"\n");
    QProcess shell;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), QString::fromStdString(path));
    env.insert(QStringLiteral("LANACFG_STATE"),
               QString::fromStdString((scratch / "bindings.txt").string()));
    env.remove(QStringLiteral("DISPLAY"));
    shell.setProcessEnvironment(env);
    shell.setWorkingDirectory(QString::fromStdString(work().string()));
    shell.start(QString::fromStdString((scratch / "set-latin1").string()), {});
    ASSERT_TRUE(shell.waitForFinished(60'000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_EQ(shell.readAllStandardOutput().toStdString(), "0\t" + latin1Name + "\n");
}

TEST_F(Unattended, UnknownOrDuplicatedAdapterIsAUsageErrorAndChangesNothing)
{
    const std::string table = "2\tNetBEUI Protocol\tTwin Card\n"
                              "5\tNetBEUI Protocol\tTwin Card\n"
                              "6\tNetBEUI Protocol\tOther Card\n";
    useTable(table);

    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{QStringLiteral("--set"), QStringLiteral("Twin")},
         "no adapter named \"Twin\" is listed; the listed adapters are:\n"
         "  Twin Card\n  Twin Card\n  Other Card\n"},
        {{QStringLiteral("--set"), QStringLiteral("Twin Card")}, R"(on LANAs "2", "5")"},
        {{QStringLiteral("--set-match"), QStringLiteral("*card")},
         "more than one listed adapter matches \"*card\":\n"
         "  Twin Card\n  Twin Card\n  Other Card\n"},
        {{QStringLiteral("--set-match"), QStringLiteral("Third*")},
         "no listed adapter matches \"Third*\"; the listed adapters are:\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome run = quorvel(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(contains(run.err, c.message)) << run.err;
    }

    EXPECT_EQ(readFile(scratch / "bindings.txt"), table);
}

TEST_F(Unattended, RenumberingThatDoesNotTakeIsStatus1NamingTheCommand)
{
    useFakeLanacfg("[ \"$1\" = setlananumber ] && { echo 'lanacfg: refused' >&2; exit 1; }\n"
                   "exec \"$REAL\" \"$@\"\n");
    const Outcome run =
        quorvel({QStringLiteral("--set"), QStringLiteral("3Com EtherLink III Adapter")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "still shows LANA \"2\"")) << run.err;
    EXPECT_TRUE(contains(run.err, "\"lanacfg setlananumber 2 0\" exited with status 1")) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(Unattended, LanaTextWithTrailingBlanksCountsAsTaken)
{
    useFakeLanacfg("if [ \"$1\" = setlananumber ]; then touch \"$0.done\"; exit 0; fi\n"
                   "[ -e \"$0.done\" ] && lana='0 ' || lana=3\n"
                   "printf 'Lana:  %s\\n-->NetBEUI Protocol-->Card\\n' \"$lana\"\n");
    const Outcome run = quorvel({QStringLiteral("--set"), QStringLiteral("Card")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0 \tCard\n");
}

TEST_F(Unattended, ReportCommandThatFailsIsStatus3SayingHowItEnded)
{
    const struct {
        const char* name;
        std::string script; // empty: no lanacfg on PATH at all
        const char* how;
    } cases[] = {
        {"missing", "",
         "exited with status 127: lanacfg was not found on the search path "
         "(looked in the folders listed in PATH)"},
        {"exit 1", "echo 'lanacfg: broken' >&2\nexit 1\n", "exited with status 1"},
        {"killed", "echo 'Lana:  2'\nkill -KILL $$\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        path = "/usr/bin:/bin";
        if (!c.script.empty())
            useFakeLanacfg(c.script);
        const Outcome run = quorvel({QStringLiteral("--list")});
        EXPECT_EQ(run.status, 3) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(contains(run.err, "quorvel: the report command \"cmd /c lanacfg showlanapaths "
                                      ">lanapaths.txt\" "))
            << run.err;
        EXPECT_TRUE(contains(run.err, c.how)) << run.err;
        EXPECT_FALSE(fs::exists(work() / "lanapaths.txt"));
    }
}

TEST_F(Unattended, HungReportCommandIsStoppedAtTheTimeout)
{
    useFakeLanacfg("sleep 60\n");
    const Outcome run =
        quorvel({QStringLiteral("--list"), QStringLiteral("--timeout"), QStringLiteral("1")});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(contains(run.err, "was still running after 1 s and was stopped")) << run.err;
}

// Whether the process has ended: gone, or a zombie that its parent has yet to collect.
bool processEnded(pid_t pid)
{
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t state = stat.rfind(") ");
    return stat.empty() || (state != std::string::npos && stat.compare(state + 2, 1, "Z") == 0);
}

TEST_F(Unattended, SignalEndsTheReportCommandRemovesTheReportAndEndsTheRunAsItself)
{
    useFakeLanacfg("echo 'lanacfg: waiting' >&2\necho $$ > '" + (scratch / "lanacfg.pid").string() +
                   "'\nexec sleep 60\n");
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        fs::remove(scratch / "lanacfg.pid");
        QProcess process;
        start(process, {QStringLiteral("--list")});
        ASSERT_TRUE(process.waitForStarted());
        for (int wait = 0; wait < 500 && readFile(scratch / "lanacfg.pid").empty(); ++wait)
            ::usleep(10'000);
        const pid_t lanacfg = std::stoi(readFile(scratch / "lanacfg.pid"));
        ::kill(static_cast<pid_t>(process.processId()), signalNumber);
        ASSERT_TRUE(process.waitForFinished(10'000));

        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(process.exitCode(), signalNumber);
        // Nothing of the run's report folder either.
        EXPECT_TRUE(fs::is_empty(temporary()));
        bool ended = false;
        for (int wait = 0; wait < 500 && !ended; ++wait, ::usleep(10'000))
            ended = processEnded(lanacfg);
        EXPECT_TRUE(ended);
    }
}

TEST_F(Unattended, ReportCommandsErrorsReachStandardError)
{
    useFakeLanacfg("echo 'lanacfg: a word for the user' >&2\nexec \"$REAL\" \"$@\"\n");
    const Outcome run = quorvel({QStringLiteral("--list")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kSampleList);
    EXPECT_EQ(run.err, "lanacfg: a word for the user\n");
}

TEST_F(Unattended, ScriptsNeedNoWritableFolderAndLeaveNothingBehind)
{
    // A report of an earlier run and a link at the report's name, in a folder this user may
    // not write: neither is read, written through or removed.
    writeFile(work() / "lanapaths.txt", "Lana:  9\n-->NetBEUI Protocol-->Old Card\n");
    writeFile(scratch / "precious.txt", "keep me\n");
    fs::create_symlink(scratch / "precious.txt", work() / "elsewhere");
    const auto before = [this] {
        std::string listing;
        for (const auto& entry : fs::directory_iterator(work()))
            listing += entry.path().filename().string() + "\n";
        return listing;
    };
    const std::string listing = before();
    fs::permissions(work(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    if (::geteuid() == 0) {
        // Root may write anything: run as nobody, who may use the scratch and temporary folders.
        fs::permissions(scratch.path(), fs::perms::all);
        fs::permissions(temporary(), fs::perms::all);
        childSetup = [] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(98);
        };
    }
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--list")},
          QStringList{QStringLiteral("--set"), QStringLiteral("Intel(R) PRO/100 Adapter")}}) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome run = quorvel(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(contains(run.out, "Intel(R) PRO/100 Adapter")) << run.out;
        EXPECT_EQ(before(), listing);
        EXPECT_EQ(readFile(work() / "lanapaths.txt"), "Lana:  9\n-->NetBEUI Protocol-->Old Card\n");
        EXPECT_EQ(readFile(scratch / "precious.txt"), "keep me\n");
        EXPECT_TRUE(fs::is_empty(temporary()));
    }
    fs::permissions(work(), fs::perms::owner_all, fs::perm_options::add);
}

TEST_F(Unattended, SimultaneousSetsForOneAdapterBothEndWithItOnLana0)
{
    // Each run would read LANA 4 before the other's change, and the second change would undo
    // the first, were they not to take turns.
    pauseBeforeChange = "200";
    const QStringList set = {QStringLiteral("--set"), QStringLiteral("Intel(R) PRO/100 Adapter")};
    const std::string changed = "0\tIntel(R) PRO/100 Adapter\n2\t3Com EtherLink III Adapter\n";
    for (int pair = 1; pair <= 20; ++pair) {
        SCOPED_TRACE("pair " + std::to_string(pair));
        fs::remove(scratch / "bindings.txt");
        const auto [one, other] = together(set, set);
        EXPECT_EQ(one.status, 0) << one.err;
        EXPECT_EQ(other.status, 0) << other.err;
        EXPECT_EQ(one.out, changed);
        EXPECT_EQ(other.out, changed);
        EXPECT_EQ(quorvel({QStringLiteral("--list")}).out, changed);
    }
}

TEST_F(Unattended, SimultaneousSetsForTwoAdaptersKeepEachChangeTillItIsChecked)
{
    pauseBeforeChange = "200";
    const struct {
        const char* adapter;
        const char* listWithItOn0;
    } sets[] = {
        {"Intel(R) PRO/100 Adapter", "0\tIntel(R) PRO/100 Adapter\n"},
        {"3Com EtherLink III Adapter", "0\t3Com EtherLink III Adapter\n"},
    };
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        fs::remove(scratch / "bindings.txt");
        const auto [one, other] =
            together({QStringLiteral("--set"), QString::fromLatin1(sets[0].adapter)},
                     {QStringLiteral("--set"), QString::fromLatin1(sets[1].adapter)});
        EXPECT_EQ(one.status, 0) << one.err;
        EXPECT_EQ(other.status, 0) << other.err;
        EXPECT_EQ(one.out.rfind(sets[0].listWithItOn0, 0), 0u) << one.out;
        EXPECT_EQ(other.out.rfind(sets[1].listWithItOn0, 0), 0u) << other.out;
        // The later run's list is the final table.
        const std::string final = quorvel({QStringLiteral("--list")}).out;
        EXPECT_TRUE(final == one.out || final == other.out) << final;
    }
}

TEST_F(Unattended, ARunThatStopsWaitingKeepsTheLockTillItsRenumberingEnds)
{
    // The quick second renumbers from the first's result (3Com on LANA 0, Intel on 4) to Intel on
    // 0 and 3Com on 4. Were it not to wait, 3Com would end on LANA 0.
    const fs::path started = scratch / "renumbering";
    useFakeLanacfg("[ \"$1\" = setlananumber ] && touch '" + started.string() +
                   "'\nexec \"$REAL\" \"$@\"\n");
    for (const int signalNumber : {0, SIGINT, SIGKILL}) {
        SCOPED_TRACE(signalNumber == 0 ? "--timeout 1" : "signal " + std::to_string(signalNumber));
        fs::remove(scratch / "bindings.txt");
        fs::remove(started);
        pauseBeforeChange = "2000";
        QProcess first;
        start(first, {QStringLiteral("--set"), QStringLiteral("3Com EtherLink III Adapter"),
                      QStringLiteral("--timeout"), QString::number(signalNumber == 0 ? 1 : 60)});
        for (int wait = 0; wait < 3000 && !fs::exists(started); ++wait)
            ::usleep(10'000);
        if (signalNumber != 0)
            ::kill(static_cast<pid_t>(first.processId()), signalNumber);
        ASSERT_TRUE(first.waitForFinished(60'000));
        pauseBeforeChange.clear();
        const Outcome second =
            quorvel({QStringLiteral("--set"), QStringLiteral("Intel(R) PRO/100 Adapter")});
        EXPECT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(second.out, "0\tIntel(R) PRO/100 Adapter\n4\t3Com EtherLink III Adapter\n");
    }
}

TEST_F(Unattended, LockPlacesOfOtherUsersNeitherBlockNorPass)
{
    const std::string user = "quorvel-test-" + std::to_string(::getpid());
    if (::geteuid() != 0 || std::system(("useradd -r -M " + user + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no test user: useradd needs root, and this run is not root";
    const std::shared_ptr<void> removeUser(
        nullptr, [&user](void*) { std::system(("userdel " + user).c_str()); });
    const passwd* other = ::getpwnam(user.c_str());
    // The lock's old place, in a temporary folder that every user may write.
    fs::permissions(temporary(), fs::perms::all | fs::perms::sticky_bit);
    const fs::path oldPlace = temporary() / "quorvel-0-renumbering.lock";
    const QStringList set = {QStringLiteral("--set"), QStringLiteral("Intel(R) PRO/100 Adapter")};
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "a link" : "a file");
        fs::remove(oldPlace);
        link ? fs::create_symlink(scratch / "elsewhere", oldPlace) : writeFile(oldPlace, "");
        ASSERT_EQ(::lchown(oldPlace.c_str(), other->pw_uid, other->pw_gid), 0);
        const Outcome run = quorvel(set);
        EXPECT_EQ(run.status, 0) << run.err;
    }
    ASSERT_EQ(::chown((scratch / "state" / "quorvel").c_str(), other->pw_uid, other->pw_gid), 0);
    const Outcome refused = quorvel(set);
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(contains(refused.err, "it belongs to user \"" + user + "\"")) << refused.err;
}

TEST_F(Unattended, OddOrMonstrousReportsAreRefusedQuickly)
{
    const struct {
        const char* name;
        std::string script;
        const char* message;
    } cases[] = {
        // Written after the redirection made the file: only the reading can catch it.
        {"FIFO", "rm -f lanapaths.txt; mkfifo lanapaths.txt\n", "not a regular file"},
        {"64 MiB of line breaks", "head -c 67108864 /dev/zero | tr '\\0' '\\n'\n",
         "lines a report can have"},
        {"a stray NUL", "printf 'Lana:  2\\n-->NetBEUI\\0 Protocol-->Card\\n'\n", "is NUL"},
    };
    // Far less than the line breaks would take as one string each.
    if (!kAddressSanitized) {
        childSetup = [] {
            const rlimit limit{1536ULL << 20, 1536ULL << 20};
            ::setrlimit(RLIMIT_AS, &limit);
        };
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        path = std::string(LANACFG_DIR) + ":/usr/bin:/bin";
        useFakeLanacfg(c.script);
        const Outcome run = quorvel({QStringLiteral("--list")});
        EXPECT_EQ(run.status, 3) << run.err;
        EXPECT_TRUE(contains(run.err, c.message)) << run.err;
        EXPECT_TRUE(contains(run.err, "lanapaths.txt")) << run.err;
        fs::remove(work() / "lanapaths.txt");
    }
}

TEST_F(Unattended, ListsReportsInUtf16OrWithCrLineEnds)
{
    const struct {
        const char* name;
        std::string report;
        const char* listed;
    } cases[] = {
        // As a Windows tool writes it when redirected.
        {"UTF-16 LE with its mark",
         utf16LittleEndian(u"\uFEFFLana:  2\r\n-->NetBEUI Protocol-->Carte "
                           u"r\u00E9seau\r\nLana:  4\r\n-->NetBEUI Protocol-->Card B\r\n"),
         "2\tCarte r\xC3\xA9seau\n4\tCard B\n"},
        {"UTF-16 LE without a mark, as cmd /u writes it",
         utf16LittleEndian(u"Lana:  2\r\n-->NetBEUI Protocol-->Card A\r\n"), "2\tCard A\n"},
        {"CR line ends",
         "Lana:  2\r-->NetBEUI Protocol-->Card A\rLana:  4\r-->NetBEUI Protocol-->Card B\r",
         "2\tCard A\n4\tCard B\n"},
        {"last line ending in CR", "Lana:  2\n-->NetBEUI Protocol-->Card A\r", "2\tCard A\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(scratch / "report", c.report);
        path = std::string(LANACFG_DIR) + ":/usr/bin:/bin";
        useFakeLanacfg("cat '" + (scratch / "report").string() + "'\n");
        const Outcome run = quorvel({QStringLiteral("--list")});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.listed);
    }
}

TEST_F(Unattended, BothCommandsRunTheLanacfgTheShellFinds)
{
    // An empty PATH entry is the working folder to the shell; a lanacfg planted there must
    // then serve the renumbering too, wherever the entry stands, though the report command
    // runs in a folder of its own.
    writeScript(work() / "lanacfg", "#!/bin/sh\necho \"$*\" >> '" +
                                        (scratch / "planted.log").string() +
                                        "'\nexec '" LANACFG_DIR "/lanacfg' \"$@\"\n");
    for (const char* entries : {":" LANACFG_DIR ":/usr/bin:/bin", "/usr/bin:/bin:"}) {
        SCOPED_TRACE(entries);
        fs::remove(scratch / "planted.log");
        fs::remove(scratch / "bindings.txt");
        path = entries;
        const Outcome run =
            quorvel({QStringLiteral("--set"), QStringLiteral("Intel(R) PRO/100 Adapter")});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readFile(scratch / "planted.log"),
                  "showlanapaths\nsetlananumber 4 0\nshowlanapaths\n");
    }
}

TEST_F(Unattended, BothCommandsRunFromAFolderWhoseNameIsLatin1)
{
    // QProcess would encode a Latin-1 PATH; the shell's printf passes the byte itself.
    const fs::path folder = scratch / "r\xe9seau";
    fs::create_directory(folder);
    writeScript(folder / "lanacfg", "#!/bin/sh\necho \"$*\" >> '" +
                                        (scratch / "planted.log").string() +
                                        "'\n"
                                        "exec '" LANACFG_DIR "/lanacfg' \"$@\"\n");
    program = (scratch / "latin1-path").string();
    writeScript(program, "#!/bin/sh\nPATH=\"$(printf '%s/r\\351seau' '" + scratch.path().string() +
                             "')\":$PATH exec '" QUORVEL_EXE "' \"$@\"\n");
    path = "/usr/bin:/bin";
    const Outcome list = quorvel({QStringLiteral("--list")});
    EXPECT_EQ(list.out, kSampleList) << list.err;
    const Outcome set =
        quorvel({QStringLiteral("--set"), QStringLiteral("Intel(R) PRO/100 Adapter")});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(readFile(scratch / "planted.log"),
              "showlanapaths\nshowlanapaths\nsetlananumber 4 0\nshowlanapaths\n");
}

TEST_F(Unattended, SetRefusesALanaTextThatIsNotANumberAndRunsNothing)
{
    useFakeLanacfg("[ \"$1\" = setlananumber ] && touch \"$0.ran\"\n"
                   "printf 'Lana:  3 & x\\033\\n-->NetBEUI Protocol-->Card\\n'\n");
    const Outcome run = quorvel({QStringLiteral("--set"), QStringLiteral("Card")});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "quorvel: The LANA text \"3 & x\\x1b\" is not a LANA number, so no "
                       "renumbering command was run.\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(scratch / "fake" / "lanacfg.ran"));
}

TEST_F(Unattended, OutputThatCannotBeWrittenIsStatus3)
{
    const struct {
        const char* name;
        std::function<void()> childSetup; // none: /dev/full
    } outputs[] = {
        {"a full disk", {}},
        {"a pipe whose reader has gone",
         [] {
             int ends[2];
             if (::pipe(ends) != 0 || ::dup2(ends[1], STDOUT_FILENO) < 0)
                 ::_exit(98);
             ::close(ends[0]);
         }},
        {"no standard output", [] { ::close(STDOUT_FILENO); }},
    };
    for (const auto& output : outputs) {
        standardOutput = output.childSetup ? "" : "/dev/full";
        childSetup = output.childSetup;
        for (const char* what : {"list", "help", "version"}) {
            SCOPED_TRACE(std::string(output.name) + ", --" + what);
            const Outcome run = quorvel({QStringLiteral("--") + QString::fromLatin1(what)});
            EXPECT_EQ(run.status, 3);
            EXPECT_EQ(run.err, std::string("quorvel: could not write the ") + what +
                                   " to standard output\n");
        }
    }
}

TEST_F(Unattended, RunsAtOnceAppendAWholeLineEachToOneLog)
{
    const QStringList list = {QStringLiteral("--list"), QStringLiteral("--log"),
                              QString::fromStdString((scratch / "runs.log").string())};
    for (int round = 0; round < 10; ++round)
        together(list, list);
    const std::regex twentyLines(R"((\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ\t[^\t\n]+\t[^\t\n]+\t)"
                                 R"([^\t\n]+\tlist\t\t\t\tlisted\t0\n){20})");
    const std::string log = readFile(scratch / "runs.log");
    EXPECT_TRUE(std::regex_match(log, twentyLines)) << log;
}

TEST_F(Unattended, MessagesShowControlCharactersEscapedButTheListKeepsThem)
{
    useFakeLanacfg("printf 'Lana:  2\\033[2J\\n-->NetBEUI Protocol-->Twin\\n'\n"
                   "printf 'Lana:  5\\b\\007\\n-->NetBEUI Protocol-->Twin\\n'\n");
    const Outcome run = quorvel({QStringLiteral("--set"), QStringLiteral("Twin")});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "on LANAs \"2\\x1b[2J\", \"5\\x08\\x07\"\n")) << run.err;

    const Outcome list = quorvel({QStringLiteral("--list")});
    EXPECT_EQ(list.out, "2\x1b[2J\tTwin\n5\b\a\tTwin\n");
}

TEST_F(Unattended, WrongCommandLinesAreUsageErrorsThatRunNothing)
{
    useFakeLanacfg("touch \"$0.ran\"\n");
    const QList<QStringList> cases = {
        {QStringLiteral("--bogus")},
        {QStringLiteral("--set"), QStringLiteral("A"), QStringLiteral("--set"),
         QStringLiteral("B")},
        {QStringLiteral("stray")},
        {QStringLiteral("--set="), QStringLiteral("Intel(R) PRO/100 Adapter")},
        {QStringLiteral("--set"), QStringLiteral("--list")},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome run = quorvel(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(contains(run.err, "\nType \"quorvel --help\" for usage.\n")) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(scratch / "fake" / "lanacfg.ran"));
}

TEST_F(Unattended, HelpAndVersionGoToStandardOutput)
{
    const Outcome help = quorvel({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "--set ADAPTER")) << help.out;

    const Outcome version = quorvel({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("quorvel ", 0), 0u) << version.out;
}

} // namespace
