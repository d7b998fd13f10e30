// The source list: adding files (dialog, drop), probing, removing, and the cut cells of the rows.
#include "SourceFixtures.h"

#include "MediaProbe.h"
#include "OpenDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <functional>
#include <sys/stat.h>

using namespace fixtures;

namespace {

const char* const ReadingError = "Files reading error! Please check your files.";

std::vector<std::string> FileNames(const TSourceTreeList* list) {
    std::vector<std::string> names;
    for (int i = 0; i < list->RowCount(); ++i)
        names.push_back(TSourceTreeList::Cell(list->Row(i), TSourceTreeList::colFileName));
    return names;
}

std::vector<std::string> SelectedNames(const TSourceTreeList* list) {
    std::vector<std::string> names;
    for (QTreeWidgetItem* row : list->SelectedRows())
        names.push_back(TSourceTreeList::Cell(row, TSourceTreeList::colFileName));
    return names;
}

// Enters and drops; true when the target took the drop.
bool DragAndDrop(QWidget* target, const QMimeData& data, Qt::DropAction action) {
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, action, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, action, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

void DropFiles(QWidget* target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    EXPECT_TRUE(DragAndDrop(target, data, Qt::CopyAction));
}

} // namespace

class SourceListTest : public SourceWindowTest {};

TEST_F(SourceListTest, TakesOnlyAcceptedExtensionsInAnyLetterCaseWithoutAWord) {
    const std::string video = Clip("ext-base.mp4", 2);
    QDir(MediaFolder().path()).mkpath(QStringLiteral("dotted.d"));
    struct Case {
        std::string name;
        int rows;
    } cases[] = {
        {"upper.AVI", 1},    {"mixed.Mp4", 1},       {"plain.mov", 1}, {"clip.mkv", 0},
        {"no-extension", 0}, {"dotted.d/inside", 0}, {"trailing.", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        List->clear();
        ModalAnswerer<QMessageBox> boxes;
        CommonLib->AddSourceFiles(List, {CopyAs(video, c.name)});
        EXPECT_EQ(List->RowCount(), c.rows);
        EXPECT_TRUE(boxes.Seen.empty());
    }
}

TEST_F(SourceListTest, SkipsPathsAlreadyListedByExactText) {
    ASSERT_TRUE(QDir(MediaFolder().path()).mkpath(QStringLiteral("dup")));
    const std::string first = Clip("dup/a.mp4", 2);
    const std::string upper = CopyAs(first, "dup/A.mp4");

    CommonLib->AddSourceFiles(List, {first, first});
    EXPECT_EQ(FileNames(List), std::vector<std::string>{first});
    CommonLib->AddSourceFiles(List, {first});
    EXPECT_EQ(List->RowCount(), 1);
    // Another spelling is another row, even where it names the same file.
    const std::string sameFileOtherText = MediaFolder().path().toStdString() + "/dup/./a.mp4";
    CommonLib->AddSourceFiles(List, {upper, sameFileOtherText});
    EXPECT_EQ(FileNames(List), (std::vector<std::string>{first, upper, sameFileOtherText}));
}

TEST_F(SourceListTest, WarnsOnceForEveryFileThatCannotBeReadAndAddsTheRest) {
    const std::string half = Clip("half.mp4", 0.5, false);
    const std::string text = WriteFile("notes.avi", "not a video at all\n");
    const std::string noDecoder = UndecodableVideoAvi("nodecoder.avi", false);
    const std::string missing = MediaPath("gone.mp4");
    const std::string good = Clip("good.mp4", 2);
    const std::string cut = WriteFile("cut-short.mp4", ReadAll(good).substr(0, 2000));

    ModalAnswerer<QMessageBox> boxes;
    CommonLib->AddSourceFiles(List, {half, text, good, noDecoder, missing, cut});
    EXPECT_EQ(boxes.Seen.Texts(), std::vector<std::string>(5, ReadingError));
    EXPECT_EQ(FileNames(List), std::vector<std::string>{good});
}

TEST_F(SourceListTest, ANewRowCoversTheWholeFile) {
    // 90 seconds in exactly 1.5 MB: the container ignores the zero bytes after its boxes.
    std::string bytes = ReadAll(Clip("ninety-base.mp4", 90, false));
    ASSERT_LT(bytes.size(), 1572864u);
    bytes.resize(1572864, '\0');
    const std::string path = WriteFile("ninety.mp4", bytes);
    AddRow("/elsewhere/selected.avi");
    List->Row(0)->setSelected(true);
    List->SetFocusedRow(List->Row(0));

    CommonLib->AddSourceFiles(List, {path});
    ASSERT_EQ(List->RowCount(), 2);
    const std::vector<std::string> expected = {"True",     path,       "1.5 MB",  "00:01:30",
                                               "00:00:00", "00:01:30", "00:01:30"};
    for (int column = 0; column < TSourceTreeList::ColumnCount; ++column)
        EXPECT_EQ(CellOf(1, column), expected[size_t(column)]) << "column " << column;
    // Adding leaves the selection and the focus where they were.
    EXPECT_EQ(SelectedNames(List), std::vector<std::string>{"/elsewhere/selected.avi"});
    EXPECT_EQ(List->FocusedRow(), List->Row(0));
}

TEST_F(SourceListTest, ProbeReadsWholeSecondsAndRefusesWhatIsNotAPlainFile) {
    TMediaProbe probe;
    EXPECT_EQ(CommonLib->ProbeDuration(Clip("probe-2500.mp4", 2.5), probe), 2);
    EXPECT_EQ(CommonLib->ProbeDuration(MediaFolder().path().toStdString(), probe), 0);
    // A named pipe would block an open for ever.
    const std::string fifo = MediaPath("pipe.avi");
    QFile::remove(QString::fromStdString(fifo));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(CommonLib->ProbeDuration(fifo, probe), 0);
}

TEST_F(SourceListTest, RemoveMovesTheFocusToTheRowAboveTheFocusedOne) {
    struct Case {
        const char* what;
        int focused;
        std::vector<int> selected;
        std::vector<std::string> left;
        const char* focusAfter; // nullptr: no row focused
        std::vector<std::string> selectedAfter;
    } cases[] = {
        {"focus inside the selection", 2, {2, 3}, {"r1", "r2", "r5"}, "r2", {"r2"}},
        {"first row", 0, {0}, {"r2", "r3", "r4", "r5"}, nullptr, {}},
        {"focus outside the selection", 4, {1, 2}, {"r1", "r4", "r5"}, "r4", {"r4"}},
        {"row above is removed too", 3, {2, 3}, {"r1", "r2", "r5"}, nullptr, {}},
        {"focused row kept, not above", 0, {3}, {"r1", "r2", "r3", "r5"}, "r1", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        List->clear();
        for (const char* name : {"r1", "r2", "r3", "r4", "r5"})
            AddRow(name);
        List->SetFocusedRow(List->Row(c.focused));
        for (int index : c.selected)
            List->Row(index)->setSelected(true);

        CommonLib->RemoveSelectedRows(List);
        EXPECT_EQ(FileNames(List), c.left);
        QTreeWidgetItem* focused = List->FocusedRow();
        if (c.focusAfter) {
            ASSERT_NE(focused, nullptr);
            EXPECT_EQ(TSourceTreeList::Cell(focused, TSourceTreeList::colFileName), c.focusAfter);
        } else {
            EXPECT_EQ(focused, nullptr);
        }
        EXPECT_EQ(SelectedNames(List), c.selectedAfter);
    }
}

TEST_F(SourceListTest, RemovingOrClearingStopsThePreviewEvenWithNothingSelected) {
    const std::string video = Clip("stop-on-remove.mp4", 5);
    AddRow(video, "00:00:05");
    struct Case {
        const char* what;
        std::function<void()> act;
        int rowsLeft;
        bool stops;
    } cases[] = {
        {"Delete key without a selection", [&] { QTest::keyClick(List, Qt::Key_Delete); }, 1, true},
        {"rows dragged back onto the grid", [&] { Form->dxTreeSourceFileInfoEndDrag(true); }, 1, false},
        {"Clear", [&] { Form->btnClearFileClick(); }, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CustomProc->OpenAndPlay(video);
        ASSERT_EQ(CommonLib->PlayingFile, video);
        c.act();
        EXPECT_EQ(List->RowCount(), c.rowsLeft);
        EXPECT_EQ(CommonLib->PlayingFile.empty(), c.stops);
        EXPECT_EQ(!CustomProc->IsPlaying, c.stops);
        EXPECT_EQ(Form->panLogo->isVisibleTo(Form.get()), c.stops);
        CustomProc->StopVideo();
    }
}

TEST_F(SourceListTest, RowsDraggedOutOfTheGridAreRemoved) {
    for (const char* name : {"a", "b", "c"})
        AddRow(name);
    List->Row(1)->setSelected(true);
    Form->dxTreeSourceFileInfoEndDrag(true);
    EXPECT_EQ(List->RowCount(), 3);
    Form->dxTreeSourceFileInfoEndDrag(false);
    EXPECT_EQ(FileNames(List), (std::vector<std::string>{"a", "c"}));
}

TEST_F(SourceListTest, RowsDroppedBackOnTheGridStayWhereTheyWere) {
    for (const char* name : {"a", "b", "c"})
        AddRow(name);
    QMimeData data;
    data.setData(QString::fromLatin1(TSourceTreeList::RowsMimeType), QByteArray());
    EXPECT_TRUE(DragAndDrop(List->viewport(), data, Qt::MoveAction));
    // Elsewhere on the window rows are not taken, so the drag ends unaccepted.
    EXPECT_FALSE(DragAndDrop(Form->pnlMediaView, data, Qt::MoveAction));
    EXPECT_EQ(FileNames(List), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(SourceListTest, NoCellEverOpensAnEditor) {
    AddRow("/v/a.avi");
    Form->show();
    QTreeWidgetItem* row = List->Row(0);
    for (int column = 1; column < TSourceTreeList::ColumnCount; ++column) {
        List->editItem(row, column);
        const QRect cell = List->visualItemRect(row);
        QTest::mouseDClick(List->viewport(), Qt::LeftButton, Qt::NoModifier,
                           QPoint(List->columnViewportPosition(column) + 3, cell.center().y()));
        QTest::keyClick(List, Qt::Key_F2);
    }
    EXPECT_EQ(List->findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(CellOf(0, TSourceTreeList::colFileName), "/v/a.avi");
}

TEST_F(SourceListTest, StartAndEndWriteTheSelectedRowsAndANegativeCutShowsAsZero) {
    AddRow("/v/a.avi", "00:02:00", "00:00:10");
    AddRow("/v/b.avi", "00:02:00", "00:00:10");
    List->Row(0)->setSelected(true);

    CommonLib->SetSelectedEnd(List, 30);
    EXPECT_EQ(CellOf(0, TSourceTreeList::colEndTime), "00:00:30");
    EXPECT_EQ(CellOf(0, TSourceTreeList::colCutTime), "00:00:20");
    CommonLib->SetSelectedStart(List, 40);
    EXPECT_EQ(CellOf(0, TSourceTreeList::colStartTime), "00:00:40");
    EXPECT_EQ(CellOf(0, TSourceTreeList::colCutTime), "00:00:00");
    EXPECT_EQ(CustomProc->GetCutSeconds("/v/a.avi"), -10);
    // The unselected row is untouched.
    EXPECT_EQ(CellOf(1, TSourceTreeList::colEndTime), "00:02:00");
    EXPECT_EQ(CellOf(1, TSourceTreeList::colCutTime), "00:02:00");
}

TEST_F(SourceListTest, CutLengthOfARowIgnoresLetterCaseAndEachRowShowsItsOwn) {
    AddRow("/v/Clip.avi", "00:02:00", "00:00:10", "00:01:00");
    EXPECT_EQ(CustomProc->GetCutSeconds("/V/CLIP.AVI"), 50);
    EXPECT_EQ(CustomProc->GetCutSeconds("/v/other.avi"), 0);
    // Two files whose names differ only in case: each row's cut comes from its own start and end.
    AddRow("/v/clip.avi", "00:02:00", "00:00:00", "00:01:40");
    List->Row(0)->setSelected(true);
    CommonLib->SetSelectedStart(List, 20);
    EXPECT_EQ(CellOf(0, TSourceTreeList::colCutTime), "00:00:40");
}

TEST_F(SourceListTest, FilesDroppedOnTheWindowAreAddedInDropOrderWithTheirWholePaths) {
    const std::string longFolder = std::string(120, 'd') + "/" + std::string(120, 'e');
    ASSERT_TRUE(QDir(MediaFolder().path()).mkpath(QString::fromStdString(longFolder)));
    const std::string base = Clip("drop-base.mp4", 2);
    const std::string second = CopyAs(base, "drop-second.mp4");
    const std::string deep = CopyAs(base, longFolder + "/deep-clip.mp4");
    ASSERT_GT(deep.size(), 254u);
    const std::string first = CopyAs(base, "drop-first.avi");

    DropFiles(Form.get(), {QUrl::fromLocalFile(QString::fromStdString(second)),
                           QUrl(QStringLiteral("https://host.invalid/remote.avi")),
                           QUrl::fromLocalFile(QString::fromStdString(deep)),
                           QUrl::fromLocalFile(QString::fromStdString(first))});
    EXPECT_EQ(FileNames(List), (std::vector<std::string>{second, deep, first}));

    // Over the grid the files are added the same way.
    const std::string third = CopyAs(base, "drop-third.mp4");
    DropFiles(List->viewport(), {QUrl::fromLocalFile(QString::fromStdString(third))});
    EXPECT_EQ(FileNames(List).back(), third);
}

TEST_F(SourceListTest, OpenDialogAddsThePickedFilesOnceAndRemembersThePick) {
    const std::string base = Clip("dialog-base.mp4", 2);
    const std::string a = CopyAs(base, "pick-a.mp4");
    const std::string b = CopyAs(base, "pick-b.avi");
    TOpenDialog& dialog = *Form->dlgOpenSourceFile;

    auto answer = [](const QString& selection, bool accept) {
        QTimer::singleShot(0, [selection, accept] {
            auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->fileMode(), QFileDialog::ExistingFiles);
            EXPECT_EQ(shown->nameFilters().first(),
                      QStringLiteral("Supported Files (*.3gp *.mp4 *.m4v *.mpeg *.3g2 "
                                     "*.mpg *.avi *.asf *.mov *.wmv *.flv *.swf *.rm "
                                     "*.rmvb *.vob)"));
            shown->selectFile(selection);
            QDialog* asDialog = shown;
            if (accept)
                asDialog->accept();
            else
                asDialog->reject();
        });
    };
    answer(QStringLiteral("\"pick-a.mp4\" \"pick-b.avi\" \"pick-a.mp4\""), true);
    const TStringList picked =
        CommonLib->ShowOpenFilesDialog(dialog, true, MediaFolder().path().toStdString());
    EXPECT_EQ(picked, (TStringList{a, b}));
    EXPECT_EQ(dialog.FileName, a);

    answer(QStringLiteral("pick-b.avi"), false);
    EXPECT_TRUE(CommonLib->ShowOpenFilesDialog(dialog, true, MediaFolder().path().toStdString()).empty());
    EXPECT_EQ(dialog.FileName, a);
}

TEST_F(SourceListTest, AddButtonStartsInTheStoredFolderAndStoresTheFolderOfThePick) {
    ASSERT_TRUE(QDir(AppFolder.path()).mkpath(QStringLiteral("Config")));
    ASSERT_TRUE(QDir(MediaFolder().path()).mkpath(QStringLiteral("start")));
    ASSERT_TRUE(QDir(MediaFolder().path()).mkpath(QStringLiteral("picked")));
    const std::string start = MediaPath("start") + "/";
    const std::string picked = CopyAs(Clip("button-base.mp4", 2), "picked/clip.mp4");
    CustomProc->SaveInitialFolder(start + "anything.avi");

    QString shownFolder;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        shownFolder = shown->directory().absolutePath() + "/";
        shown->selectFile(QString::fromStdString(picked));
        static_cast<QDialog*>(shown)->accept();
    });
    Form->btnOpenFileClick();
    EXPECT_EQ(shownFolder.toStdString(), start);
    EXPECT_EQ(FileNames(List), std::vector<std::string>{picked});
    EXPECT_EQ(CustomProc->ReadInitialFolder(), MediaPath("picked") + "/");

    // A cancel keeps the last pick's folder.
    QTimer::singleShot(0, [] { static_cast<QDialog*>(QApplication::activeModalWidget())->reject(); });
    Form->btnOpenFileClick();
    EXPECT_EQ(CustomProc->ReadInitialFolder(), MediaPath("picked") + "/");
    EXPECT_EQ(List->RowCount(), 1);
}

TEST(SourceListPaths, RemoveDuplicatePathsKeepsTheFirstOfEachInOrder) {
    TCommonLib lib;
    struct Case {
        TStringList in, out;
    } cases[] = {
        {{}, {}},
        {{"/a", "/b", "/a", "/c", "/b"}, {"/a", "/b", "/c"}},
        {{"/a", "/A", "/a/"}, {"/a", "/A", "/a/"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lib.RemoveDuplicatePaths(c.in), c.out);
}
