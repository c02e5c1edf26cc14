// The link and traffic lamps follow the link's indicator state: one lamp of each pair shows.

#include "mainwindow/MainWindow.h"

#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "widgets/LedIndicator.h"

#include <QLabel>

void MainWindow::ShowIndicators()
{
    const LinkIndicators& leds = core_->link().indicators();
    // Nothing lit on the link spot until the first command poll (or a lost link) says otherwise;
    // while a firmware download holds the link, its lamp says so instead of a frozen state.
    CommLEDHeld->setVisible(linkHeld_);
    commLamp1->setVisible(!linkHeld_ && leds.comm == LinkIndicators::Comm::Led1);
    commLamp2->setVisible(!linkHeld_ && leds.comm == LinkIndicators::Comm::Led2);
    ErrLED->setVisible(!linkHeld_ && leds.error);
    TxLED->setVisible(leds.txSending);
    TxLED2->setVisible(!leds.txSending);
    RxLED->setVisible(leds.rxExpecting);
    RxLED2->setVisible(!leds.rxExpecting);
}

void MainWindow::SetLinkHeld(bool held)
{
    linkHeld_ = held;
    linkLabel->setToolTip(held ? QStringLiteral("Link paused while the firmware is sent to the probe")
                               : ResourceText(StringId::LinkLampTip));
    ShowIndicators();
}
