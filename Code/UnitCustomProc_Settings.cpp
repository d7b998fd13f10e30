// TCustomProc: the option lists, quality presets and user profiles, and the open-file folder.
#include "UnitCustomProc.h"

#include "IniFiles32.h"
#include "Unit_AppFunc.h"
#include "Unit_CommonLib.h"
#include "Unit_Convert.h"
#include "Unit_Option.h"

#include <QComboBox>
#include <QDir>

#include <climits>
#include <stdexcept>

namespace {

const char* const ProfileFile = "UserProfileInfo.ini";
const char* const CounterFile = "UserProfileCount.ini";
const char* const SettingsFile = "UserSettings.ini";

TFrmMainForm* MainForm() {
    if (!FrmMainForm) throw std::logic_error("The main window does not exist yet");
    return FrmMainForm;
}

// The six option combos in the order of a profile's fields.
std::array<QComboBox*, OptionFieldCount> ProfileCombos(const TfrmOption* form) {
    return {form->cbbVideoSize,    form->cbbFramerate,     form->cbbVideoBitrate,
            form->cbbAudioBitrate, form->cbbAudioChannels, form->cbbAudioSample};
}

TSelectOptionField SelectInProfileCombos(const TfrmOption* form) {
    return [combos = ProfileCombos(form)](int field, int index) {
        SelectComboItem(combos[size_t(field)], index);
    };
}

std::string CurrentProfileValue(const TfrmOption* form) {
    std::array<int, OptionFieldCount> indices{};
    const auto combos = ProfileCombos(form);
    for (size_t i = 0; i < combos.size(); ++i)
        indices[i] = combos[i]->currentIndex();
    return JoinProfileValue(indices);
}

} // namespace

void TCustomProc::FillOptionCombo(QComboBox* combo, const TOptionList& list) {
    for (const std::string& item : OptionItems(list))
        combo->addItem(QString::fromStdString(item));
    SelectComboItem(combo, OptionDefaultIndex(list));
}

void TCustomProc::FillProfileCombo(QComboBox* combo) {
    // Read first, so that an unreadable profile file leaves the combo as it was.
    const TStringList profiles = CommonLib->ReadConfigSections(ProfileFile);
    for (const std::string& name : OptionItems(QualityNameList))
        combo->addItem(QString::fromStdString(name));
    for (const std::string& name : profiles)
        combo->addItem(QString::fromStdString(name), QByteArray::fromStdString(name));
    SelectComboItem(combo, OptionDefaultIndex(QualityNameList));
}

void TCustomProc::FillOptionCombos() {
    TFrmMainForm* main = MainForm();
    const TfrmOption* options = EnsureOptionForm();
    FillOptionCombo(main->cbbOutputFiletype, OutputFileTypeList);
    FillProfileCombo(main->cbbProfile);
    FillOptionCombo(options->cbbAspectratio, AspectRatioList);
    FillOptionCombo(options->cbbVideoBitrate, VideoBitrateList);
    FillOptionCombo(options->cbbAudioBitrate, AudioBitrateList);
    FillOptionCombo(options->cbbAudioChannels, AudioChannelsList);
    FillOptionCombo(options->cbbFramerate, FrameRateList);
    FillOptionCombo(options->cbbAudioSample, SampleRateList);
    FillOptionCombo(options->cbbAudioVolumeGain, VolumeList);
    FillOptionCombo(options->cbbVideoSize, VideoSizeList);
}

void TCustomProc::ApplyQualityPreset() {
    TFrmMainForm* main = MainForm();
    TfrmOption* options = EnsureOptionForm();
    const int p = main->cbbProfile->currentIndex();
    if (p >= QualityCount) {
        // A user profile, found by its position after the quality names.
        if (options->cbbCustomProfile->count() == 0) options->ReloadProfileNames();
        SelectComboItem(options->cbbCustomProfile, p - QualityCount);
        ApplyUserProfile();
        return;
    }
    const int outputType = main->cbbOutputFiletype->currentIndex();
    if (p < 0 || (outputType != 0 && outputType != 1)) return;
    // Audio output has no picture: its video options cannot be changed, but keep their selections.
    const bool video = outputType == 0;
    for (QComboBox* combo :
         {options->cbbAspectratio, options->cbbFramerate, options->cbbVideoBitrate, options->cbbVideoSize})
        combo->setEnabled(video);
    ApplyPresetText(QualityPresetText(outputType, p), SelectInProfileCombos(options));
}

std::string TCustomProc::ReadSelectedProfileValue() {
    const QComboBox* box = EnsureOptionForm()->cbbCustomProfile;
    const std::string name = ComboItemName(box, box->currentIndex());
    // No profile is chosen: an empty name never has a value, so the file need not be read.
    if (name.empty()) return std::string();
    return CommonLib->ReadConfigValue(ProfileFile, name);
}

void TCustomProc::ApplyUserProfile() {
    const std::string value = ReadSelectedProfileValue();
    ApplyProfileText(value, SelectInProfileCombos(EnsureOptionForm()));
}

void TCustomProc::AddUserProfile() {
    TfrmOption* options = EnsureOptionForm();
    TIniFile32 profiles(CommonLib->ConfigFilePath(ProfileFile));
    int32_t count;
    {
        // The counter is saved before the user is asked anything, so a number is never offered twice.
        TIniFile32 counter(CommonLib->ConfigFilePath(CounterFile));
        count = counter.ReadInteger("count", "count", 0);
        counter.WriteInteger("count", "count", count < INT32_MAX ? count + 1 : count);
    }
    const std::string name = InputProfileName(options, ProposedProfileName(count));
    CheckProfileName(name);
    profiles.WriteString(name, name, CurrentProfileValue(options));
}

void TCustomProc::DeleteUserProfile() {
    const QComboBox* box = EnsureOptionForm()->cbbCustomProfile;
    if (box->count() == 0) return;
    TIniFile32 profiles(CommonLib->ConfigFilePath(ProfileFile));
    profiles.EraseSection(ComboCurrentName(box));
}

void TCustomProc::SaveUserProfile() {
    const TfrmOption* options = EnsureOptionForm();
    const std::string name = ComboCurrentName(options->cbbCustomProfile);
    CheckProfileName(name);
    TIniFile32 profiles(CommonLib->ConfigFilePath(ProfileFile));
    profiles.WriteString(name, name, CurrentProfileValue(options));
}

std::string TCustomProc::ReadInitialFolder() {
    const TIniFile32 settings(CommonLib->ConfigFilePath(SettingsFile));
    return settings.ReadString("USRInfo", "InitDir", QDir::homePath().toStdString() + "/");
}

void TCustomProc::SaveInitialFolder(const std::string& dialogFileName) {
    const std::string folder = FolderOfFileName(dialogFileName);
    if (folder.empty()) return;
    if (!FitsOneIniLine(folder)) {
        // A line break would split the stored line; the previous folder is kept instead.
        TAppFunc().WriteLog("open folder not stored, its name holds a line break: " +
                            EscapeLineBreaks(folder));
        return;
    }
    TIniFile32 settings(CommonLib->ConfigFilePath(SettingsFile));
    settings.WriteString("USRInfo", "InitDir", folder);
}
