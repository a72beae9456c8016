// SPDX-License-Identifier: GPL-3.0-or-later
// The window's menu items of the outside programs: enabled, and each reaching the desktop
// through the opener of the command layer.
#include <gtest/gtest.h>

#include <QUrl>
#include <filesystem>

#include "support/PlotWindowFixture.h"
#include "support/RecordingOpener.h"

namespace sabrix {
namespace {

class ShellMenu : public test::PlotWindowFixture {
  protected:
    void SetUp() override {
        PlotWindowFixture::SetUp();
        std::filesystem::create_directories(dir.file("Documentation"));
        test::WriteFileBytes(guide, "<html></html>");
        window->commands().setDesktop(opener, guide);
    }
    std::string guide = dir.file("Documentation/Documentation.html");
    test::RecordingOpener opener;
};

TEST_F(ShellMenu, ItemsAreEnabledAndOpenTheirTargets) {
    for (QAction* item :
         {window->mnuDocs, window->mnuViewer, window->mnuManage, window->mnuWebSite})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    LoadStar(false);

    window->mnuDocs->trigger();
    // The file panel is emptied by Documentation.
    EXPECT_EQ(window->panelText(1), QString());
    prompts.file(std::nullopt);
    window->mnuViewer->trigger();
    window->mnuManage->trigger();
    opener.result = DesktopOpener::Result::NoHandler;
    window->mnuWebSite->trigger();

    ASSERT_EQ(opener.opened.size(), 3u);
    EXPECT_EQ(opener.opened[0].toLocalFile().toStdString(), guide);
    EXPECT_EQ(opener.opened[1].toLocalFile().toStdString(), dir.file("files"));
    EXPECT_EQ(opener.opened[2].scheme().left(4), QString("http"));
    EXPECT_EQ(prompts.messages, (std::vector<test::RecordedMessage>{
                                    {"Could not find associated Browser", "Browser Not Found",
                                     Buttons::OK, Icon::Exclamation}}));
}

}  // namespace
}  // namespace sabrix
