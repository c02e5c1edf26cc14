// Building the main window's controls. Views and frames are placed by MainWindowLayout.cpp; here they
// only get their contents, names, texts and looks.

#include "mainwindow/MainWindow.h"
#include "mainwindow/PauseBanner.h"

#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"
#include "mainwindow/ResultGridView.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "widgets/LedIndicator.h"
#include "widgets/StationIcons.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>

namespace {

// A status bar panel that shortens a text too long for it with "…" instead of cutting it off
// (a path keeps its file name); its text stays whole. A port number is shown after what it is
// the port of ("Probe: 1"); the text itself stays the number.
class ElidingPanel : public QLabel {
public:
    ElidingPanel(QWidget* parent, bool path, const QString& label = QString())
        : QLabel(parent)
        , path_(path)
        , label_(label)
    {}

    QSize sizeHint() const override
    {
        QSize size = QLabel::sizeHint();
        if (!text().isEmpty())
            size.rwidth() += fontMetrics().horizontalAdvance(label_);
        return size;
    }
    // A port's panel is read whole.
    QSize minimumSizeHint() const override { return label_.isEmpty() ? QLabel::minimumSizeHint() : sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect room = contentsRect();
        painter.drawText(room, static_cast<int>(alignment()), Shown(room.width()));
    }

private:
    // A path gives way from its folders first: "…/shift2.dif", then the name's middle.
    QString Shown(int width) const
    {
        const QFontMetrics metrics = fontMetrics();
        const QString whole = text().isEmpty() ? QString() : label_ + text();
        if (!path_ || metrics.horizontalAdvance(whole) <= width)
            return metrics.elidedText(whole, Qt::ElideRight, width);
        const qsizetype slash = whole.lastIndexOf(QLatin1Char('/'));
        const QString name = QStringLiteral("\u2026") + whole.mid(slash);
        if (slash >= 0 && metrics.horizontalAdvance(name) <= width)
            return name;
        return metrics.elidedText(whole.mid(slash + 1), Qt::ElideMiddle, width);
    }

    bool path_;
    QString label_;
};

// Designed heights, twips.
constexpr double kStatusFrameHeight = 1020;
constexpr double kDetailFramesHeight = 1380;

// Lamp colours: a lit lamp and its dim partner.
const QColor kLinkBright(40, 220, 60);
const QColor kLinkDark(20, 110, 30);
const QColor kError(230, 30, 30);
const QColor kTxActive(250, 200, 20);
const QColor kRxActive(40, 220, 60);
const QColor kIdle(120, 125, 120);
const QColor kHeld(240, 160, 20); // the link is paused, neither working nor lost

QLabel* NewLabel(QWidget* parent, const char* name, const char* tag, const char* text = "")
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    if (tag)
        label->setProperty("tag", QString::fromLatin1(tag));
    return label;
}

QLineEdit* NewValueBox(QWidget* parent, const char* name, bool readOnly = true)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(readOnly);
    // A box that only shows is no stop for Tab; its text can still be picked with the mouse.
    if (readOnly)
        box->setFocusPolicy(Qt::ClickFocus);
    box->setAlignment(Qt::AlignCenter);
    QFont font = box->font();
    font.setPointSizeF(font.pointSizeF() * 1.35);
    font.setBold(true);
    box->setFont(font);
    box->setMinimumWidth(40);
    return box;
}

QGroupBox* NewFrame(QWidget* parent, const char* name, const char* caption)
{
    auto* frame = new QGroupBox(QString::fromLatin1(caption), parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

QFrame* NewDivider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

void MainWindow::BuildControls()
{
    central_ = new QWidget(this);
    central_->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central_);

    statusFrame = BuildStatusFrame(central_);
    detailFrames_ = BuildDetailFrames(central_);

    gridModel_ = new ResultGridModel(this);
    resultGrid = new ResultGridView(central_);
    resultGrid->setObjectName(QStringLiteral("mfgResult"));
    resultGrid->setModel(gridModel_);
    resultGrid->verticalHeader()->hide();
    resultGrid->verticalHeader()->setDefaultSectionSize(resultGrid->fontMetrics().height() + 6);
    resultGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    resultGrid->setAlternatingRowColors(true);
    resultGrid->setWordWrap(false);
    // Whole rows, as the grid always scrolled: the top row is never cut.
    resultGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    terminalPane = new TerminalPane(central_);
    terminalPane->setObjectName(QStringLiteral("Terminal"));
    views_ = ResultViews{terminalPane, gridModel_, resultGrid};
    pauseBanner_ = new PauseBanner(central_);

    BuildStatusBar();
}

QToolButton* MainWindow::AddToolButton(QWidget* parent, const char* name, const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setIconSize(QSize(26, 26));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    if (parent->layout())
        parent->layout()->addWidget(button);
    return button;
}

QFrame* MainWindow::BuildStatusFrame(QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("FrameStatus"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFixedHeight(PxY(kStatusFrameHeight));

    auto* rows = new QVBoxLayout(frame);
    rows->setContentsMargins(6, 3, 6, 3);
    rows->setSpacing(2);
    auto* strip = new QWidget(frame);
    auto* line = new QHBoxLayout(strip);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(4);
    rows->addWidget(strip);

    // Link, Tx and Rx lamps: each spot holds the lamps that take turns on it.
    auto addLamp = [&](QLabel*& label, const char* name, const char* tag) -> IndicatorSpot* {
        label = NewLabel(strip, name, tag);
        line->addWidget(label);
        auto* spot = new IndicatorSpot(16, strip);
        line->addWidget(spot);
        line->addSpacing(8);
        return spot;
    };
    IndicatorSpot* link = addLamp(linkLabel, "LblLink", "1082");
    commLamp1 = link->AddLamp(QStringLiteral("CommLED1"), kLinkBright);
    commLamp2 = link->AddLamp(QStringLiteral("CommLED2"), kLinkDark);
    ErrLED = link->AddLamp(QStringLiteral("ErrLED"), kError);
    CommLEDHeld = link->AddLamp(QStringLiteral("CommLEDHeld"), kHeld);
    IndicatorSpot* tx = addLamp(txLabel, "LblTx", "1084");
    TxLED = tx->AddLamp(QStringLiteral("TxLED"), kTxActive);
    TxLED2 = tx->AddLamp(QStringLiteral("TxLED2"), kIdle);
    IndicatorSpot* rx = addLamp(rxLabel, "LblRx", "1083");
    RxLED = rx->AddLamp(QStringLiteral("RxLED"), kRxActive);
    RxLED2 = rx->AddLamp(QStringLiteral("RxLED2"), kIdle);

    // The pause control shows one of two pictures; PauseUp and PauseDn hold them.
    auto* pauseUp = NewLabel(strip, "PauseUp", nullptr);
    pauseUp->setPixmap(StationIcons::PauseUp());
    pauseUp->hide();
    auto* pauseDn = NewLabel(strip, "PauseDn", nullptr);
    pauseDn->setPixmap(StationIcons::PauseDown());
    pauseDn->hide();
    QToolButton* pause = AddToolButton(strip, "Pause", QIcon(StationIcons::PauseUp()));
    pause->setToolTip(QStringLiteral("1122"));
    line->addWidget(NewDivider(strip));

    OpenLogFile = AddToolButton(strip, "OpenLogFile", StationIcons::OpenLog());
    findButton = AddToolButton(strip, "CmdFind", StationIcons::Find());
    QToolButton* del = AddToolButton(strip, "cmdDel", StationIcons::DeleteRow());
    del->setEnabled(false); // enabled once a grid row is chosen
    printButton = AddToolButton(strip, "CmdPrint", StationIcons::Print());
    summaryButton = AddToolButton(strip, "CmdSummary", StationIcons::Summary());
    hideButton = AddToolButton(strip, "cmdHide", StationIcons::Layout());
    line->addStretch(1);
    line->addWidget(NewDivider(strip));
    exitButton = AddToolButton(strip, "CmdExit", StationIcons::Exit());

    Title = NewLabel(frame, "Title", nullptr);
    Title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont titleFont = Title->font();
    titleFont.setBold(true);
    Title->setFont(titleFont);
    rows->addWidget(Title);

    connect(OpenLogFile, &QToolButton::clicked, this, &MainWindow::ChooseLogFile);
    connect(hideButton, &QToolButton::clicked, this, &MainWindow::ToggleLayout);
    connect(exitButton, &QToolButton::clicked, this, [this] { AskToExit(false); });
    return frame;
}

QWidget* MainWindow::BuildDetailFrames(QWidget* parent)
{
    auto* strip = new QWidget(parent);
    strip->setObjectName(QStringLiteral("DetailFrames"));
    strip->setFixedHeight(PxY(kDetailFramesHeight));
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    weightFrame = NewFrame(strip, "frWeight", "Manual Input");
    auto* weightLayout = new QVBoxLayout(weightFrame);
    weightBox = NewValueBox(weightFrame, "txtWeight", false);
    weightLayout->addWidget(weightBox);

    resultFrame = NewFrame(strip, "frResult", "Result");
    auto* result = new QGridLayout(resultFrame);
    result->setVerticalSpacing(2);
    struct Field {
        const char* label;
        const char* tag;
        const char* text;
        const char* box;
    };
    const Field fields[] = {
        {"Label2", "1171", "", "txtCarcassCounter"},
        {"Label3", "1169", "", "txtQuality"},
        {"Label4", "1167", "", "txtClass"},
        {"Label5", "1173", "", "txtMeatPer"},
        {"Label6", nullptr, "Weight(Kg)", "txtWeightResult"},
    };
    for (int column = 0; column < 5; ++column) {
        const Field& f = fields[column];
        QLabel* label = NewLabel(resultFrame, f.label, f.tag, f.text);
        label->setAlignment(Qt::AlignCenter);
        QLineEdit* box = NewValueBox(resultFrame, f.box);
        result->addWidget(label, 0, column);
        result->addWidget(box, 1, column);
        if (column == 4) {
            weightCaption = label;
            pairedWeightBox = box;
        }
    }

    pendingFrame = NewFrame(strip, "Frame3", "Between Probing and weighing");
    auto* pendingBox = new QVBoxLayout(pendingFrame);
    pendingBox->addWidget(NewValueBox(pendingFrame, "txtPending"));

    errorFrame = NewFrame(strip, "frError", "Error");
    auto* errorLayout = new QVBoxLayout(errorFrame);
    errorBox = NewValueBox(errorFrame, "txtError");
    QPalette red = errorBox->palette();
    red.setColor(QPalette::Text, QColor(200, 0, 0));
    errorBox->setPalette(red);
    errorLayout->addWidget(errorBox);

    row->addWidget(weightFrame, 2);
    row->addWidget(resultFrame, 7);
    row->addWidget(pendingFrame, 2);
    row->addWidget(errorFrame, 5);
    return strip;
}

void MainWindow::BuildStatusBar()
{
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("stbr"));
    setStatusBar(bar);
    // Panel stretch: the probe status and the log path take the room, the rest is narrow.
    const int stretch[kStatusPanels] = {4, 0, 0, 2, 4, 2, 0};
    const int minimum[kStatusPanels] = {80, 0, 0, 0, 100, 70, 72};
    for (int i = 0; i < kStatusPanels; ++i) {
        // Panel 5 holds the log's path.
        auto* panel = new ElidingPanel(bar, i == 4,
                                       i == 1   ? QStringLiteral("Probe: ")
                                       : i == 2 ? QStringLiteral("Scale: ")
                                                : QString());
        panel->setObjectName(QStringLiteral("stbrPanel%1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(minimum[i]);
        // The link's state is read whole; the ports' panels take what their text needs.
        if (i == 0)
            panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(ResourceText(StringId::ProbeConnectionLost))
                                   + 12);
        panel->setContentsMargins(3, 0, 3, 0);
        // The printer state (panel 4) is short and read whole; the long texts give way.
        if (stretch[i] > 0 && i != 3)
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        if (i == 1 || i == 2 || i == 6)
            panel->setAlignment(Qt::AlignCenter);
        bar->addWidget(panel, stretch[i]);
        panels_[i] = panel;
    }
}
