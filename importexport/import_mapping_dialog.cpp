#include "importexport/import_mapping_dialog.h"

#include "entry/input_helpers.h"
#include "entry/picture_button.h"
#include "mainwindow/app_fonts.h"
#include "mainwindow/message_box.h"
#include "mainwindow/twips.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's outer size, frame and caption bar included.
constexpr int kWidth = 9420;    // twips
constexpr int kHeight = 7455;

// The heading is lettered on the background.
const TwipsPlace kLayout[] = {
    {u"lbl_形式", 210, 800, 8880, 360},
    {u"lst_列", 210, 1230, 8880, 5100},
    {u"lbl_説明", 1860, 6480, 5580, 450},
    {u"cmd_閉じる", 210, 6480, 1500, 450},
    {u"cmd_Go", 7590, 6480, 1500, 450},
};

// Rows looked at for a column's example value.
constexpr int kExampleRows = 50;

QString ExampleOf(const ImportCsvTable &table, int column)
{
    for (size_t r = 0; r < table.rows.size() && r < size_t(kExampleRows); ++r) {
        const QString value = table.rows[r].value(column).trimmed();
        if (!value.isEmpty())
            return value;
    }
    return {};
}

} // namespace

ImportMappingDialog *ImportMappingDialog::Open(QWidget *owner, const ImportCsvTable &table, const QString &fileName,
                                               Apply apply)
{
    return ShowApplicationModal(new ImportMappingDialog(owner, table, fileName, std::move(apply)));
}

ImportMappingDialog::ImportMappingDialog(QWidget *owner, const ImportCsvTable &table, const QString &fileName,
                                         Apply apply)
    : PictureDialog(owner,
                    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                        | Qt::MSWindowsFixedSizeDialogHint,
                    u":/import/mapping_background.svg"_s),
      m_guess(GuessImportMapping(table.header)), m_apply(std::move(apply))
{
    setObjectName(u"F_取込列"_s);
    setWindowTitle(u"インポート（CSVの列）"_s);
    setFont(DesignFont(DialogFace, 10.5));
    setFixedSize(TwipsClientSize(kWidth, kHeight));

    auto *format = new QLabel(this);
    format->setObjectName(u"lbl_形式"_s);
    format->setText(u"「%1」　%2・%3区切り・%4行"_s.arg(QFileInfo(fileName).fileName(), table.encodingName,
                                                     table.separator == u'\t' ? u"タブ"_s : u"カンマ"_s)
                        .arg(table.rows.size()));

    m_table = new QTableWidget(int(table.header.size()), 3, this);
    m_table->setObjectName(u"lst_列"_s);
    m_table->setHorizontalHeaderLabels({u"列の見出し"_s, u"例"_s, u"取り込み先"_s});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 12);
    m_table->setColumnWidth(0, 180);
    m_table->setColumnWidth(1, 200);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const std::vector<ImportTarget> &targets = ImportTargets();
    for (int c = 0; c < int(table.header.size()); ++c) {
        m_table->setItem(c, 0, new QTableWidgetItem(table.header[c]));
        m_table->setItem(c, 1, new QTableWidgetItem(ExampleOf(table, c)));
        auto *target = new QComboBox(m_table);
        target->setObjectName(u"cmb_取込先(%1)"_s.arg(c));
        target->setAccessibleName(u"「%1」の取り込み先"_s.arg(table.header[c]));
        for (const ImportTarget t : targets)
            target->addItem(ImportTargetCaption(t), int(t));
        const ImportColumn guessed = c < int(m_guess.size()) ? m_guess[size_t(c)] : ImportColumn{};
        target->setCurrentIndex(target->findData(int(guessed.target)));
        m_table->setCellWidget(c, 2, target);
        m_targets.push_back(target);
    }

    auto *note = new QLabel(u"取り込み先は変えられます。「%1」の列は使いません。"_s
                                .arg(ImportTargetCaption(ImportTarget::Ignore)),
                            this);
    note->setObjectName(u"lbl_説明"_s);
    note->setWordWrap(true);

    auto *close = addPictureButton(u"cmd_閉じる"_s, u":/print/close"_s, u"閉じる"_s);
    m_go = addPictureButton(u"cmd_Go"_s, u":/import/next"_s, u"次へ"_s, true);
    placeControls(kLayout);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_go, &QPushButton::clicked, this, &ImportMappingDialog::Go);
    TintInputControls(this);
    m_go->setFocus();
}

ImportMapping ImportMappingDialog::Mapping() const
{
    ImportMapping mapping;
    for (size_t c = 0; c < m_targets.size(); ++c) {
        const auto target = ImportTarget(m_targets[c]->currentData().toInt());
        // A column left as guessed keeps its place among several of a kind.
        const ImportColumn guessed = c < m_guess.size() ? m_guess[c] : ImportColumn{};
        mapping.push_back({target, target == guessed.target ? guessed.set : 1});
    }
    return mapping;
}

void ImportMappingDialog::Go()
{
    const ImportMapping mapping = Mapping();
    const bool any = std::any_of(mapping.begin(), mapping.end(),
                                 [](const ImportColumn &c) { return c.target != ImportTarget::Ignore; });
    if (!any) {
        MessageBoxes::Show(this, u"取り込む列がありません。どれかの列に取り込み先を選んで下さい。"_s,
                           MsgIcon::Exclamation);
        return;
    }
    accept();
    if (m_apply)
        m_apply(mapping);
}
