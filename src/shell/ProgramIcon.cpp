#include "shell/ProgramIcon.h"

#include <QIconEngine>
#include <QPainter>

// The icon pictures live in a static library: their resources must be pulled
// in by name, outside any namespace.
static void loadIconResources() {
    Q_INIT_RESOURCE(programicon);
}

namespace n4 {

namespace {

const int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon's pictures are read when one is first drawn, not when the icon
// is made: at start-up, before the first window is painted, decoding all
// eight PNG files took about 2 ms each time the icon was set, and where the
// window system shows no window icons (Wayland, the offscreen platform) they
// are never needed at all.
class DeferredIconEngine : public QIconEngine {
  public:
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
        if (mode != QIcon::Normal || state != QIcon::Off) return icon().availableSizes(mode, state);
        QList<QSize> sizes;
        for (int s : kSizes)
            sizes.append(QSize(s, s));
        return sizes;
    }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    QString key() const override { return QStringLiteral("n4::DeferredIconEngine"); }

  private:
    const QIcon& icon() {
        if (icon_.isNull()) {
            loadIconResources();
            for (int s : kSizes)
                icon_.addFile(QStringLiteral(":/icons/numbers4marvo-%1.png").arg(s), QSize(s, s));
        }
        return icon_;
    }
    QIcon icon_;
};

} // namespace

QIcon programIcon() {
    // One icon for every window, so its pictures are read once; kept to the
    // end of the run (after the application object is gone, nothing may
    // free pictures any more).
    static const QIcon* const icon = new QIcon(new DeferredIconEngine);
    return *icon;
}

} // namespace n4
