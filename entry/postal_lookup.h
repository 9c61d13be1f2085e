#pragma once

#include <QObject>
#include <QPointer>

class PictureButton;
class PostalCodes;
class QLineEdit;
class QRect;
class QWidget;

// The postal-code lookups of a form with a 〒 box and an address box:
// leaving a 〒 that holds a code fills an empty address; leaving an address
// with the 〒 empty fills the 〒 when exactly one code fits; the buttons
// 住所検索 and 〒検索 do the same on demand, asking before they replace
// anything typed, and offer a list when there are several candidates.
// Without postal data the buttons are off and say which package brings it.
class PostalLookup : public QObject {
    Q_OBJECT
public:
    // The buttons go on form at the two places (pixels).
    PostalLookup(QWidget *form, PostalCodes *codes, QLineEdit *yubin, QLineEdit *address, const QRect &addressButton,
                 const QRect &codeButton);

    PictureButton *addressButton() const { return m_addressButton; }
    PictureButton *codeButton() const { return m_codeButton; }

    // A read-only form looks nothing up.
    void SetReadOnly(bool readOnly);

    // cmd_住所検索: the address of the code; asks before replacing an address.
    void FindAddress();
    // cmd_〒検索: the code of the address; asks before replacing a code.
    void FindCode();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool usable() const;
    // Leaving the boxes: only an empty box is filled, and only by a sure result.
    void afterCode();
    void afterAddress();
    void fillAddress(bool ask);
    void fillCode(bool ask, bool onlyIfSure);
    // False when the user keeps what is typed.
    bool mayReplace(QLineEdit *box, const QString &what);

    QWidget *m_form;
    PostalCodes *m_codes;
    QLineEdit *m_yubin;
    QLineEdit *m_address;
    PictureButton *m_addressButton = nullptr;
    PictureButton *m_codeButton = nullptr;
    bool m_readOnly = false;
};
