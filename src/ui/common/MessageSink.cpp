#include "ui/common/MessageSink.h"

#include <QMessageBox>
#include <QPushButton>

namespace n4 {

void MessageSink::critical(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

void MessageSink::information(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

void MessageSink::warning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

bool MessageSink::confirm(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int MessageSink::choose(QWidget* parent, const QString& title, const QString& text,
                        const QStringList& buttons, int defaultButton, int escapeButton) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    QList<QPushButton*> pushed;
    for (const QString& b : buttons)
        pushed << box.addButton(b, QMessageBox::ActionRole);
    if (defaultButton >= 0 && defaultButton < pushed.size())
        box.setDefaultButton(pushed[defaultButton]);
    if (escapeButton >= 0 && escapeButton < pushed.size())
        box.setEscapeButton(pushed[escapeButton]);
    box.exec();
    const int chosen = pushed.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    return chosen >= 0 ? chosen : escapeButton;
}

} // namespace n4
