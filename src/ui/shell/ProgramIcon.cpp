#include "ui/shell/ProgramIcon.h"

#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <iterator>

// The icon pictures live in a static library: their resources must be pulled
// in by name, outside any namespace.
static void loadIconResources() {
    Q_INIT_RESOURCE(programicon);
}

namespace n4 {

namespace {

const int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon's pictures are read when one is first drawn, not when the icon
// is made, and only the picture of the size asked for: at start-up, before
// the first window is painted, decoding all eight PNG files took about 2 ms
// each time the icon was set, and a window's title bar needs only its small
// one (where the window system shows no window icons, Wayland or the
// offscreen platform, none is ever needed).
class DeferredIconEngine : public QIconEngine {
  public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return iconFor(size).pixmap(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        iconFor(rect.size() * ratio).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return iconFor(size).actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        if (mode != QIcon::Normal || state != QIcon::Off)
            return allSizes().availableSizes(mode, state);
        QList<QSize> sizes;
        for (int s : kSizes)
            sizes.append(QSize(s, s));
        return sizes;
    }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    QString key() const override { return QStringLiteral("n4::DeferredIconEngine"); }

  private:
    // The picture the icon would choose among all eight for size (the
    // smallest that covers its area, or the largest), read if it is not yet.
    const QIcon& iconFor(const QSize& size) {
        const qint64 area = qint64(size.width()) * size.height();
        int chosen = kSizes[std::size(kSizes) - 1];
        for (int s : kSizes)
            if (qint64(s) * s >= area) {
                chosen = s;
                break;
            }
        readSize(chosen);
        return icon_;
    }
    const QIcon& allSizes() {
        for (int s : kSizes)
            readSize(s);
        return icon_;
    }
    void readSize(int size) {
        if (read_.contains(size)) return;
        read_.insert(size);
        loadIconResources();
        // The format named and nothing guessed: the toolkit then reads the PNG
        // itself instead of loading every image plug-in to ask it first.
        QImageReader reader(QStringLiteral(":/icons/numbers4marvo-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage picture = reader.read();
        if (!picture.isNull()) icon_.addPixmap(QPixmap::fromImage(picture));
    }
    QIcon icon_;
    QSet<int> read_;
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
