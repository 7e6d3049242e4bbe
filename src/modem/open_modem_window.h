// Joins the start window's "Connect with modem" to the modem window.
#pragma once

class Form1;
class Form2;

// From now on "Connect with modem" without "Thrugh internet" opens the modem window,
// made on first use and gone with the start window. The internet window is not part of
// this version: with "Thrugh internet" ticked the start window says so and keeps the
// cable link.
void installModemWindow(Form2* start, Form1* console);
