#pragma once
// A label whose lines stay whole: where its room is too narrow for the
// program's font, the font steps down (not below 6 points) until the longest
// line fits; given more room it grows back.
#include <QLabel>

namespace n4 {

class OneLineLabel : public QLabel {
    Q_OBJECT
  public:
    static constexpr double kSmallestPointSize = 6.0;

    explicit OneLineLabel(const QString& text, QWidget* parent = nullptr);
    QSize minimumSizeHint() const override;
    // The width the longest line needs, frame and margins included: in the
    // font the label was given, and in the smallest it steps down to.
    int naturalWidth() const;
    int smallestWidth() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QFont baseFont() const;
    QFont smallestFont() const;
    int needed(const QFont& f) const;
    void fitFont();
    QFont base_;
    bool haveBase_ = false;
    bool fitting_ = false;
};

} // namespace n4
