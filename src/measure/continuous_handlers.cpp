// The console's way into the continuous reading.
#include "console/form1.h"

#include "measure/miscont.h"

void Form1::cmdApriMisuraContinua_Click() { MisCont::open(0); }
