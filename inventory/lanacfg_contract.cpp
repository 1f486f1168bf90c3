#include "lanacfg_contract.h"

#include "inventory/operation_error.h"

namespace quorvel {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::size_t kMostLanaDigits = 3;

bool isLanaNumberText(std::string_view lanaText)
{
    const std::size_t first = lanaText.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return lanaText.empty();
    const std::size_t end = lanaText.find_last_not_of(kBlanks) + 1;
    const std::string_view number = lanaText.substr(first, end - first);
    return number.size() <= kMostLanaDigits &&
           number.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

std::string reportCommand()
{
    std::string command = "cmd /c ";
    command += "lanacfg showlanapaths";
    command += " >";
    command += kReportFileName;
    return command;
}

std::string renumberCommand(std::string_view lanaText)
{
    if (!isLanaNumberText(lanaText))
        throw OperationError("The LANA text \"" + printableText(lanaText) +
                             "\" is not a LANA number, so no renumbering command was run.");
    std::string command = "lanacfg setlananumber";
    command += " ";
    command += lanaText;
    command += " 0";
    return command;
}

} // namespace quorvel
