// Points the application folder (pictures, companion libraries, help page) at a folder for one test.
#pragma once

#include "AppObjects.h"
#include "Unit_CommonLib.h"

#include <string>

class ShellAppFolder {
  public:
    // The build's application folder, with the real Res.dll, Form.dll and pictures.
    ShellAppFolder() : ShellAppFolder(VANTOREL_APP_DIR "/") {}
    explicit ShellAppFolder(const std::string& folder) {
        CreateAppObjects();
        Saved = CommonLib->ExeFolder;
        CommonLib->ExeFolder = folder;
        TAppFunc::SetAppDirForTesting(folder);
    }
    ~ShellAppFolder() {
        CommonLib->ExeFolder = Saved;
        TAppFunc::SetAppDirForTesting("");
    }
    ShellAppFolder(const ShellAppFolder&) = delete;
    ShellAppFolder& operator=(const ShellAppFolder&) = delete;

  private:
    std::string Saved;
};
