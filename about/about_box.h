#pragma once

#include <QDialog>
#include <QPixmap>
#include <QStringList>

class MainWindow;
class PictureButton;
class QLabel;
class QTimer;

// F_VerPIc: the pictures of the about box's buttons, normal (imgH) and
// highlighted (img), one per button, and Timer1, which puts a button back to
// normal once the pointer has gone elsewhere without the button noticing
// (a message box or another program coming up under it). Lives and dies
// with its about box.
class AboutPictures : public QObject {
    Q_OBJECT
public:
    explicit AboutPictures(QObject *parent);

    // Button 0 is the read-me button, button 1 the close button.
    const QStringList imgH;
    const QStringList img;
    QTimer *Timer1 = nullptr;
};

// F_Ver: the about box. It deletes itself when it closes.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    // The address the mail line shows and mails to.
    static const QString ContactAddress;

    explicit AboutBox(QWidget *parent = nullptr);

    // Shown application-modal; returns at once.
    static AboutBox *Open(MainWindow &main);

    // Folders searched for the read-me, in order: the program's own folder,
    // then the data folder of an installed program. Tests set their own; an
    // empty list goes back to these.
    static QStringList ReadMeFolders();
    static void SetReadMeFolders(const QStringList &folders);

    // The click on cmd_ReadMe.
    void OpenReadMe();
    // The click on lbl_Mail.
    void OpenMail();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Timer1Tick();

    AboutPictures *m_pictures = nullptr;
    PictureButton *m_buttons[2] = {};
    // Per button: the pointer was over it when the mouse last moved there and
    // it has not been put back to normal since.
    bool m_pointerSeen[2] = {};
    QLabel *m_mail = nullptr;
    QPixmap m_background;
};
