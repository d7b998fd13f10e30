#include "Application.h"

#include "Unit_AppFunc.h"

#include <QMessageBox>

TVantorelApplication::TVantorelApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vantorel"));
    setApplicationDisplayName(QStringLiteral("Vantorel"));
}

bool TVantorelApplication::notify(QObject* receiver, QEvent* event) {
    return DeliverReportingErrors([&] { return QApplication::notify(receiver, event); });
}

bool TVantorelApplication::DeliverReportingErrors(const std::function<bool()>& deliver) {
    try {
        return deliver();
    } catch (const std::exception& error) {
        ShowErrorReport(error);
    } catch (...) {
        ShowErrorReport(std::runtime_error("An unknown error occurred"));
    }
    return false;
}

std::string ErrorReportText(const std::string& message) {
    const QString text = QString::fromStdString(message);
    if (!text.isEmpty() && text.back().isLetterOrNumber()) return message + ".";
    return message;
}

void ShowErrorReport(const std::exception& error) {
    static bool showing = false;
    const std::string text = ErrorReportText(error.what());
    if (showing) {
        // A timer or a repaint failing again while the box is up would open box upon box: log it instead.
        try {
            TAppFunc().WriteLog("error while an error was shown: " + text);
        } catch (const std::exception&) {
        }
        return;
    }
    showing = true;
    struct Reset {
        ~Reset() { showing = false; }
    } reset;
    QMessageBox box(QMessageBox::Critical, ApplicationTitle, QString::fromStdString(text),
                    QMessageBox::Ok);
    box.exec();
}
