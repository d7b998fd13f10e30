// The ten settings lists: start-up values, quality presets chosen on the main window, user profiles chosen by
// position, and the rule that only the user's own choice applies anything.
#include "PresetChoices.h"
#include "SettingsTestSupport.h"

#include <QTest>

namespace {

struct Selected {
    const char* name;
    std::function<QComboBox*(TFrmMainForm&, TfrmOption&)> combo;
    int afterFilling;
    int afterPreset;
    const char* text;
};

const Selected StartUpTable[] = {
    {"output type", [](TFrmMainForm& m, TfrmOption&) { return m.cbbOutputFiletype; }, 0, 0,
     "RM Video Files (*.rm)"},
    {"profile", [](TFrmMainForm& m, TfrmOption&) { return m.cbbProfile; }, 2, 2, "Normal Quality"},
    {"video size", [](TFrmMainForm&, TfrmOption& o) { return o.cbbVideoSize; }, 0, 1, "320x240"},
    {"video bitrate", [](TFrmMainForm&, TfrmOption& o) { return o.cbbVideoBitrate; }, 3, 2, "768"},
    {"frame rate", [](TFrmMainForm&, TfrmOption& o) { return o.cbbFramerate; }, 4, 4, "25"},
    {"aspect ratio", [](TFrmMainForm&, TfrmOption& o) { return o.cbbAspectratio; }, 0, 0, "4:3"},
    {"audio bitrate", [](TFrmMainForm&, TfrmOption& o) { return o.cbbAudioBitrate; }, 2, 5, "128"},
    {"sample rate", [](TFrmMainForm&, TfrmOption& o) { return o.cbbAudioSample; }, 3, 2, "44100"},
    {"volume", [](TFrmMainForm&, TfrmOption& o) { return o.cbbAudioVolumeGain; }, 8, 8, "200"},
    {"channels", [](TFrmMainForm&, TfrmOption& o) { return o.cbbAudioChannels; }, 1, 1, "2 channels, Stereo"},
};

} // namespace

TEST_F(SettingsTest, StartUpFillsTheTenListsThenAppliesNormalQuality) {
    CustomProc->FillOptionCombos();
    for (const Selected& row : StartUpTable)
        EXPECT_EQ(row.combo(*Main, *Options)->currentIndex(), row.afterFilling) << row.name;
    EXPECT_EQ(Items(Main->cbbProfile), OptionItems(QualityNameList));
    EXPECT_EQ(Items(Options->cbbAudioVolumeGain), OptionItems(VolumeList));

    CustomProc->ApplyQualityPreset();
    for (const Selected& row : StartUpTable) {
        const QComboBox* combo = row.combo(*Main, *Options);
        EXPECT_EQ(combo->currentIndex(), row.afterPreset) << row.name;
        EXPECT_EQ(combo->currentText().toStdString(), row.text) << row.name;
        EXPECT_TRUE(combo->isEnabled()) << row.name;
        EXPECT_FALSE(combo->isEditable()) << row.name;
    }
}

TEST_F(SettingsTest, EachQualityOnTheMainWindowSetsItsSixChoicesButNeverAspectOrVolume) {
    StartUp();
    UserPicks(Options->cbbAspectratio, 1);
    UserPicks(Options->cbbAudioVolumeGain, 20);
    const auto& expected = ExpectedPresetChoices;
    for (int quality = 0; quality < QualityCount; ++quality) {
        UserPicks(Options->cbbVideoSize, 2);
        UserPicks(Main->cbbProfile, quality);
        EXPECT_EQ(ProfileChoices(), expected[size_t(quality)]) << quality;
        EXPECT_EQ(Options->cbbAspectratio->currentText(), "16:9");
        EXPECT_EQ(Options->cbbAudioVolumeGain->currentText(), "500");
    }
}

TEST_F(SettingsTest, Mp3DisablesTheVideoListsKeepingTheirChoicesAndRmEnablesThemAgain) {
    StartUp();
    UserPicks(Options->cbbVideoSize, 2);
    UserPicks(Options->cbbFramerate, 0);
    UserPicks(Main->cbbProfile, 0); // Low: 320x240, 15, 256, 48, mono, 22050
    UserPicks(Options->cbbVideoSize, 2);
    UserPicks(Main->cbbOutputFiletype, 1);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"368x208", "15", "256", "48", "1 channel, Mono", "22050"}));
    for (const QComboBox* combo :
         {Options->cbbAspectratio, Options->cbbFramerate, Options->cbbVideoBitrate, Options->cbbVideoSize})
        EXPECT_FALSE(combo->isEnabled());
    for (const QComboBox* combo :
         {Options->cbbAudioBitrate, Options->cbbAudioSample, Options->cbbAudioChannels,
          Options->cbbAudioVolumeGain, Options->cbbCustomProfile})
        EXPECT_TRUE(combo->isEnabled());

    UserPicks(Main->cbbProfile, 4);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"368x208", "15", "256", "224", "2 channels, Stereo", "48000"}));

    UserPicks(Main->cbbOutputFiletype, 0);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"320x240", "30", "1500", "224", "2 channels, Stereo", "48000"}));
    for (const QComboBox* combo :
         {Options->cbbAspectratio, Options->cbbFramerate, Options->cbbVideoBitrate, Options->cbbVideoSize})
        EXPECT_TRUE(combo->isEnabled());
}

TEST_F(SettingsTest, OnlyTheUsersChoiceAppliesAPreset) {
    StartUp();
    // Selecting from code changes the selection and nothing else.
    Main->cbbProfile->setCurrentIndex(0);
    Main->cbbOutputFiletype->setCurrentIndex(1);
    EXPECT_EQ(ProfileChoices(), StartUpChoices);
    EXPECT_TRUE(Options->cbbVideoSize->isEnabled());

    // The keyboard is the user's hand: the next quality down applies at once.
    Main->cbbOutputFiletype->setCurrentIndex(0);
    Main->cbbProfile->setCurrentIndex(2);
    QTest::keyClick(Main->cbbProfile, Qt::Key_Down);
    EXPECT_EQ(Main->cbbProfile->currentIndex(), 3);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"320x240", "29.97", "1000", "192", "2 channels, Stereo", "44100"}));
}

TEST_F(SettingsTest, AUserProfileIsFoundByItsPositionBeforeTheDialogWasEverOpened) {
    WriteConfig("UserProfileInfo.ini", "\r\n[Small]\r\nSmall=0|0|0|0|0|0\r\n"
                                       "\r\n[Same]\r\nSame=2|6|4|8|0|3\r\n"
                                       "\r\n[Same]\r\nSame=1|1|1|1|1|1\r\n");
    StartUp();
    EXPECT_EQ(Items(Main->cbbProfile),
              (std::vector<std::string>{"Low Quality", "Acceptable Quality", "Normal Quality",
                                        "Excellent Quality", "Superb Quality", "Small", "Same", "Same"}));
    EXPECT_EQ(Options->cbbCustomProfile->count(), 0);

    UserPicks(Options->cbbAspectratio, 1);
    UserPicks(Main->cbbProfile, 6);
    EXPECT_EQ(Items(Options->cbbCustomProfile), (std::vector<std::string>{"Small", "Same", "Same"}));
    EXPECT_EQ(Options->cbbCustomProfile->currentIndex(), 1);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"368x208", "30", "1500", "224", "1 channel, Mono", "48000"}));
    EXPECT_EQ(Options->cbbAspectratio->currentText(), "16:9");
    EXPECT_EQ(Options->cbbAudioVolumeGain->currentText(), "200");
}

TEST_F(SettingsTest, ChangingTheOutputTypeReappliesTheChosenUserProfileAndLeavesTheVideoListsAlone) {
    WriteConfig("UserProfileInfo.ini", "\r\n[Tiny]\r\nTiny=0|1|0|0|0|0\r\n");
    StartUp();
    UserPicks(Main->cbbOutputFiletype, 1);
    UserPicks(Main->cbbProfile, 5);
    EXPECT_FALSE(Options->cbbVideoSize->isEnabled());
    UserPicks(Options->cbbAudioBitrate, 8);

    UserPicks(Main->cbbOutputFiletype, 0);
    EXPECT_EQ(ProfileChoices(),
              (std::vector<std::string>{"160x112", "15", "256", "16", "1 channel, Mono", "22050"}));
    EXPECT_FALSE(Options->cbbVideoSize->isEnabled());
}

TEST_F(SettingsTest, AProfileListedOnTheMainWindowButGoneFromTheFileAppliesNothing) {
    WriteConfig("UserProfileInfo.ini", "\r\n[Gone]\r\nGone=0|0|0|0|0|0\r\n");
    StartUp();
    WriteConfig("UserProfileInfo.ini", "");
    UserPicks(Main->cbbProfile, 5);
    EXPECT_EQ(Options->cbbCustomProfile->currentIndex(), -1);
    EXPECT_EQ(ProfileChoices(), StartUpChoices);
}
