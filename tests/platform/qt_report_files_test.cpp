#include "platform/qt_report_files.h"

#include "inventory/lana_tool.h"
#include "inventory/operation_error.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quorvel::OperationError;
using quorvel::QtReportFiles;
using Lines = std::vector<std::string>;
using namespace std::string_view_literals;

class QtReportFilesTest : public ::testing::Test {
protected:
    std::string write(std::string_view bytes)
    {
        const QString path = dir.filePath("report.txt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path.toStdString();
    }

    std::string errorOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const OperationError& error) {
            return error.what();
        }
        ADD_FAILURE() << "no error";
        return {};
    }

    QTemporaryDir dir;
    QtReportFiles files;
};

TEST_F(QtReportFilesTest, SplitsLinesOnLfDroppingTheCrBeforeIt)
{
    const struct {
        std::string_view bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\r\n\nb", {"a", "", "", "b"}},
        {"a\r\r\nb\rc", {"a\r", "b\rc"}},
        {"Lana: 3\0x\n\0\n"sv, {std::string("Lana: 3\0x", 9), std::string(1, '\0')}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
        EXPECT_EQ(files.readLines(write(c.bytes), quorvel::kMaxReportBytes), c.lines);
    }
}

TEST_F(QtReportFilesTest, MissingFileIsAnErrorNamingIt)
{
    const std::string message = errorOf(
        [&] { files.readLines(dir.filePath("absent.txt").toStdString(), quorvel::kMaxReportBytes); });
    EXPECT_NE(message.find("absent.txt"), std::string::npos) << message;
    EXPECT_FALSE(QFile::exists(dir.filePath("absent.txt")));
}

TEST_F(QtReportFilesTest, RefusesAFileOverTheLimit)
{
    const std::string path = write("");
    ASSERT_TRUE(QFile::resize(QString::fromStdString(path), qint64(quorvel::kMaxReportBytes) + 1));
    const std::string message = errorOf([&] { files.readLines(path, quorvel::kMaxReportBytes); });
    EXPECT_NE(message.find("report.txt"), std::string::npos) << message;
    EXPECT_NE(message.find(std::to_string(quorvel::kMaxReportBytes + 1)), std::string::npos)
        << message;

    const std::string atLimit = write("abcd\n");
    EXPECT_EQ(files.readLines(atLimit, 5), Lines{"abcd"});
}

TEST_F(QtReportFilesTest, EndlessDeviceIsRefusedOnceItPassesTheLimit)
{
    const QString link = dir.filePath("lanapaths.txt");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
    const std::string message = errorOf([&] { files.readLines(link.toStdString(), 3'000'000); });
    EXPECT_NE(message.find("Refused to read"), std::string::npos) << message;
}

TEST_F(QtReportFilesTest, RemoveDeletesAndAMissingFileIsAnError)
{
    const std::string path = write("x\n");
    files.remove(path);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

    const std::string message = errorOf([&] { files.remove(path); });
    EXPECT_NE(message.find("report.txt"), std::string::npos) << message;
}

} // namespace
