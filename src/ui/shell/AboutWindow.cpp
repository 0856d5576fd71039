#include "ui/shell/AboutWindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/grid/AnalysisFrame.h"
#include "ui/shell/ProgramIcon.h"

namespace n4 {

namespace {
QLabel* label(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}
} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("バージョン情報"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label("Label4",
                            QStringLiteral("　　　　　一発マーヴォと高額当選を狙う！！　　　　　　"
                                           "　　　　「ナンバーズ４次世代攻略ソフト」"),
                            this));
    auto* titleRow = new QHBoxLayout;
    QFont display = font();
    display.setPointSize(22);
    display.setBold(true);
    QLabel* product = label("Label8", QStringLiteral("ナンバーズ４マーヴォ"), this);
    QLabel* edition = label("Label9", kEditionWord, this);
    for (QLabel* l : {product, edition}) {
        l->setFont(display);
        l->setStyleSheet(QStringLiteral("color:rgb(0,0,160);"));
        titleRow->addWidget(l);
    }
    titleRow->addStretch(1);
    layout->addLayout(titleRow);
    layout->addWidget(label("Label3", QStringLiteral(" Ver1.10"), this));
    dataFiles_ = label("Label5", QString(), this);
    dataFiles_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dataFiles_->hide();
    layout->addWidget(dataFiles_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* close = makeCloseButton(this);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void AboutWindow::showDataFiles(const QString& database, const QString& settings) {
    dataFiles_->setText(
        QStringLiteral("データベース: %1\n設定ファイル: %2").arg(database, settings));
    dataFiles_->show();
}

void AboutWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) emit activated();
}

} // namespace n4
