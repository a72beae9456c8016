// The program's command line: what the user asked for when starting Sabrix.
#pragma once

#include <string>
#include <vector>

namespace sabrix {

struct CommandLineRequest {
    enum class Kind { Gui, Help, Version, Invalid };
    Kind kind = Kind::Gui;
    // For Gui: the whole command line after the program name, arguments joined by blanks
    // (the text that the "/alwayssave" switch is compared with).
    std::string commandLine;
    // For Invalid: what was wrong, for the first line of the usage message.
    std::string problem;
};

// Interprets the arguments after the program name. No argument or "/alwayssave" starts the
// windows; "--help" or "-h" asks for the usage text; "--version" for the version line.
// Anything else is Invalid with a description.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& args);

// The usage text printed by --help and, after the problem, for an invalid command line.
std::string UsageText();
// "Sabrix " + the program's version.
std::string VersionText();

}  // namespace sabrix
