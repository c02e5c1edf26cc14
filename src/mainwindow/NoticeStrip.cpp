#include "mainwindow/NoticeStrip.h"

#include "station/NoticeBoard.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString Background(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
    case MessageIcon::Exclamation: return QStringLiteral("#fff1c2");
    case MessageIcon::Information:
    case MessageIcon::Question:
    case MessageIcon::None: break;
    }
    return QStringLiteral("#ddeeff");
}

} // namespace

NoticeStrip::NoticeStrip(NoticeBoard& board, QWidget* parent)
    : QToolBar(parent)
    , board_(board)
{
    setObjectName(QStringLiteral("noticeStrip"));
    setMovable(false);
    setFloatable(false);
    // Not one of the bars the operator switches off: it shows exactly while there is news.
    toggleViewAction()->setVisible(false);
    rows_ = new QWidget(this);
    auto* layout = new QVBoxLayout(rows_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    addWidget(rows_);
    connect(&board_, &NoticeBoard::changed, this, &NoticeStrip::Rebuild);
    Rebuild();
}

void NoticeStrip::Rebuild()
{
    auto* layout = static_cast<QVBoxLayout*>(rows_->layout());
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const Notice& notice : board_.notices()) {
        auto* row = new QFrame(rows_);
        row->setObjectName(QStringLiteral("notice"));
        row->setAutoFillBackground(true);
        row->setStyleSheet(QStringLiteral("QFrame#notice { background: %1; }").arg(Background(notice.icon)));
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(6, 2, 2, 2);
        auto* text = new QLabel(QString(notice.text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")), row);
        text->setObjectName(QStringLiteral("noticeText"));
        text->setWordWrap(true);
        text->setToolTip(notice.details);
        line->addWidget(text, 1);
        if (!notice.details.isEmpty()) {
            auto* details = new QLabel(notice.details, row);
            details->setObjectName(QStringLiteral("noticeDetails"));
            details->setWordWrap(true);
            details->setTextInteractionFlags(Qt::TextSelectableByMouse);
            details->hide();
            auto* more = new QToolButton(row);
            more->setObjectName(QStringLiteral("noticeMore"));
            more->setText(QStringLiteral("&Details"));
            more->setCheckable(true);
            connect(more, &QToolButton::toggled, details, &QWidget::setVisible);
            line->addWidget(details, 1);
            line->addWidget(more);
        }
        auto* close = new QToolButton(row);
        close->setObjectName(QStringLiteral("noticeClose"));
        close->setText(QStringLiteral("\u00d7"));
        close->setToolTip(QStringLiteral("Close this notice"));
        const QString kind = notice.kind;
        // Queued: the button is deleted with its row when the board changes.
        connect(
            close, &QToolButton::clicked, this, [this, kind] { board_.Clear(kind); }, Qt::QueuedConnection);
        line->addWidget(close);
        layout->addWidget(row);
    }
    setVisible(!board_.notices().empty());
}
