#pragma once

#include <QDialog>

struct SettingsRecord;
class PictureButton;
class PostalCodes;
class PostalLookup;
class QLineEdit;
class SettingsStore;

// F_Kojin: the user's own name, telephone, mail, postal code and address,
// printed as the sender on postcards. Register stores what was typed in
// AppSettings.Sender and the Kojin settings section and closes; closing in
// any other way changes nothing. The form deletes itself when it closes, so
// open it with new, setWindowModality() and show().
class SenderDialog : public QDialog {
    Q_OBJECT
public:
    // With postal codes, the 〒 and the address look each other up.
    SenderDialog(SettingsRecord &appSettings, SettingsStore &store, QWidget *parent = nullptr,
                 PostalCodes *postalCodes = nullptr);

    // The click on cmd_Go.
    void Register();

private:
    SettingsRecord &m_settings;
    SettingsStore &m_store;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_tel = nullptr;
    QLineEdit *m_mail = nullptr;
    QLineEdit *m_yubin = nullptr;
    QLineEdit *m_ju1 = nullptr;
    QLineEdit *m_ju2 = nullptr;
    PictureButton *m_go = nullptr;
    PictureButton *m_close = nullptr;
    PostalLookup *m_postal = nullptr;
};
