#include "logviewer/FindWindow.h"

#include "resources/StringIds.h"
#include "resources/StringTable.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// `caption` with "&" before the first `letter` (an empty letter: before the first character).
QString WithKeyAt(QString caption, QChar letter)
{
    const qsizetype at = letter.isNull() ? 0 : caption.indexOf(letter);
    caption.insert(at < 0 ? 0 : at, QLatin1Char('&'));
    return caption;
}

} // namespace

FindWindow::FindWindow(FindState& state, std::function<void()> find, QWidget* parent)
    : QDialog(parent)
    , state_(state)
    , find_(std::move(find))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("  ") + ResourceText(StringId::FindTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    // Read from beside the line: a size up from the desktop's default.
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() * 1.25);
    setFont(larger);

    // The captions carry access keys, so that every control is one key away; Escape cancels.
    auto* findStringLabel = new QLabel(WithKeyAt(ResourceText(StringId::FindString), QLatin1Char('S')), this);
    findStringLabel->setObjectName(QStringLiteral("lblFindString"));
    findTextBox = new QLineEdit(this);
    findTextBox->setObjectName(QStringLiteral("txtString"));
    findStringLabel->setBuddy(findTextBox);

    matchCaseBox = new QCheckBox(WithKeyAt(ResourceText(StringId::MatchCase), QLatin1Char('C')), this);
    matchCaseBox->setObjectName(QStringLiteral("chkMatchCase"));
    matchCaseBox->setChecked(state_.findMatchCase);

    auto* directionFrame = new QGroupBox(ResourceText(StringId::Direction), this);
    directionFrame->setObjectName(QStringLiteral("fraDirection"));
    auto* directions = new QHBoxLayout(directionFrame);
    const int captions[2] = {1140, 1141};
    for (int index = 0; index < 2; ++index) {
        directionButtons[index] = new QRadioButton(WithKeyAt(ResourceText(captions[index]), QChar()), directionFrame);
        directionButtons[index]->setObjectName(QStringLiteral("optDirection%1").arg(index));
        directions->addWidget(directionButtons[index]);
        connect(directionButtons[index], &QRadioButton::clicked, this,
                [this, index] { state_.findDirection = static_cast<FindDirection>(index); });
    }
    directionButtons[static_cast<int>(state_.findDirection)]->setChecked(true);

    findButton = new QPushButton(WithKeyAt(ResourceText(StringId::FindTitle), QChar()), this);
    findButton->setObjectName(QStringLiteral("CmdFind"));
    findButton->setDefault(true);
    findButton->setEnabled(false);
    cancelButton = new QPushButton(ResourceText(StringId::Cancel), this);
    cancelButton->setObjectName(QStringLiteral("CmdCancel"));

    connect(findTextBox, &QLineEdit::textChanged, this, [this](const QString& text) {
        state_.findTextChanged = true;
        findButton->setEnabled(!text.isEmpty());
    });
    connect(matchCaseBox, &QCheckBox::clicked, this, [this](bool ticked) { state_.findMatchCase = ticked; });
    connect(findButton, &QPushButton::clicked, this, [this] {
        state_.findText = findTextBox->text().toLatin1().toStdString();
        find_();
    });
    connect(cancelButton, &QPushButton::clicked, this, &FindWindow::reject);

    auto* left = new QVBoxLayout;
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(findStringLabel);
    textRow->addWidget(findTextBox, 1);
    left->addLayout(textRow);
    auto* optionsRow = new QHBoxLayout;
    optionsRow->addWidget(matchCaseBox);
    optionsRow->addWidget(directionFrame);
    left->addLayout(optionsRow);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(buttons);
    findTextBox->setFocus();
}

void FindWindow::reject()
{
    // Cancel and Escape alike: the text and the case option are kept for the next search.
    state_.findText = findTextBox->text().toLatin1().toStdString();
    state_.findMatchCase = matchCaseBox->isChecked();
    QDialog::reject();
}
