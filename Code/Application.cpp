#include "Application.h"

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
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vantorel"),
                    QString::fromStdString(ErrorReportText(error.what())), QMessageBox::Ok);
    box.exec();
}
