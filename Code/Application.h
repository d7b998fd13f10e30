// The application object and its default error report: whatever an event handler lets through is shown to
// the user in one box, and the program carries on.
#pragma once

#include <QApplication>

#include <exception>
#include <functional>
#include <string>

// The caption of the main window and of every message box.
inline const QString ApplicationTitle = QStringLiteral("Vantorel");

class TVantorelApplication : public QApplication {
  public:
    TVantorelApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Runs one delivery; an error it throws is reported and the delivery counts as not handled.
    static bool DeliverReportingErrors(const std::function<bool()>& deliver);
};

// The text of the report: the error's message, with a full stop when it ends in a letter or a digit.
std::string ErrorReportText(const std::string& message);

// The box titled "Vantorel" with the stop icon, OK and the error's text.
void ShowErrorReport(const std::exception& error);
