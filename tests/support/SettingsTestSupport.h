// Shared pieces of the settings widget tests: an application folder of its own, the two windows filled as
// at start-up, the user's picks, the modal boxes answered, the settings files read back byte for byte.
#pragma once

#include "AppObjects.h"
#include "UnitCustomProc.h"
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "Unit_Option.h"
#include "modal_answerer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>
#include <string>

// What the user does: pick item `index` of a list, which raises the list's change handler.
inline void UserPicks(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(AppDir.isValid());
        Folder = AppDir.path().toStdString() + "/";
        ASSERT_TRUE(QDir(AppDir.path()).mkdir(QStringLiteral("Config")));
        TAppFunc::SetAppDirForTesting(Folder);
        Main = std::make_unique<TFrmMainForm>();
        CommonLib->ExeFolder = Folder;
        Options = std::make_unique<TfrmOption>();
    }

    void TearDown() override {
        Options.reset();
        Main.reset();
        TAppFunc::SetAppDirForTesting("");
    }

    // The settings after the main window's first show: lists filled, then the start-up preset.
    void StartUp() {
        CustomProc->FillOptionCombos();
        CustomProc->ApplyQualityPreset();
    }

    std::string ConfigPath(const std::string& name) const { return Folder + "Config/" + name; }

    void WriteConfig(const std::string& name, const std::string& bytes) const {
        QFile file(QString::fromStdString(ConfigPath(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    }

    // The file's bytes, or "<missing>".
    std::string ReadConfig(const std::string& name) const {
        QFile file(QString::fromStdString(ConfigPath(name)));
        if (!file.exists()) return "<missing>";
        if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
        return file.readAll().toStdString();
    }

    // The selected item texts of the six profile combos, "" for no selection.
    std::vector<std::string> ProfileChoices() const {
        std::vector<std::string> texts;
        for (const QComboBox* combo :
             {Options->cbbVideoSize, Options->cbbFramerate, Options->cbbVideoBitrate,
              Options->cbbAudioBitrate, Options->cbbAudioChannels, Options->cbbAudioSample})
            texts.push_back(combo->currentIndex() < 0 ? std::string() : combo->currentText().toStdString());
        return texts;
    }

    std::vector<std::string> Items(const QComboBox* combo) const {
        std::vector<std::string> items;
        for (int i = 0; i < combo->count(); ++i)
            items.push_back(combo->itemText(i).toStdString());
        return items;
    }

    QTemporaryDir AppDir;
    std::string Folder;
    std::unique_ptr<TFrmMainForm> Main;
    std::unique_ptr<TfrmOption> Options;
};

// The start-up choices of the six profile fields: 320x240, 25, 768, 128, stereo, 44100.
inline const std::vector<std::string> StartUpChoices = {"320x240", "25", "768", "128", "2 channels, Stereo",
                                                        "44100"};
