// SPDX-License-Identifier: GPL-3.0-or-later
// The facade of the command layer: each command runs only when the needs declared for it in
// CommandNeeds.h are met.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "analysis/Bins.h"
#include "analysis/PeriodDialogs.h"
#include "core/SabrixError.h"
#include "interaction/RecordFields.h"
#include "plot/PlotImageFile.h"
#include "support/CommandsFixture.h"

namespace sabrix {
namespace {

using test::DataLine;
using test::EdgesOf;

// An argument that would change something if the command ran: the other file loaded, a
// corner of the plot pressed, the first line of the list chosen, and so on. The place of the
// parameter picks among the numbers, so that boxes and windows have an extent.
template <typename T, size_t place>
T Sample(MainWindowCommands& c, const std::string& other) {
    if constexpr (std::is_same_v<T, std::string>)
        return other;
    else if constexpr (std::is_same_v<T, double>)
        return std::array{1.5, 10.0, 9.0, 20.0}[place];
    else if constexpr (std::is_same_v<T, QString>)
        return QStringLiteral("2");
    else if constexpr (std::is_same_v<T, std::set<std::string>>)
        return {"V"};
    else if constexpr (std::is_same_v<T, std::vector<int>>)
        return {0};
    else if constexpr (std::is_same_v<T, BinDialogFields>)
        return InitialBinFields(c.state());
    else if constexpr (std::is_same_v<T, PeriodSearchFields>)
        return {{"0.5", "6", "10"}};
    else if constexpr (std::is_same_v<T, PeriodogramEvent>)
        return {.kind = PeriodogramEvent::Kind::StepBack};
    else if constexpr (std::is_same_v<T, std::function<bool(Settings&)>>)
        return [](Settings& s) { return !(s.ConnectMarked = true); };
    else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
        return T{1};
    else
        return T{};
}

// Runs the command with a sample for each of its parameters.
template <typename C, typename R, typename... P>
void Invoke(MainWindowCommands& c, const CommandDeclaration<C, R, P...>& command,
            const std::string& other) {
    [&]<size_t... places>(std::index_sequence<places...>) {
        try {
            c.Run(command, Sample<std::remove_cvref_t<P>, places>(c, other)...);
        } catch (const SabrixError&) {
            // PlotImageOf refuses by throwing.
        }
    }
    (std::index_sequence_for<P...>{});
}

using CommandNeeds = test::CommandsFixture;

TEST_F(CommandNeeds, EveryCommandIsRefusedWhileALoadASaveOrAPlotRuns) {
    const std::string other = WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")});
    auto snapshot = [&] {
        return std::make_tuple(
            EdgesOf(state().view), state().view.JDMagnification, state().star.FileLoaded,
            state().star.FileEdited, state().overlay.OmitFainter, state().overlay.OmitDiscrepant,
            state().star.HiddenBands, marks().ObserverMarked,
            commands->TableReady() ? table().Count() : -1, prompts.messages.size(),
            prompts.fileDialogs.size(), host.presented.size(), picView.revision(),
            state().overlay.tool, view().panels, view().rubberBand.has_value(),
            state().overlay.StatsShown, view().statsChecked, state().overlay.CalendarDates,
            view().recentFiles, binsShown(), polyShown(), commands->recordList() != nullptr,
            state().settings.ConnectMarked, view().phasePlot,
            commands->periodAnalysis() != nullptr);
    };
    // Every command that needs more than Anytime, from inside each turn that a job hands the
    // event loop.
    int turns = 0;
    auto tryEveryCommand = [&] {
        if (!view().busy) return;
        ++turns;
        cmd::ForEachCommand([&](const auto& command) {
            if constexpr (!std::is_same_v<std::remove_cvref_t<decltype(command)>, WindowCommand>) {
                if (command.needs == Needs::Anytime) return;
                SCOPED_TRACE(command.name);
                const auto before = snapshot();
                Invoke(*commands, command, other);
                EXPECT_EQ(snapshot(), before);
            }
        });
    };

    commands->setPreferencesFolder(dir.path());
    LoadAndFill(WriteRLeo());
    commands->Run(cmd::ShowWindow, 2454124, 2454126, 9, 11);
    commands->Run(cmd::cmdBack_Click);
    ASSERT_TRUE(view().previousViewAvailable);
    commands->Run(cmd::cmdMag_Click);
    MarkObserver("XYZ");
    state().star.FileEdited = true;
    host.onPresent = [&](const WindowView&) { tryEveryCommand(); };
    host.onYield = tryEveryCommand;

    commands->Run(cmd::Redraw, true);
    EXPECT_GT(turns, 0) << "plot";

    // With the record list open, its commands have rows to work on.
    commands->Run(cmd::BoxFinder, -100, 0, 100, 20);
    ASSERT_NE(commands->recordList(), nullptr);
    turns = 0;
    prompts.answer(Answer::No);  // the star layout, not Save as Download File
    commands->Run(cmd::mnuSave_Click);
    EXPECT_GT(turns, 0) << "save";
    EXPECT_FALSE(state().star.FileEdited);

    turns = 0;
    commands->Run(cmd::LoadStarFile, other);
    EXPECT_GT(turns, 0) << "load";
    EXPECT_EQ(view().starLabel, QString("T CRB - (1 Points)"));
    EXPECT_EQ(prompts.messages.size(), 1u);  // "Are you SURE?" alone
}

// Each command the window shows has a way from the keyboard: a menu item with a mnemonic of
// its own in its menu, a shortcut no other command has, or a key of the plot.
TEST(CommandList, EveryCommandOfTheWindowIsReachedFromTheKeyboard) {
    std::set<std::string_view> shortcuts;
    std::map<MenuPlace, std::set<char>> mnemonics;
    cmd::ForEachCommand([&](const auto& command) {
        const CommandFace& face = command.face;
        SCOPED_TRACE(command.name);
        if (!face.shortcut.empty()) {
            EXPECT_TRUE(shortcuts.insert(face.shortcut).second);
        }
        if (face.menu != MenuPlace::None && face.count == 1) {
            const size_t mark = face.text.find('&');
            ASSERT_LT(mark + 1, face.text.size());
            EXPECT_TRUE(
                mnemonics[face.menu].insert(char(std::tolower(face.text[mark + 1]))).second);
        }
        if (!face.button.empty()) {
            EXPECT_TRUE(face.menu != MenuPlace::None || !face.shortcut.empty() ||
                        !face.plotKey.empty());
        }
    });
}

// A desktop that fails in a way no command expects.
class BrokenDesktop : public DesktopOpener {
  public:
    Result open(const QUrl&) override { throw std::runtime_error("The desktop went away."); }
};

TEST_F(CommandNeeds, AFailureNoCommandExpectsIsSaidAndTheProgramGoesOn) {
    BrokenDesktop desktop;
    commands->setDesktop(desktop, "guide.html");
    LoadAndFill(WriteRLeo());
    commands->Run(cmd::mnuWebSite_Click);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              QString("Error \"The desktop went away.\" encountered in module mnuWebSite_Click."));
    EXPECT_FALSE(view().busy);
    commands->Run(cmd::ShowWindow, 2454124, 2454126, 9, 11);
    EXPECT_EQ(EdgesOf(state().view), (test::Edges{2454124, 2454126, 9, 11}));
}

}  // namespace
}  // namespace sabrix
