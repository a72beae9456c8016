// SPDX-License-Identifier: GPL-3.0-or-later
// The message a later start hands to the running copy, written and read.
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"

namespace sabrix {

namespace {

std::string ExactText(double value) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

}  // namespace

std::string HandOffMessage(const std::string& file, const CommandLineRequest& request) {
    std::vector<std::string> options;
    if (request.load.kind)
        options.push_back(*request.load.kind == ObservationFileKind::ThreeColumnFile
                              ? "--three-column"
                              : "--star-file");
    if (request.load.timeOffset) {
        options.push_back("--time-offset");
        options.push_back(ExactText(*request.load.timeOffset));
    }
    if (request.view) {
        const ViewOption& v = *request.view;
        options.push_back("--view");
        options.push_back(ExactText(v.jdLeft) + "," + ExactText(v.jdRight) + "," +
                          ExactText(v.magTop) + "," + ExactText(v.magBottom));
    }
    std::string message = file;
    for (const std::string& option : options) message += '\0' + option;
    return message;
}

HandedFile ReadHandOffMessage(std::string_view message) {
    std::vector<std::string> args;
    for (;;) {
        const size_t nul = message.find('\0');
        args.emplace_back(message.substr(0, nul));
        if (nul == std::string_view::npos) break;
        message.remove_prefix(nul + 1);
    }
    HandedFile handed{args.front(), {}, std::nullopt};
    const CommandLineRequest request = ParseCommandLine(args);
    if (request.kind == CommandLineRequest::Kind::Gui && request.fileToLoad == handed.path) {
        handed.load = request.load;
        handed.view = request.view;
    }
    return handed;
}

}  // namespace sabrix
