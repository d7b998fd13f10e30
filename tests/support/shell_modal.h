// Closes the modal boxes and dialogs that the code under test opens, and notes what they showed.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

struct SeenBox {
    std::string Title, Text, ObjectName;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

class ModalWatcher {
  public:
    // `inspect` sees each dialog before it is closed (message boxes are noted in any case).
    explicit ModalWatcher(std::function<void(QDialog*)> inspect = {}) : Inspect(std::move(inspect)) {
        Timer.setInterval(20);
        QObject::connect(&Timer, &QTimer::timeout, [this] { Poll(); });
        Timer.start();
    }

    std::vector<SeenBox> Seen;

  private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        // The splash closes itself.
        if (!dialog || !dialog->isVisible() || dialog->objectName() == QLatin1String("FrmFlashForm")) return;
        SeenBox seen;
        seen.Title = dialog->windowTitle().toStdString();
        seen.ObjectName = dialog->objectName().toStdString();
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            seen.Text = box->text().toStdString();
            seen.Icon = box->icon();
        }
        Seen.push_back(seen);
        if (Inspect) Inspect(dialog);
        dialog->done(QDialog::Accepted);
    }

    std::function<void(QDialog*)> Inspect;
    QTimer Timer;
};
