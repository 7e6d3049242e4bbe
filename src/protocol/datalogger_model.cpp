// What the program knows of the datalogger it is connected to.
#include "protocol/datalogger_model.h"
