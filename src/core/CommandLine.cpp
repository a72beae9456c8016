#include "core/CommandLine.h"

namespace sabrix {

CommandLineRequest ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineRequest request;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            request.kind = CommandLineRequest::Kind::Help;
            return request;
        }
        if (arg == "--version") {
            request.kind = CommandLineRequest::Kind::Version;
            return request;
        }
    }
    if (args.empty()) return request;
    if (args.size() == 1 && args[0] == "/alwayssave") {
        request.commandLine = args[0];
        return request;
    }
    request.kind = CommandLineRequest::Kind::Invalid;
    for (const std::string& arg : args) {
        if (arg != "/alwayssave") {
            request.problem =
                (!arg.empty() && arg[0] == '-' ? "unknown option: " : "unexpected argument: ") +
                arg;
            break;
        }
    }
    if (request.problem.empty()) request.problem = "/alwayssave must be the only argument";
    return request;
}

std::string UsageText() {
    return "Usage: sabrix [/alwayssave]\n"
           "       sabrix --help | --version\n"
           "\n"
           "Plots the observations of one variable star.\n"
           "\n"
           "  /alwayssave   save to the star file without asking first\n"
           "  --help, -h    show this text and exit\n"
           "  --version     show the version and exit\n"
           "\n"
           "Sabrix keeps its settings, databases and files folder in the folder of the\n"
           "program, or in the folder named by the environment variable SABRIX_HOME.\n";
}

std::string VersionText() {
    return std::string("Sabrix ") + SABRIX_VERSION_TEXT;
}

}  // namespace sabrix
