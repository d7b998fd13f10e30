// While the test program runs, opening a folder and powering off are only recorded, never performed.
#pragma once

#include "Platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace engine_test {

struct DesktopActions {
    std::vector<std::string> OpenedFolders;
    int PowerOffs = 0;
};

inline DesktopActions& Desktop() {
    static DesktopActions actions;
    return actions;
}

class DesktopGuard : public ::testing::Environment {
  public:
    void SetUp() override {
        Platform::SetOpenFolderHandler([](const std::string& folder) {
            Desktop().OpenedFolders.push_back(folder);
            return true;
        });
        Platform::SetPowerOffHandler([] {
            ++Desktop().PowerOffs;
            return true;
        });
    }
};

inline ::testing::Environment* const kDesktopGuard = ::testing::AddGlobalTestEnvironment(new DesktopGuard);

} // namespace engine_test
