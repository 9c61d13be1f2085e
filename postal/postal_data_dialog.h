#pragma once

#include "entry/picture_dialog.h"

class MainWindow;
class PictureButton;
class QLabel;

// F_郵便番号データ: where the postal codes come from (the system's
// dictionary or the user's KEN_ALL.CSV), of what date and how many. A
// KEN_ALL.CSV chosen here, or the way back to the dictionary, takes effect
// at once and is kept in the settings; a file that does not read is
// refused with the reason and the dictionary stays in use.
class PostalDataDialog : public PictureDialog {
    Q_OBJECT
public:
    static PostalDataDialog *Open(MainWindow &main, QWidget *owner);

    PostalDataDialog(MainWindow &main, QWidget *owner);

    void ChooseKenAll();     // cmd_参照
    void UseDictionary();    // cmd_既定値

private:
    void showSource();
    // Puts the source in use and in the store; false when it did not read.
    bool useSource(const QString &kenAll);

    MainWindow &m_main;
    QLabel *m_source = nullptr;
    QLabel *m_details = nullptr;
    QLabel *m_notice = nullptr;
    PictureButton *m_dictionary = nullptr;
};
