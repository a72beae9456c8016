// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/QtHandedFiles.h"

#include <QApplication>

namespace sabrix {

namespace {

// How often a waiting file asks again whether the window takes commands.
constexpr int kRetryMs = 200;

}  // namespace

void ShowCommandLineView(frmPlot& window, const ViewOption& view) {
    const double offset = window.state().star.TimeOffset;
    window.Apply(window.commands().Run(cmd::ShowWindow, view.jdLeft - offset, view.jdRight - offset,
                                       view.magTop, view.magBottom));
}

QtHandedFiles::QtHandedFiles() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { LoadNext(); });
}

void QtHandedFiles::setWindow(frmPlot* window) {
    window_ = window;
    if (!waiting_.empty()) {
        Raise();
        timer_.start(0);
    }
}

void QtHandedFiles::add(HandedFile file) {
    waiting_.push_back(std::move(file));
    Raise();
    // Never inside the socket's own handler: the load asks its questions in dialogs of its own.
    if (!timer_.isActive()) timer_.start(0);
}

void QtHandedFiles::Raise() {
    if (!window_ || window_->isShutDown()) return;
    if (window_->isMinimized()) window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

void QtHandedFiles::LoadNext() {
    if (waiting_.empty() || !window_ || window_->isShutDown()) return;
    MainWindowCommands& commands = window_->commands();
    if (QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr || commands.view().busy ||
        !commands.TableReady()) {
        timer_.start(kRetryMs);
        return;
    }
    const HandedFile file = std::move(waiting_.front());
    waiting_.pop_front();
    window_->Apply(commands.Run(cmd::DropFile, file.path, file.load.kind, file.load.timeOffset));
    if (window_ && !window_->isShutDown() && window_->state().star.FileLoaded) {
        if (file.view) ShowCommandLineView(*window_, *file.view);
        window_->picView->setFocus();
    }
    if (!waiting_.empty() && !timer_.isActive()) timer_.start(kRetryMs);
}

}  // namespace sabrix
