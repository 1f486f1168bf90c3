#include "lanacfg_contract.h"

namespace quorvel {

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
    std::string command = "lanacfg setlananumber";
    command += " ";
    command += lanaText;
    command += " 0";
    return command;
}

} // namespace quorvel
