// The program's command line: what the user asked for when starting Sabrix.
#pragma once

#include <string>
#include <vector>

namespace sabrix {

// --render FILE --out PNG [--width W] [--height H] [--three-column] [--omit-faint] [--stats]
struct RenderOptions {
    std::string file;
    std::string out;
    int width = 1200;
    int height = 700;
    bool threeColumn = false;
    bool omitFaint = false;
    bool stats = false;
};

// --convert FILE --out OUT [--three-column] [--to star|three-column]
struct ConvertOptions {
    enum class Target { SameKind, StarFile, ThreeColumn };
    std::string file;
    std::string out;
    bool threeColumn = false;
    Target to = Target::SameKind;
};

struct CommandLineRequest {
    enum class Kind { Gui, Help, Version, Render, Convert, Invalid };
    Kind kind = Kind::Gui;
    // For Gui: a star file to load once the window is open (may be empty).
    std::string fileToLoad;
    RenderOptions render;
    ConvertOptions convert;
    // For Gui: the whole command line after the program name, arguments joined by blanks
    // (the text that the "/alwayssave" switch is compared with).
    std::string commandLine;
    // For Invalid: what was wrong, for the first line of the usage message.
    std::string problem;
};

// Interprets the arguments after the program name. No argument or "/alwayssave" starts the
// windows; one FILE starts them and loads it; "--help" or "-h" asks for the usage text;
// "--version" for the version line; "--render" and "--convert" run without a window.
// Anything else is Invalid with a description. Never throws.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& args);

// The usage text printed by --help and, after the problem, for an invalid command line.
std::string UsageText();
// "Sabrix " + the program's version.
std::string VersionText();

}  // namespace sabrix
