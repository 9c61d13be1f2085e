#include "print/printouts.h"

#include "model/app_error.h"
#include "model/book_document.h"
#include "model/honorific.h"
#include "model/record_keys.h"
#include "print/print_run_state.h"
#include "print/print_surface.h"
#include "print/printout_kinds.h"
#include "settings/app_settings.h"

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

void ReportFailure(PrintJob &job, const QString &description)
{
    if (job.reportFailure)
        job.reportFailure(description);
}

// Nothing of a failed job may reach the paper; abandoning it must not fail
// the report in turn.
void AbandonJob(PrintSurface &surface)
{
    if (!surface.IsPrinter())
        return;
    try {
        surface.KillDoc();
    } catch (const std::exception &) {
    }
}

} // namespace

QString FailureDescription(const std::exception &e)
{
    if (const auto *appError = dynamic_cast<const AppError *>(&e))
        return appError->description();
    return QString::fromLocal8Bit(e.what());
}

std::function<void(const QString &)> ReportEachFailureOnce(std::function<void(const QString &)> report)
{
    auto reported = std::make_shared<QStringList>();
    return [reported, report = std::move(report)](const QString &description) {
        if (reported->contains(description))
            return;
        reported->append(description);
        if (report)
            report(description);
    };
}

void DrawTrapped(PrintSurface &surface, PrintJob &job, const std::function<void()> &draw)
{
    try {
        draw();
    } catch (const std::exception &e) {
        AbandonJob(surface);
        ReportFailure(job, FailureDescription(e));
    }
}

QString PrintDate(const QDate &date)
{
    return u"%1年%2月%3日"_s.arg(date.year()).arg(date.month()).arg(date.day());
}

void SetPrintFont(PrintSurface &surface, PrintJob &job, int kind, bool bold, double size)
{
    DrawTrapped(surface, job, [&] {
        const auto &names = job.settings.PrintFontName;
        if (kind < 1 || kind > int(names.size()))
            throw AppError(u"印刷の種類 %1 には印刷フォントがありません。"_s.arg(kind));
        surface.Font.Bold = bold;
        surface.Font.Italic = false;
        surface.Font.Name = names[size_t(kind - 1)];
        surface.Font.Size = size;
    });
}

void DrawPageHeader(PrintSurface &surface, PrintJob &job, int kind, int pageNumber)
{
    DrawTrapped(surface, job, [&] {
        const PrintoutKind *row = FindPrintoutKind(kind);
        if (!row || !row->header)
            throw AppError(u"印刷の種類 %1 には見出しがありません。"_s.arg(kind));
        const PageHeaderLayout &layout = *row->header;
        SetPrintFont(surface, job, kind, true, 12);
        surface.CurrentX = layout.titleX;
        surface.CurrentY = 200;
        surface.PrintText(layout.title);
        // The smaller text stands on the title's line, right after it.
        surface.CurrentY = 230;
        surface.Font.Size = 10;
        surface.PrintText(u"  ファイル名は【"_s + job.document.BookFileName() + u"】"_s);
        surface.PrintLine(u"   "_s + PrintDate(job.today) + layout.dateSuffix);
        surface.CurrentX = layout.pageNumberAt.x();
        surface.CurrentY = layout.pageNumberAt.y();
        surface.PrintLine(u"-%1-"_s.arg(pageNumber));
    });
}

const Cls_住所 &PrintEntryRecord(const PrintJob &job, int index)
{
    const QString key = MakeRecordKey(job.entries.KeyNumber(index));
    const Cls_管理 &book = job.document.OpenBook();
    if (!book.Contains(key))
        throw AppError(u"印刷する %1 番目の項目が住所録にありません。\n"
                       u"住所録が変わったため印刷を中止しました。"_s.arg(index + 1));
    return book.Item(key);
}

void DrawBandedFrame(PrintSurface &surface, double x, double y, double width, double height, double bandHeight)
{
    surface.CurrentX = x;
    surface.CurrentY = y;
    surface.DrawWidth = 5;
    surface.Box(x, y, width, height);
    surface.FillStyle = FillCrossHatch;
    surface.FillColor = QColor(149, 144, 144);
    surface.Box(x, y, width, bandHeight);
    surface.FillStyle = FillTransparent;
}

void DrawCompletingRules(PrintoutRun &run, double x, double width, double tableTop, double rowPitch,
                         int usedRows, int rowCount)
{
    PrintSurface &page = run.Surface();
    for (int f = usedRows + 1; f <= rowCount; ++f) {
        if (run.Cancelled())
            break;
        SetRowRulePen(page, f);
        page.CurrentY = tableTop + rowPitch * f;
        page.Line(x, page.CurrentY, width, 0);
    }
}

void SetRowRulePen(PrintSurface &surface, int rowNumber)
{
    if (rowNumber % 5 == 0) {
        surface.DrawWidth = 2;
        surface.DrawStyle = DrawStyleSolid;
    } else {
        surface.DrawWidth = 1;
        surface.DrawStyle = DrawStyleDotted;
    }
}

QString RecipientHonorific(const SettingsRecord &settings, const QString &name)
{
    const HonorificMode mode = HonorificModeFromNumber(settings.Honorific);
    // A label without a name has always shown its 様 alone; kept, so a
    // sheet's layout does not change with the entries.
    if (name.trimmed().isEmpty())
        return mode == HonorificMode::None ? QString() : mode == HonorificMode::Auto ? u"様"_s : HonorificModeCaption(mode);
    return HonorificFor(name, mode);
}

QPointF PrintOffsetMm(const SettingsRecord &settings, int kind)
{
    if (kind < 1 || kind > 4)
        return {};
    return QPointF(settings.PrintOffsetX[size_t(kind - 1)], settings.PrintOffsetY[size_t(kind - 1)]) / 10.0;
}

PrintoutRun::PrintoutRun(PrintSurface *surface, PrintJob &job, int previewFlag, int kind)
    : m_surface(surface), m_job(job), m_previewFlag(previewFlag), m_kind(*FindPrintoutKind(kind))
{
    // The user's adjustment of this printout, on paper and in the preview alike.
    m_surface->SetOffsetMm(PrintOffsetMm(job.settings, kind));
}

void PrintoutRun::SetUpPaper()
{
    m_job.progress.SetValue(2);
    m_job.progress.SetStatus(u"用紙設定中..."_s);
    if (m_previewFlag == 0) {
        const KindPaper paper = PaperOfRun(m_kind, m_job.run.Labels);
        // A card is drawn in millimetres on whatever page the printer gives,
        // so a setting the printer refuses for the user-defined paper does
        // not stop the run; A4 it must take.
        const bool tolerant = paper.paperSize == PaperUser;
        const auto step = [tolerant](const std::function<void()> &set) {
            try {
                set();
            } catch (const std::exception &) {
                if (!tolerant)
                    throw;
            }
        };
        step([&] { m_surface->SetScaleMode(paper.scaleMode); });
        if (paper.paperSize == PaperUser)
            m_surface->SetUserPaperSize(paper.widthTwips, paper.heightTwips);
        step([&] { m_surface->SetPaperSize(paper.paperSize); });
        // A landscape list printed before must not turn a portrait page.
        step([&] { m_surface->SetOrientation(paper.orientation); });
        step([&] { m_surface->SetPrintQuality(QualityHigh); });
    }
    m_page = 1;
    m_job.run.PreviewPageCount = 1;
}

void PrintoutRun::ShowPrinting()
{
    m_job.progress.SetStatus(m_previewFlag == 0 ? u"印刷中です..."_s : u"プレビュー中です..."_s);
}

bool PrintoutRun::Cancelled()
{
    m_job.progress.PumpEvents();
    return m_job.run.PrintCancelled;
}

void PrintoutRun::StartNewPage()
{
    if (m_previewFlag == 0)
        m_surface->NewPage();
    ++m_page;
    if (m_previewFlag == 1) {
        if (!m_job.pages)
            throw AppError(u"プレビューのページを追加できません。"_s);
        PrintSurface &next = m_job.pages->AddPage(m_page - 1);
        // Like a printer page, the new page goes on with the drawing state.
        next.CurrentX = m_surface->CurrentX;
        next.CurrentY = m_surface->CurrentY;
        next.Font = m_surface->Font;
        next.DrawWidth = m_surface->DrawWidth;
        next.DrawStyle = m_surface->DrawStyle;
        next.FillStyle = m_surface->FillStyle;
        next.FillColor = m_surface->FillColor;
        next.SetOffsetMm(m_surface->OffsetMm());
        m_surface = &next;
        m_job.run.PreviewPageCount = qint16(m_page);
    }
}

void PrintoutRun::Finish()
{
    if (m_previewFlag != 0)
        return;
    if (m_job.run.PrintCancelled)
        m_surface->KillDoc();
    else
        m_surface->EndDoc();
}

void PrintoutRun::Fail(const std::exception &e)
{
    AbandonJob(*m_surface);
    ReportFailure(m_job, FailureDescription(e));
}

void RunKindPrintout(int kind, PrintSurface *surface, PrintJob &job, int previewFlag)
{
    // A kind without a printout prints nothing.
    if (const PrintoutKind *row = FindPrintoutKind(kind))
        row->print(surface, job, previewFlag);
}
