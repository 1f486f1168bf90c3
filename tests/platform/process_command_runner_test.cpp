#include "platform/process_command_runner.h"

#include "inventory/operation_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

using quorvel::OperationError;
using quorvel::ProcessCommandRunner;

// Each test works in a fresh directory of its own and leaves the old one current again.
class ProcessCommandRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
    }
    void TearDown() override { QDir::setCurrent(previousDir); }

    QByteArray contents(const QString& name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir dir;
    ProcessCommandRunner runner;

private:
    QString previousDir = QDir::currentPath();
};

TEST_F(ProcessCommandRunnerTest, InterpreterFormRedirectsThroughTheShell)
{
    runner.run("cmd /c echo hello >out.txt");
    EXPECT_EQ(contents("out.txt"), "hello\n");
}

TEST_F(ProcessCommandRunnerTest, WaitsForTheCommandToEnd)
{
    runner.run("CMD /C sleep 0.3; echo late >late.txt");
    EXPECT_EQ(contents("late.txt"), "late\n");
}

TEST_F(ProcessCommandRunnerTest, OtherCommandLinesNeverReachAShell)
{
    QFile recorder(dir.filePath("record"));
    ASSERT_TRUE(recorder.open(QIODevice::WriteOnly));
    recorder.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > args.txt\n");
    recorder.close();
    ASSERT_TRUE(recorder.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    std::string commandLine = "\"";
    commandLine += dir.filePath("record").toStdString();
    runner.run(commandLine + "\" a;touch canary \"$(touch canary)\" `touch canary` x|touch canary"
                 " y&&touch canary \"two words\" >redirected");

    EXPECT_EQ(contents("args.txt"),
              "a;touch\ncanary\n$(touch canary)\n`touch\ncanary`\nx|touch\ncanary\n"
              "y&&touch\ncanary\ntwo words\n>redirected\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("canary")));
    EXPECT_FALSE(QFile::exists(dir.filePath("redirected")));
}

TEST_F(ProcessCommandRunnerTest, CommandsThatCannotStartAreErrorsNamingThem)
{
    for (const std::string line : {"quorvel-no-such-program setlananumber 3 0", "", " \t"}) {
        SCOPED_TRACE(line);
        try {
            runner.run(line);
            ADD_FAILURE() << "no error";
        } catch (const OperationError& error) {
            EXPECT_NE(std::string(error.what()).find("\"" + line + "\""), std::string::npos)
                << error.what();
        }
    }
}

} // namespace
