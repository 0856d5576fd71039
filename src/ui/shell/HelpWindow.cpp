#include "ui/shell/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/shell/ProgramIcon.h"

// The help pages live in a static library: their resources must be pulled in
// by name, outside any namespace.
static void loadHelpResources() {
    Q_INIT_RESOURCE(shell);
}

namespace n4 {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    loadHelpResources();
    setWindowTitle(QStringLiteral("ナンバーズ4マーヴォ ヘルプ"));
    setWindowIcon(programIcon());
    browser_ = new QTextBrowser(this);
    browser_->setAccessibleName(windowTitle());
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/help.html")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 720);
}

void HelpWindow::showTopic(const QString& anchor) {
    browser_->scrollToAnchor(anchor);
}

} // namespace n4
