#include "mainwindow/main_status_bar.h"

#include "mainwindow/twips.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kBarHeight = 315;
constexpr int kClockPanelWidth = 2293;
constexpr int kKeyPanelWidth = 1764;
constexpr int kMsPerMinute = 60 * 1000;

enum PanelIndex { Text, Date, Time, Caps, Num, Insert };

// Watches the whole application for the moments a lock key may have changed.
class KeyEventWatch final : public QObject {
public:
    KeyEventWatch(QObject *parent, std::function<void()> onChange)
        : QObject(parent), m_onChange(std::move(onChange))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::WindowActivate:
        case QEvent::ApplicationStateChange:
            m_onChange();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onChange;
};

// A path as it fits in room pixels: the folders give way in the middle and
// the file name stays whole while it fits at all; any other text loses its middle.
QString FitPath(const QString &text, const QFontMetrics &metrics, int room)
{
    if (metrics.horizontalAdvance(text) <= room)
        return text;
    const qsizetype slash = text.lastIndexOf(u'/');
    if (slash >= 0) {
        const QString name = text.mid(slash);
        const int left = room - metrics.horizontalAdvance(name);
        if (left >= metrics.horizontalAdvance(u"…"_s))
            return metrics.elidedText(text.left(slash), Qt::ElideMiddle, left) + name;
    }
    return metrics.elidedText(text, Qt::ElideMiddle, room);
}

} // namespace

void WhiteProgressBar(QProgressBar *bar)
{
    if (!bar)
        return;
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Window, Qt::white);
    bar->setPalette(pal);
}

MainStatusBar::MainStatusBar(QWidget *parent) : QStatusBar(parent), m_reader(ReadKeyLockState)
{
    setObjectName(u"StatusBar1"_s);
    setSizeGripEnabled(false);
    setFixedHeight(TwipsToPixels(kBarHeight));

    static const QString captions[] = {QString(), QString(), QString(), u"CAPS"_s, u"NUM"_s, u"INS"_s};
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(captions[i], this);
        label->setObjectName(u"Panel(%1)"_s.arg(i + 1));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // A file name is shown as it is, never as markup.
        label->setTextFormat(Qt::PlainText);
        m_panels[i] = label;
    }

    QLabel *text = m_panels[Text];
    text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long path is cut off instead of widening the window.
    text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(text, 1);
    for (int i = Date; i <= Insert; ++i) {
        m_panels[i]->setAlignment(Qt::AlignCenter);
        m_panels[i]->setFixedWidth(TwipsToPixels(i <= Time ? kClockPanelWidth : kKeyPanelWidth));
        addPermanentWidget(m_panels[i]);
    }

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"Pr_SI"_s);
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_progress->raise();
    text->installEventFilter(this);
    placeProgress();

    m_insert = new InsertKeyToggle(this);
    showLit(Insert, m_insert->isOn());
    connect(m_insert, &InsertKeyToggle::changed, this, [this](bool on) { showLit(Insert, on); });
    qApp->installEventFilter(m_insert);

    m_keyRefresh = new QTimer(this);
    m_keyRefresh->setSingleShot(true);
    m_keyRefresh->setInterval(0);
    connect(m_keyRefresh, &QTimer::timeout, this, &MainStatusBar::refreshKeyStates);
    m_keyWatch = new KeyEventWatch(this, [this] {
        if (!m_keyRefresh->isActive())
            m_keyRefresh->start();
    });
    qApp->installEventFilter(m_keyWatch);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(u"clockTimer"_s);
    m_clockTimer->setSingleShot(true);
    m_clockTimer->setTimerType(Qt::PreciseTimer);
    connect(m_clockTimer, &QTimer::timeout, this, &MainStatusBar::refreshClock);

    // The lock can change while another program has the keyboard; the clock can
    // jump (date set by hand, resume from suspend).
    m_pollTimer = new QTimer(this);
    m_pollTimer->setObjectName(u"keyStatePoll"_s);
    m_pollTimer->setInterval(1000);
    connect(m_pollTimer, &QTimer::timeout, this, &MainStatusBar::poll);
    m_pollTimer->start();

    refreshClock();
    refreshKeyStates();
}

MainStatusBar::~MainStatusBar()
{
    if (qApp) {
        qApp->removeEventFilter(m_keyWatch);
        qApp->removeEventFilter(m_insert);
    }
}

void MainStatusBar::setPanelText(const QString &text)
{
    m_panelText = text;
    showPanelText();
}

QString MainStatusBar::panelText() const { return m_panelText; }

void MainStatusBar::showPanelText()
{
    QLabel *panel = m_panels[Text];
    // The label indents its text by half an "x" inside a frame.
    const int indent = panel->indent() >= 0 ? panel->indent()
                       : panel->frameWidth() > 0 ? panel->fontMetrics().horizontalAdvance(u'x') / 2
                                                 : 0;
    const int room = panel->contentsRect().width() - 2 * panel->margin() - indent;
    const QString shown = FitPath(m_panelText, panel->fontMetrics(), std::max(0, room));
    panel->setText(shown);
    panel->setToolTip(shown == m_panelText ? QString() : m_panelText);
}

void MainStatusBar::setKeyStateReader(KeyStateReader reader)
{
    m_reader = reader ? std::move(reader) : KeyStateReader(ReadKeyLockState);
    refreshKeyStates();
}

void MainStatusBar::refreshKeyStates()
{
    const KeyLockState state = m_reader();
    showLit(Caps, state.caps.value_or(false));
    showLit(Num, state.num.value_or(false));
}

// Only the caption greys; the panel stays enabled so its inset frame keeps its
// colours (a disabled frame fades with the style's disabled palette).
void MainStatusBar::showLit(int index, bool lit)
{
    m_lit[index] = lit;
    const QColor colour = palette().color(lit ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    QPalette pal; // only the caption colour is the panel's own; the rest follows the bar
    pal.setColor(QPalette::Active, QPalette::WindowText, colour);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    m_panels[index]->setPalette(pal);
}

void MainStatusBar::changeEvent(QEvent *event)
{
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_panels[Insert]) {
        for (int i = Caps; i <= Insert; ++i)
            showLit(i, m_lit[i]);
    }
}

QString MainStatusBar::DateText(const QDate &date) { return date.toString(u"yyyy/MM/dd"); }

QString MainStatusBar::TimeText(const QTime &time) { return time.toString(u"H:mm"); }

void MainStatusBar::refreshClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_panels[Date]->setText(DateText(now.date()));
    m_panels[Time]->setText(TimeText(now.time()));
    // Re-armed at each minute boundary so the time shown never lags behind.
    m_clockTimer->start(kMsPerMinute - now.time().msecsSinceStartOfDay() % kMsPerMinute);
}

void MainStatusBar::poll()
{
    refreshKeyStates();
    const QDateTime now = QDateTime::currentDateTime();
    if (m_panels[Date]->text() != DateText(now.date()) || m_panels[Time]->text() != TimeText(now.time()))
        refreshClock();
}

void MainStatusBar::placeProgress()
{
    const QRect panel = m_panels[Text]->geometry();
    m_progress->setGeometry(panel.left(), 0, panel.width(), qMax(0, height() - 3));
}

bool MainStatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panels[Text] && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        placeProgress();
        if (event->type() == QEvent::Resize)
            showPanelText();
    }
    return QStatusBar::eventFilter(watched, event);
}

void MainStatusBar::resizeEvent(QResizeEvent *event)
{
    QStatusBar::resizeEvent(event);
    placeProgress();
}
