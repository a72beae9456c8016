// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/frmPlotUi.h"

#include <QIcon>
#include <QMenuBar>
#include <QPixmap>
#include <algorithm>
#include <string>

#include "app/CommandList.h"
#include "interaction/FormLayout.h"
#include "shell/AboutText.h"
#include "ui/core/QtResources.h"

namespace sabrix {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// A tool button of the frame, its picture named as the button; disabled until the frame
// decides.
QPushButton* AddToolButton(QFrame* frame, const QString& name, const QString& toolTip, float left) {
    auto* button = new QPushButton(frame);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setGeometry(TwipsToPixels(left), TwipsToPixels(kToolButtonTop),
                        TwipsToPixels(kToolButtonSize), TwipsToPixels(kToolButtonSize));
    button->setIcon(QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".png")));
    button->setIconSize(QSize(24, 24));
    button->setFocusPolicy(Qt::NoFocus);
    button->setEnabled(false);
    return button;
}

}  // namespace

void frmPlotUi::setupUi(QMainWindow* window) {
    LoadResources();
    window->setObjectName(QStringLiteral("frmPlot"));
    window->setWindowTitle(QStringLiteral("Sabrix"));
    window->setWindowIcon(QIcon(QStringLiteral(":/images/logo.png")));
    setupBandPanel(window);
    setupControls(window);
    setupMenus(window);
    setupStatusBar(window);
    window->setMinimumSize(TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips));
    window->resize(TwipsToPixels(kDesignWidthTwips), TwipsToPixels(kDesignHeightTwips));

    // The window opens in its empty look.
    picView->hide();
    picJDScale->hide();
    picMagScale->hide();
    fraButtons->hide();
}

std::vector<QAction*> frmPlotUi::menuCommands() const {
    std::vector<QAction*> commands;
    for (const auto& [name, action] : actions_)
        if (action != mnuPrevious && action != mnuBands) commands.push_back(action);
    return commands;
}

void frmPlotUi::setupBandPanel(QMainWindow* window) {
    dckBands = new QDockWidget(QStringLiteral("Bands"), window);
    dckBands->setObjectName(QStringLiteral("dckBands"));
    dckBands->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    bandPanel = new BandPanelWidget(dckBands);
    dckBands->setWidget(bandPanel);
    window->addDockWidget(Qt::RightDockWidgetArea, dckBands);
    dckBands->hide();
}

QMenu* frmPlotUi::menuOf(QMainWindow* window, MenuPlace place) {
    // The menus take their places on the bar as their first items come.
    const auto make = [window](QMenu*& menu, const char* name, const char* title) {
        if (!menu) {
            menu = window->menuBar()->addMenu(QString::fromLatin1(title));
            menu->setObjectName(QLatin1String(name));
        }
        return menu;
    };
    switch (place) {
        case MenuPlace::Edit:
            return make(mnuEdit, "mnuEdit", "&Edit");
        case MenuPlace::Tools:
            return make(mnuTools, "mnuTools", "&Tools");
        case MenuPlace::Help:
            return make(mnuHelp, "mnuHelp", "&Help");
        default:
            return make(mnuFiles, "mnuFiles", "&Files");
    }
}

void frmPlotUi::addCommand(QMainWindow* window, std::string_view name, const CommandFace& face) {
    const auto text = [](std::string_view t) {
        return QString::fromUtf8(t.data(), qsizetype(t.size()));
    };
    QString itemName = text(name);
    itemName.remove(QStringLiteral("_Click"));
    if (face.menu != MenuPlace::None) {
        QWidget* place = face.menu == MenuPlace::Bar ? static_cast<QWidget*>(window->menuBar())
                                                     : menuOf(window, face.menu);
        if (!face.separatorBefore.empty()) {
            QAction* separator = new QAction(place);
            separator->setSeparator(true);
            separator->setObjectName(text(face.separatorBefore));
            place->addAction(separator);
        }
        for (int i = 1; i <= face.count; ++i) {
            QAction* item = name == "mnuBands_Click" ? dckBands->toggleViewAction()
                                                     : new QAction(text(face.text), place);
            item->setText(text(face.text));
            item->setObjectName(face.count > 1 ? itemName + QString::number(i) : itemName);
            if (!face.shortcut.empty()) item->setShortcut(QKeySequence(text(face.shortcut)));
            if (face.checkable) item->setCheckable(true);
            item->setEnabled(!face.startsDisabled);
            item->setVisible(face.count == 1);
            place->addAction(item);
            actions_.push_back({name, item});
        }
    } else if (!face.shortcut.empty()) {
        // No menu item: the window itself takes the key.
        QAction* key = new QAction(text(name), window);
        key->setObjectName(QStringLiteral("key") + itemName);
        key->setShortcut(QKeySequence(text(face.shortcut)));
        window->addAction(key);
        actions_.push_back({name, key});
    }
    if (!face.button.empty()) {
        QPushButton* button =
            AddToolButton(fraButtons, text(face.button), text(face.toolTip), face.buttonLeft);
        button->setCheckable(face.checkable);
        button->setEnabled(true);
        buttons_.push_back({name, button});
    }
}

std::vector<QAction*> frmPlotUi::actionsOf(std::string_view command) const {
    std::vector<QAction*> found;
    for (const auto& [name, action] : actions_)
        if (name == command) found.push_back(action);
    return found;
}

QPushButton* frmPlotUi::buttonOf(std::string_view command) const {
    for (const auto& [name, button] : buttons_)
        if (name == command) return button;
    return nullptr;
}

void frmPlotUi::setupMenus(QMainWindow* window) {
    fraButtons = new QFrame(frmPlotClient);
    fraButtons->setObjectName(QStringLiteral("fraButtons"));
    fraButtons->setFrameShape(QFrame::NoFrame);
    cmd::ForEachCommand(
        [&](const auto& command) { addCommand(window, command.name, command.face); });
    // F10 takes the keyboard to the menu bar, its first menu open.
    auto* keyMenuBar = new QShortcut(QKeySequence(Qt::Key_F10), window);
    keyMenuBar->setObjectName(QStringLiteral("keyMenuBar"));
    QObject::connect(keyMenuBar, &QShortcut::activated, window, [this, window] {
        window->menuBar()->setActiveAction(mnuFiles->menuAction());
    });

    const auto find = [window](const char* name) {
        return window->findChild<QAction*>(QLatin1String(name));
    };
    mnuLoad = find("mnuLoad");
    mnuSave = find("mnuSave");
    mnuSaveDownload = find("mnuSaveDownload");
    mnuFaint = find("mnuFaint");
    mnuDisc = find("mnuDisc");
    mnuSpacer6 = find("mnuSpacer6");
    mnuXYZ = find("mnuXYZ");
    mnuSaveXYZ = find("mnuSaveXYZ");
    mnuExport = find("mnuExport");
    mnuSpacerRecent = find("mnuSpacerRecent");
    mnuSpacerRecent->setVisible(false);
    for (size_t i = 0; i < mnuRecent.size(); ++i)
        mnuRecent[i] = find(("mnuRecent" + std::to_string(i + 1)).c_str());
    mnuSpacer7 = find("mnuSpacer7");
    mnuExit1 = find("mnuExit1");
    mnuUndo = find("mnuUndo");
    mnuRedo = find("mnuRedo");
    // Also from the record list, where the changes are made.
    mnuUndo->setShortcutContext(Qt::ApplicationShortcut);
    mnuRedo->setShortcutContext(Qt::ApplicationShortcut);
    mnuAvg = find("mnuAvg");
    mnuPoly = find("mnuPoly");
    mnuPeriod = find("mnuPeriod");
    mnuTimePlot = find("mnuTimePlot");
    mnuMinimum = find("mnuMinimum");
    mnuMaximum = find("mnuMaximum");
    mnuMinimaList = find("mnuMinimaList");
    mnuSpacer3 = find("mnuSpacer3");
    mnuWebSite = find("mnuWebSite");
    mnuSpacer5 = find("mnuSpacer5");
    mnuStats = find("mnuStats");
    mnuCalendar = find("mnuCalendar");
    mnuBands = find("mnuBands");
    mnuspacer4 = find("mnuspacer4");
    mnuViewer = find("mnuViewer");
    mnuManage = find("mnuManage");
    mnuSpacerPrevious = find("mnuSpacerPrevious");
    mnuPrevious = find("mnuPrevious");
    mnuConfig = find("mnuConfig");
    mnuDocs = find("mnuDocs");
    mnuSpace = find("mnuSpace");
    mnuAbout = find("mnuAbout");
    mnuExit = find("mnuExit");

    const auto button = [this](const char* name) {
        return fraButtons->findChild<QPushButton*>(QLatin1String(name));
    };
    cmdZoomBox = button("cmdZoomBox");
    cmdBox = button("cmdBox");
    cmdLocate = button("cmdLocate");
    cmdMag = button("cmdMag");
    cmdJDZoom = button("cmdJDZoom");
    cmdMagZoom = button("cmdMagZoom");
    cmdBegin = button("cmdBegin");
    cmdBack = button("cmdBack");
    cmdForward = button("cmdForward");
    cmdEnder = button("cmdEnder");
    CmdDown = button("CmdDown");
    cmdUp = button("cmdUp");
    cmdRefresh = button("cmdRefresh");
    cmdReset = button("cmdReset");
    cmdBin = button("cmdBin");
    cmdPoly = button("cmdPoly");
    cmdPeriod = button("cmdPeriod");
    cmdReset->setIcon(QIcon());
    cmdReset->setStyleSheet(
        QStringLiteral("QPushButton { background-color: #e00000; border: 1px solid #800000; }"
                       "QPushButton:disabled { background-color: #b04040; }"));
}

void frmPlotUi::setupControls(QMainWindow* window) {
    frmPlotClient = new QWidget(window);
    frmPlotClient->setObjectName(QStringLiteral("frmPlotClient"));
    frmPlotClient->setMouseTracking(true);
    window->setCentralWidget(frmPlotClient);

    const QString blue = QStringLiteral("color: #0000c0;");
    Label1 = MakeLabel(frmPlotClient, "Label1", QStringLiteral("Sabrix"));
    Label1->setFont(QFont(QStringLiteral("Arial"), 20, QFont::Bold));
    Label1->setStyleSheet(blue);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = MakeLabel(frmPlotClient, "Label2", QStringLiteral("Plots Variable Star Observations"));
    Label2->setFont(QFont(QStringLiteral("Arial"), 12));
    Label2->setStyleSheet(blue);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2->setWordWrap(true);
    Label3 = MakeLabel(frmPlotClient, "Label3", QString());
    lblStarName = MakeLabel(frmPlotClient, "lblStarName", QString());

    picJDScale = new PictureBox(frmPlotClient);
    picJDScale->setObjectName(QStringLiteral("picJDScale"));
    picView = new PictureBox(frmPlotClient);
    picView->setObjectName(QStringLiteral("picView"));
    picView->canvas().ForeColor = 65535;
    // The plot takes the keyboard: arrows, Home, End and F5 move and redraw it.
    picView->setFocusPolicy(Qt::StrongFocus);
    picMagScale = new PictureBox(frmPlotClient);
    picMagScale->setObjectName(QStringLiteral("picMagScale"));

    lblPrg = MakeLabel(frmPlotClient, "lblPrg", QString());
    lblPrg->setAlignment(Qt::AlignCenter);
    // The caption of a fill stands over the plot: its own background keeps it readable there.
    lblPrg->setAutoFillBackground(true);
    lblPrg->hide();
    prgLoad = new QProgressBar(frmPlotClient);
    prgLoad->setObjectName(QStringLiteral("prgLoad"));
    prgLoad->setTextVisible(false);
    prgLoad->hide();
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), frmPlotClient);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->hide();
    keyCancel = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    keyCancel->setContext(Qt::WindowShortcut);

    cmdLoad = new QPushButton(QStringLiteral("Load a File"), frmPlotClient);
    cmdLoad->setObjectName(QStringLiteral("cmdLoad"));

    picNorvane = new QLabel(frmPlotClient);
    picNorvane->setObjectName(QStringLiteral("picNorvane"));
    picNorvane->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    picNorvane->setScaledContents(true);

    lblCopyright = MakeLabel(frmPlotClient, "lblCopyright", CopyrightText());
    lblCopyright->setFont(QFont(QStringLiteral("Arial"), 8));
}

void frmPlotUi::setupStatusBar(QMainWindow* window) {
    staPlot = new QStatusBar(window);
    staPlot->setObjectName(QStringLiteral("staPlot"));
    staPlot->setSizeGripEnabled(false);
    window->setStatusBar(staPlot);
    staPlot->setContentsMargins(2, 0, 2, 2);
    const std::array<int, 4> stretch = {4, 2, 1, 1};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(staPlot);
        panel->setObjectName(QStringLiteral("staPlotPanel") + QString::number(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        // The readouts fit "JD = 2455123.4567" and "  Mag = -12.34" whole, and the factor of
        // the deepest JD zoom (about 10^8 over a span of decades) shows whole.
        const std::array<QString, 4> widest = {
            QString(), QStringLiteral("JDMagnification = 000000000.0 X"),
            QStringLiteral("JD = 0000000.0000"), QStringLiteral("  Mag = -00.00")};
        panel->setMinimumWidth(std::max(
            i == 0 ? 120 : 90, panel->fontMetrics().horizontalAdvance(widest[size_t(i)]) + 10));
        panel->setContentsMargins(3, 0, 3, 0);
        staPlot->addPermanentWidget(panel, stretch[static_cast<size_t>(i)]);
        staPlotPanels[static_cast<size_t>(i)] = panel;
    }
}

}  // namespace sabrix
