#include "carcass/PairingDisplayModel.h"

PairingDisplayModel::PairingDisplayModel(QObject* parent)
    : QObject(parent)
{}

void PairingDisplayModel::Show(CarcassRole role, const std::string& text)
{
    texts_[static_cast<size_t>(role)] = text;
    emit roleShown(role, text);
}
