// RecordsController: box selection and locate, the record list window's actions (log,
// delete, edit, mark an observer) and the record editor.
#include <cmath>
#include <cstdio>
#include <exception>
#include <utility>

#include "app/RecordsController.h"
#include "core/ErrorText.h"
#include "core/SabrixError.h"
#include "data/BandColor.h"
#include "interaction/ObserverMarking.h"
#include "interaction/PointDetails.h"
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

RecordsController::RecordsController(CommandContext& context) : ctx_(context) {
    ctx_.OnForgetStar([this] { CloseRecordList(); });
}

void RecordsController::BoxFinder(double x1, double y1, double x2, double y2) {
    std::vector<ListedRecord> records;
    try {
        records = SelectRecords(*ctx_.table, BoxBounds(x1, y1, x2, y2, ctx_.state.view.JDFirst),
                                ctx_.Shown());
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "BoxFinder");
        ctx_.view.cursorName = QStringLiteral("XHairs");
        return;
    }
    if (records.empty()) {
        ctx_.Say(QStringLiteral("No records selected."), QStringLiteral("No Selection"),
                 Buttons::OK, Icon::Critical);
        ctx_.Redraw(false);
        return;
    }
    ShowRecords(std::move(records), false);
}

void RecordsController::Finder(double x, double y) {
    std::vector<ListedRecord> records;
    try {
        records = SelectRecords(*ctx_.table, LocateBounds(x, y, ctx_.state.view), ctx_.Shown());
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "Finder");
        return;
    }
    // Near no observation: nothing to list, nothing to say.
    if (!records.empty()) ShowRecords(std::move(records), true);
}

void RecordsController::ShowRecords(std::vector<ListedRecord> records, bool modal) {
    if (recordList_) {
        recordList_->Replace(std::move(records));
        UpdateRecordList();
        return;
    }
    recordList_.emplace(std::move(records), ctx_.state.star.ThreeColumnFormat);
    if (!recordDialogs_) return;
    ctx_.Present();
    recordDialogs_->showList(recordList_->View(), modal, [this](const RecordListEvent& event) {
        OnRecordListEvent(event);
        ctx_.Present();
    });
    // A modal list has closed when showList returns.
    if (modal) recordList_.reset();
}

void RecordsController::OnRecordListEvent(const RecordListEvent& event) {
    using Kind = RecordListEvent::Kind;
    const auto run = [this](Command command, auto action) {
        if (ctx_.Allows(command)) action();
    };
    switch (event.kind) {
        case Kind::Choose:
            run(Command::lstRecords_Click, [&] { lstRecords_Click(event.lines, event.current); });
            break;
        case Kind::Log:
            run(Command::cmdLog_Click, [this] { cmdLog_Click(); });
            break;
        case Kind::Delete:
            run(Command::cmdDelete_Click, [this] { cmdDelete_Click(); });
            break;
        case Kind::Edit:
            run(Command::cmdEdit_Click, [this] { cmdEdit_Click(); });
            break;
        case Kind::Mark:
            run(Command::cmdMark_Click, [this] { cmdMark_Click(); });
            break;
        case Kind::Color:
            run(Command::cmd0_Click, [&] { cmd0_Click(event.colorIndex); });
            break;
        case Kind::MoreColors:
            run(Command::cmdMoreColors_Click, [this] { cmdMoreColors_Click(); });
            break;
        case Kind::Close:
            run(Command::cmdClose_Click, [this] { cmdClose_Click(); });
            break;
        case Kind::Dismiss:
            run(Command::frmSelect_Unload, [this] { frmSelect_Unload(); });
            break;
    }
}

void RecordsController::UpdateRecordList() {
    if (recordList_ && recordDialogs_) recordDialogs_->updateList(recordList_->View());
}

void RecordsController::RefreshRecordList() {
    if (!recordList_) return;
    recordList_->Replace(ReadRecords(*ctx_.table, recordList_->Ids()));
    UpdateRecordList();
}

void RecordsController::CloseRecordList() {
    if (!recordList_) return;
    recordList_.reset();
    if (recordDialogs_) recordDialogs_->closeList();
}

bool RecordsController::WarnWhenNoneChosen(bool record) {
    if (recordList_->AnyChosen()) return false;
    ctx_.Say(record ? QStringLiteral("You did not select a record")
                    : QStringLiteral("You did not select a star"),
             QStringLiteral("No Star Selected"), Buttons::OK, Icon::Exclamation);
    return true;
}

void RecordsController::lstRecords_Click(const std::vector<int>& lines, int current) {
    if (!recordList_) return;
    recordList_->Choose(lines, current);
    // The palette belongs to the observer it was shown for.
    if (recordList_->PaletteShown()) {
        recordList_->HidePalette();
        UpdateRecordList();
    }
}

void RecordsController::cmdLog_Click() {
    if (!recordList_ || WarnWhenNoneChosen()) return;
    FileDialogOptions options;
    options.filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(ctx_.state.star.FilesFolder);
    const std::optional<QString> path = ctx_.prompts.saveFile(options);
    if (!path) return;
    std::string text;
    for (const ListedRecord& record : recordList_->Chosen()) text += record.line + "\r\n";
    try {
        AppendLines(PathBytes(*path), text);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "cmdLog");
    }
}

void RecordsController::cmdDelete_Click() {
    if (!recordList_ || WarnWhenNoneChosen()) return;
    const std::vector<ListedRecord> chosen = recordList_->Chosen();
    const QString question =
        chosen.size() == 1 ? QStringLiteral("Are you sure you want to delete this record?")
                           : QStringLiteral("Are you sure you want to delete these %1 records?")
                                 .arg(chosen.size());
    if (ctx_.Say(question, QStringLiteral("Delete This Record?"), Buttons::YesNo, Icon::None) !=
        Answer::Yes)
        return;
    std::vector<int64_t> ids;
    for (const ListedRecord& record : chosen) ids.push_back(record.ID);
    try {
        // Marked rows that go take their points out of the joining lines.
        std::vector<ObsRow> marked;
        ctx_.table->ForEachRowOfIds(ids, [&marked](const ObsRow& row) {
            if (!row.Marked.empty()) marked.push_back(row);
        });
        ctx_.table->DeleteByIds(ids);
        for (const ObsRow& row : marked) FollowMarkedRow(ctx_.marks, row.Marked, row.JD, row.Mag);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "cmdDelete");
        return;
    }
    ctx_.state.star.FileEdited = true;
    ctx_.Say(QStringLiteral("Database successfully updated."), QStringLiteral("Record Deleted"),
             Buttons::OK, Icon::None);
    ctx_.Redraw(false);
    CloseRecordList();
}

void RecordsController::cmdEdit_Click() {
    if (!recordList_ || WarnWhenNoneChosen()) return;
    if (ctx_.state.star.ThreeColumnFormat) return;
    const std::optional<ListedRecord> current = recordList_->Current();
    std::optional<ObsRow> row;
    try {
        row = ctx_.table->RowById(current->ID);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "cmdEdit");
        return;
    }
    if (!row || !recordDialogs_) return;
    const int64_t id = row->ID;
    recordDialogs_->editRecord(QStringLiteral("Edit Record"), FieldsOf(*row),
                               [this, id](const std::vector<RecordField>& fields) {
                                   const bool done = ctx_.Allows(Command::SaveEditedRecord) &&
                                                     SaveEditedRecord(id, fields);
                                   ctx_.Present();
                                   return done;
                               });
}

bool RecordsController::SaveEditedRecord(int64_t id, const std::vector<RecordField>& fields) {
    try {
        const std::optional<ObsRow> row = ctx_.table->RowById(id);
        if (!row) return true;  // gone meanwhile: nothing left to edit
        if (fields == FieldsOf(*row)) return true;
        QString refusal;
        std::optional<ObsRow> edited = EditedRow(*row, fields, refusal);
        if (!edited) {
            ctx_.Say(refusal, QStringLiteral("Edit Record"), Buttons::OK, Icon::Exclamation);
            return false;
        }
        if (edited->Marked.empty())
            edited->PunktFarb =
                BandColor(edited->Faint, edited->Band, edited->Valid, ctx_.state.settings);
        ctx_.table->UpdateRow(*edited);
        FollowMarkedRow(ctx_.marks, row->Marked, row->JD, row->Mag, &edited->JD, &edited->Mag);
        ctx_.state.star.FileEdited = true;
        RefreshRecordList();
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "cmdEdit");
        return false;
    }
    ctx_.Redraw(false);
    return true;
}

void RecordsController::cmdMark_Click() {
    if (!recordList_ || WarnWhenNoneChosen(true)) return;
    if (ctx_.state.star.ThreeColumnFormat) return;
    recordList_->ShowPalette();
    UpdateRecordList();
}

void RecordsController::cmd0_Click(int index) {
    if (!recordList_ || !recordList_->PaletteShown()) return;
    if (index < 0 || index >= static_cast<int>(kMarkPalette.size())) return;
    const std::optional<ListedRecord> current = recordList_->Current();
    recordList_->HidePalette();
    try {
        MarkObs(ctx_.marks, *ctx_.table, current->Init, kMarkPalette[static_cast<size_t>(index)]);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "MarkObs");
    }
    UpdateRecordList();
}

void RecordsController::cmdMoreColors_Click() {
    if (!recordList_ || !recordList_->PaletteShown()) return;
    const std::optional<ListedRecord> current = recordList_->Current();
    const std::optional<int32_t> color = ctx_.prompts.chooseColor();
    if (!color) return;
    try {
        MarkObs(ctx_.marks, *ctx_.table, current->Init, *color);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "MarkObs");
        return;
    }
    CloseRecordList();
    // The list is gone: the marks show now rather than at some later redraw.
    ctx_.Redraw(false);
}

void RecordsController::cmdClose_Click() {
    if (!recordList_) return;
    ctx_.state.overlay.tool = ctx_.view.tool = Tool::Locate;
    ctx_.view.cursorName = QStringLiteral("XHairs");
    CloseRecordList();
    if (ctx_.state.star.FileEdited || ctx_.marks.ObserverMarked) ctx_.Redraw(false);
}

void RecordsController::frmSelect_Unload() {
    CloseRecordList();
}

std::optional<QString> RecordsController::PointTip(double x, double y) {
    try {
        const double jdReach = ctx_.canvases.picView.PixelsToUserX(kPointTipPixels);
        const double magReach = ctx_.canvases.picView.PixelsToUserY(kPointTipPixels);
        const std::optional<ObsPoint> point = ctx_.table->Columns().Nearest(
            x + ctx_.state.view.JDFirst, y, std::abs(jdReach), std::abs(magReach), ctx_.Shown());
        if (!point) return std::nullopt;
        std::optional<QString> text;
        const double offset = ctx_.state.star.TimeOffset;
        ctx_.table->ForEachRowOfIds(
            {point->ID}, [&](const ObsRow& row) { text = PointDetailsText(row, offset); });
        return text;
    } catch (const std::exception&) {
        // A tooltip is no place for a failure; the next command that reads the table says it.
        return std::nullopt;
    }
}

}  // namespace sabrix
