#include "ui/common/DrawJump.h"

#include <QAction>
#include <QInputDialog>
#include <QPointer>
#include <QWidget>

#include "core/grid/DrawRows.h"
#include "ui/common/MessageSink.h"

namespace n4 {

namespace {

const QString kCaption = QStringLiteral("回号へ移動");

QString askWithDialog(QWidget* parent, const QString& prompt) {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(parent, kCaption, prompt, QLineEdit::Normal, QString(), &ok);
    return ok ? typed : QString();
}

MessageSink& plainMessageBoxes() {
    static MessageSink boxes;
    return boxes;
}

} // namespace

std::optional<int> drawNumberIn(const QString& typed) {
    QString text = typed.normalized(QString::NormalizationForm_KC).trimmed();
    if (text.startsWith(QStringLiteral("第"))) text.remove(0, 1);
    if (text.endsWith(QStringLiteral("回"))) text.chop(1);
    text = text.trimmed();
    bool number = !text.isEmpty();
    for (QChar c : text)
        number = number && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const int value = number ? text.toInt(&number) : 0;
    if (!number) return std::nullopt;
    return value;
}

DrawJump::DrawJump(QWidget* scope, std::function<const DrawRows&()> rows,
                   std::function<void(int row)> moveTo)
    : QObject(scope), scope_(scope), rows_(std::move(rows)), moveTo_(std::move(moveTo)),
      ask_(askWithDialog), messages_(&plainMessageBoxes()) {
    action_ = new QAction(QStringLiteral("回号へ移動…"), this);
    action_->setObjectName(QStringLiteral("mnuGoToDraw"));
    action_->setShortcut(Qt::CTRL | Qt::Key_G);
    // Ctrl+G of this window only: every window that lists draws has its own.
    action_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action_->setShortcutVisibleInContextMenu(true);
    scope->addAction(action_);
    connect(action_, &QAction::triggered, this, &DrawJump::run);
}

void DrawJump::run() {
    const DrawRows& rows = rows_();
    if (rows.empty()) {
        messages_->warning(scope_, kMessageTitle, QStringLiteral("当選データがありません。"));
        return;
    }
    const QPointer<DrawJump> alive(this);
    const QString typed = ask_(scope_, QStringLiteral("移動する回号を入力してください"
                                                      "（第%1回～第%2回）。")
                                           .arg(rows.firstDraw())
                                           .arg(rows.lastDraw()));
    // (the window may have closed while the question was open)
    if (!alive || typed.trimmed().isEmpty()) return; // or the user gave up
    const std::optional<int> drawNo = drawNumberIn(typed);
    const QString refusal =
        drawNo ? goTo(*drawNo)
               : QStringLiteral("「%1」は回号として読めません。数字で入力してください（例: %2）。")
                     .arg(typed.trimmed())
                     .arg(rows.lastDraw());
    if (!refusal.isEmpty()) messages_->warning(scope_, kMessageTitle, refusal);
}

QString DrawJump::goTo(int drawNo) {
    const DrawRows& rows = rows_();
    const int row = rows.rowOf(drawNo);
    if (row < 0 && drawNo >= rows.firstDraw() && drawNo <= rows.lastDraw())
        return QStringLiteral("第%1回は当選データにありません。").arg(drawNo);
    if (row < 0)
        return QStringLiteral("第%1回は当選データにありません。\n"
                              "第%2回～第%3回の回号を入力してください。")
            .arg(drawNo)
            .arg(rows.firstDraw())
            .arg(rows.lastDraw());
    if (row == 0)
        return QStringLiteral("第%1回は当選数字がそろっていないため、この表にはありません。")
            .arg(drawNo);
    moveTo_(row);
    return {};
}

} // namespace n4
