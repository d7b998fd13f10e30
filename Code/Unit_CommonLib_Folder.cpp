// Output folder choice: the folder dialog, the checks of the chosen folder, and the folder kept otherwise.
#include "Unit_CommonLib.h"
#include "Unit_CommonLib_Folder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <unistd.h>

namespace {

bool IsFolder(const std::string& path) { return !path.empty() && QFileInfo(QString::fromStdString(path)).isDir(); }

void MakeFolderQuietly(const std::string& path) {
    if (!path.empty()) QDir().mkpath(QString::fromStdString(path));
}

void Warn(const char* text) { CommonLib->ShowMessageBox(text, 1); }

// The dialog gives no trailing "/" except for the root.
std::string Normalized(const std::string& path) {
    return QDir::cleanPath(QString::fromStdString(path)).toStdString();
}

} // namespace

TBrowseForFolderFunc& BrowseForFolderFunc() {
    static TBrowseForFolderFunc browse = [](const std::string& prompt) -> std::optional<std::string> {
        const QString chosen = QFileDialog::getExistingDirectory(
            QApplication::activeWindow(), QString::fromStdString(prompt), QDir::homePath(),
            QFileDialog::ShowDirsOnly);
        if (chosen.isEmpty()) return std::nullopt;
        return chosen.toStdString();
    };
    return browse;
}

bool CanWriteIntoFolder(const std::string& folder) {
    std::string probe = folder;
    if (probe.empty() || probe.back() != '/') probe += '/';
    probe += ".vantorel-write-probe-XXXXXX";
    // mkdtemp makes a new folder or fails: the probe can only ever remove what it made.
    if (::mkdtemp(probe.data()) == nullptr) return false;
    ::rmdir(probe.c_str());
    return true;
}

std::string TCommonLib::ChooseOutputFolder(const std::string& current) {
    std::optional<std::string> accepted;
    const TBrowseForFolderFunc& browse = BrowseForFolderFunc();
    if (std::optional<std::string> chosen = browse ? browse("Please select output folder:") : std::nullopt) {
        const std::string path = Normalized(*chosen);
        if (!IsFolder(path))
            Warn("The path is invalid.");
        else if (!CanWriteIntoFolder(path))
            Warn("This is a read-only path.");
        else
            accepted = path;
    }
    if (accepted) {
        if (!IsFolder(*accepted)) MakeFolderQuietly(*accepted);
        return *accepted;
    }
    // A cancelled or refused choice keeps the folder shown, and makes sure it exists where it can.
    if (!IsFolder(current)) MakeFolderQuietly(current);
    return current;
}
