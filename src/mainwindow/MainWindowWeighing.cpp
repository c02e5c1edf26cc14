// The weighing controls over this window's weight boxes, menus and status bar.

#include "mainwindow/MainWindow.h"

#include "carcasswindow/WeighingControls.h"
#include "mainwindow/StationResults.h"
#include "ports/PortDialogMenus.h"
#include "settings/PortDialogModel.h"
#include "weighing/ScaleModels.h"
#include "widgets/OperatorDialogs.h"

#include <QLineEdit>

void MainWindow::WireWeighing()
{
    MainPairingDisplay::Boxes boxes;
    boxes.counterBox = Control<QLineEdit>("txtCarcassCounter");
    boxes.qualityBox = Control<QLineEdit>("txtQuality");
    boxes.classBox = Control<QLineEdit>("txtClass");
    boxes.meatPercentBox = Control<QLineEdit>("txtMeatPer");
    boxes.pairedWeightBox = pairedWeightBox;
    boxes.weightBox = weightBox;
    boxes.errorBox = errorBox;
    boxes.pendingResultsBox = Control<QLineEdit>("txtPending");
    WeighingControlsLinks links{
        .core = *core_,
        .settings = settings_,
        .questions = dialogs_,
        .boxes = boxes,
        .weightFrame = weightFrame,
        .pendingFrame = pendingFrame,
        .mainWindow = this,
        .menu = [this](const QString& name) { return MenuAction(name); },
        .setStatusPanel = [this](int panel, const QString& text) { SetStatusPanel(panel, text); },
        .setStatusPanelTip = [this](int panel, const QString& tip) { SetStatusPanelTip(panel, tip); },
        .detailLayout = [this] { return isShow_; },
        .carcassWindow = [this]() -> CurrentCarcassWindow& { return results_->carcassWindow(); },
        .openPortDialog =
            [this](const ScaleModel& model) {
                if (const std::optional<PortDialogKind> kind = PortDialogOfModel(model))
                    portDialogs_->Open(*kind);
            },
    };
    weighing_ = std::make_unique<WeighingControls>(links);
}
