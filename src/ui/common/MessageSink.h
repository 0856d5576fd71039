#pragma once
// Every message box of the program goes through one sink, so that window
// tests can answer them without blocking.
#include <QString>
#include <QStringList>

class QWidget;

namespace n4 {

inline const QString kMessageTitle = QStringLiteral("メッセ－ジ");
inline const QString kProgramTitle = QStringLiteral("ナンバーズ4マーヴォ");

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void critical(QWidget* parent, const QString& title, const QString& text);
    virtual void information(QWidget* parent, const QString& title, const QString& text);
    // Input that cannot be used: nothing was done.
    virtual void warning(QWidget* parent, const QString& title, const QString& text);
    // Yes/No with No the default and the exclamation icon; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text);
    // A question with buttons of its own, warning icon; returns the index of
    // the button pressed. Closing the box counts as the escape button.
    virtual int choose(QWidget* parent, const QString& title, const QString& text,
                       const QStringList& buttons, int defaultButton, int escapeButton);
};

} // namespace n4
