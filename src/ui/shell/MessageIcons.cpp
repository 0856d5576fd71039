#include "ui/shell/MessageIcons.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The pictures live in a static library: their resources must be pulled in by
// name, outside any namespace.
static void loadMessageIconResources() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(shell);
        return true;
    }();
    (void)loaded;
}

namespace n4 {

namespace {

const char* pictureOf(QStyle::StandardPixmap which) {
    switch (which) {
    case QStyle::SP_MessageBoxInformation:
        return ":/messages/information.svg";
    case QStyle::SP_MessageBoxWarning:
        return ":/messages/warning.svg";
    case QStyle::SP_MessageBoxCritical:
        return ":/messages/critical.svg";
    case QStyle::SP_MessageBoxQuestion:
        return ":/messages/question.svg";
    default:
        return nullptr;
    }
}

// An SVG picture drawn anew at every size asked for. (The toolkit's own SVG
// icon engine is a plug-in that may be missing; the renderer is the library
// the program's pictures are written with.)
class SvgPictureIcon : public QIconEngine {
  public:
    explicit SvgPictureIcon(QString path) : path_(std::move(path)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        QSvgRenderer svg(path_);
        painter->save();
        if (mode == QIcon::Disabled) painter->setOpacity(0.5);
        svg.render(painter, QRectF(rect));
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QImage picture(size, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        {
            QPainter p(&picture);
            p.setRenderHint(QPainter::Antialiasing);
            paint(&p, QRect(QPoint(0, 0), size), mode, state);
        }
        return QPixmap::fromImage(picture);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new SvgPictureIcon(*this); }
    QString key() const override { return QStringLiteral("n4::SvgPictureIcon"); }
    bool isNull() override { return !QSvgRenderer(path_).isValid(); }

  private:
    QString path_;
};

} // namespace

bool isMessageIcon(QStyle::StandardPixmap which) {
    return pictureOf(which) != nullptr;
}

QIcon messageIcon(QStyle::StandardPixmap which) {
    const char* picture = pictureOf(which);
    if (!picture) return {};
    loadMessageIconResources();
    return QIcon(new SvgPictureIcon(QString::fromLatin1(picture)));
}

} // namespace n4
