#include "ui/grid/OneLineLabel.h"

#include <QFontMetrics>
#include <algorithm>

namespace n4 {

namespace {

constexpr double kPointStep = 0.25;

} // namespace

OneLineLabel::OneLineLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    // The width comes from the layout or the window's design, not from the text.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize OneLineLabel::minimumSizeHint() const {
    return QSize(0, QLabel::minimumSizeHint().height());
}

int OneLineLabel::naturalWidth() const {
    return needed(baseFont());
}

int OneLineLabel::smallestWidth() const {
    return needed(smallestFont());
}

void OneLineLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitFont();
}

QFont OneLineLabel::baseFont() const {
    return haveBase_ ? base_ : font();
}

QFont OneLineLabel::smallestFont() const {
    QFont f = baseFont();
    if (f.pointSizeF() > kSmallestPointSize) f.setPointSizeF(kSmallestPointSize);
    return f;
}

int OneLineLabel::needed(const QFont& f) const {
    const QFontMetrics fm(f, this);
    int text = 0;
    for (const QString& line : this->text().split(QLatin1Char('\n')))
        text = std::max(text, fm.horizontalAdvance(line));
    return text + width() - contentsRect().width() + 2 * margin();
}

void OneLineLabel::fitFont() {
    if (fitting_) return;
    fitting_ = true;
    if (!haveBase_) {
        base_ = font();
        haveBase_ = true;
    }
    QFont f = base_;
    const double smallest = smallestFont().pointSizeF();
    // A font sized in pixels has no points to step by: it stays.
    for (double pt = base_.pointSizeF(); pt > 0; pt -= kPointStep) {
        f.setPointSizeF(std::max(pt, smallest));
        if (needed(f) <= width() || pt <= smallest) break;
    }
    if (f != font()) setFont(f);
    fitting_ = false;
}

} // namespace n4
