// Res.dll and Form.dll as the application uses them: loaded by file name from the application folder,
// read, and released again.
#include "AppObjects.h"
#include "CompanionApi.h"
#include "CompanionLibrary.h"
#include "FlashForm.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "shell_app_folder.h"
#include "modal_answerer.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QPixmap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

const std::string AppDir = VANTOREL_APP_DIR "/";

bool IsMapped(const std::string& fileName) {
    std::ifstream maps("/proc/self/maps");
    std::stringstream text;
    text << maps.rdbuf();
    return text.str().find("/" + fileName) != std::string::npos;
}

} // namespace

TEST(ResLibrary, GivesTheProductTextsByNumberAndCutsLongOnesBetweenCharacters) {
    QLibrary res(QString::fromStdString(AppDir + "Res.dll"));
    ASSERT_TRUE(res.load()) << res.errorString().toStdString();
    const auto load = reinterpret_cast<ResLoadStringFunc>(res.resolve("ResLoadString"));
    ASSERT_NE(load, nullptr);

    struct Case {
        unsigned id;
        int bufferSize;
        std::string expected;
    } cases[] = {
        {RES_COMPANY, 254, "Osmerin Soft"},
        {RES_PRODUCT_NAME, 254, "Vantorel"},
        {RES_TITLE_SUFFIX, 254, "Video Converter"},
        {RES_HOME_PAGE, 254, "https://vantorel.example/"},
        {RES_EMAIL, 254, "support@vantorel.example"},
        {6, 254, ""},  // no string 6
        {99, 254, ""}, // nor any past the table
        {RES_PRODUCT_NAME, 6, "Vanto"},
        {RES_PRODUCT_NAME, 1, ""},
    };
    for (const Case& c : cases) {
        char buffer[254];
        std::memset(buffer, 'x', sizeof buffer);
        const int copied = load(c.id, buffer, c.bufferSize);
        EXPECT_EQ(std::string(buffer), c.expected) << "string " << c.id << ", buffer " << c.bufferSize;
        EXPECT_EQ(copied, static_cast<int>(c.expected.size()));
    }
    char text[254];
    EXPECT_GT(load(RES_EXTRA_INFO_1, text, 254), 0);
    EXPECT_GT(load(RES_EXTRA_INFO_2, text, 254), 0);
    EXPECT_EQ(load(RES_COMPANY, nullptr, 10), 0);
    res.unload();
}

TEST(ResLibrary, HoldsTheSplashAsAJpegNamedImgFlash) {
    QLibrary res(QString::fromStdString(AppDir + "Res.dll"));
    ASSERT_TRUE(res.load());
    const auto find = reinterpret_cast<ResFindResourceFunc>(res.resolve("ResFindResource"));
    ASSERT_NE(find, nullptr);
    size_t size = 0;
    const unsigned char* data = find("ImgFlash", "jpeg", &size);
    ASSERT_NE(data, nullptr);
    QPixmap picture;
    EXPECT_TRUE(picture.loadFromData(data, static_cast<uint>(size), "JPEG"));
    EXPECT_FALSE(picture.isNull());
    EXPECT_NE(find("imgflash", "JPEG", &size), nullptr) << "names compare without regard to case";
    EXPECT_EQ(find("ImgFlash", "png", &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(find("Logo", "jpeg", &size), nullptr);
    res.unload();
}

TEST(SoftInfo, IsReadFromResDllAndNamesTheTitleLine) {
    ShellAppFolder folder;
    TFrmMainForm form;
    SoftInfo = RecSoftInfo{};
    LoadSoftInfo();
    EXPECT_EQ(SoftInfo.ProductName, "Vantorel");
    EXPECT_EQ(SoftInfo.HomePage, "https://vantorel.example/");
    EXPECT_EQ(SoftInfo.Email, "support@vantorel.example");
    EXPECT_EQ(SoftInfo.AppDir, CommonLib->ExeFolder);
    EXPECT_EQ(form.lblTitle->text().toStdString(), "Vantorel Video Converter");
    EXPECT_FALSE(IsMapped("Res.dll")) << "Res.dll is released after reading";
}

TEST(SoftInfo, IsEmptyButHarmlessWhenResDllCannotBeLoaded) {
    QTemporaryDir empty;
    ShellAppFolder folder(empty.path().toStdString() + "/");
    SoftInfo = RecSoftInfo{};
    LoadSoftInfo();
    EXPECT_EQ(SoftInfo.ProductName, "");
    EXPECT_EQ(SoftInfo.Email, "");
    EXPECT_EQ(SoftInfo.AppDir, empty.path().toStdString() + "/");
}

TEST(AboutBox, ShowsTheProductInformationAndReleasesFormDllEachTime) {
    ShellAppFolder folder;
    TFrmMainForm form;
    SoftInfo = RecSoftInfo{"Osmerin Soft", "Vantorel", "Version 1.0.0", "Video Converter",
                           "https://vantorel.example/", "support@vantorel.example", "More words.", AppDir};
    std::vector<std::string> texts;
    ModalAnswerer<> watcher([&](QDialog* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>()) texts.push_back(label->text().toStdString());
    });
    for (int press = 0; press < 2; ++press) {
        texts.clear();
        form.ActSysAboutExecute();
        EXPECT_FALSE(IsMapped("Form.dll")) << "Form.dll stays loaded after About press " << press;
    }
    ASSERT_EQ(watcher.Seen.size(), 2u);
    EXPECT_EQ(watcher.Seen[0].ObjectName, "frmAbout");
    EXPECT_EQ(watcher.Seen[0].Title, "About Vantorel");
    auto shows = [&](const std::string& part) {
        for (const std::string& t : texts)
            if (t.find(part) != std::string::npos) return true;
        return false;
    };
    for (const char* part : {"Vantorel Video Converter", "Version 1.0.0", "More words.", "https://vantorel.example/",
                             "mailto:support@vantorel.example", "Osmerin Soft"})
        EXPECT_TRUE(shows(part)) << part;
}

TEST(AboutBox, DoesNothingWithoutFormDll) {
    QTemporaryDir empty;
    ShellAppFolder folder(empty.path().toStdString() + "/");
    TFrmMainForm form;
    ModalAnswerer<> watcher;
    form.ActSysAboutExecute();
    QApplication::processEvents();
    EXPECT_TRUE(watcher.Seen.empty());
}

TEST(CompanionCheck, ReportsEveryMissingLibraryFormDllFirstAndAsksToEnd) {
    struct Case {
        std::vector<const char*> present;
        std::vector<std::string> boxes;
    } cases[] = {
        {{"Form.dll", "Res.dll"}, {}},
        {{"Form.dll"}, {"'Res.dll' is not found. Please reinstall this program."}},
        {{"Res.dll"}, {"'Form.dll' is not found. Please reinstall this program."}},
        {{},
         {"'Form.dll' is not found. Please reinstall this program.",
          "'Res.dll' is not found. Please reinstall this program."}},
    };
    const QString savedCurrent = QDir::currentPath();
    for (const Case& c : cases) {
        QTemporaryDir dir;
        for (const char* name : c.present) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        // Started from elsewhere: the libraries are looked for beside the program all the same.
        QTemporaryDir elsewhere;
        QDir::setCurrent(elsewhere.path());
        ShellAppFolder folder(dir.path().toStdString() + "/");
        TFrmMainForm form;
        ModalAnswerer<> watcher;
        EXPECT_EQ(form.CheckCompanionLibraries(), c.boxes.empty());
        EXPECT_EQ(form.TerminateRequested, !c.boxes.empty());
        ASSERT_EQ(watcher.Seen.size(), c.boxes.size());
        for (size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(watcher.Seen[i].Text, c.boxes[i]);
            EXPECT_EQ(watcher.Seen[i].Title, "Vantorel");
            EXPECT_EQ(watcher.Seen[i].Icon, QMessageBox::Information);
        }
        QDir::setCurrent(savedCurrent);
    }
}
