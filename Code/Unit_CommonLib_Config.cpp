// TCommonLib: encoder argument fragments of the conversion settings and the readers of the Config folder.
#include "Unit_CommonLib.h"

#include "IniFiles32.h"
#include "Unit_ConfigInfo.h"

#include <QComboBox>

namespace {

std::string ItemText(const QComboBox* combo, int index) {
    if (!combo || index < 0 || index >= combo->count()) return std::string();
    return combo->itemText(index).toStdString();
}

} // namespace

std::string TCommonLib::VideoSizeArgument(const QComboBox* combo, int index) const {
    return OptionArgument(" -s ", ItemText(combo, index), " -s 320x240");
}

std::string TCommonLib::VideoBitrateArgument(const QComboBox* combo, int index) const {
    return OptionArgument(" -b ", ItemText(combo, index), " -b 512");
}

std::string TCommonLib::FrameRateArgument(const QComboBox* combo, int index) const {
    return OptionArgument(" -r ", ItemText(combo, index), " -r 25");
}

std::string TCommonLib::AspectArgument(const QComboBox* combo, int index) const {
    return OptionArgument(" -aspect ", ItemText(combo, index), " -aspect 4:3");
}

std::string TCommonLib::AudioBitrateArgument(const QComboBox* combo, int index) const {
    return OptionArgument(" -ab ", ItemText(combo, index), " -ab 64");
}

std::string TCommonLib::SampleRateArgument(const QComboBox* combo, int index) const {
    return OptionArgument(" -ar ", ItemText(combo, index), " -ar 44100");
}

std::string TCommonLib::VolumeArgument(const QComboBox* combo, int index) const {
    return OptionArgument(" -vol ", ItemText(combo, index), " ");
}

std::string TCommonLib::AudioChannelsArgument(const QComboBox* combo, int index) const {
    return ChannelsArgument(ItemText(combo, index));
}

std::string TCommonLib::CodecArgument(const QComboBox*, int index) const {
    return CodecArgumentFor(index);
}

std::string TCommonLib::FormatArgument(const QComboBox*, int index) const {
    return FormatArgumentFor(index);
}

std::string TCommonLib::OutputExtension(const QComboBox*, int index) const {
    return OutputExtensionFor(index);
}

std::string TCommonLib::ConfigFilePath(const std::string& fileName) const {
    return ExeFolder + "Config/" + fileName;
}

TStringList TCommonLib::ReadConfigSections(const std::string& fileName) const {
    const TIniFile32 ini(ConfigFilePath(fileName));
    TStringList sections;
    ini.ReadSections(&sections);
    return sections;
}

std::string TCommonLib::ReadConfigValue(const std::string& fileName, const std::string& name) const {
    const TIniFile32 ini(ConfigFilePath(fileName));
    return ini.ReadString(name, name, "");
}
