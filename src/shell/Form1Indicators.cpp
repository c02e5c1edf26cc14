// The link and traffic lamps follow the link's indicator state: one lamp of each pair shows.

#include "shell/Form1.h"

#include "shell/LedIndicator.h"

void Form1::ShowIndicators()
{
    const LinkIndicators& leds = link_.indicators();
    // Nothing lit on the link spot until the first command poll (or a lost link) says otherwise.
    CommLED1->setVisible(leds.comm == LinkIndicators::Comm::Led1);
    CommLED2->setVisible(leds.comm == LinkIndicators::Comm::Led2);
    ErrLED->setVisible(leds.error);
    TxLED->setVisible(leds.txSending);
    TxLED2->setVisible(!leds.txSending);
    RxLED->setVisible(leds.rxExpecting);
    RxLED2->setVisible(!leds.rxExpecting);
}
