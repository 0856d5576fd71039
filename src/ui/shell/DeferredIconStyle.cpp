#include "ui/shell/DeferredIconStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "ui/shell/MessageIcons.h"

namespace n4 {

namespace {

// A standard icon asked of the style the first time it is drawn, measured or
// tested for being empty.
class DeferredStandardIcon : public QIconEngine {
  public:
    DeferredStandardIcon(QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
        : style_(style), which_(which), widget_(const_cast<QWidget*>(widget)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    bool isNull() override { return icon().isNull(); }
    QIconEngine* clone() const override { return new DeferredStandardIcon(*this); }
    QString key() const override { return QStringLiteral("n4::DeferredStandardIcon"); }

  private:
    const QIcon& icon() {
        if (!made_) {
            made_ = true;
            // The widget may be gone by now: the icon is then the style's plain one.
            if (style_) icon_ = style_->standardIcon(which_, nullptr, widget_.data());
        }
        return icon_;
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    QPointer<QWidget> widget_;
    bool made_ = false;
    QIcon icon_;
};

} // namespace

DeferredIconStyle::DeferredIconStyle(QStyle* base) : QProxyStyle(base) {}

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
    // An icon that depends on an option cannot wait: the option is gone after
    // this call.
    // A message box's symbol: the program's own, sharp at any pixel ratio
    // (its picture, too, is read only when drawn).
    if (isMessageIcon(which)) return messageIcon(which);
    if (option) return QProxyStyle::standardIcon(which, option, widget);
    return QIcon(new DeferredStandardIcon(baseStyle(), which, widget));
}

} // namespace n4
