#include "ui/data/ImportDialog.h"

#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>

#include "core/import/ImportPlan.h"
#include "core/import/ResultText.h"
#include "ui/common/MessageSink.h"
#include "ui/data/DrawEntryModel.h"

namespace n4 {

QString ImportDialog::fileFilter() {
    return QStringLiteral("当選データ (*.csv *.tsv *.txt *.json *.mdb);;"
                          "CSV・TSV (*.csv *.tsv *.txt);;JSON (*.json);;"
                          "Jet 4.0 データベース (*.mdb);;すべてのファイル (*)");
}

QString ImportDialog::chooseFile(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("取り込む当選データのファイル"),
                                        QDir::homePath(), fileFilter());
}

bool ImportDialog::droppedFile(const QMimeData* data, QString& path, QString& message) {
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) files << url.toLocalFile();
    if (files.size() == 1) {
        path = files.front();
        return true;
    }
    message = files.isEmpty() ? QStringLiteral("取り込めるのはファイルだけです。")
                              : QStringLiteral("ファイルは一つずつ取り込んでください。");
    return false;
}

QString ImportDialog::takeDroppedFile(QDropEvent* event, QWidget* parent, MessageSink* messages) {
    QString path, message;
    if (!droppedFile(event->mimeData(), path, message)) {
        messages->critical(parent, kMessageTitle, message);
        return QString();
    }
    event->acceptProposedAction();
    return path;
}

bool ImportDialog::run(QWidget* parent, MessageSink* messages, DrawEntryModel& model,
                       const ImportResult& read, const QString& source, QString& report) {
    const ImportPlan plan = model.planImport(read.rows);
    if (plan.nothingToDo()) {
        report = QString::fromStdString(reportImport(plan));
        messages->information(parent, kProgramTitle, report);
        return false;
    }
    const QString question =
        QString::fromStdString(describeImport(plan, source.toStdString(), read.format)) +
        QStringLiteral("\n\n取り込みますか？");
    if (!messages->confirm(parent, kProgramTitle, question)) {
        report = QStringLiteral("取り込みをやめました。");
        return false;
    }
    if (!model.applyImport(plan)) {
        report = model.lastError();
        messages->critical(parent, kMessageTitle,
                           QStringLiteral("取り込めませんでした。何も書き込んでいません。\n") +
                               report);
        return false;
    }
    report = QString::fromStdString(reportImport(plan));
    return true;
}

bool ImportDialog::runText(QWidget* parent, MessageSink* messages, DrawEntryModel& model,
                           const QString& text, QString& report) {
    ImportResult read = readHistoryBytes(text.toStdString());
    if (!read.ok) {
        ImportResult page = readResultText(text.toStdString());
        static const QRegularExpression drawName(QStringLiteral("第\\s*[0-9０-９]+\\s*回"));
        if (page.ok || text.contains(drawName)) read = page;
    }
    if (!read.ok) {
        report = QStringLiteral("貼り付けた文字を当選データとして読めません: ") +
                 QString::fromStdString(read.message);
        return false;
    }
    return run(parent, messages, model, read, QStringLiteral("貼り付けた文字"), report);
}

bool ImportDialog::runFile(QWidget* parent, MessageSink* messages, DrawEntryModel& model,
                           const QString& path, QString& report) {
    const QString name = QFileInfo(path).fileName();
    const ImportResult read = readHistoryFile(QFile::encodeName(path).toStdString());
    if (!read.ok) {
        report = QStringLiteral("「%1」を取り込めません。\n%2")
                     .arg(name, QString::fromStdString(read.message));
        messages->critical(parent, kMessageTitle, report);
        return false;
    }
    return run(parent, messages, model, read, name, report);
}

} // namespace n4
