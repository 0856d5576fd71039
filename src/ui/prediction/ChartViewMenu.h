#pragma once
// The context menu of a chart: 画像として保存… writes what the chart shows, at
// its size on the screen, as a PNG picture or an SVG drawing. The question
// where to save is the grids' own, and a test can answer it instead.
#include <QObject>
#include <QString>

#include "ui/grid/GridViewMenu.h"

class QAction;
class QChartView;

namespace n4 {

class ChartViewMenu : public QObject {
    Q_OBJECT
  public:
    explicit ChartViewMenu(QChartView* view);

    // What a saved picture is called (its suggested file name and its title).
    void setTitle(const QString& title) { title_ = title; }
    void setFileChooser(GridViewMenu::FileChooser chooser) { chooser_ = std::move(chooser); }
    QAction* savePictureAction() const { return savePicture_; }

    // What the entry does once it knows the file: the format follows the
    // suffix (.png or .svg). false with a message in Japanese; a file that
    // cannot be written whole is left as it was.
    bool savePictureTo(const QString& path, QString& error) const;

  private:
    void askAndSave();

    QChartView* view_;
    QAction* savePicture_;
    QString title_;
    GridViewMenu::FileChooser chooser_;
};

} // namespace n4
