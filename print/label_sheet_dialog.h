#pragma once

#include "entry/picture_dialog.h"

#include <functional>
#include <vector>

class LabelSheetModel;
class LabelSheetPicture;
class PictureButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
struct LabelSheet;

// F_ラベル用紙: the label sheet to print on, from the standard sheet and the
// sheets of the label database, found by part number or maker and filtered
// by labels per sheet. 設定 hands the choice to the caller and closes the
// window; 閉じる, Esc and the close box change nothing.
class LabelSheetDialog : public PictureDialog {
    Q_OBJECT
public:
    // The sheet chosen: null for the standard sheet.
    using Apply = std::function<void(const LabelSheet *)>;

    // Shows the dialog application-modal over owner, on current (null: the
    // standard sheet). The sheets must outlive the dialog.
    static LabelSheetDialog *Open(QWidget *owner, const std::vector<LabelSheet> &sheets, const LabelSheet *current,
                                  Apply apply);

    LabelSheetDialog(QWidget *owner, const std::vector<LabelSheet> &sheets, const LabelSheet *current, Apply apply);

    // The sheet of the current row; null for the standard sheet or no row.
    const LabelSheet *Current() const;
    bool HasCurrent() const;
    void Go();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyFilter();
    void select(const LabelSheet *sheet);
    void showCurrent();

    LabelSheetModel *m_model = nullptr;
    QLineEdit *m_search = nullptr;
    QComboBox *m_counts = nullptr;
    QTableView *m_table = nullptr;
    LabelSheetPicture *m_picture = nullptr;
    QLabel *m_details = nullptr;
    PictureButton *m_go = nullptr;
    Apply m_apply;
};
