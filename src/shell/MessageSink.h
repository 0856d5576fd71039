#pragma once
// Every message box of the program goes through one sink, so that window
// tests can answer them without blocking.
#include <QString>

class QWidget;

namespace n4 {

inline const QString kMessageTitle = QStringLiteral("メッセ－ジ");
inline const QString kProgramTitle = QStringLiteral("ナンバーズ4マーヴォ");

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void critical(QWidget* parent, const QString& title, const QString& text);
    virtual void information(QWidget* parent, const QString& title, const QString& text);
    // Yes/No with No the default and the exclamation icon; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text);
};

} // namespace n4
