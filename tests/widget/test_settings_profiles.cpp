// User profiles and the open-file folder in the Config folder, checked byte for byte.
#include "SettingsTestSupport.h"

#include "IniFiles32.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QTest>

namespace {

void AcceptWithEnter(QInputDialog* box) {
    QTest::keyClick(box->findChild<QLineEdit*>(), Qt::Key_Return);
}

} // namespace

TEST_F(SettingsTest, FirstAddWithEnterStoresTheProposedNameAndStartsTheCounter) {
    StartUp();
    std::string proposed;
    ModalAnswerer<QInputDialog> answer([&](QInputDialog* box) {
        EXPECT_EQ(box->windowTitle(), "Vantorel");
        EXPECT_EQ(box->labelText(), "Plese input a name");
        proposed = box->textValue().toStdString();
        AcceptWithEnter(box);
    });
    Options->btnAddClick();
    EXPECT_EQ(proposed, "UserProfileInfo1");
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"),
              "\r\n[UserProfileInfo1]\r\nUserProfileInfo1=1|4|2|5|1|2\r\n");
    EXPECT_EQ(ReadConfig("UserProfileCount.ini"), "\r\n[count]\r\ncount=1\r\n");
    EXPECT_EQ(Items(Options->cbbCustomProfile), (std::vector<std::string>{"UserProfileInfo1"}));
    EXPECT_EQ(Options->cbbCustomProfile->currentIndex(), 0);
}

TEST_F(SettingsTest, CancelInTheNameBoxStillStoresTheProfileUnderTheProposedName) {
    WriteConfig("UserProfileCount.ini", "\r\n[count]\r\ncount=4\r\n");
    WriteConfig("UserProfileInfo.ini", "\r\n[Keep]\r\nKeep=0|0|0|0|0|0\r\n");
    StartUp();
    UserPicks(Options->cbbAudioSample, 0);
    ModalAnswerer<QInputDialog> answer([](QInputDialog* box) {
        box->setTextValue(QStringLiteral("Typed but cancelled"));
        box->reject();
    });
    Options->btnAddClick();
    EXPECT_TRUE(answer.Seen);
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"),
              "\r\n[Keep]\r\nKeep=0|0|0|0|0|0\r\n\r\n[UserProfileInfo5]\r\nUserProfileInfo5=1|4|2|5|1|0\r\n");
    EXPECT_EQ(ReadConfig("UserProfileCount.ini"), "\r\n[count]\r\ncount=5\r\n");
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "UserProfileInfo5");
}

TEST_F(SettingsTest, NumbersAreNeverReusedAfterDeletingEveryProfile) {
    StartUp();
    for (int i = 0; i < 2; ++i) {
        ModalAnswerer<QInputDialog> answer(AcceptWithEnter);
        Options->btnAddClick();
    }
    Options->btnDelClick();
    Options->btnDelClick();
    EXPECT_EQ(Options->cbbCustomProfile->count(), 0);
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "");
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"), "\r\n\r\n");

    // Delete with no profile listed leaves the file alone, even when it changed meanwhile.
    WriteConfig("UserProfileInfo.ini", "[Outside]\r\nOutside=1|1|1|1|1|1\r\n");
    Options->btnDelClick();
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"), "[Outside]\r\nOutside=1|1|1|1|1|1\r\n");

    std::string proposed;
    ModalAnswerer<QInputDialog> answer([&](QInputDialog* box) {
        proposed = box->textValue().toStdString();
        box->accept();
    });
    Options->btnAddClick();
    EXPECT_EQ(proposed, "UserProfileInfo3");
    EXPECT_EQ(ReadConfig("UserProfileCount.ini"), "\r\n[count]\r\ncount=3\r\n");
}

TEST_F(SettingsTest, AddWithAnExistingNameReplacesThatProfileInPlace) {
    const std::string before = "\r\n[A]\r\nA=0|0|0|0|0|0\r\n\r\n[B]\r\nB=2|2|2|2|1|1\r\n";
    WriteConfig("UserProfileInfo.ini", before);
    StartUp();
    ModalAnswerer<QInputDialog> answer([](QInputDialog* box) {
        box->setTextValue(QStringLiteral("A"));
        box->accept();
    });
    Options->btnAddClick();
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"), "\r\n[A]\r\nA=1|4|2|5|1|2\r\n\r\n[B]\r\nB=2|2|2|2|1|1\r\n");
    EXPECT_EQ(Items(Options->cbbCustomProfile), (std::vector<std::string>{"A", "B"}));
    // The last profile is selected, whatever was added; selecting it applied nothing.
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "B");
    EXPECT_EQ(ProfileChoices(), StartUpChoices);
}

TEST_F(SettingsTest, SaveWithANewlyTypedNameAppendsAProfile) {
    WriteConfig("UserProfileInfo.ini", "\r\n[A]\r\nA=0|0|0|0|0|0\r\n");
    StartUp();
    Options->FormShow();
    UserPicks(Options->cbbCustomProfile, 0);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"160x112", "14.985", "256", "16", "1 channel, Mono", "22050"}));
    UserPicks(Options->cbbVideoBitrate, 4);

    Options->cbbCustomProfile->lineEdit()->selectAll();
    QTest::keyClicks(Options->cbbCustomProfile->lineEdit(), "Fast");
    // Typing selects no profile and applies nothing.
    EXPECT_EQ(Options->cbbCustomProfile->currentIndex(), -1);
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "Fast");
    EXPECT_EQ(Options->cbbVideoBitrate->currentText(), "1500");

    Options->btnSaveClick();
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"),
              "\r\n[A]\r\nA=0|0|0|0|0|0\r\n\r\n[Fast]\r\nFast=0|0|4|0|0|0\r\n");
    EXPECT_EQ(ReadConfig("UserProfileCount.ini"), "<missing>");
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "Fast");
}

TEST_F(SettingsTest, TypingTheNameOfAStoredProfileAndSavingOverwritesItWithTheCurrentChoices) {
    WriteConfig("UserProfileInfo.ini", "\r\n[A]\r\nA=0|0|0|0|0|0\r\n\r\n[B]\r\nB=0|0|0|0|0|0\r\n");
    StartUp();
    Options->FormShow();
    QLineEdit* edit = Options->cbbCustomProfile->lineEdit();
    QTest::keyClicks(edit, "A");
    // Leaving the box must not turn the typed name into a pick that would apply the stored choices.
    emit edit->editingFinished();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Options->cbbCustomProfile->currentIndex(), -1);
    EXPECT_EQ(ProfileChoices(), StartUpChoices);
    Options->btnSaveClick();
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"), "\r\n[A]\r\nA=1|4|2|5|1|2\r\n\r\n[B]\r\nB=0|0|0|0|0|0\r\n");
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "B");
}

TEST_F(SettingsTest, AnEmptyNameStoresAnEmptySectionThatAppliesNothing) {
    StartUp();
    ModalAnswerer<QInputDialog> answer([](QInputDialog* box) {
        box->setTextValue(QString());
        box->accept();
    });
    Options->btnAddClick();
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"), "\r\n[]\r\n");
    EXPECT_EQ(Items(Options->cbbCustomProfile), (std::vector<std::string>{""}));

    Options->btnApplyClick();
    EXPECT_EQ(Main->cbbProfile->count(), 6);
    EXPECT_EQ(Main->cbbProfile->itemText(5), "");
    UserPicks(Main->cbbProfile, 0);
    UserPicks(Main->cbbProfile, 5);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"320x240", "15", "256", "48", "1 channel, Mono", "22050"}));
}

TEST_F(SettingsTest, MalformedStoredValues) {
    WriteConfig("UserProfileInfo.ini", "\r\n[Five]\r\nFive=0|0|0|0|0\r\n"
                                       "\r\n[Bad]\r\nBad=0|0|x|0|0|0\r\n"
                                       "\r\n[Cleared]\r\nCleared=-1|0|9|0|0|0\r\n");
    StartUp();
    Options->FormShow();
    UserPicks(Options->cbbCustomProfile, 0);
    EXPECT_EQ(ProfileChoices(), StartUpChoices);

    Options->cbbCustomProfile->setCurrentIndex(1);
    try {
        Options->cbbCustomProfileChange();
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
    }
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"160x112", "14.985", "768", "128", "2 channels, Stereo", "44100"}));

    UserPicks(Options->cbbCustomProfile, 2);
    EXPECT_EQ(Options->cbbVideoSize->currentIndex(), -1);
    EXPECT_EQ(Options->cbbVideoBitrate->currentIndex(), -1);
    EXPECT_EQ(CommonLib->VideoSizeArgument(Options->cbbVideoSize, -1), " -s 320x240");
    EXPECT_EQ(CommonLib->VideoBitrateArgument(Options->cbbVideoBitrate, -1), " -b 512");

    // Saving a list without a selection stores -1 for it.
    Options->btnSaveClick();
    EXPECT_EQ(CommonLib->ReadConfigValue("UserProfileInfo.ini", "Cleared"), "-1|0|-1|0|0|0");
}

TEST_F(SettingsTest, AMissingConfigFolderStoresNothingAndAsksNothing) {
    StartUp();
    ASSERT_TRUE(QDir(QString::fromStdString(Folder + "Config")).removeRecursively());
    ModalAnswerer<QInputDialog> answer([](QInputDialog* box) { box->reject(); });
    EXPECT_THROW(Options->btnAddClick(), EFileError);
    EXPECT_THROW(Options->btnSaveClick(), EFileError);
    EXPECT_FALSE(answer.Seen);
    EXPECT_FALSE(QDir(QString::fromStdString(Folder + "Config")).exists());
    // Reading goes on with the defaults.
    EXPECT_TRUE(CommonLib->ReadConfigSections("UserProfileInfo.ini").empty());
}

TEST_F(SettingsTest, ANameWithALineBreakIsRefusedAndTheFileKeptWhole) {
    const std::string before = "\r\n[A]\r\nA=0|0|0|0|0|0\r\n";
    WriteConfig("UserProfileInfo.ini", before);
    StartUp();
    Options->cbbCustomProfile->setEditText(QStringLiteral("two\nlines"));
    EXPECT_THROW(Options->btnSaveClick(), EProfileNameError);
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"), before);
}

TEST_F(SettingsTest, ProfileNamesThatAreNotUtf8StillMatchTheirSection) {
    const std::string before = "\r\n[Vid\xe9o]\r\nVid\xe9o=0|0|0|0|0|0\r\n\r\n[B]\r\nB=1|1|1|1|1|1\r\n";
    WriteConfig("UserProfileInfo.ini", before);
    StartUp();
    Options->FormShow();
    UserPicks(Options->cbbCustomProfile, 0);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"160x112", "14.985", "256", "16", "1 channel, Mono", "22050"}));
    Options->btnDelClick();
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"), "\r\n\r\n[B]\r\nB=1|1|1|1|1|1\r\n");
}

TEST_F(SettingsTest, TheOpenFileFolderIsRememberedOnlyWhenAFileWasPicked) {
    EXPECT_EQ(CustomProc->ReadInitialFolder(), QDir::homePath().toStdString() + "/");
    CustomProc->SaveInitialFolder("");
    EXPECT_EQ(ReadConfig("UserSettings.ini"), "<missing>");
    CustomProc->SaveInitialFolder("/media/clips/a b.avi");
    EXPECT_EQ(ReadConfig("UserSettings.ini"), "\r\n[USRInfo]\r\nInitDir=/media/clips/\r\n");
    EXPECT_EQ(CustomProc->ReadInitialFolder(), "/media/clips/");
    // A folder name with a line break cannot be stored on one line; the last good one stays.
    CustomProc->SaveInitialFolder("/media/odd\nname/a.avi");
    EXPECT_EQ(CustomProc->ReadInitialFolder(), "/media/clips/");
}
