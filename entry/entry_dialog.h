#pragma once

#include "entry/picture_dialog.h"

#include <array>

class Cls_住所;
class QCheckBox;
class QLabel;
class QLineEdit;
class MainWindow;
class PictureButton;
class PostalLookup;

// F_Syusei: types in, changes or shows one entry. The mode is the state's
// EntryMode when the dialog is made: 1 change the selected entry, 2 add,
// 3 and 4 show the entry stored under viewKey, read-only.
class EntryDialog : public PictureDialog {
    Q_OBJECT
public:
    EntryDialog(MainWindow &main, QWidget *parent, const QString &viewKey = {});

    int mode() const { return m_mode; }
    QLineEdit *field(int index) const { return m_fields[size_t(index)]; }

    // cmd_Go: stores the entry; failures are shown and leave the dialog open.
    void Commit();

private:
    void buildControls();
    void loadMode(const QString &viewKey);
    void commitChange();
    void commitAdd();
    void setField(int index, const QString &text);
    // The seven fields as typed.
    Cls_住所 typedRecord() const;
    void clearFields();

    MainWindow &m_main;
    int m_mode;
    std::array<QLineEdit *, 7> m_fields{};
    std::array<QLabel *, 7> m_labels{};
    std::array<QString, 7> m_loaded;   // the values a change started from
    PictureButton *m_go = nullptr;
    PictureButton *m_close = nullptr;
    QCheckBox *m_atEnd = nullptr;        // Chk1
    QCheckBox *m_continuous = nullptr;   // Chk_連続
    QLabel *m_atEndLabel = nullptr;
    QLabel *m_continuousLabel = nullptr;
    PostalLookup *m_postal = nullptr;
};
