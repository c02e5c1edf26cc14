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
    auto* lblFindString = new QLabel(WithKeyAt(ResourceText(StringId::FindString), QLatin1Char('S')), this);
    lblFindString->setObjectName(QStringLiteral("lblFindString"));
    txtString = new QLineEdit(this);
    txtString->setObjectName(QStringLiteral("txtString"));
    lblFindString->setBuddy(txtString);

    chkMatchCase = new QCheckBox(WithKeyAt(ResourceText(StringId::MatchCase), QLatin1Char('C')), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkMatchCase->setChecked(state_.findMatchCase);

    auto* fraDirection = new QGroupBox(ResourceText(StringId::Direction), this);
    fraDirection->setObjectName(QStringLiteral("fraDirection"));
    auto* directions = new QHBoxLayout(fraDirection);
    const int captions[2] = {1140, 1141};
    for (int index = 0; index < 2; ++index) {
        optDirection[index] = new QRadioButton(WithKeyAt(ResourceText(captions[index]), QChar()), fraDirection);
        optDirection[index]->setObjectName(QStringLiteral("optDirection%1").arg(index));
        directions->addWidget(optDirection[index]);
        connect(optDirection[index], &QRadioButton::clicked, this,
                [this, index] { state_.findDirection = static_cast<FindDirection>(index); });
    }
    optDirection[static_cast<int>(state_.findDirection)]->setChecked(true);

    CmdFind = new QPushButton(WithKeyAt(ResourceText(StringId::FindTitle), QChar()), this);
    CmdFind->setObjectName(QStringLiteral("CmdFind"));
    CmdFind->setDefault(true);
    CmdFind->setEnabled(false);
    CmdCancel = new QPushButton(ResourceText(StringId::Cancel), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));

    connect(txtString, &QLineEdit::textChanged, this, [this](const QString& text) {
        state_.findTextChanged = true;
        CmdFind->setEnabled(!text.isEmpty());
    });
    connect(chkMatchCase, &QCheckBox::clicked, this, [this](bool ticked) { state_.findMatchCase = ticked; });
    connect(CmdFind, &QPushButton::clicked, this, [this] {
        state_.findText = txtString->text().toLatin1().toStdString();
        find_();
    });
    connect(CmdCancel, &QPushButton::clicked, this, &FindWindow::reject);

    auto* left = new QVBoxLayout;
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(lblFindString);
    textRow->addWidget(txtString, 1);
    left->addLayout(textRow);
    auto* optionsRow = new QHBoxLayout;
    optionsRow->addWidget(chkMatchCase);
    optionsRow->addWidget(fraDirection);
    left->addLayout(optionsRow);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(CmdFind);
    buttons->addWidget(CmdCancel);
    buttons->addStretch(1);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(buttons);
    txtString->setFocus();
}

void FindWindow::reject()
{
    // Cancel and Escape alike: the text and the case option are kept for the next search.
    state_.findText = txtString->text().toLatin1().toStdString();
    state_.findMatchCase = chkMatchCase->isChecked();
    QDialog::reject();
}
