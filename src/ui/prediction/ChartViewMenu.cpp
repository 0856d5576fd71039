#include "ui/prediction/ChartViewMenu.h"

#include <QAction>
#include <QChartView>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace n4 {

namespace {

bool paintSvg(QChartView* view, const QString& title, QIODevice* device) {
    QSvgGenerator svg;
    svg.setOutputDevice(device);
    svg.setSize(view->size());
    svg.setViewBox(view->rect());
    svg.setTitle(title);
    QPainter p;
    if (!p.begin(&svg)) return false;
    view->render(&p);
    return p.end();
}

bool paintPng(QChartView* view, QIODevice* device) {
    QImage image(view->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    view->render(&p);
    p.end();
    return image.save(device, "PNG");
}

} // namespace

ChartViewMenu::ChartViewMenu(QChartView* view) : QObject(view), view_(view) {
    savePicture_ = new QAction(QStringLiteral("画像として保存…"), this);
    connect(savePicture_, &QAction::triggered, this, &ChartViewMenu::askAndSave);
    view->addAction(savePicture_);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    chooser_ = [view](const QString& caption, const QString& suggested, const QString& filters) {
        return askSaveFileName(view, caption, suggested, filters);
    };
}

void ChartViewMenu::askAndSave() {
    const QString name = title_.isEmpty() ? QStringLiteral("グラフ") : title_;
    const QString path =
        chooser_(QStringLiteral("画像として保存"),
                 suggestedSavePath(QStandardPaths::PicturesLocation, name + ".png"),
                 QStringLiteral("PNG 画像 (*.png);;SVG 画像 (*.svg)"));
    if (path.isEmpty()) return;
    QString error;
    if (!savePictureTo(path, error))
        QMessageBox::warning(view_, QStringLiteral("メッセ－ジ"), error);
}

bool ChartViewMenu::savePictureTo(const QString& path, QString& error) const {
    const QString format = QFileInfo(path).suffix().toLower();
    if (format != QLatin1String("png") && format != QLatin1String("svg")) {
        error = QStringLiteral("グラフは .png か .svg の名前で保存してください。");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1 に保存できませんでした: %2").arg(path, file.errorString());
        return false;
    }
    const bool painted =
        format == QLatin1String("svg") ? paintSvg(view_, title_, &file) : paintPng(view_, &file);
    if (painted && file.commit()) return true;
    file.cancelWriting();
    error = QStringLiteral("%1 に保存できませんでした。").arg(path);
    return false;
}

} // namespace n4
