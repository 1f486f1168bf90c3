#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

constexpr const char* kSampleList = "2\t3Com EtherLink III Adapter\n"
                                    "4\tIntel(R) PRO/100 Adapter\n";

// Runs the built program as a script would: no display, the stand-in lanacfg on PATH, a
// binding table of the test's own, and a working folder for the report file.
class Unattended : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }

    void writeFile(const QString& name, const QByteArray& content, bool executable = false)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    QByteArray readFile(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void useTable(const QByteArray& table) { writeFile(QStringLiteral("bindings.txt"), table); }

    // Puts a lanacfg before the stand-in that reports like it but refuses every renumbering.
    void refuseRenumbering()
    {
        ASSERT_TRUE(dir_.path().size() > 0);
        QDir().mkpath(path(QStringLiteral("refusing")));
        writeFile(QStringLiteral("refusing/lanacfg"),
                  "#!/bin/sh\n"
                  "[ \"$1\" = setlananumber ] && { echo 'lanacfg: refused' >&2; exit 1; }\n"
                  "exec '" LANACFG_DIR "/lanacfg' \"$@\"\n",
                  true);
        pathPrefix_ = path(QStringLiteral("refusing")) + QLatin1Char(':');
    }

    Outcome quorvel(const QStringList& arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("PATH"), pathPrefix_ + QStringLiteral(LANACFG_DIR ":") +
                                               env.value(QStringLiteral("PATH")));
        env.insert(QStringLiteral("LANACFG_STATE"), path(QStringLiteral("bindings.txt")));

        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(path(QStringLiteral("work")));
        QDir().mkpath(path(QStringLiteral("work")));
        process.start(QStringLiteral(QUORVEL_EXE), arguments);
        EXPECT_TRUE(process.waitForFinished(30'000));
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    QTemporaryDir dir_;
    QString pathPrefix_;
};

TEST_F(Unattended, ListsTheSampleWithNoDisplay)
{
    const Outcome run = quorvel({QStringLiteral("--list")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kSampleList);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("work/lanapaths.txt"))));
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
    const Outcome run = quorvel({QStringLiteral("--set"), QStringLiteral("Intel(R) PRO/100 Adapter")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0\tIntel(R) PRO/100 Adapter\n"
                       "2\t3Com EtherLink III Adapter\n");
    EXPECT_TRUE(readFile(QStringLiteral("bindings.txt"))
                    .contains("0\tNetBEUI Protocol\tIntel(R) PRO/100 Adapter"));
}

TEST_F(Unattended, UnknownOrDuplicatedAdapterIsAUsageErrorAndChangesNothing)
{
    const QByteArray table = "2\tNetBEUI Protocol\tTwin Card\n"
                             "5\tNetBEUI Protocol\tTwin Card\n"
                             "6\tNetBEUI Protocol\tOther Card\n";
    useTable(table);

    const Outcome unknown = quorvel({QStringLiteral("--set"), QStringLiteral("Twin")});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no adapter named \"Twin\""), std::string::npos) << unknown.err;

    const Outcome twice = quorvel({QStringLiteral("--set"), QStringLiteral("Twin Card")});
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("\"2\", \"5\""), std::string::npos) << twice.err;

    EXPECT_EQ(readFile(QStringLiteral("bindings.txt")), table);
}

TEST_F(Unattended, RenumberingThatDoesNotTakeIsStatus1)
{
    refuseRenumbering();
    const Outcome run = quorvel({QStringLiteral("--set"), QStringLiteral("3Com EtherLink III Adapter")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("still shows LANA \"2\""), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(Unattended, UnreadableReportIsStatus3WithOneLine)
{
    // A folder in the report file's place: the report can be neither written nor read.
    QDir().mkpath(path(QStringLiteral("work/lanapaths.txt")));
    const Outcome run = quorvel({QStringLiteral("--list")});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("quorvel: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("lanapaths.txt"), std::string::npos) << run.err;
}

TEST_F(Unattended, WrongCommandLinesAreUsageErrors)
{
    const QList<QStringList> cases = {
        {QStringLiteral("--bogus")},
        {QStringLiteral("--set")},
        {QStringLiteral("--list"), QStringLiteral("--set"), QStringLiteral("x")},
        {QStringLiteral("stray")},
    };
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome run = quorvel(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Usage: quorvel"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(Unattended, HelpAndVersionGoToStandardOutput)
{
    const Outcome help = quorvel({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--set <adapter>"), std::string::npos) << help.out;

    const Outcome version = quorvel({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("quorvel ", 0), 0u) << version.out;
}

} // namespace
