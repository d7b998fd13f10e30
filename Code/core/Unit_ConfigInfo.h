// The fixed choices of every conversion setting, the quality presets, and the widget-free rules that turn
// them into selections and encoder arguments.
#pragma once

#include "TextOps.h"

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

// An option list: its item texts followed by the decimal text of the item selected after filling.
using TOptionList = TStringList;

extern const TOptionList OutputFileTypeList;
extern const TOptionList QualityNameList;
extern const TOptionList AspectRatioList;
extern const TOptionList VideoBitrateList;
extern const TOptionList AudioBitrateList;
extern const TOptionList AudioChannelsList;
extern const TOptionList FrameRateList;
extern const TOptionList SampleRateList;
extern const TOptionList VolumeList;
extern const TOptionList VideoSizeList;

// One entry per output file type (0 RM, 1 MP3), no default element.
extern const TStringList CodecArgumentList;
extern const TStringList FormatNameList;
extern const TStringList OutputExtensionList;

// Six option indices joined by "|": video size, frame rate, video bitrate, audio bitrate, channels, sample
// rate. "none" leaves an option as it is. One entry per quality, 0 "Low" to 4 "Superb".
extern const TStringList RMPresetList;
extern const TStringList MP3PresetList;

constexpr int QualityCount = 5;
constexpr int OptionFieldCount = 6;

// The items of a list (all elements but the last) and its default index (the last, as a number).
TStringList OptionItems(const TOptionList& list);
int32_t OptionDefaultIndex(const TOptionList& list);

// The preset text for an output type and a quality index; empty when either is out of range.
std::string QualityPresetText(int outputType, int quality);

// Selects item `index` in the combo of option field `field` (0 video size … 5 sample rate).
using TSelectOptionField = std::function<void(int field, int index)>;

// Applies a preset: every field but "none", in order, through a strict decimal conversion.
void ApplyPresetText(const std::string& preset, const TSelectOptionField& select);
// Applies a stored profile value: nothing unless it has exactly six fields; empty fields are skipped.
// A field that is not a whole number stops at that field with EConvertError; earlier fields stay applied.
void ApplyProfileText(const std::string& value, const TSelectOptionField& select);
// The stored form of six selected indices (-1 for no selection).
std::string JoinProfileValue(const std::array<int, OptionFieldCount>& indices);
// The name offered for the profile added when the counter reads `count`.
std::string ProposedProfileName(int32_t count);

// Argument fragments from an item text; the text is empty when the combo has no selection.
std::string OptionArgument(const std::string& prefix, const std::string& itemText,
                           const std::string& fallback);
std::string ChannelsArgument(const std::string& itemText);
std::string CodecArgumentFor(int outputType);
std::string FormatArgumentFor(int outputType);
std::string OutputExtensionFor(int outputType);

// The folder part of a file name, ending in "/"; empty when the name has no folder.
std::string FolderOfFileName(const std::string& fileName);

// A text the settings file can hold on one line: no line break and no NUL, which would end the file early.
bool FitsOneIniLine(const std::string& text);
// A profile name that would break the profile file apart.
class EProfileNameError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
// Throws EProfileNameError for a name the profile file cannot hold.
void CheckProfileName(const std::string& name);
// The text with line breaks shown as \r and \n, for a one-line log entry.
std::string EscapeLineBreaks(const std::string& text);
