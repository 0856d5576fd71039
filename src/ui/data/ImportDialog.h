#pragma once
// Bringing draws in from a file or from pasted text: the file dialog, the
// one question that says in numbers what will happen, then one step of the
// change log. Used by the data-entry window and by a drop on the main window.
#include <QString>

#include "core/import/HistoryImport.h"

class QDropEvent;
class QMimeData;
class QWidget;

namespace n4 {

class DrawEntryModel;
class MessageSink;

class ImportDialog {
  public:
    // The file dialog's filter: CSV, TSV, JSON and Jet files first.
    static QString fileFilter();
    // Asks for a file; "" when the user cancels.
    static QString chooseFile(QWidget* parent);
    // The one local file a drag carries; false with a message otherwise.
    static bool droppedFile(const QMimeData* data, QString& path, QString& message);
    // The one file of a drop, accepted; or empty after telling the user why not.
    static QString takeDroppedFile(QDropEvent* event, QWidget* parent, MessageSink* messages);

    // Asks once, naming the new, changed and identical draws, then writes the
    // new and changed ones as one step. report says what happened (also when
    // nothing was written). False when nothing was written.
    static bool run(QWidget* parent, MessageSink* messages, DrawEntryModel& model,
                    const ImportResult& read, const QString& source, QString& report);
    // Pasted text: rows of a CSV/TSV, or a results page (第NNNN回 with a
    // four-digit number); text that is neither is reported in report only.
    static bool runText(QWidget* parent, MessageSink* messages, DrawEntryModel& model,
                        const QString& text, QString& report);
    // Reads the file first; a file that cannot be read is reported.
    static bool runFile(QWidget* parent, MessageSink* messages, DrawEntryModel& model,
                        const QString& path, QString& report);
};

} // namespace n4
