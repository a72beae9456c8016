// SPDX-License-Identifier: GPL-3.0-or-later
// The record list window ("Select Observation to Log or Mark"): the heading with the number of
// records, the list of record lines under a header naming their fields (several lines can be
// chosen; a line is read when it scrolls into sight), the actions on the chosen records,
// Close, and the palette of Mark Observer below them. It only shows a RecordListView and hands
// every click to onEvent; it closes when told to (Unload), also after its close box, which it
// reports as a Dismiss. It keeps the size it was given: the palette takes room from the list.
#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <array>
#include <functional>

#include "interaction/RecordDialogs.h"
#include "interaction/RecordListModel.h"

namespace sabrix {

class frmSelect : public QDialog {
    Q_OBJECT

  public:
    explicit frmSelect(QWidget* parent = nullptr);

    void Apply(const RecordListView& view);
    // The lines as the list shows them, and a click on one line (it alone chosen).
    int LineCount() const;
    QString LineText(int line) const;
    void ClickLine(int line);
    // Closes the window for good.
    void Unload();

    std::function<void(const RecordListEvent&)> onEvent;

    QLabel* Label1;
    QLabel* Label3;
    QTableView* lstRecords;
    QGroupBox* Frame1;
    QPushButton* cmdLog;
    QPushButton* cmdMark;
    QPushButton* cmdDelete;
    QPushButton* cmdEdit;
    QPushButton* cmdDiscrepant;
    QPushButton* cmdClearDiscrepant;
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
    void cmdDiscrepant_Click();
    void cmdClearDiscrepant_Click();
    void cmdClose_Click();
    void cmd0_Click(int index);
    void cmdMoreColors_Click();

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    // The Delete key in the list asks as the Delete Record button does.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Send(RecordListEvent::Kind kind, int colorIndex = 0);
    // The chosen lines as the list's selection holds them, merged and in order.
    std::vector<LineRange> SelectedRanges() const;

    RecordListModel* model_;

    bool unloading_ = false;
    bool applying_ = false;
};

}  // namespace sabrix
