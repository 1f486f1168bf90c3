#include "unattended_mode.h"

#include "assignment/adapter_by_name.h"
#include "inventory/binding_inventory.h"
#include "inventory/operation_error.h"
#include "inventory/plain_adapter_list.h"
#include "platform/process_command_runner.h"
#include "platform/qt_report_files.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <iostream>

namespace quorvel {

namespace {

// Exit statuses a script can test.
constexpr int kStatusDone = 0;
constexpr int kStatusNotTaken = 1;
constexpr int kStatusUsage = 2;
constexpr int kStatusError = 3;

constexpr const char* kProgramName = "quorvel";
constexpr const char* kDescription =
    "Shows the network adapters NetBEUI is bound to, with their LANA numbers, and gives the\n"
    "adapter you pick LANA 0. With no options it opens its window.\n"
    "\n"
    "Exit status: 0 done; 1 the renumbering did not take; 2 wrong command line, or no single\n"
    "adapter has the given name; 3 the binding report could not be had.";

void printRows(const PlainAdapterList& lstLANA, const PlainAdapterList& lstCard)
{
    for (int row = 0; row < lstCard.rowCount(); ++row)
        std::cout << lstLANA.rowText(row) << '\t' << lstCard.rowText(row) << '\n';
    std::cout.flush();
}

int listAdapters()
{
    PlainAdapterList lstLANA;
    PlainAdapterList lstCard;
    BindingInventory inventory(lstLANA, lstCard);
    ProcessCommandRunner runner;
    QtReportFiles files;
    inventory.GetLANAInfo(runner, files);
    printRows(lstLANA, lstCard);
    return kStatusDone;
}

int setAdapter(const std::string& adapterName)
{
    PlainAdapterList lstLANA;
    PlainAdapterList lstCard;
    ProcessCommandRunner runner;
    QtReportFiles files;
    const NamedAssignmentResult result =
        assignLana0ByName(adapterName, lstLANA, lstCard, runner, files);
    switch (result.outcome) {
    case NamedAssignmentOutcome::Assigned:
        // The refresh that confirmed the change is the new list.
        printRows(lstLANA, lstCard);
        return kStatusDone;
    case NamedAssignmentOutcome::NotTaken:
        std::cerr << kProgramName << ": " << result.message << '\n';
        return kStatusNotTaken;
    case NamedAssignmentOutcome::NotListed:
    case NamedAssignmentOutcome::Ambiguous:
        break;
    }
    std::cerr << kProgramName << ": " << result.message << '\n';
    return kStatusUsage;
}

// The parser runs before any application object exists, so it cannot know the program's name.
std::string helpText(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QString::fromLatin1(kProgramName));
    return text.toLocal8Bit().toStdString();
}

int usageError(const QCommandLineParser& parser, const QString& problem)
{
    std::cerr << kProgramName << ": " << problem.toLocal8Bit().constData() << "\n\n"
              << helpText(parser);
    return kStatusUsage;
}

} // namespace

std::optional<int> runUnattended(int argc, char* argv[])
{
    if (argc <= 1)
        return std::nullopt;

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    // Not addHelpOption(): its --help-all would list the GUI's own options, which do not apply.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the version."));
    parser.addOption(versionOption);
    const QCommandLineOption listOption(
        QStringLiteral("list"),
        QStringLiteral("Print each listed adapter as LANA<TAB>adapter name, one a line."));
    const QCommandLineOption setOption(
        QStringLiteral("set"),
        QStringLiteral("Give the adapter with exactly this name LANA 0, check that it took, "
                       "and print the new list."),
        QStringLiteral("adapter"));
    parser.addOption(listOption);
    parser.addOption(setOption);

    if (!parser.parse(arguments))
        return usageError(parser, parser.errorText());
    if (parser.isSet(helpOption)) {
        std::cout << helpText(parser);
        return kStatusDone;
    }
    if (parser.isSet(versionOption)) {
        std::cout << kProgramName << ' ' << QUORVEL_VERSION << '\n';
        return kStatusDone;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(parser, QStringLiteral("unexpected argument: ") +
                                      parser.positionalArguments().constFirst());
    if (parser.isSet(listOption) == parser.isSet(setOption))
        return usageError(parser, QStringLiteral("give one of --list and --set"));

    // QtCore only: these work over SSH and in CI, where there is no display.
    QCoreApplication app(argc, argv);
    try {
        if (parser.isSet(listOption))
            return listAdapters();
        return setAdapter(parser.value(setOption).toLocal8Bit().toStdString());
    } catch (const OperationError& error) {
        std::cerr << kProgramName << ": " << error.what() << '\n';
        return kStatusError;
    }
}

} // namespace quorvel
