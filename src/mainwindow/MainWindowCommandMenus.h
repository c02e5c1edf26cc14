#pragma once
// Commands of the main window's "Command-To-Probe" and "Help" menus, wired by MainWindow::WireMenus.

class MainWindow;

// Every probe command entry, colour calibration and the firmware download.
void WireProbeCommandMenus(MainWindow& form);
// User manual and About.
void WireHelpMenus(MainWindow& form);
// "Update Firmware": choose a HEX file, tell the probe, and send it in the download window.
void RenewFirmware(MainWindow& form);
