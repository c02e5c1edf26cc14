#include "carcasswindow/WeightBoxKeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// The character code a key types, as the entry counts keys; -1 for keys that type nothing
// (arrows, Shift), which the box handles on its own.
int KeyCode(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return ManualWeightEntry::kEnter;
    case Qt::Key_Backspace: return ManualWeightEntry::kBackspace;
    default: break;
    }
    const QString text = key.text();
    if (text.isEmpty())
        return -1;
    const char16_t c = text.at(0).unicode();
    return c <= 0xff ? static_cast<int>(c) : '?';
}

} // namespace

WeightBoxKeys::WeightBoxKeys(QLineEdit* box, std::function<void(const std::string&)> showError,
                             std::function<void()> acceptWeight)
    : QObject(box)
    , box_(box)
    , showError_(std::move(showError))
    , acceptWeight_(std::move(acceptWeight))
{
    box_->installEventFilter(this);
}

bool WeightBoxKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != box_ || event->type() != QEvent::KeyPress)
        return false;
    const int key = KeyCode(*static_cast<QKeyEvent*>(event));
    if (key < 0)
        return false;
    const WeightKeyResult result = entry_.KeyPress(box_->text().toLatin1().toStdString(), key);
    if (result.boxChanged) {
        box_->setText(QString::fromLatin1(result.boxText.data(), static_cast<qsizetype>(result.boxText.size())));
        box_->end(false);
    }
    if (result.errorText)
        showError_(*result.errorText);
    if (result.acceptedWeight)
        acceptWeight_();
    // Enter is the entry's own; every other key is typed into the box as usual.
    return !result.passKeyOn;
}
