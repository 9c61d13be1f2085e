#pragma once

#include "entry/picture_dialog.h"
#include "files/import_check.h"

#include <functional>
#include <vector>

class ImportPreviewModel;
class PictureButton;
class QLabel;
class QListWidget;
class QRadioButton;
class QTableView;

// Where the contacts of an import came from, as the preview says it.
struct ImportOrigin {
    QString fileName;
    QString format;          // "vCard", "CSV（UTF-8）", ...
    int unreadableCards = 0;
};

// F_取込確認: the contacts an import would add, each with a check box;
// probable duplicates of entries in the book are marked and start
// unchecked; what the book cannot take (characters, over-long values, and
// what has no field at all) is listed before anything is added. 取り込む
// hands the chosen contacts on; 閉じる, Esc and the close box add nothing.
class ImportPreviewDialog : public PictureDialog {
    Q_OBJECT
public:
    // The contacts to add, in order, and whether they go at the end (else in
    // front of the selected entry); messages go over dialog. False keeps the
    // dialog open.
    using Apply = std::function<bool(const std::vector<ImportedContact> &contacts, bool atEnd, QWidget *dialog)>;

    static ImportPreviewDialog *Open(QWidget *owner, std::vector<ImportedContact> contacts, const ImportOrigin &origin,
                                     const Cls_管理 &book, bool canInsertBefore, Apply apply);

    ImportPreviewDialog(QWidget *owner, std::vector<ImportedContact> contacts, const ImportOrigin &origin,
                        const Cls_管理 &book, bool canInsertBefore, Apply apply);

    ImportPreviewModel *model() const { return m_model; }
    QListWidget *problems() const { return m_problems; }
    // The checked contacts, with the choice for problems applied.
    std::vector<ImportedContact> Chosen() const;
    void Go();

private:
    void showCount();

    ImportPreviewModel *m_model = nullptr;
    std::vector<ImportIssue> m_issues;
    QTableView *m_table = nullptr;
    QListWidget *m_problems = nullptr;
    QLabel *m_count = nullptr;
    QRadioButton *m_before = nullptr;
    QRadioButton *m_atEnd = nullptr;
    QRadioButton *m_skipProblems = nullptr;
    QRadioButton *m_replace = nullptr;
    PictureButton *m_go = nullptr;
    Apply m_apply;
};
