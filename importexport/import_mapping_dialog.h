#pragma once

#include "entry/picture_dialog.h"
#include "files/import_csv.h"

#include <functional>
#include <vector>

class PictureButton;
class QComboBox;
class QTableWidget;

// F_取込列: which column of a CSV file goes into which field of the book,
// guessed from the header; the user may change each. 次へ hands the
// mapping on; 閉じる, Esc and the close box import nothing.
class ImportMappingDialog : public PictureDialog {
    Q_OBJECT
public:
    using Apply = std::function<void(const ImportMapping &)>;

    static ImportMappingDialog *Open(QWidget *owner, const ImportCsvTable &table, const QString &fileName, Apply apply);

    ImportMappingDialog(QWidget *owner, const ImportCsvTable &table, const QString &fileName, Apply apply);

    QTableWidget *table() const { return m_table; }
    // The target chosen for column index.
    QComboBox *targetOf(int column) const { return m_targets[size_t(column)]; }
    ImportMapping Mapping() const;
    void Go();

private:
    ImportMapping m_guess;
    QTableWidget *m_table = nullptr;
    std::vector<QComboBox *> m_targets;
    PictureButton *m_go = nullptr;
    Apply m_apply;
};
