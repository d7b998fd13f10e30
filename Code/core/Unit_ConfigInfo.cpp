#include "Unit_ConfigInfo.h"

namespace {

TOptionList MakeVolumeList() {
    TOptionList list;
    for (int k = 0; k <= 20; ++k)
        list.push_back(std::to_string(25 * k));
    list.push_back("8");
    return list;
}

const std::string& EntryOrEmpty(const TStringList& list, int index) {
    static const std::string empty;
    return index >= 0 && size_t(index) < list.size() ? list[size_t(index)] : empty;
}

} // namespace

const TOptionList OutputFileTypeList = {"RM Video Files (*.rm)", "MP3 Files (*.mp3)", "0"};
const TOptionList QualityNameList = {"Low Quality",       "Acceptable Quality", "Normal Quality",
                                     "Excellent Quality", "Superb Quality",     "2"};
const TOptionList AspectRatioList = {"4:3", "16:9", "0"};
const TOptionList VideoBitrateList = {"256", "512", "768", "1000", "1500", "3"};
const TOptionList AudioBitrateList = {"16", "32", "48", "64", "80", "128", "160", "192", "224", "2"};
const TOptionList AudioChannelsList = {"1 channel, Mono", "2 channels, Stereo", "1"};
const TOptionList FrameRateList = {"14.985", "15", "23.967", "24", "25", "29.97", "30", "4"};
const TOptionList SampleRateList = {"22050", "32000", "44100", "48000", "3"};
const TOptionList VolumeList = MakeVolumeList();
const TOptionList VideoSizeList = {"160x112", "320x240", "368x208", "0"};

const TStringList CodecArgumentList = {"-vcodec rv20", "-acodec aac -vn"};
const TStringList FormatNameList = {"none", "none"};
const TStringList OutputExtensionList = {".rm", ".mp3"};

const TStringList RMPresetList = {"1|1|0|2|0|0", "1|2|1|4|1|1", "1|4|2|5|1|2", "1|5|3|7|1|2", "1|6|4|8|1|3"};
const TStringList MP3PresetList = {"none|none|none|2|0|0", "none|none|none|4|1|1", "none|none|none|5|1|2",
                                   "none|none|none|7|1|2", "none|none|none|8|1|3"};

TStringList OptionItems(const TOptionList& list) {
    return list.empty() ? TStringList() : TStringList(list.begin(), list.end() - 1);
}

int32_t OptionDefaultIndex(const TOptionList& list) {
    return list.empty() ? -1 : StrToInt(list.back());
}

std::string QualityPresetText(int outputType, int quality) {
    if (outputType == 0) return EntryOrEmpty(RMPresetList, quality);
    if (outputType == 1) return EntryOrEmpty(MP3PresetList, quality);
    return std::string();
}

void ApplyPresetText(const std::string& preset, const TSelectOptionField& select) {
    const TStringList fields = SplitText(preset, '|');
    for (size_t i = 0; i < fields.size() && i < size_t(OptionFieldCount); ++i)
        if (fields[i] != "none") select(int(i), StrToInt(fields[i]));
}

void ApplyProfileText(const std::string& value, const TSelectOptionField& select) {
    if (value.empty()) return;
    const TStringList fields = SplitText(value, '|');
    // A value of any other shape is treated as six empty fields.
    if (fields.size() != size_t(OptionFieldCount)) return;
    for (int i = 0; i < OptionFieldCount; ++i)
        if (!fields[size_t(i)].empty()) select(i, StrToInt(fields[size_t(i)]));
}

std::string JoinProfileValue(const std::array<int, OptionFieldCount>& indices) {
    std::string value;
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i > 0) value += '|';
        value += std::to_string(indices[i]);
    }
    return value;
}

std::string ProposedProfileName(int32_t count) {
    return "UserProfileInfo" + std::to_string(int64_t(count) + 1);
}

std::string OptionArgument(const std::string& prefix, const std::string& itemText,
                           const std::string& fallback) {
    return itemText.empty() ? fallback : prefix + itemText;
}

std::string ChannelsArgument(const std::string& itemText) {
    return OptionArgument(" -ac ", itemText.substr(0, 1), " -ac 2");
}

std::string CodecArgumentFor(int outputType) {
    return " " + EntryOrEmpty(CodecArgumentList, outputType);
}

std::string FormatArgumentFor(int outputType) {
    const std::string& format = EntryOrEmpty(FormatNameList, outputType);
    return format.empty() || format == "none" ? std::string() : " -f " + format;
}

std::string OutputExtensionFor(int outputType) {
    return EntryOrEmpty(OutputExtensionList, outputType);
}

std::string FolderOfFileName(const std::string& fileName) {
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

bool FitsOneIniLine(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

void CheckProfileName(const std::string& name) {
    if (!FitsOneIniLine(name)) throw EProfileNameError("A profile name cannot hold a line break");
}

std::string EscapeLineBreaks(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}
