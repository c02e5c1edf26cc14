#pragma once
// What a pairing shows, held without a window: each role's last text and the weight input as
// typed or shown. A window that opens later shows what is held; one that is open follows the
// signals.

#include "carcass/PairingInterfaces.h"

#include <QObject>
#include <array>
#include <string>

class PairingDisplayModel : public QObject, public PairingDisplay {
    Q_OBJECT
public:
    explicit PairingDisplayModel(QObject* parent = nullptr);

    // PairingDisplay
    void Show(CarcassRole role, const std::string& text) override;
    std::string WeightInputText() const override { return Text(CarcassRole::WeightInput); }
    void SetStatusPanel1(const std::string& text) override { emit statusPanel1Shown(text); }
    void EnableWeightInput() override { emit weightInputEnabled(); }

    // The role's last text.
    const std::string& Text(CarcassRole role) const { return texts_[static_cast<size_t>(role)]; }
    // The operator changed the weight box: the pairing reads what it holds now. Nothing is told,
    // the box already shows it.
    void WeightInputTyped(const std::string& text) { texts_[static_cast<size_t>(CarcassRole::WeightInput)] = text; }

signals:
    void roleShown(CarcassRole role, const std::string& text);
    void statusPanel1Shown(const std::string& text);
    void weightInputEnabled();

private:
    std::array<std::string, static_cast<size_t>(CarcassRole::Pending) + 1> texts_;
};
