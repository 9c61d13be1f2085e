#include "print/printouts.h"

#include "model/app_error.h"
#include "model/app_state.h"
#include "model/record_keys.h"
#include "print/print_surface.h"

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

struct HeaderLayout {
    QString title;
    double titleX;
    QString dateSuffix;
    QPointF pageNumberAt;
};

HeaderLayout HeaderFor(int kind)
{
    switch (kind) {
    case 1: {
        // Centred under the table frame.
        constexpr int frameWidth = 15500, frameHeight = 10350;
        return {u"住所録一覧表"_s, 300, u" 発行"_s, QPointF((frameWidth - 300) / 2 + 300, frameHeight + 750)};
    }
    case 2:
        return {u"宛名ラベル"_s, 400, u" 発行"_s, QPointF(5590, 15800)};
    case 3:
        return {u"電話番号一覧表"_s, 400, u"\u3000発行"_s, QPointF(7440, 11100)};
    default:
        throw AppError(u"印刷の種類 %1 には見出しがありません。"_s.arg(kind));
    }
}

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
        const auto &names = job.state.AppSettings.PrintFontName;
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
        const HeaderLayout layout = HeaderFor(kind);
        SetPrintFont(surface, job, kind, true, 12);
        surface.CurrentX = layout.titleX;
        surface.CurrentY = 200;
        surface.PrintText(layout.title);
        // The smaller text stands on the title's line, right after it.
        surface.CurrentY = 230;
        surface.Font.Size = 10;
        surface.PrintText(u"  ファイル名は【"_s + job.state.BookFileName + u"】"_s);
        surface.PrintLine(u"   "_s + PrintDate(job.today) + layout.dateSuffix);
        surface.CurrentX = layout.pageNumberAt.x();
        surface.CurrentY = layout.pageNumberAt.y();
        surface.PrintLine(u"-%1-"_s.arg(pageNumber));
    });
}

const Cls_住所 &PrintEntryRecord(const PrintJob &job, int index)
{
    const QString key = MakeRecordKey(job.entries.KeyNumber(index));
    if (!job.state.OpenBook->Contains(key))
        throw AppError(u"印刷する %1 番目の項目が住所録にありません。\n"
                       u"住所録が変わったため印刷を中止しました。"_s.arg(index + 1));
    return job.state.OpenBook->Item(key);
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

PrintoutRun::PrintoutRun(PrintSurface *surface, PrintJob &job, int previewFlag)
    : m_surface(surface), m_job(job), m_previewFlag(previewFlag)
{
}

void PrintoutRun::SetUpPaper(int orientation)
{
    m_job.progress.SetValue(2);
    m_job.progress.SetStatus(u"用紙設定中..."_s);
    if (m_previewFlag == 0) {
        m_surface->SetScaleMode(ScaleTwips);
        m_surface->SetPaperSize(PaperA4);
        m_surface->SetOrientation(orientation);
        m_surface->SetPrintQuality(QualityHigh);
    }
    m_page = 1;
    m_job.state.PreviewPageCount = 1;
}

void PrintoutRun::SetUpPostcard()
{
    m_job.progress.SetValue(2);
    m_job.progress.SetStatus(u"用紙設定中..."_s);
    if (m_previewFlag == 0) {
        // The cards are drawn in millimetres on whatever page the printer
        // gives, so a setting it refuses does not stop the run.
        const auto ignoringFailure = [](const std::function<void()> &step) {
            try {
                step();
            } catch (const std::exception &) {
            }
        };
        ignoringFailure([this] { m_surface->SetScaleMode(ScaleMillimetres); });
        ignoringFailure([this] { m_surface->SetPaperSize(PaperUser); });
        // A landscape list printed before must not turn the card.
        ignoringFailure([this] { m_surface->SetOrientation(OrientationPortrait); });
        ignoringFailure([this] { m_surface->SetPrintQuality(QualityHigh); });
    }
    m_page = 1;
    m_job.state.PreviewPageCount = 1;
}

void PrintoutRun::ShowPrinting()
{
    m_job.progress.SetStatus(m_previewFlag == 0 ? u"印刷中です..."_s : u"プレビュー中です..."_s);
}

bool PrintoutRun::Cancelled()
{
    m_job.progress.PumpEvents();
    return m_job.state.PrintCancelled;
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
        m_surface = &next;
        m_job.state.PreviewPageCount = qint16(m_page);
    }
}

void PrintoutRun::Finish()
{
    if (m_previewFlag != 0)
        return;
    if (m_job.state.PrintCancelled)
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
    switch (kind) {
    case 1:
        PrintAddressList(surface, job, previewFlag);
        break;
    case 2:
        PrintAddressLabels(surface, job, previewFlag);
        break;
    case 3:
        PrintPhoneList(surface, job, previewFlag);
        break;
    case 4:
        PrintPostcards(surface, job, previewFlag);
        break;
    default:
        break;   // a kind without a printout prints nothing
    }
}
