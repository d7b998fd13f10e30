// A companion library (Res.dll, Form.dll) loaded from the application folder for one use, and released
// again on every way out, so that nothing stays loaded between uses.
#pragma once

#include <QLibrary>

#include <string>

// <application folder><name>, whatever the working folder.
std::string CompanionLibraryPath(const char* name);

class TCompanionLibrary {
  public:
    explicit TCompanionLibrary(const char* name) : Library(QString::fromStdString(CompanionLibraryPath(name))) {
        Library.load();
    }
    ~TCompanionLibrary() {
        if (Library.isLoaded()) Library.unload();
    }
    TCompanionLibrary(const TCompanionLibrary&) = delete;
    TCompanionLibrary& operator=(const TCompanionLibrary&) = delete;

    bool IsLoaded() const { return Library.isLoaded(); }
    template <typename F> F Resolve(const char* symbol) {
        return Library.isLoaded() ? reinterpret_cast<F>(Library.resolve(symbol)) : nullptr;
    }

  private:
    QLibrary Library;
};
