// SPDX-License-Identifier: GPL-3.0-or-later
// What the runs without a window (CommandLineTools.h) share: loading the file through the main
// window's commands into a scratch copy of the template database, and writing their outputs
// whole or not at all, each refusal said on standard error as the command line names it.
#pragma once

#include <QDir>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainWindowCommands.h"
#include "app/WindowHost.h"
#include "core/Prompts.h"
#include "core/ScratchFolder.h"
#include "plot/PlotImage.h"

class QIODevice;

namespace sabrix {

struct AppState;

namespace cli {

// The questions of a run without a window: every message is kept for the caller to print,
// and no dialog is ever answered.
class RecordingPrompts : public Prompts {
  public:
    struct Message {
        QString text;
        QString title;
    };
    std::vector<Message> messages;

    std::optional<QString> openFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<int32_t> chooseColor() override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString&) override { return std::nullopt; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }

  protected:
    Answer showMessage(const QString& text, const QString& title, Buttons buttons, Icon,
                       std::optional<Answer> dismissed) override {
        messages.push_back({text, title});
        return DismissedAnswer(buttons, dismissed);
    }
};

// A file loaded through the main window's commands into a scratch copy of the template, so
// that a running program's working database is never touched.
struct LoadedFile {
    // Where the canvases keep their pixels: their own, none (a vector picture is drawn again
    // on canvases of its own), or a picture of the whole area (size) that they draw into.
    enum class Pixels { Own, None, Picture };
    LoadedFile(const PlotAreaLayout& layout, Pixels pixels, QSize size)
        : picture(pixels == Pixels::Picture ? NewPlotAreaPicture(size.width(), size.height())
                                            : QImage()),
          canvases(pixels == Pixels::Picture ? PlotAreaCanvases(layout, picture)
                   : pixels == Pixels::None ? PlotAreaCanvases(layout, PlotAreaCanvases::NoPixels{})
                                            : PlotAreaCanvases(layout)) {}
    // Named after the process, so that the next run removes it when this one is killed.
    ScratchFolder scratch{QDir::tempPath().toStdString()};
    QImage picture;
    PlotAreaCanvases canvases;
    RecordingPrompts prompts;
    NoWindowHost host;
    std::unique_ptr<MainWindowCommands> commands;
    // The file loaded, by its full path.
    std::string file;
};

// Loads the file as the kind the options say or, when they say none, as the kind a dropped
// file would be read as (GuessObservationFileKind), with the state set up by prepare before
// the load; a star file's rows are written (and waited for) only when rows is set. Returns
// nothing after writing the program's messages to err.
std::unique_ptr<LoadedFile> LoadFile(
    const std::string& givenFile, const LoadOptions& load, bool rows, const std::string& programDir,
    const PlotAreaLayout& layout, const std::function<void(AppState&)>& prepare, std::ostream& err,
    LoadedFile::Pixels pixels = LoadedFile::Pixels::Own, QSize size = QSize());

// Says the failures reported while the loaded file was drawn (not the count of rejected
// lines, which the caller prints itself). Returns true when there was one.
bool PrintFailures(const LoadedFile& loaded, std::ostream& err);

// Refuses an output that is the input itself, under its own name, another name or through a
// link: writing it would destroy what is being read. Returns false after saying so on err,
// before anything is written.
bool OutputsSpareTheInput(const std::string& input, std::initializer_list<std::string> outputs,
                          std::ostream& err);

// Refuses two outputs that name the same file (directly, through a link or another name of
// it, or both "-"): one would be lost or both mixed. Returns false after saying so on err,
// before anything is written.
bool OutputsDiffer(std::initializer_list<std::pair<const char*, std::string>> outputs,
                   std::ostream& err);

// Replaces path through the checked writer, so an existing file stays whole unless the new
// one is completely on disk; "-" is standard output, written in place. Returns false after
// saying why on err.
bool WriteOutputWith(const std::string& path, const std::function<void(QIODevice&)>& writer,
                     std::ostream& out, std::ostream& err);

// WriteOutputWith for bytes in memory.
bool WriteOutput(const std::string& path, std::string_view bytes, std::ostream& out,
                 std::ostream& err);

// A refusal of a field as the command line says it: the field's caption ("Minimum period:")
// becomes the option that gave it ("--min-period:").
std::string OptionMessage(const QString& refusal);

// The lines a run prints when it is done: on standard output, unless one of its outputs went
// there; then only a count of rejected lines is said, on standard error.
void PrintSummary(std::initializer_list<std::string> outputs, const std::string& file,
                  const std::vector<std::string>& lines, int64_t rejected, std::ostream& out,
                  std::ostream& err);

// Shows only the bands of --bands, in the full view of their observations. Returns false
// after naming a band that no observation of the file has.
bool ShowOnlyBands(MainWindowCommands& commands, const std::vector<std::string>& bands,
                   const std::string& file, std::ostream& err);

}  // namespace cli

}  // namespace sabrix
