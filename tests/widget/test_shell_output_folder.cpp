// Choosing the output folder: what the dialog gives, what is refused, and the folder kept otherwise.
#include "AppObjects.h"
#include "RzBmpButton.h"
#include "Unit_CommonLib.h"
#include "Unit_CommonLib_Folder.h"
#include "Unit_Convert.h"
#include "modal_answerer.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Answers the folder dialog with `answer` (nothing: the user cancels) and notes its prompt.
class FolderDialogAnswer {
  public:
    explicit FolderDialogAnswer(std::optional<std::string> answer) {
        Saved = BrowseForFolderFunc();
        BrowseForFolderFunc() = [this, answer](const std::string& prompt) {
            Prompts.push_back(prompt);
            return answer;
        };
    }
    ~FolderDialogAnswer() { BrowseForFolderFunc() = Saved; }
    std::vector<std::string> Prompts;

  private:
    TBrowseForFolderFunc Saved;
};

std::vector<std::string> Entries(const QString& folder) {
    std::vector<std::string> names;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        names.push_back(name.toStdString());
    return names;
}

} // namespace

TEST(ChooseOutputFolder, AcceptsOnlyAnExistingWritableFolderAndKeepsTheCurrentOneOtherwise) {
    CreateAppObjects();
    QTemporaryDir root;
    const std::string base = root.path().toStdString();
    QDir(root.path()).mkpath("chosen");
    QDir(root.path()).mkpath("current");
    const std::string chosen = base + "/chosen", current = base + "/current", missing = base + "/missing/deeper";

    struct Case {
        const char* what;
        std::optional<std::string> answer;
        std::string current;
        std::string result;
        std::string warning; // empty: no box
    } cases[] = {
        {"writable folder", chosen, current, chosen, ""},
        {"trailing separator dropped", chosen + "/", current, chosen, ""},
        {"cancelled", std::nullopt, current, current, ""},
        {"cancelled, current folder missing", std::nullopt, missing, missing, ""},
        {"cancelled, no current folder", std::nullopt, "", "", ""},
        {"no such folder", base + "/nowhere", current, current, "The path is invalid."},
        {"a file, not a folder", base + "/file.txt", current, current, "The path is invalid."},
        // Nothing can be made there, not even by the superuser.
        {"read-only folder", std::string("/proc"), current, current, "This is a read-only path."},
    };
    QFile file(root.filePath("file.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    for (const Case& c : cases) {
        QDir(root.path()).removeRecursively();
        QDir().mkpath(QString::fromStdString(chosen));
        QDir().mkpath(QString::fromStdString(current));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();

        FolderDialogAnswer dialog(c.answer);
        ModalAnswerer<> watcher;
        EXPECT_EQ(CommonLib->ChooseOutputFolder(c.current), c.result) << c.what;
        ASSERT_EQ(dialog.Prompts.size(), 1u);
        EXPECT_EQ(dialog.Prompts[0], "Please select output folder:");
        if (c.warning.empty()) {
            EXPECT_TRUE(watcher.Seen.empty()) << c.what;
        } else {
            ASSERT_EQ(watcher.Seen.size(), 1u) << c.what;
            EXPECT_EQ(watcher.Seen[0].Text, c.warning);
            EXPECT_EQ(watcher.Seen[0].Title, "Vantorel");
            EXPECT_EQ(watcher.Seen[0].Icon, QMessageBox::Warning);
        }
        if (!c.result.empty()) {
            EXPECT_TRUE(QFileInfo(QString::fromStdString(c.result)).isDir()) << c.what;
        }
        EXPECT_TRUE(Entries(QString::fromStdString(chosen)).empty()) << "probe left behind: " << c.what;
    }
}

TEST(ChooseOutputFolder, NeverRemovesAFolderThatWasAlreadyThere) {
    CreateAppObjects();
    QTemporaryDir root;
    // A folder named like a probe, with something in it, and the plain "test" of older probes.
    for (const char* name : {"test", ".vantorel-write-probe-AAAAAA"}) {
        QDir(root.path()).mkpath(name);
        QFile keep(root.filePath(QString(name) + "/keep.txt"));
        ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    }
    const std::vector<std::string> before = Entries(root.path());
    FolderDialogAnswer dialog(root.path().toStdString());
    EXPECT_EQ(CommonLib->ChooseOutputFolder("/does/not/matter/x"), root.path().toStdString());
    EXPECT_EQ(Entries(root.path()), before);
    EXPECT_TRUE(QFile::exists(root.filePath("test/keep.txt")));
    EXPECT_TRUE(CanWriteIntoFolder(root.path().toStdString()));
    EXPECT_FALSE(CanWriteIntoFolder(root.path().toStdString() + "/missing"));
}

TEST(ChooseOutputFolder, TheFolderButtonPutsTheResultIntoTheField) {
    QTemporaryDir root;
    TFrmMainForm form;
    {
        FolderDialogAnswer dialog(root.path().toStdString());
        QTest::mouseClick(form.btnSelectOutputFolder, Qt::LeftButton);
        EXPECT_EQ(form.edtOutputFolder->text(), root.path());
    }
    {
        FolderDialogAnswer cancel(std::nullopt);
        QTest::mouseClick(form.btnSelectOutputFolder, Qt::LeftButton);
        EXPECT_EQ(form.edtOutputFolder->text(), root.path());
    }
}
