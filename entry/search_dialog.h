#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class ImageComboBox;
class MainWindow;
class PictureButton;

// F_Kensaku: finds the next entry of the main list whose chosen field holds
// the search text, selects it and stays open for the next one. The texts
// searched for this run are offered again in the text box's drop-down list.
class SearchDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the search dialog over the main window, or brings the one already
    // open to the front. Modal blocks the main window; it is never run with
    // exec(), so the caller gets the dialog back at once.
    static SearchDialog *Open(MainWindow &main, bool modal);

    explicit SearchDialog(MainWindow &main);

    // What the search button does: the next match from searchStart() on.
    void Search();

    // The 1-based list position where the next search starts.
    int searchStart() const { return m_searchStart; }
    // Whether the last search found an entry.
    bool searchFound() const { return m_searchFound; }

    void done(int result) override;

private:
    void buildControls();
    void placeOverMain();
    void fieldChosen();

    MainWindow &m_main;
    ImageComboBox *m_field = nullptr;     // cmb_項目
    QComboBox *m_text = nullptr;          // cmb_氏名
    QCheckBox *m_exact = nullptr;         // Chk_検索
    PictureButton *m_searchButton = nullptr;
    PictureButton *m_closeButton = nullptr;

    int m_searchStart = 1;
    bool m_searchFound = false;
};
