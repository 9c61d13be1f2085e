#pragma once

// A book, its print job and a recording surface for the printout tests.

#include "model/book_document.h"
#include "model/record_keys.h"
#include "print/print_job.h"
#include "print/print_run_state.h"
#include "print/printouts.h"
#include "print/recording_surface.h"
#include "print/surface_font.h"
#include "settings/app_settings.h"

#include <QFontMetricsF>

namespace print_fixture {

using namespace Qt::Literals::StringLiterals;

// Cancels at the chosen call of PumpEvents (1-based), as the cancel button does.
class FakeProgress : public PrintProgress {
public:
    explicit FakeProgress(PrintRunState &run) : m_run(run) {}
    void SetStatus(const QString &text) override { statuses << text; }
    void SetValue(int value) override { values << value; }
    void PumpEvents() override
    {
        if (++pumps == cancelAtPump)
            m_run.PrintCancelled = true;
    }

    QStringList statuses;
    QList<int> values;
    int pumps = 0;
    int cancelAtPump = 0;

private:
    PrintRunState &m_run;
};

class FakeEntries : public PrintEntries {
public:
    int Count() const override { return int(keys.size()); }
    qint32 KeyNumber(int index) const override { return keys.at(index); }
    QList<qint32> keys;
};

inline QString NameOf(int n) { return u"山田 太郎%1"_s.arg(n); }

// A book of count entries under the keys s1..sN, all of them to be printed.
struct Fixture {
    explicit Fixture(int count, bool printer = true, int scaleMode = ScaleTwips) : surface(printer, scaleMode)
    {
        settings.PrintFontName = {u"ＭＳ ゴシック"_s, u"ＭＳ 明朝"_s, u"ＭＳ Ｐゴシック"_s, u"ＭＳ 明朝"_s};
        document.SetBookFileName(u"/home/user/住所録.csv"_s);
        auto book = std::make_unique<Cls_管理>();
        for (int n = 1; n <= count; ++n) {
            book->Add(NameOf(n), u"03-1234-%1"_s.arg(n), u"taro%1@example.jp"_s.arg(n),
                      u"100-%1"_s.arg(n, 4, 10, QLatin1Char('0')), u"東京都千代田区%1丁目"_s.arg(n),
                      u"ゆざりぼ荘%1号"_s.arg(n), u"メモ%1"_s.arg(n), book.get(), -1, MakeRecordKey(n));
            entries.keys << n;
        }
        document.ReplaceBook(std::move(book), count);
    }

    void run(int kind, int previewFlag = 0)
    {
        job.pages = previewFlag == 1 ? &pages : nullptr;
        RunKindPrintout(kind, &surface, job, previewFlag);
    }

    // Pages as drawn: the printer's pages, or the preview's page surfaces.
    QList<QList<RecordedOp>> drawnPages() const
    {
        QList<QList<RecordedOp>> out;
        if (surface.IsPrinter()) {
            for (const RecordedOp &o : surface.ops) {
                while (out.size() < o.page)
                    out.append(QList<RecordedOp>());
                if (o.kind != RecordedOp::NewPage)
                    out[o.page - 1].append(o);
            }
        } else {
            out.append(surface.ops);
            for (const auto &page : pages.pages)
                out.append(page->ops);
        }
        return out;
    }

    BookDocument document;
    SettingsRecord settings;
    PrintRunState flags;
    FakeProgress progress{flags};
    FakeEntries entries;
    RecordingSurface surface;
    RecordingPages pages{surface};
    QStringList failures;
    PrintJob job{document, settings, flags, progress, entries, nullptr, [this](const QString &d) { failures << d; },
                 QDate(2002, 3, 5)};
};

inline QList<RecordedOp> ofKind(const QList<RecordedOp> &ops, RecordedOp::Kind kind)
{
    QList<RecordedOp> out;
    for (const RecordedOp &o : ops)
        if (o.kind == kind)
            out.append(o);
    return out;
}

inline int countKind(const QList<RecordedOp> &ops, RecordedOp::Kind kind) { return int(ofKind(ops, kind).size()); }

inline const RecordedOp *findText(const QList<RecordedOp> &ops, const QString &text)
{
    for (const RecordedOp &o : ops)
        if (o.kind == RecordedOp::Text && o.text == text)
            return &o;
    return nullptr;
}

// The width of text in font, in twips.
inline double widthOf(const QString &text, const PrintFont &font)
{
    return QFontMetricsF(SurfaceQFont(font)).horizontalAdvance(text);
}

} // namespace print_fixture
