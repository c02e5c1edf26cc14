#include "widgets/QtOperatorDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <QUrl>

#include <cstdio>

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::OkCancelSafe: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoSafe: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The answer when the box was closed without a button: the one that changes nothing.
MessageAnswer EscapeAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoSafe: return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::OkCancelSafe:
    case MessageButtons::YesNoCancel: break;
    }
    return MessageAnswer::Cancel;
}

// Alt+O for OK as Alt+Y is for Yes; the safe answer as the default where the other one destroys.
void PrepareButtons(QMessageBox& box, MessageButtons buttons)
{
    if (QAbstractButton* ok = box.button(QMessageBox::Ok))
        ok->setText(QStringLiteral("&OK"));
    if (buttons == MessageButtons::OkCancelSafe)
        box.setDefaultButton(QMessageBox::Cancel);
    else if (buttons == MessageButtons::YesNoSafe)
        box.setDefaultButton(QMessageBox::No);
}

QString TitleOrApplication(const QString& title)
{
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

// Folder and proposed name of a chooser from the station's "initial path", which may be a
// folder, a file path or a bare name.
void PrepareChooser(QFileDialog& dialog, const QString& initialPath)
{
    if (initialPath.isEmpty())
        return;
    const QFileInfo info(initialPath);
    if (info.isDir()) {
        dialog.setDirectory(info.absoluteFilePath());
        return;
    }
    if (initialPath.contains(QLatin1Char('/')))
        dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
}

std::optional<QString> RunChooser(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    return files.first();
}

} // namespace

QWidget* QtOperatorDialogs::Parent() const
{
    return parent_ ? parent_.data() : QApplication::activeWindow();
}

MessageAnswer QtOperatorDialogs::Message(const QString& text, const QString& title, MessageIcon icon,
                                         MessageButtons buttons, const QString& detail)
{
    // A modal box inside the receive tick would stop the probe link until the operator answers;
    // show it without waiting and take the answer that changes nothing.
    if (ReceiveTickScope::Active()) {
        qWarning("A question was asked inside the receive tick; shown without waiting: %s", qPrintable(text));
        Notify(detail.isEmpty() ? text : text + QStringLiteral("\r\n") + detail, title, icon);
        return EscapeAnswer(buttons);
    }
    QMessageBox box(ToQtIcon(icon), TitleOrApplication(title), text, ToQtButtons(buttons), Parent());
    // The informative text shows at once, unlike a detailed text behind a button.
    box.setInformativeText(detail);
    PrepareButtons(box, buttons);
    switch (box.exec()) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: break;
    }
    return EscapeAnswer(buttons);
}

void QtOperatorDialogs::Notify(const QString& text, const QString& title, MessageIcon icon)
{
    // Also on standard error, so that what the operator was told stays in the system's journal.
    std::fprintf(stderr, "tallion: %s: %s\n", qPrintable(title),
                 qPrintable(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "))));
    if (board_) {
        board_->Notify(text, title, icon);
        return;
    }
    // One box per fault: while the same message is on screen, a repeat adds nothing.
    const QString key = title + QChar(0) + text;
    if (openNotices_.contains(key))
        return;
    openNotices_.insert(key);
    auto* box = new QMessageBox(ToQtIcon(icon), TitleOrApplication(title), text, QMessageBox::Ok, Parent());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    QObject::connect(box, &QObject::destroyed, &alive_, [this, key] { openNotices_.remove(key); });
    box->show();
}

void QtOperatorDialogs::Post(const Notice& notice)
{
    std::fprintf(stderr, "tallion: %s: %s %s\n", qPrintable(notice.title), qPrintable(notice.text),
                 qPrintable(notice.details));
    if (board_)
        board_->Post(notice);
    else
        OperatorDialogs::Post(notice);
}

void QtOperatorDialogs::Clear(const QString& kind)
{
    if (board_)
        board_->Clear(kind);
}

std::optional<QString> QtOperatorDialogs::InputBox(const QString& prompt, const QString& title,
                                                   const QString& defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(Parent(), TitleOrApplication(title), prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtOperatorDialogs::OpenFile(const QString& title, const QString& filter,
                                                   const QString& initialPath)
{
    // The log file chooser takes a new name too (a new log is started that way), so no
    // ExistingFile restriction; Qt's own dialog, since native ones insist on an existing file.
    QFileDialog dialog(Parent(), title, QString(), QtFileFilter(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    PrepareChooser(dialog, initialPath);
    return RunChooser(dialog);
}

std::optional<QString> QtOperatorDialogs::SaveFile(const QString& title, const QString& filter,
                                                   const QString& initialPath)
{
    // The callers ask their own overwrite question, with their own texts.
    QFileDialog dialog(Parent(), title, QString(), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    PrepareChooser(dialog, initialPath);
    return RunChooser(dialog);
}

bool QtOperatorDialogs::PrinterDialog(QPrinter& printer)
{
    QPrintDialog dialog(&printer, Parent());
    dialog.setWindowTitle(QStringLiteral("Choose Printer"));
    return dialog.exec() == QDialog::Accepted;
}

bool QtOperatorDialogs::OpenDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

QString QtFileFilter(const QString& stationFilter)
{
    // The station's filter alternates descriptions and patterns: "Name (*.x)|*.x|...". Qt takes
    // the patterns from the parentheses of each description, so a description without them
    // ("Intel Hex |*.Hex|") gets its pattern added.
    const QStringList parts = stationFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (description.isEmpty() && pattern.isEmpty())
            continue;
        QStringList globs = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& g : globs)
            g = g.trimmed();
        globs.removeAll(QString());
        const QString qtPatterns = globs.isEmpty() ? QStringLiteral("*") : globs.join(QLatin1Char(' '));

        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        const bool hasOwn = description.endsWith(QLatin1Char(')')) && open >= 0
                            && description.mid(open + 1, description.size() - open - 2)
                                       .simplified()
                                       .replace(QLatin1Char(';'), QLatin1Char(' '))
                                       .simplified()
                                   == qtPatterns;
        if (hasOwn)
            filters << description;
        else if (description.isEmpty())
            filters << qtPatterns;
        else
            filters << QStringLiteral("%1 (%2)").arg(description, qtPatterns);
    }
    return filters.join(QStringLiteral(";;"));
}
