#include "mainwindow/file_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTimer>
#include <QFileInfo>
#include <QQueue>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Script {
    bool active = false;
    QQueue<QString> paths;
    QQueue<int> filters;
    QList<ShownFileDialog> shown;
};

Script &script()
{
    static Script s;
    return s;
}

// The folder the last dialog of this run ended in, so the next one opens there.
QString &lastFolder()
{
    static QString folder;
    return folder;
}

QString run(QWidget *parent, FileDialogKind kind, const QString &title, int *filter = nullptr)
{
    Script &s = script();
    if (s.active) {
        s.shown.append({kind, title});
        if (filter)
            *filter = s.filters.isEmpty() ? 0 : s.filters.dequeue();
        return s.paths.isEmpty() ? QString() : s.paths.dequeue();
    }

    QFileDialog dialog(parent, title, lastFolder().isEmpty() ? QDir::homePath() : lastFolder());
    dialog.setObjectName(u"Dialog1"_s);
    if (kind == FileDialogKind::Import || kind == FileDialogKind::Export) {
        const bool import = kind == FileDialogKind::Import;
        const QStringList filters = import ? QStringList{u"連絡先（vCard・CSV） (*.vcf *.vcard *.csv *.tsv *.txt)"_s,
                                                         u"vCard (*.vcf *.vcard)"_s, u"CSV (*.csv *.tsv *.txt)"_s,
                                                         u"すべてのファイル\u3000(*)"_s}
                                           : FileDialogs::ExportNameFilters();
        dialog.setNameFilters(filters);
        dialog.setAcceptMode(import ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(import ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (!import) {
            // The extension follows the filter chosen.
            dialog.setDefaultSuffix(u"vcf"_s);
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString &f) {
                dialog.setDefaultSuffix(filters.indexOf(f) == 0 ? u"vcf"_s : u"csv"_s);
            });
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        if (filter)
            *filter = qMax(0, int(filters.indexOf(dialog.selectedNameFilter())));
        const QString path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
        lastFolder() = QFileInfo(path).absolutePath();
        return path;
    }
    if (kind == FileDialogKind::SavePdf) {
        dialog.setNameFilters({u"PDFファイル (*.pdf)"_s});
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(u"pdf"_s);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
        lastFolder() = QFileInfo(path).absolutePath();
        return path;
    }
    dialog.setNameFilters(FileDialogs::NameFilters());
    if (kind == FileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // A name that does not exist is accepted and reported by the load.
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // No default suffix: a name typed without ".csv" is used as typed.
    }
    // "*.*" asks for a dot on this platform, which would hide the files saved
    // without an extension under "all files"; show every file there instead.
    QTimer::singleShot(0, &dialog, [&dialog] {
        auto *types = dialog.findChild<QComboBox *>(u"fileTypeCombo"_s);
        if (!types)
            return;   // a desktop's own dialog has its own filter handling
        QObject::connect(types, &QComboBox::currentIndexChanged, &dialog, [&dialog](int index) {
            if (index != 1)
                return;
            QTimer::singleShot(0, &dialog, [&dialog] {
                if (auto *files = dialog.findChild<QFileSystemModel *>())
                    files->setNameFilters({u"*"_s});
            });
        });
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString path = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    lastFolder() = QFileInfo(path).absolutePath();
    return path;
}

} // namespace

namespace FileDialogs {

QStringList NameFilters()
{
    // The blank before "(*.*)" is an ideographic space.
    return {u"CSVファイル (*.csv)"_s, u"すべてのファイル\u3000(*.*)"_s};
}

QString GetSavePdfFileName(QWidget *parent)
{
    return run(parent, FileDialogKind::SavePdf, u"PDFファイルに保存"_s);
}

QStringList ExportNameFilters()
{
    return {u"vCard 3.0 (*.vcf)"_s, u"CSV（UTF-8・この住所録の見出し） (*.csv)"_s,
            u"CSV（UTF-8・Google 連絡先の見出し） (*.csv)"_s};
}

QString GetImportFileName(QWidget *parent)
{
    return run(parent, FileDialogKind::Import, u"インポート"_s);
}

QString GetExportFileName(QWidget *parent, int &format)
{
    return run(parent, FileDialogKind::Export, u"エクスポート"_s, &format);
}

QString GetOpenFileName(QWidget *parent, const QString &title)
{
    return run(parent, FileDialogKind::Open, title);
}

QString GetSaveFileName(QWidget *parent, const QString &title)
{
    return run(parent, FileDialogKind::Save, title);
}

void SetScripted(bool scripted)
{
    Script &s = script();
    s.active = scripted;
    s.paths.clear();
    s.filters.clear();
    s.shown.clear();
}

void QueuePath(const QString &path) { script().paths.enqueue(path); }
void QueueFilter(int index) { script().filters.enqueue(index); }
int PendingPaths() { return int(script().paths.size()); }

QList<ShownFileDialog> TakeShown()
{
    QList<ShownFileDialog> out;
    out.swap(script().shown);
    return out;
}

} // namespace FileDialogs
