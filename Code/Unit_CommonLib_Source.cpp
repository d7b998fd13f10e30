// Source list operations of TCommonLib: adding, probing, removing and trimming rows.
#include "Unit_CommonLib.h"

#include "MediaGraph.h"
#include "MediaProbe.h"
#include "OpenDialog.h"
#include "SourceTreeList.h"
#include "UnitCustomProc.h"
#include "Unit_Convert.h"

#include <QApplication>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <unordered_set>

namespace {

const char* const AcceptedExtensions[] = {".3gp", ".3g2", ".avi", ".m4v", ".mp4",  ".mpeg", ".mpg", ".asf",
                                          ".mov", ".wmv", ".vob", ".rm",  ".rmvb", ".flv",  ".swf"};

const char* const FilesReadingError = "Files reading error! Please check your files.";

// The file name's extension from its last point, in lower case; empty when the name has no point.
std::string LowerExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return extension;
}

bool HasAcceptedExtension(const std::string& path) {
    const std::string extension = LowerExtension(path);
    for (const char* accepted : AcceptedExtensions)
        if (extension == accepted) return true;
    return false;
}


// End minus start of this row's own cells, shown as its cut length.
std::string RowCutText(const TCommonLib& lib, const QTreeWidgetItem* row) {
    const int32_t start = lib.TimeTextToSeconds(TSourceTreeList::Cell(row, TSourceTreeList::colStartTime));
    const int32_t end = lib.TimeTextToSeconds(TSourceTreeList::Cell(row, TSourceTreeList::colEndTime));
    return lib.SecondsToTimeText(int64_t(end) - start);
}

// Writes the time into `column` of every selected row; each row's cut length follows.
void SetSelectedTime(const TCommonLib& lib, TSourceTreeList* list, int column, int32_t seconds) {
    const std::vector<QTreeWidgetItem*> rows = list->SelectedRows();
    for (QTreeWidgetItem* row : rows) {
        TSourceTreeList::SetCell(row, column, lib.SecondsToTimeText(seconds));
        TSourceTreeList::SetCell(row, TSourceTreeList::colCutTime, RowCutText(lib, row));
    }
    if (!rows.empty()) list->viewport()->update();
}

} // namespace

TStringList TCommonLib::ShowOpenFilesDialog(TOpenDialog& dialog, bool removeRepeats,
                                            const std::string& folder) {
    dialog.InitialDir = folder;
    if (!dialog.Execute()) return {};
    return removeRepeats ? RemoveDuplicatePaths(dialog.Files) : dialog.Files;
}

TStringList TCommonLib::RemoveDuplicatePaths(const TStringList& paths) const {
    TStringList unique;
    std::unordered_set<std::string> seen;
    for (const std::string& path : paths)
        if (seen.insert(path).second) unique.push_back(path);
    return unique;
}

void TCommonLib::AddSourceFiles(TSourceTreeList* list, const TStringList& paths) {
    TMediaProbe probe;
    std::unordered_set<std::string> listed;
    for (int i = 0; i < list->RowCount(); ++i)
        listed.insert(TSourceTreeList::Cell(list->Row(i), TSourceTreeList::colFileName));

    for (const std::string& path : paths) {
        if (listed.count(path) || !HasAcceptedExtension(path)) continue;
        const std::string duration = SecondsToTimeText(ProbeDuration(path, probe));
        if (duration == "00:00:00") {
            ShowMessageBox(FilesReadingError, 1);
            continue;
        }
        // Read before the row exists, so a file that vanished after its probe leaves no half-filled row.
        int64_t size = 0;
        try {
            size = GetFileSizeBytes(path);
        } catch (const std::system_error&) {
            ShowMessageBox(FilesReadingError, 1);
            continue;
        }
        QTreeWidgetItem* row = list->AppendRow();
        TSourceTreeList::SetCell(row, TSourceTreeList::colCheck, "True");
        TSourceTreeList::SetCell(row, TSourceTreeList::colFileName, path);
        TSourceTreeList::SetCell(row, TSourceTreeList::colFileSize, SizeToText(size));
        TSourceTreeList::SetCell(row, TSourceTreeList::colDuration, duration);
        TSourceTreeList::SetCell(row, TSourceTreeList::colStartTime, "00:00:00");
        TSourceTreeList::SetCell(row, TSourceTreeList::colEndTime, duration);
        TSourceTreeList::SetCell(row, TSourceTreeList::colCutTime, duration);
        listed.insert(path);
    }
}

int32_t TCommonLib::ProbeDuration(const std::string& path, TMediaProbe& probe) {
    const int64_t milliseconds = probe.DurationMs(path);
    if (milliseconds <= 0) return 0;
    return int32_t(std::min<int64_t>(milliseconds / 1000, INT32_MAX));
}

int64_t TCommonLib::GetFileSizeBytes(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::system_error(errno, std::generic_category(), "Cannot open file " + path);
    struct stat info {};
    const int result = ::fstat(fd, &info);
    const int error = errno;
    ::close(fd);
    if (result != 0)
        throw std::system_error(error, std::generic_category(), "Cannot read the size of " + path);
    return int64_t(info.st_size);
}

void TCommonLib::RemoveSelectedRows(TSourceTreeList* list) {
    // Events are processed between deletions; a second Remove arriving meanwhile must not start over.
    static bool removing = false;
    if (removing || !list->HasSelection()) return;
    removing = true;
    QApplication::processEvents();

    QTreeWidgetItem* focused = list->FocusedRow();
    const QPersistentModelIndex focusedIndex = focused ? list->indexFromItem(focused) : QModelIndex();
    QPersistentModelIndex above;
    if (focused) {
        const int position = list->indexOfTopLevelItem(focused);
        if (position > 0) above = list->indexFromItem(list->Row(position - 1));
    }

    list->setUpdatesEnabled(false);
    while (list->HasSelection()) {
        QApplication::processEvents();
        const std::vector<QTreeWidgetItem*> selected = list->SelectedRows();
        if (selected.empty()) break;
        QTreeWidgetItem* row = selected.front();
        if (above.isValid() && list->itemFromIndex(above) == row) above = QPersistentModelIndex();
        delete row;
    }
    // The row above the old focus takes it over; a focused row that was kept keeps it; else no row has it.
    if (above.isValid()) {
        QTreeWidgetItem* row = list->itemFromIndex(above);
        list->SetFocusedRow(row);
        row->setSelected(true);
    } else if (focusedIndex.isValid()) {
        list->SetFocusedRow(list->itemFromIndex(focusedIndex));
    } else {
        list->SetFocusedRow(nullptr);
    }
    list->setUpdatesEnabled(true);
    removing = false;
}

bool TCommonLib::ClearRows(TSourceTreeList* list) {
    try {
        list->clear();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TCommonLib::SetSelectedStart(TSourceTreeList* list, int32_t start) {
    SetSelectedTime(*this, list, TSourceTreeList::colStartTime, start);
}

void TCommonLib::SetSelectedEnd(TSourceTreeList* list, int32_t end) {
    SetSelectedTime(*this, list, TSourceTreeList::colEndTime, end);
}

void TCommonLib::SeekToMs(int64_t milliseconds) {
    if (!FrmMainForm || !FrmMainForm->FilterGraph) throw EMediaError("There is no preview to seek in.");
    FrmMainForm->FilterGraph->SetCurrentPosition(milliseconds * 10000);
}
