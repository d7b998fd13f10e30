// Answers the modal boxes and dialogs that the code under test opens, and notes what they showed.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct SeenBox {
    std::string Title, Text, ObjectName;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    std::vector<QMessageBox::StandardButton> Buttons;
};

// What was seen, in order; true once anything was.
struct SeenBoxes : std::vector<SeenBox> {
    explicit operator bool() const { return !empty(); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const SeenBox& box : *this) texts.push_back(box.Text);
        return texts;
    }
};

// Watches while it lives for modal dialogs of type T (the splash closes itself and is left alone).
template <typename T = QDialog> class ModalAnswerer {
  public:
    // Each dialog goes to `answer`; one it leaves open is accepted.
    explicit ModalAnswerer(std::function<void(T*)> answer = {}) : Answer(std::move(answer)) { Start(); }

    // Only message boxes: each gets the next of `buttons`, the last one again when they run out.
    explicit ModalAnswerer(std::vector<QMessageBox::StandardButton> buttons) : Buttons(std::move(buttons)) {
        Start();
    }

    SeenBoxes Seen;

  private:
    void Start() {
        Timer.setInterval(10);
        QObject::connect(&Timer, &QTimer::timeout, [this] { Poll(); });
        Timer.start();
    }

    void Poll() {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->objectName() == QLatin1String("FrmFlashForm")) return;
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (!Buttons.empty() && !box) return;
        // A box whose answer did not close it is not noted twice.
        std::erase_if(Handled, [](const QPointer<QDialog>& d) { return !d || !d->isVisible(); });
        if (std::find(Handled.begin(), Handled.end(), dialog) != Handled.end()) return;
        Handled.push_back(dialog);

        SeenBox seen;
        seen.Title = dialog->windowTitle().toStdString();
        seen.ObjectName = dialog->objectName().toStdString();
        if (box) {
            seen.Text = box->text().toStdString();
            seen.Icon = box->icon();
            for (QAbstractButton* button : box->buttons()) seen.Buttons.push_back(box->standardButton(button));
        }
        Seen.push_back(seen);

        if (!Buttons.empty()) {
            const size_t index = std::min(Seen.size(), Buttons.size()) - 1;
            if (QAbstractButton* button = box->button(Buttons[index])) button->click();
            return;
        }
        QPointer<T> guard(dialog);
        if (Answer) Answer(dialog);
        if (guard && guard->isVisible()) guard->done(QDialog::Accepted);
    }

    std::function<void(T*)> Answer;
    std::vector<QMessageBox::StandardButton> Buttons;
    std::vector<QPointer<QDialog>> Handled;
    QTimer Timer;
};
