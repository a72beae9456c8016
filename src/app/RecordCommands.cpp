// The commands of MainWindowCommands behind the points: box selection and locate, the record
// list window's actions (log, delete, edit, mark an observer) and the record editor.
#include <cstdio>
#include <exception>
#include <utility>

#include "app/MainWindowCommands.h"
#include "core/ErrorText.h"
#include "core/SabrixError.h"
#include "data/BandColor.h"
#include "interaction/ObserverMarking.h"
#include "interaction/RecordSelection.h"

namespace sabrix {

namespace {

void AppendLines(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) throw SabrixError("Path not found");
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) throw SabrixError("Disk full");
}

}  // namespace

const WindowView& MainWindowCommands::BoxFinder(double x1, double y1, double x2, double y2) {
    if (!RowsReady()) return view_;
    std::vector<ListedRecord> records;
    try {
        records = SelectRecords(*table_, BoxBounds(x1, y1, x2, y2, state_.view.JDFirst));
    } catch (const std::exception& e) {
        SayModuleError(e, "BoxFinder");
        view_.cursorName = QStringLiteral("XHairs");
        return view_;
    }
    if (records.empty()) {
        Say(QStringLiteral("No records selected."), QStringLiteral("No Selection"), Buttons::OK,
            Icon::Critical);
        return Redraw(false);
    }
    ShowRecords(std::move(records), false);
    return view_;
}

const WindowView& MainWindowCommands::Finder(double x, double y) {
    if (!RowsReady()) return view_;
    std::vector<ListedRecord> records;
    try {
        records = SelectRecords(*table_, LocateBounds(x, y, state_.view));
    } catch (const std::exception& e) {
        SayModuleError(e, "Finder");
        return view_;
    }
    // Near no observation: nothing to list, nothing to say.
    if (!records.empty()) ShowRecords(std::move(records), true);
    return view_;
}

void MainWindowCommands::ShowRecords(std::vector<ListedRecord> records, bool modal) {
    if (recordList_) {
        recordList_->Replace(std::move(records));
        UpdateRecordList();
        return;
    }
    recordList_.emplace(std::move(records), state_.star.ThreeColumnFormat);
    if (!recordDialogs_) return;
    host_.present(view_);
    recordDialogs_->showList(recordList_->View(), modal, [this](const RecordListEvent& event) {
        OnRecordListEvent(event);
        host_.present(view_);
    });
    // A modal list has closed when showList returns.
    if (modal) recordList_.reset();
}

void MainWindowCommands::OnRecordListEvent(const RecordListEvent& event) {
    using Kind = RecordListEvent::Kind;
    switch (event.kind) {
        case Kind::Choose:
            lstRecords_Click(event.lines, event.current);
            break;
        case Kind::Log:
            cmdLog_Click();
            break;
        case Kind::Delete:
            cmdDelete_Click();
            break;
        case Kind::Edit:
            cmdEdit_Click();
            break;
        case Kind::Mark:
            cmdMark_Click();
            break;
        case Kind::Color:
            cmd0_Click(event.colorIndex);
            break;
        case Kind::MoreColors:
            cmdMoreColors_Click();
            break;
        case Kind::Close:
            cmdClose_Click();
            break;
        case Kind::Dismiss:
            frmSelect_Unload();
            break;
    }
}

void MainWindowCommands::UpdateRecordList() {
    if (recordList_ && recordDialogs_) recordDialogs_->updateList(recordList_->View());
}

void MainWindowCommands::RefreshRecordList() {
    if (!recordList_) return;
    recordList_->Replace(ReadRecords(*table_, recordList_->Ids()));
    UpdateRecordList();
}

void MainWindowCommands::CloseRecordList() {
    if (!recordList_) return;
    recordList_.reset();
    if (recordDialogs_) recordDialogs_->closeList();
}

bool MainWindowCommands::WarnWhenNoneChosen(bool record) {
    if (recordList_->AnyChosen()) return false;
    Say(record ? QStringLiteral("You did not select a record")
               : QStringLiteral("You did not select a star"),
        QStringLiteral("No Star Selected"), Buttons::OK, Icon::Exclamation);
    return true;
}

const WindowView& MainWindowCommands::lstRecords_Click(const std::vector<int>& lines, int current) {
    if (!recordList_ || Busy()) return view_;
    recordList_->Choose(lines, current);
    // The palette belongs to the observer it was shown for.
    if (recordList_->PaletteShown()) {
        recordList_->HidePalette();
        UpdateRecordList();
    }
    return view_;
}

const WindowView& MainWindowCommands::cmdLog_Click() {
    if (!recordList_ || !RowsReady() || WarnWhenNoneChosen()) return view_;
    FileDialogOptions options;
    options.filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(state_.star.FilesFolder);
    const std::optional<QString> path = prompts_.saveFile(options);
    if (!path) return view_;
    std::string text;
    for (const ListedRecord& record : recordList_->Chosen()) text += record.line + "\r\n";
    try {
        AppendLines(PathBytes(*path), text);
    } catch (const std::exception& e) {
        SayModuleError(e, "cmdLog");
    }
    return view_;
}

const WindowView& MainWindowCommands::cmdDelete_Click() {
    if (!recordList_ || !RowsReady() || WarnWhenNoneChosen()) return view_;
    const std::vector<ListedRecord> chosen = recordList_->Chosen();
    const QString question =
        chosen.size() == 1 ? QStringLiteral("Are you sure you want to delete this record?")
                           : QStringLiteral("Are you sure you want to delete these %1 records?")
                                 .arg(chosen.size());
    if (Say(question, QStringLiteral("Delete This Record?"), Buttons::YesNo, Icon::None) !=
        Answer::Yes)
        return view_;
    std::vector<int64_t> ids;
    for (const ListedRecord& record : chosen) ids.push_back(record.ID);
    try {
        // Marked rows that go take their points out of the joining lines.
        std::vector<ObsRow> marked;
        table_->ForEachRowOfIds(ids, [&marked](const ObsRow& row) {
            if (!row.Marked.empty()) marked.push_back(row);
        });
        table_->DeleteByIds(ids);
        for (const ObsRow& row : marked) FollowMarkedRow(marks_, row.Marked, row.JD, row.Mag);
    } catch (const std::exception& e) {
        SayModuleError(e, "cmdDelete");
        return view_;
    }
    state_.star.FileEdited = true;
    Say(QStringLiteral("Database successfully updated."), QStringLiteral("Record Deleted"),
        Buttons::OK, Icon::None);
    Redraw(false);
    CloseRecordList();
    return view_;
}

const WindowView& MainWindowCommands::cmdEdit_Click() {
    if (!recordList_ || !RowsReady() || WarnWhenNoneChosen()) return view_;
    if (state_.star.ThreeColumnFormat) return view_;
    const std::optional<ListedRecord> current = recordList_->Current();
    std::optional<ObsRow> row;
    try {
        row = table_->RowById(current->ID);
    } catch (const std::exception& e) {
        SayModuleError(e, "cmdEdit");
        return view_;
    }
    if (!row || !recordDialogs_) return view_;
    const int64_t id = row->ID;
    recordDialogs_->editRecord(QStringLiteral("Edit Record"), FieldsOf(*row),
                               [this, id](const std::vector<RecordField>& fields) {
                                   const bool done = SaveEditedRecord(id, fields);
                                   host_.present(view_);
                                   return done;
                               });
    return view_;
}

bool MainWindowCommands::SaveEditedRecord(int64_t id, const std::vector<RecordField>& fields) {
    if (!RowsReady()) return false;
    try {
        const std::optional<ObsRow> row = table_->RowById(id);
        if (!row) return true;  // gone meanwhile: nothing left to edit
        if (fields == FieldsOf(*row)) return true;
        QString refusal;
        std::optional<ObsRow> edited = EditedRow(*row, fields, refusal);
        if (!edited) {
            Say(refusal, QStringLiteral("Edit Record"), Buttons::OK, Icon::Exclamation);
            return false;
        }
        if (edited->Marked.empty())
            edited->PunktFarb =
                BandColor(edited->Faint, edited->Band, edited->Valid, state_.settings);
        table_->UpdateRow(*edited);
        FollowMarkedRow(marks_, row->Marked, row->JD, row->Mag, &edited->JD, &edited->Mag);
        state_.star.FileEdited = true;
        RefreshRecordList();
    } catch (const std::exception& e) {
        SayModuleError(e, "cmdEdit");
        return false;
    }
    Redraw(false);
    return true;
}

const WindowView& MainWindowCommands::cmdMark_Click() {
    if (!recordList_ || !RowsReady() || WarnWhenNoneChosen(true)) return view_;
    if (state_.star.ThreeColumnFormat) return view_;
    recordList_->ShowPalette();
    UpdateRecordList();
    return view_;
}

const WindowView& MainWindowCommands::cmd0_Click(int index) {
    if (!recordList_ || !RowsReady() || !recordList_->PaletteShown()) return view_;
    if (index < 0 || index >= static_cast<int>(kMarkPalette.size())) return view_;
    const std::optional<ListedRecord> current = recordList_->Current();
    recordList_->HidePalette();
    try {
        MarkObs(marks_, *table_, current->Init, kMarkPalette[static_cast<size_t>(index)]);
    } catch (const std::exception& e) {
        SayModuleError(e, "MarkObs");
    }
    UpdateRecordList();
    return view_;
}

const WindowView& MainWindowCommands::cmdMoreColors_Click() {
    if (!recordList_ || !RowsReady() || !recordList_->PaletteShown()) return view_;
    const std::optional<ListedRecord> current = recordList_->Current();
    const std::optional<int32_t> color = prompts_.chooseColor();
    if (!color) return view_;
    try {
        MarkObs(marks_, *table_, current->Init, *color);
    } catch (const std::exception& e) {
        SayModuleError(e, "MarkObs");
        return view_;
    }
    CloseRecordList();
    // The list is gone: the marks show now rather than at some later redraw.
    return Redraw(false);
}

const WindowView& MainWindowCommands::cmdClose_Click() {
    if (!recordList_ || Busy()) return view_;
    state_.overlay.tool = view_.tool = Tool::Locate;
    view_.cursorName = QStringLiteral("XHairs");
    CloseRecordList();
    if (state_.star.FileEdited || marks_.ObserverMarked) Redraw(false);
    return view_;
}

const WindowView& MainWindowCommands::frmSelect_Unload() {
    if (!Busy()) CloseRecordList();
    return view_;
}

}  // namespace sabrix
