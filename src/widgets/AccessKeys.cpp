#include "widgets/AccessKeys.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Position of the letter that follows a single "&" ("&&" is a literal ampersand); -1 for none.
qsizetype KeyPosition(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

QString Caption(QWidget* w)
{
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(w))
        return box->title();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->buddy() ? label->text() : QString();
    return QString();
}

void SetCaption(QWidget* w, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(w))
        box->setTitle(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
}

} // namespace

QString WithAccessKey(const QString& caption, QString& taken)
{
    const qsizetype existing = KeyPosition(caption);
    if (existing >= 0) {
        taken += caption[existing].toLower();
        return caption;
    }
    auto freeAt = [&](qsizetype i) { return caption[i].isLetter() && !taken.contains(caption[i].toLower()); };
    qsizetype chosen = -1;
    for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i)
        if ((i == 0 || !caption[i - 1].isLetterOrNumber()) && freeAt(i))
            chosen = i;
    for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i)
        if (freeAt(i))
            chosen = i;
    if (chosen < 0)
        return caption;
    taken += caption[chosen].toLower();
    QString keyed = caption;
    keyed.insert(chosen, QLatin1Char('&'));
    return keyed;
}

void AssignAccessKeys(QWidget* window)
{
    // Option buttons come last: within their group the arrow keys reach them anyway.
    QList<QWidget*> controls;
    for (QPushButton* b : window->findChildren<QPushButton*>())
        controls << b;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (!qobject_cast<QPushButton*>(b) && !qobject_cast<QRadioButton*>(b))
            controls << b;
    for (QWidget* w : window->findChildren<QWidget*>())
        if ((qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w)) && !Caption(w).isEmpty())
            controls << w;
    for (QRadioButton* b : window->findChildren<QRadioButton*>())
        controls << b;

    QString taken;
    for (QWidget* w : controls) {
        const QString caption = Caption(w);
        if (KeyPosition(caption) >= 0)
            taken += caption[KeyPosition(caption)].toLower();
    }
    for (QWidget* w : controls) {
        const QString caption = Caption(w);
        if (!caption.isEmpty() && KeyPosition(caption) < 0)
            SetCaption(w, WithAccessKey(caption, taken));
    }
}
