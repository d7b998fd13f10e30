// The Options dialog: its layout, opening from the main window, OK, Cancel, Escape and the close box.
#include "SettingsTestSupport.h"

#include "RzBmpButton.h"

#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

TEST_F(SettingsTest, OptionsDialogLayout) {
    EXPECT_EQ(Options->windowTitle(), "Options");
    EXPECT_EQ(Options->size(), QSize(476, 260));
    EXPECT_FALSE(Options->isModal());
    EXPECT_TRUE(Options->btnApply->isDefault());
    EXPECT_TRUE(Options->cbbCustomProfile->isEditable());
    struct Place {
        const QWidget* widget;
        QRect geometry;
    };
    const Place places[] = {
        {Options->cbbCustomProfile, {112, 24, 185, 21}}, {Options->btnAdd, {304, 22, 49, 24}},
        {Options->btnSave, {356, 22, 49, 24}},           {Options->btnDel, {408, 22, 49, 24}},
        {Options->grpAdvOptions, {12, 48, 449, 153}},    {Options->cbbVideoSize, {100, 19, 117, 21}},
        {Options->cbbFramerate, {100, 83, 116, 21}},     {Options->cbbAudioChannels, {323, 114, 117, 21}},
        {Options->btnApply, {296, 216, 73, 25}},         {Options->btnCancel, {384, 216, 73, 25}},
    };
    for (const Place& p : places)
        EXPECT_EQ(p.widget->geometry(), p.geometry) << p.widget->metaObject()->className();
    struct Text {
        const QWidget* widget;
        const char* text;
    };
    const Text texts[] = {
        {Options->lblCustomProfile, "Custom Profile:"},
        {Options->btnAdd, "Add"},
        {Options->btnSave, "Save"},
        {Options->btnDel, "Delete"},
        {Options->lblVideoSize, "Video Size:"},
        {Options->lblVideoBitrate, "Video Bitrate(kbps):"},
        {Options->lblFrameRate, "Frame Rate(fps):"},
        {Options->lblAspectRatio, "Aspect Ratio:"},
        {Options->lblAudioBitrate, "Audio Bitrate(kbps):"},
        {Options->lblSample, "Audio Sample(khz):"},
        {Options->lblVolume, "Audio Volume(%):"},
        {Options->lblChannels, "Audio Channels:"},
        {Options->btnApply, "OK"},
        {Options->btnCancel, "Cancel"},
    };
    for (const Text& t : texts) {
        const auto* label = qobject_cast<const QLabel*>(t.widget);
        const auto* button = qobject_cast<const QPushButton*>(t.widget);
        EXPECT_EQ((label ? label->text() : button->text()).toStdString(), t.text);
    }
    EXPECT_EQ(Options->grpAdvOptions->title(), "Advanced Options");
}

TEST_F(SettingsTest, TheOptionsButtonShowsTheDialogAndAgainOnlyBringsItToTheFront) {
    StartUp();
    Main->show();
    QTest::mouseClick(Main->btnOptions, Qt::LeftButton);
    ASSERT_TRUE(Options->isVisible());
    EXPECT_TRUE(Main->isEnabled());
    const auto snapshot = Options->OptionsSnapshot;
    UserPicks(Options->cbbFramerate, 0);
    QTest::mouseClick(Main->btnOptions, Qt::LeftButton);
    EXPECT_TRUE(Options->isVisible());
    EXPECT_EQ(Options->OptionsSnapshot, snapshot);
    Options->btnCancelClick();
    EXPECT_EQ(Options->cbbFramerate->currentText(), "25");
    EXPECT_FALSE(Options->isVisible());
}

TEST_F(SettingsTest, CancelRestoresAllNineSelectionsButKeepsStoredProfiles) {
    WriteConfig("UserProfileInfo.ini", "\r\n[Tiny]\r\nTiny=0|0|0|0|0|0\r\n");
    StartUp();
    Options->show();
    const std::array<int, 9> atOpening{1, 2, 4, 0, 5, 2, 8, 1, -1};
    EXPECT_EQ(Options->OptionsSnapshot, atOpening);

    UserPicks(Options->cbbCustomProfile, 0);
    UserPicks(Options->cbbAspectratio, 1);
    UserPicks(Options->cbbAudioVolumeGain, 0);
    ModalAnswerer<QInputDialog> answer([](QInputDialog* box) { box->accept(); });
    Options->btnAddClick();
    // Choosing a quality on the main window while the dialog is open changes its lists at once.
    UserPicks(Main->cbbProfile, 4);
    EXPECT_EQ(Options->cbbFramerate->currentText(), "30");

    QTest::keyClick(Options.get(), Qt::Key_Escape);
    EXPECT_FALSE(Options->isVisible());
    const std::array<QComboBox*, 9> combos{
        Options->cbbVideoSize,       Options->cbbVideoBitrate,  Options->cbbFramerate,
        Options->cbbAspectratio,     Options->cbbAudioBitrate,  Options->cbbAudioSample,
        Options->cbbAudioVolumeGain, Options->cbbAudioChannels, Options->cbbCustomProfile};
    for (size_t i = 0; i < combos.size(); ++i)
        EXPECT_EQ(combos[i]->currentIndex(), atOpening[i]) << i;
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"),
              "\r\n[Tiny]\r\nTiny=0|0|0|0|0|0\r\n\r\n[UserProfileInfo1]\r\nUserProfileInfo1=0|0|0|0|0|0\r\n");
    // The main window learns of the new profile only through OK.
    EXPECT_EQ(Main->cbbProfile->count(), 6);
}

TEST_F(SettingsTest, OkKeepsTheChoicesAndRefillsTheMainWindowsProfiles) {
    StartUp();
    UserPicks(Main->cbbProfile, 0);
    Options->show();
    UserPicks(Options->cbbFramerate, 6);
    UserPicks(Options->cbbAudioBitrate, 8);
    ModalAnswerer<QInputDialog> answer([](QInputDialog* box) {
        box->setTextValue(QStringLiteral("Mine"));
        box->accept();
    });
    Options->btnAddClick();
    QTest::keyClick(Options.get(), Qt::Key_Return);
    EXPECT_FALSE(Options->isVisible());
    EXPECT_EQ(Options->cbbFramerate->currentText(), "30");
    EXPECT_EQ(Options->cbbAudioBitrate->currentText(), "224");
    EXPECT_EQ(Items(Main->cbbProfile).back(), "Mine");
    EXPECT_EQ(Main->cbbProfile->count(), 6);
    EXPECT_EQ(Main->cbbProfile->currentText(), "Normal Quality");
    // The profile stays chosen in the dialog and is applied again before a conversion.
    UserPicks(Options->cbbFramerate, 0);
    CustomProc->ApplyUserProfile();
    EXPECT_EQ(Options->cbbFramerate->currentText(), "30");
}

TEST_F(SettingsTest, TheCloseBoxHidesWithoutRestoring) {
    StartUp();
    Options->show();
    UserPicks(Options->cbbFramerate, 0);
    Options->close();
    EXPECT_FALSE(Options->isVisible());
    EXPECT_EQ(Options->cbbFramerate->currentText(), "14.985");
    EXPECT_EQ(Main->cbbProfile->count(), 5);
}

TEST_F(SettingsTest, OpeningShowsTheProfileChosenOnTheMainWindowAndAppliesNothing) {
    WriteConfig("UserProfileInfo.ini", "\r\n[A]\r\nA=0|0|0|0|0|0\r\n\r\n[B]\r\nB=2|2|2|2|0|0\r\n");
    StartUp();
    Main->cbbProfile->setCurrentIndex(
        6); // chosen without applying, as after a start-up that skipped its preset
    Options->show();
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "B");
    EXPECT_EQ(Options->cbbCustomProfile->currentIndex(), 1);
    EXPECT_EQ(ProfileChoices(), StartUpChoices);
    Options->hide();

    // A name still in the box is kept on the next opening, though no longer selected.
    Main->cbbProfile->setCurrentIndex(5);
    Options->show();
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "B");
    EXPECT_EQ(Options->cbbCustomProfile->currentIndex(), -1);
}

TEST_F(SettingsTest, DeletingTheOnlyProfileEmptiesTheBox) {
    WriteConfig("UserProfileInfo.ini", "\r\n[Only]\r\nOnly=0|0|0|0|0|0\r\n");
    StartUp();
    Options->show();
    UserPicks(Options->cbbCustomProfile, 0);
    Options->btnDelClick();
    EXPECT_EQ(Options->cbbCustomProfile->count(), 0);
    EXPECT_EQ(Options->cbbCustomProfile->currentText(), "");
    EXPECT_EQ(ReadConfig("UserProfileInfo.ini"), "\r\n\r\n");
}
