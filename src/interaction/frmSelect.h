// The record list window ("Select Records"): the heading with the number of records, the list
// of record lines (several can be chosen), the four actions on the chosen records, Close, and
// the palette of Mark Observer below them. It only shows a RecordListView and hands every
// click to onEvent; it closes when told to (Unload), also after its close box, which it
// reports as a Dismiss.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <functional>

#include "interaction/RecordDialogs.h"

namespace sabrix {

class frmSelect : public QDialog {
    Q_OBJECT

  public:
    explicit frmSelect(QWidget* parent = nullptr);

    void Apply(const RecordListView& view);
    // Closes the window for good.
    void Unload();

    std::function<void(const RecordListEvent&)> onEvent;

    QLabel* Label1;
    QLabel* Label3;
    QListWidget* lstRecords;
    QGroupBox* Frame1;
    QPushButton* cmdLog;
    QPushButton* cmdMark;
    QPushButton* cmdDelete;
    QPushButton* cmdEdit;
    QPushButton* cmdClose;
    QWidget* fraPalette;
    QLabel* Label2;
    std::array<QPushButton*, 16> cmd0{};
    QPushButton* cmdMoreColors;

  public slots:
    void lstRecords_Click();
    void cmdLog_Click();
    void cmdMark_Click();
    void cmdDelete_Click();
    void cmdEdit_Click();
    void cmdClose_Click();
    void cmd0_Click(int index);
    void cmdMoreColors_Click();

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Send(RecordListEvent::Kind kind, int colorIndex = 0);

    bool unloading_ = false;
    bool applying_ = false;
};

}  // namespace sabrix
