#include "importexport/import_preview_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "importexport/import_preview_model.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QRadioButton>
#include <QTableView>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 13620;    // twips
constexpr int kHeight = 10305;

// The heading and the words before the two choices are lettered on the background.
const TwipsPlace kLayout[] = {
    {u"lbl_概要", 210, 760, 13080, 520},
    {u"lst_取込", 210, 1320, 13080, 4440},
    {u"lbl_問題", 210, 5820, 13080, 300},
    {u"lst_問題", 210, 6150, 13080, 1950},
    {u"opt_位置(0)", 1650, 8340, 3300, 300},
    {u"opt_位置(1)", 5100, 8340, 2400, 300},
    {u"opt_問題(0)", 1650, 8730, 3300, 300},
    {u"opt_問題(1)", 5100, 8730, 7800, 300},
    {u"lbl_件数", 1860, 9240, 9540, 450},
    {u"cmd_閉じる", 210, 9240, 1500, 450},
    {u"cmd_Go", 11580, 9240, 1650, 450},
};

// Column widths of the table, in pixels: check, the seven fields, the note.
const int kColumnWidths[] = {44, 120, 110, 150, 80, 200, 140, 120};

// "2件目以降の電話番号（12人）、写真（3人）".
QString DroppedSummary(const std::vector<ImportedContact> &contacts)
{
    QMap<QString, int> counts;
    QStringList order;
    for (const ImportedContact &c : contacts) {
        for (const QString &item : c.dropped) {
            if (!counts.contains(item))
                order << item;
            ++counts[item];
        }
    }
    QStringList parts;
    for (const QString &item : std::as_const(order))
        parts << u"%1（%2人）"_s.arg(item).arg(counts.value(item));
    return parts.join(u'、');
}

} // namespace

ImportPreviewDialog *ImportPreviewDialog::Open(QWidget *owner, std::vector<ImportedContact> contacts,
                                               const ImportOrigin &origin, const Cls_管理 &book, bool canInsertBefore,
                                               Apply apply)
{
    return ShowApplicationModal(
        new ImportPreviewDialog(owner, std::move(contacts), origin, book, canInsertBefore, std::move(apply)));
}

ImportPreviewDialog::ImportPreviewDialog(QWidget *owner, std::vector<ImportedContact> contacts,
                                         const ImportOrigin &origin, const Cls_管理 &book, bool canInsertBefore,
                                         Apply apply)
    : PictureDialog(owner,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                        | Qt::MSWindowsFixedSizeDialogHint,
                    u":/import/preview_background.svg"_s),
      m_apply(std::move(apply))
{
    setObjectName(u"F_取込確認"_s);
    setWindowTitle(u"インポート（確認）"_s);
    setFont(DesignFont(DialogFace, 10.5));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    // What is special about each contact, found before anything is shown.
    m_issues = FindImportIssues(contacts);
    std::vector<int> problems(contacts.size());
    for (const ImportIssue &issue : m_issues)
        ++problems[size_t(issue.contact)];
    const DuplicateFinder finder(book);
    std::vector<char> duplicates(contacts.size());
    int duplicateCount = 0;
    for (size_t i = 0; i < contacts.size(); ++i) {
        duplicates[i] = finder.IsProbableDuplicate(contacts[i]);
        duplicateCount += duplicates[i];
    }
    const QString dropped = DroppedSummary(contacts);
    const int total = int(contacts.size());
    m_model = new ImportPreviewModel(std::move(contacts), std::move(duplicates), std::move(problems), this);

    QStringList summary;
    summary << u"「%1」（%2）から %3件を読み取りました。"_s.arg(origin.fileName, origin.format).arg(total);
    if (origin.unreadableCards > 0)
        summary << u"%1件のカードを読み取れませんでした。"_s.arg(origin.unreadableCards);
    if (duplicateCount > 0)
        summary << u"住所録にある人と重複している可能性のある%1件は、チェックを外してあります（黄色）。"_s.arg(duplicateCount);
    if (!dropped.isEmpty())
        summary << u"住所録に入らないため取り込まない項目：%1。"_s.arg(dropped);
    auto *summaryLabel = new QLabel(summary.join(QString()), this);
    summaryLabel->setObjectName(u"lbl_概要"_s);
    summaryLabel->setWordWrap(true);
    summaryLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_table = new QTableView(this);
    m_table->setObjectName(u"lst_取込"_s);
    m_table->setAccessibleName(u"取り込む人"_s);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int c = 0; c < int(std::size(kColumnWidths)); ++c)
        m_table->setColumnWidth(c, kColumnWidths[c]);
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto *problemsCaption = new QLabel(this);
    problemsCaption->setObjectName(u"lbl_問題"_s);
    problemsCaption->setText(m_issues.empty() ? u"住所録に保存できない文字などはありません。"_s
                                              : u"住所録にそのまま保存できないもの（%1件・赤色の人）："_s.arg(m_issues.size()));
    m_problems = new QListWidget(this);
    m_problems->setObjectName(u"lst_問題"_s);
    m_problems->setUniformItemSizes(true);
    for (const ImportIssue &issue : m_issues) {
        const ImportedContact &c = m_model->contacts()[size_t(issue.contact)];
        auto *item = new QListWidgetItem(u"%1. %2 … %3%4"_s.arg(issue.contact + 1).arg(c.name, issue.description,
                                                                  issue.kind == ImportIssue::Length
                                                                      ? u"（取り込むときは、そのまま保存します）"_s
                                                                      : QString()),
                                         m_problems);
        item->setData(Qt::UserRole, issue.contact);
    }
    // A problem picked shows its contact.
    connect(m_problems, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item)
            m_table->selectRow(item->data(Qt::UserRole).toInt());
    });

    auto addOption = [this](const QString &name, const QString &text, QButtonGroup *group) {
        auto *option = new QRadioButton(text, this);
        option->setObjectName(name);
        group->addButton(option);
        return option;
    };
    auto *where = new QButtonGroup(this);
    m_before = addOption(u"opt_位置(0)"_s, u"選択している人の前"_s, where);
    m_atEnd = addOption(u"opt_位置(1)"_s, u"最後"_s, where);
    m_before->setEnabled(canInsertBefore);
    (canInsertBefore ? m_before : m_atEnd)->setChecked(true);
    auto *problemChoice = new QButtonGroup(this);
    m_skipProblems = addOption(u"opt_問題(0)"_s, u"取り込まない"_s, problemChoice);
    m_replace = addOption(u"opt_問題(1)"_s, u"保存できない文字を「〓」に置き換えて取り込む"_s, problemChoice);
    m_skipProblems->setChecked(true);
    for (QRadioButton *option : {m_skipProblems, m_replace})
        option->setEnabled(!m_issues.empty());

    m_count = new QLabel(this);
    m_count->setObjectName(u"lbl_件数"_s);
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *close = addPictureButton(u"cmd_閉じる"_s, u":/print/close"_s, u"閉じる"_s);
    m_go = addPictureButton(u"cmd_Go"_s, u":/import/import"_s, u"取り込む"_s, true);
    placeControls(kLayout);
    QWidget *order[] = {m_table, m_problems, m_before, m_atEnd, m_skipProblems, m_replace, m_go, close};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_model, &ImportPreviewModel::takenChanged, this, &ImportPreviewDialog::showCount);
    connect(problemChoice, &QButtonGroup::buttonToggled, this, &ImportPreviewDialog::showCount);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_go, &QPushButton::clicked, this, &ImportPreviewDialog::Go);
    TintInputControls(this);
    showCount();
    m_table->setFocus();
}

std::vector<ImportedContact> ImportPreviewDialog::Chosen() const
{
    const bool replace = m_replace->isChecked();
    std::vector<char> withProblems(m_model->contacts().size());
    for (const ImportIssue &issue : m_issues)
        withProblems[size_t(issue.contact)] = 1;
    std::vector<ImportedContact> chosen;
    for (int i = 0; i < m_model->rowCount(); ++i) {
        if (!m_model->isTaken(i))
            continue;
        const ImportedContact &contact = m_model->contacts()[size_t(i)];
        if (!withProblems[size_t(i)])
            chosen.push_back(contact);
        else if (replace)
            chosen.push_back(ReplaceUnstorable(contact));
    }
    return chosen;
}

void ImportPreviewDialog::showCount()
{
    const int n = int(Chosen().size());
    m_count->setText(u"%1件を取り込みます。"_s.arg(n));
    m_go->setActive(n > 0);
}

void ImportPreviewDialog::Go()
{
    const std::vector<ImportedContact> chosen = Chosen();
    if (chosen.empty())
        return;
    if (m_apply && !m_apply(chosen, m_atEnd->isChecked(), this))
        return;
    accept();
}
