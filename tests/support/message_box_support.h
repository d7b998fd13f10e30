// Answering the program's modal message boxes from a test, and noting what they showed.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace engine_test {

struct SeenBox {
    std::string Title;
    std::string Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    std::vector<QMessageBox::StandardButton> Buttons;
};

// Watches for message boxes while it lives; answers each with the next of the given buttons (the last
// one again when they run out) and records what it saw.
class MessageBoxAnswerer {
  public:
    explicit MessageBoxAnswerer(std::vector<QMessageBox::StandardButton> answers)
        : Answers(std::move(answers)) {
        Timer.setInterval(20);
        QObject::connect(&Timer, &QTimer::timeout, [this] { Poll(); });
        Timer.start();
    }

    std::vector<SeenBox> Seen;

  private:
    void Poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible() ||
                std::find(Answered.begin(), Answered.end(), box) != Answered.end())
                continue;
            Answered.push_back(box);
            SeenBox seen{box->windowTitle().toStdString(), box->text().toStdString(), box->icon(), {}};
            for (QAbstractButton* button : box->buttons())
                seen.Buttons.push_back(box->standardButton(button));
            Seen.push_back(seen);
            const size_t index = std::min(Seen.size() - 1, Answers.size() - 1);
            if (QAbstractButton* button = box->button(Answers[index])) button->click();
        }
    }

    std::vector<QMessageBox::StandardButton> Answers;
    std::vector<QPointer<QMessageBox>> Answered;
    QTimer Timer;
};

} // namespace engine_test
