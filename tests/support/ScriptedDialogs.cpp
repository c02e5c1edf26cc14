#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The next queued answer, or `fallback` when the test queued none.
template <typename T>
T TakeFront(std::deque<T>& queue, T fallback)
{
    if (queue.empty())
        return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

} // namespace

ScriptedDialogs::ScriptedDialogs()
{
    defaults_[MessageButtons::Ok] = MessageAnswer::Ok;
    defaults_[MessageButtons::OkCancel] = MessageAnswer::Cancel;
    defaults_[MessageButtons::YesNo] = MessageAnswer::No;
    defaults_[MessageButtons::YesNoCancel] = MessageAnswer::Cancel;
    defaults_[MessageButtons::OkCancelSafe] = MessageAnswer::Cancel;
    defaults_[MessageButtons::YesNoSafe] = MessageAnswer::No;
}

void ScriptedDialogs::QueuePrinter(bool accept, std::function<void(QPrinter&)> configure)
{
    printers_.push_back(PrinterAnswer{accept, std::move(configure)});
}

MessageAnswer ScriptedDialogs::Message(const QString& text, const QString& title, MessageIcon icon,
                                       MessageButtons buttons, const QString& detail)
{
    if (ReceiveTickScope::Active())
        ADD_FAILURE() << "modal message inside the receive tick: " << text.toStdString();
    asked.push_back(Asked{QStringLiteral("Message"), text, title, icon, buttons, detail});
    return TakeFront(messageAnswers_, defaults_[buttons]);
}

void ScriptedDialogs::Notify(const QString& text, const QString& title, MessageIcon icon)
{
    asked.push_back(Asked{QStringLiteral("Notice"), text, title, icon, MessageButtons::Ok, QString()});
}

std::optional<QString> ScriptedDialogs::InputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText)
{
    asked.push_back(
        Asked{QStringLiteral("InputBox"), prompt, title, MessageIcon::None, MessageButtons::OkCancel, defaultText});
    return TakeFront(inputs_, TextAnswer()).Value();
}

std::optional<QString> ScriptedDialogs::OpenFile(const QString& title, const QString& filter,
                                                 const QString& initialPath)
{
    asked.push_back(
        Asked{QStringLiteral("OpenFile"), filter, title, MessageIcon::None, MessageButtons::OkCancel, initialPath});
    return TakeFront(openFiles_, TextAnswer()).Value();
}

std::optional<QString> ScriptedDialogs::SaveFile(const QString& title, const QString& filter,
                                                 const QString& initialPath)
{
    asked.push_back(
        Asked{QStringLiteral("SaveFile"), filter, title, MessageIcon::None, MessageButtons::OkCancel, initialPath});
    return TakeFront(saveFiles_, TextAnswer()).Value();
}

bool ScriptedDialogs::PrinterDialog(QPrinter& printer)
{
    asked.push_back(
        Asked{QStringLiteral("Printer"), QString(), QString(), MessageIcon::None, MessageButtons::OkCancel, QString()});
    const PrinterAnswer answer = TakeFront(printers_, PrinterAnswer{});
    if (!answer.accept)
        return false;
    if (answer.configure)
        answer.configure(printer);
    return true;
}

bool ScriptedDialogs::OpenDocument(const QString& path)
{
    asked.push_back(
        Asked{QStringLiteral("OpenDocument"), path, QString(), MessageIcon::None, MessageButtons::Ok, QString()});
    openedDocuments.push_back(path);
    return TakeFront(documentResults_, true);
}

int ScriptedDialogs::Count(const QString& kind) const
{
    return static_cast<int>(std::count_if(asked.begin(), asked.end(), [&](const Asked& a) { return a.kind == kind; }));
}

const ScriptedDialogs::Asked* ScriptedDialogs::Last(const QString& kind) const
{
    for (auto it = asked.rbegin(); it != asked.rend(); ++it)
        if (it->kind == kind)
            return &*it;
    return nullptr;
}

bool ScriptedDialogs::WasShown(const QString& text) const
{
    return std::any_of(asked.begin(), asked.end(), [&](const Asked& a) {
        return (a.kind == QLatin1String("Message") || a.kind == QLatin1String("Notice")) && a.text == text;
    });
}

std::size_t ScriptedDialogs::PendingAnswers() const
{
    return messageAnswers_.size() + inputs_.size() + openFiles_.size() + saveFiles_.size() + printers_.size()
           + documentResults_.size();
}
