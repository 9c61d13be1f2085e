#include "entry/entry_dialog.h"

#include "entry/input_helpers.h"
#include "entry/postal_lookup.h"
#include "entry/picture_button.h"
#include "files/storable_value.h"
#include "mainwindow/address_list_view.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/main_window.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"
#include "model/app_error.h"
#include "model/app_state.h"
#include "model/book_document.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

namespace {

struct FieldDef {
    const char16_t *label;
    const char16_t *box;
    int width;       // twips
    int maxLength;   // 0: no limit
    bool inputMethod;
};

// In field order: name, telephone, mail, postal code, two address lines, memo.
const FieldDef kFields[FieldCount] = {
    {u"lbl_氏名", u"txt_氏名", 2865, 0, true},
    {u"lbl_電話番号", u"txt_電話番号", 2865, 13, false},
    {u"lbl_Mail", u"txt_Mail", 4365, 0, false},
    {u"lbl_郵便番号", u"txt_郵便", 2865, 8, false},
    {u"lbl_住所1", u"txt_住所1", 4440, 0, true},
    {u"lbl_住所2", u"txt_住所2", 4440, 0, true},
    {u"lbl_メモ", u"txt_メモ", 4440, 0, true},
};

constexpr int kLabelLeft = 450, kLabelTop = 900, kLabelWidth = 2040, kLabelHeight = 240, kRowStep = 450;
constexpr int kBoxLeft = 2625, kBoxTop = 825, kBoxHeight = 390;
constexpr int kWindowWidth = 7440, kAddHeight = 6225, kShortHeight = 5085;

} // namespace

EntryDialog::EntryDialog(MainWindow &main, QWidget *parent, const QString &viewKey)
    : PictureDialog(parent,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                        | Qt::WindowCloseButtonHint,
                    u":/entry/background.svg"_s),
      m_main(main), m_mode(main.state().EntryMode)
{
    setObjectName(u"F_Syusei"_s);
    setWindowTitle(u"アイテムの修正・追加"_s);
    buildControls();

    // Load.
    SetFieldCaptions(this);
    setFixedSize(TwipsClientSize(kWindowWidth, kAddHeight));
    loadMode(viewKey);
    TintInputControls(this);

    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_fields[0]->setFocus(Qt::OtherFocusReason);
}

void EntryDialog::buildControls()
{
    const QFont labelFont = DesignFont(DialogFace, 11.25, true);
    const QFont fieldFont = DesignFont(DialogFace, 11.25);
    for (int i = 0; i < FieldCount; ++i) {
        const FieldDef &def = kFields[i];
        auto *label = new QLabel(this);
        label->setObjectName(QString::fromUtf16(def.label));
        label->setFont(labelFont);
        label->setGeometry(TwipsRect(kLabelLeft, kLabelTop + i * kRowStep, kLabelWidth, kLabelHeight));
        m_labels[size_t(i)] = label;

        auto *box = new QLineEdit(this);
        box->setObjectName(QString::fromUtf16(def.box));
        box->setFont(fieldFont);
        box->setGeometry(TwipsRect(kBoxLeft, kBoxTop + i * kRowStep, def.width, kBoxHeight));
        if (def.maxLength > 0)
            box->setMaxLength(def.maxLength);
        WireSelectAllText(box);
        WireEnterToTab(box);
        m_fields[size_t(i)] = box;
    }

    // Beside the 〒 box.
    const int codeRowTop = kBoxTop + int(Field::Yubin) * kRowStep;
    m_postal = new PostalLookup(this, &m_main.postalCodes(), m_fields[size_t(Field::Yubin)],
                                m_fields[size_t(Field::Ju1)], TwipsRect(5565, codeRowTop, 750, kBoxHeight),
                                TwipsRect(6375, codeRowTop, 750, kBoxHeight));

    m_close = new PictureButton(this);
    m_close->setObjectName(u"cmd_閉じる"_s);
    m_close->setCaption(u"閉じる"_s);
    m_close->setGeometry(TwipsRect(450, 4180, 1250, 500));
    m_close->setPictures(u":/entry/close.svg"_s, u":/entry/close_hover.svg"_s);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    m_go = new PictureButton(this);
    m_go->setObjectName(u"cmd_Go"_s);
    m_go->setGeometry(TwipsRect(3150, 4180, 1250, 500));
    connect(m_go, &QPushButton::clicked, this, &EntryDialog::Commit);

    auto makeCheck = [this, &labelFont](const QString &name, const QString &labelName, const QString &caption,
                                        int top, QLabel *&label) {
        auto *check = new QCheckBox(this);
        check->setObjectName(name);
        check->setGeometry(TwipsRect(3480, top, 200, 225));
        label = new QLabel(caption, this);
        label->setObjectName(labelName);
        label->setFont(labelFont);
        label->setGeometry(TwipsRect(4200, top, 2400, kLabelHeight));
        TickOnCaptionClick(label, check);
        return check;
    };
    m_atEnd = makeCheck(u"Chk1"_s, u"lbl_最後"_s, u"最後に追加する"_s, 4910, m_atEndLabel);
    m_continuous = makeCheck(u"Chk_連続"_s, u"lbl_連続"_s, u"連続入力する"_s, 5310, m_continuousLabel);
    WireEnterToTab(m_atEnd);

    QWidget *order[] = {m_fields[0], m_fields[1], m_fields[2], m_fields[3], m_fields[4], m_fields[5],
                        m_fields[6], m_go, m_close, m_continuous, m_atEnd};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void EntryDialog::loadMode(const QString &viewKey)
{
    const BookDocument &document = m_main.document();
    switch (m_mode) {
    case 1: {
        const int row = m_main.listView()->currentRow();
        if (row < 0)
            throw AppError(u"修正する項目が選択されていません。"_s);
        const Cls_住所 &record = document.Record(row + 1);
        for (int i = 0; i < FieldCount; ++i) {
            m_loaded[size_t(i)] = record.field(Field(i));
            setField(i, m_loaded[size_t(i)]);
        }
        m_go->setCaption(u"修正"_s);
        m_go->setPictures(u":/entry/change.svg"_s, u":/entry/change_hover.svg"_s);
        setWindowTitle(u"住所録の修正"_s);
        setFixedSize(TwipsClientSize(kWindowWidth, kShortHeight));
        break;
    }
    case 2:
        clearFields();
        m_go->setCaption(u"追加"_s);
        m_go->setPictures(u":/entry/add.svg"_s, u":/entry/add_hover.svg"_s);
        setWindowTitle(u"住所録の追加"_s);
        m_atEnd->setChecked(true);
        m_continuous->setChecked(true);
        break;
    case 3:
    case 4: {
        const Cls_住所 &record = document.OpenBook().Item(viewKey);
        for (int i = 0; i < FieldCount; ++i) {
            setField(i, record.field(Field(i)));
            m_fields[size_t(i)]->setReadOnly(true);
        }
        setWindowTitle(u"住所録の確認"_s);
        m_go->hide();
        setFixedSize(TwipsClientSize(kWindowWidth, kShortHeight));
        break;
    }
    default:
        throw AppError(u"入力画面の表示方法（%1）が正しくありません。"_s.arg(m_mode));
    }
    m_postal->SetReadOnly(m_mode == 3 || m_mode == 4);
    // After the read-only choice, which switches the input method back on.
    for (int i = 0; i < FieldCount; ++i)
        SetInputMethodOn(m_fields[size_t(i)], kFields[i].inputMethod);
    // Only adding uses the two boxes; the shorter window hides them.
    const bool adding = m_mode == 2;
    for (QWidget *w : {static_cast<QWidget *>(m_atEnd), static_cast<QWidget *>(m_continuous),
                       static_cast<QWidget *>(m_atEndLabel), static_cast<QWidget *>(m_continuousLabel)})
        w->setVisible(adding);
}

void EntryDialog::setField(int index, const QString &text)
{
    if (kFields[index].maxLength > 0)
        SetTextWithinLimit(m_fields[size_t(index)], text, kFields[index].maxLength);
    else
        m_fields[size_t(index)]->setText(text);
}

void EntryDialog::clearFields()
{
    for (int i = 0; i < FieldCount; ++i)
        setField(i, QString());
}

void EntryDialog::Commit()
{
    if (m_mode != 1 && m_mode != 2)
        return;
    if (m_fields[0]->text().isEmpty()) {
        m_go->showNormal();
        MessageBoxes::Show(this, u"氏名は必ず入力して下さい。"_s, MsgIcon::Critical);
        m_fields[0]->setFocus(Qt::OtherFocusReason);
        return;
    }
    // What the address file or the clipboard could not carry never gets in.
    // A value the entry already holds passes: it came from the file, and
    // refusing it would block every change to the entry's other fields.
    for (int i = 0; i < FieldCount; ++i) {
        const QString text = m_fields[size_t(i)]->text();
        if (m_mode == 1 && text == m_loaded[size_t(i)])
            continue;
        const QString problem = TypedValueProblem(text, FieldCaptions()[size_t(i)]);
        if (!problem.isEmpty()) {
            m_go->showNormal();
            MessageBoxes::Show(this, problem, MsgIcon::Critical);
            m_fields[size_t(i)]->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    try {
        if (m_mode == 1)
            commitChange();
        else
            commitAdd();
    } catch (const AppError &e) {
        MessageBoxes::ReportError(this, e.description());
    }
}

void EntryDialog::commitChange()
{
    BookDocument &document = m_main.document();
    const int row = m_main.listView()->currentRow();
    if (row < 0)
        throw AppError(u"修正する項目が選択されていません。"_s);
    BookDocument::Step step(document, u"修正"_s);
    document.SetRecordFields(row + 1, typedRecord());
    document.MarkItem(row + 1, false);
    accept();
    m_main.focusList();
}

void EntryDialog::commitAdd()
{
    BookDocument &document = m_main.document();
    AddressListView *list = m_main.listView();

    const int count = document.Count();
    const int selected = list->currentRow();
    int before = -1;
    qint32 markedIndex = 1;
    if (count > 0 && !m_atEnd->isChecked()) {
        if (selected < 0)
            throw AppError(u"追加する位置の項目が選択されていません。"_s);
        before = selected + 1;
        markedIndex = before + 1;   // the selected entry moves down one place
    } else if (count > 0) {
        markedIndex = selected >= 0 ? selected + 1 : document.MarkedIndex();
    }
    document.OpenBook().CheckRoomForOne();   // before a key is taken
    BookDocument::Step step(document, u"追加"_s);
    const QString key = document.NextRecordKey();
    const int position = document.AddRecord(typedRecord(), before, key);
    document.SetMarkedIndex(markedIndex);
    list->setCurrentRow(position - 1);

    const bool continuous = m_continuous->isChecked();
    document.MarkItem(list->currentRow() + 1, false);
    if (continuous) {
        clearFields();
        m_fields[0]->setFocus(Qt::OtherFocusReason);
    } else {
        accept();
        m_main.focusList();
    }
}

Cls_住所 EntryDialog::typedRecord() const
{
    Cls_住所 values;
    for (int i = 0; i < FieldCount; ++i)
        values.field(Field(i)) = m_fields[size_t(i)]->text();
    return values;
}
