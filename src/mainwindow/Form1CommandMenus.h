#pragma once
// Commands of the main window's "Command-To-Probe" and "Help" menus, wired by Form1::WireMenus.

class Form1;

// Every probe command entry, colour calibration and the firmware download.
void WireProbeCommandMenus(Form1& form);
// User manual and About.
void WireHelpMenus(Form1& form);
// "Update Firmware": choose a HEX file, tell the probe, and send it in the download window.
void RenewFirmware(Form1& form);
