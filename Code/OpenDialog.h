// TOpenDialog: the multi-select open-file dialog of the source list.
#pragma once

#include "TextOps.h"

#include <QObject>

#include <string>

class QWidget;

class TOpenDialog : public QObject {
  public:
    explicit TOpenDialog(QWidget* owner = nullptr);

    std::string Title = "Open";
    std::string InitialDir;
    // Filters in Qt's form: "Caption (*.a *.b)" joined by ";;". The dialog shows only the captions.
    std::string Filter;
    // The first file of the last pick; a cancelled dialog leaves it as it was.
    std::string FileName;
    // The files of the last pick, in the dialog's order; empty after a cancel.
    TStringList Files;

    // Runs the dialog modally; false when the user cancels.
    bool Execute();

  private:
    QWidget* Owner;
};

// The source list's filter: the supported containers, then one entry per family.
extern const char* const SourceFileFilter;
