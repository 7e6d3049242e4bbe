// Joins the start window's "Connect with modem" to the modem and internet windows.
#pragma once

class ConsoleDoor;
class StartWindow;
struct Services;

// From now on "Connect with modem" opens the modem window, or the internet window when
// "Thrugh internet" is ticked; each is made on first use and gone with the start window.
void installModemWindow(StartWindow* start, Services& services, ConsoleDoor* console);
