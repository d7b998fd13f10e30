// The folder dialog behind ChooseOutputFolder, replaceable so that tests never open one.
#pragma once

#include <functional>
#include <optional>
#include <string>

// Shows the prompt and gives the chosen folder, or nothing when the user cancels.
using TBrowseForFolderFunc = std::function<std::optional<std::string>(const std::string& prompt)>;
TBrowseForFolderFunc& BrowseForFolderFunc();

// Whether a file can be made in `folder`: makes a probe folder with a name that cannot exist yet and
// removes it again. Never touches a folder it did not make itself.
bool CanWriteIntoFolder(const std::string& folder);
