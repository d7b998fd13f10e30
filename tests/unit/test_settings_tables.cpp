// The option tables, the quality presets and the encoder argument fragments, without any window.
#include "PresetChoices.h"
#include "Unit_ConfigInfo.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// Collects what an apply operation selects, field by field, in order.
struct Selections {
    std::vector<std::pair<int, int>> picks;
    TSelectOptionField Recorder() {
        return [this](int field, int index) { picks.emplace_back(field, index); };
    }
};

// The item texts a preset selects in the six fields, or "-" where it leaves the field alone.
std::vector<std::string> Decode(const std::string& preset) {
    const std::vector<const TOptionList*> lists = {&VideoSizeList,    &FrameRateList,     &VideoBitrateList,
                                                   &AudioBitrateList, &AudioChannelsList, &SampleRateList};
    std::vector<std::string> texts(OptionFieldCount, "-");
    ApplyPresetText(preset, [&](int field, int index) {
        texts[size_t(field)] = OptionItems(*lists[size_t(field)]).at(size_t(index));
    });
    return texts;
}

} // namespace

TEST(OptionTables, ItemsAndDefaultsOfEveryList) {
    struct Case {
        const char* name;
        const TOptionList& list;
        size_t count;
        int defaultIndex;
        std::string defaultText;
    };
    const Case cases[] = {
        {"output types", OutputFileTypeList, 2, 0, "RM Video Files (*.rm)"},
        {"qualities", QualityNameList, 5, 2, "Normal Quality"},
        {"aspect ratios", AspectRatioList, 2, 0, "4:3"},
        {"video bitrates", VideoBitrateList, 5, 3, "1000"},
        {"audio bitrates", AudioBitrateList, 9, 2, "48"},
        {"channels", AudioChannelsList, 2, 1, "2 channels, Stereo"},
        {"frame rates", FrameRateList, 7, 4, "25"},
        {"sample rates", SampleRateList, 4, 3, "48000"},
        {"volumes", VolumeList, 21, 8, "200"},
        {"video sizes", VideoSizeList, 3, 0, "160x112"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TStringList items = OptionItems(c.list);
        ASSERT_EQ(items.size(), c.count);
        EXPECT_EQ(OptionDefaultIndex(c.list), c.defaultIndex);
        EXPECT_EQ(items[size_t(c.defaultIndex)], c.defaultText);
    }
    EXPECT_EQ(OptionItems(VolumeList).front(), "0");
    EXPECT_EQ(OptionItems(VolumeList)[1], "25");
    EXPECT_EQ(OptionItems(VolumeList).back(), "500");
}

TEST(QualityPresets, SelectTheDocumentedChoicesForBothOutputTypes) {
    const auto& expected = ExpectedPresetChoices;
    for (int quality = 0; quality < QualityCount; ++quality) {
        SCOPED_TRACE(OptionItems(QualityNameList)[size_t(quality)]);
        EXPECT_EQ(Decode(QualityPresetText(0, quality)), expected[size_t(quality)]);
        std::vector<std::string> audioOnly = expected[size_t(quality)];
        audioOnly[0] = audioOnly[1] = audioOnly[2] = "-";
        EXPECT_EQ(Decode(QualityPresetText(1, quality)), audioOnly);
    }
}

TEST(QualityPresets, OutOfRangeChoicesGiveNoPreset) {
    for (const auto& [type, quality] : std::vector<std::pair<int, int>>{{0, -1}, {0, 5}, {-1, 2}, {2, 2}})
        EXPECT_EQ(QualityPresetText(type, quality), "") << type << "/" << quality;
}

TEST(ProfileValues, OnlyExactlySixFieldsApplyAndEmptyFieldsAreSkipped) {
    struct Case {
        std::string value;
        std::vector<std::pair<int, int>> picks;
    };
    const Case cases[] = {
        {"1|4|2|5|1|2", {{0, 1}, {1, 4}, {2, 2}, {3, 5}, {4, 1}, {5, 2}}},
        {"1|4|2|5|1", {}},
        {"1|4|2|5|1|2|0", {}},
        {"", {}},
        {"-1|9|2|5|1|2", {{0, -1}, {1, 9}, {2, 2}, {3, 5}, {4, 1}, {5, 2}}},
        {"1||2|||2", {{0, 1}, {2, 2}, {5, 2}}},
    };
    for (const Case& c : cases) {
        Selections s;
        ApplyProfileText(c.value, s.Recorder());
        EXPECT_EQ(s.picks, c.picks) << c.value;
    }
}

TEST(ProfileValues, AFieldThatIsNoNumberStopsThereAfterTheFieldsBeforeIt) {
    Selections s;
    try {
        ApplyProfileText("1|4|x|5|1|2", s.Recorder());
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
    }
    EXPECT_EQ(s.picks, (std::vector<std::pair<int, int>>{{0, 1}, {1, 4}}));
}

TEST(ProfileValues, StoredFormAndProposedNames) {
    EXPECT_EQ(JoinProfileValue({1, 4, 2, 5, 1, 2}), "1|4|2|5|1|2");
    EXPECT_EQ(JoinProfileValue({-1, 4, 2, 5, -1, 2}), "-1|4|2|5|-1|2");
    EXPECT_EQ(ProposedProfileName(0), "UserProfileInfo1");
    EXPECT_EQ(ProposedProfileName(41), "UserProfileInfo42");
    EXPECT_EQ(ProposedProfileName(2147483647), "UserProfileInfo2147483648");
}

TEST(ProfileValues, NamesThatWouldSplitTheFileAreRefused) {
    for (const char* name : {"", "My profile", " [odd]=name ", "Vid\xc3\xa9o"})
        EXPECT_NO_THROW(CheckProfileName(name)) << name;
    for (const std::string& name : {std::string("a\nb"), std::string("a\r"), std::string("a\0b", 3)})
        EXPECT_THROW(CheckProfileName(name), EProfileNameError);
}

TEST(ArgumentFragments, ItemTextOrFixedFallback) {
    EXPECT_EQ(OptionArgument(" -ab ", "128", " -ab 64"), " -ab 128");
    EXPECT_EQ(OptionArgument(" -ab ", "", " -ab 64"), " -ab 64");
    EXPECT_EQ(ChannelsArgument("1 channel, Mono"), " -ac 1");
    EXPECT_EQ(ChannelsArgument("2 channels, Stereo"), " -ac 2");
    EXPECT_EQ(ChannelsArgument(""), " -ac 2");
}

TEST(ArgumentFragments, OutputTypeFragments) {
    EXPECT_EQ(CodecArgumentFor(0), " -vcodec rv20");
    EXPECT_EQ(CodecArgumentFor(1), " -acodec aac -vn");
    EXPECT_EQ(FormatArgumentFor(0), "");
    EXPECT_EQ(FormatArgumentFor(1), "");
    EXPECT_EQ(OutputExtensionFor(0), ".rm");
    EXPECT_EQ(OutputExtensionFor(1), ".mp3");
    // No output type chosen: no codec and no extension rather than a read past the lists.
    EXPECT_EQ(CodecArgumentFor(-1), " ");
    EXPECT_EQ(OutputExtensionFor(2), "");
}

TEST(InitialFolder, FolderPartOfTheDialogFileName) {
    EXPECT_EQ(FolderOfFileName("/home/ann/Videos/a.avi"), "/home/ann/Videos/");
    EXPECT_EQ(FolderOfFileName("/a.avi"), "/");
    EXPECT_EQ(FolderOfFileName("a.avi"), "");
    EXPECT_EQ(FolderOfFileName(""), "");
}
