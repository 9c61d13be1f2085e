#pragma once

#include <QList>
#include <QString>

class QWidget;

// The file dialog Dialog1, shared by the file commands: CSV and all-files
// filters, no default extension, the save dialog asks before replacing.
// Tests script the chosen paths (an empty path is a cancel) and read back
// which dialogs were shown.

enum class FileDialogKind { Open, Save, SavePdf, Import, Export };

struct ShownFileDialog {
    FileDialogKind kind;
    QString title;
};

namespace FileDialogs {

// The chosen full path, or the empty text when the user cancelled.
QString GetOpenFileName(QWidget *parent, const QString &title);
QString GetSaveFileName(QWidget *parent, const QString &title);
// A PDF to print into: "PDFファイルに保存", the PDF filter, ".pdf" added to
// a name typed without it, and the question before replacing a file.
QString GetSavePdfFileName(QWidget *parent);

// A file of another program to import: vCard or CSV.
QString GetImportFileName(QWidget *parent);
// The file to export into and, in format, the filter chosen: 0 vCard,
// 1 CSV with this program's header, 2 CSV with Google's. The filter's
// extension is added to a name typed without one; replacing asks first.
QString GetExportFileName(QWidget *parent, int &format);
QStringList ExportNameFilters();

// The filter list as the dialog shows it.
QStringList NameFilters();

// Test seam, as for message boxes: while scripted each dialog takes the next
// queued path, or cancels when none is queued.
void SetScripted(bool scripted);
void QueuePath(const QString &path);
// The filter the next scripted export dialog ends on (else the first).
void QueueFilter(int index);
int PendingPaths();
QList<ShownFileDialog> TakeShown();

} // namespace FileDialogs
