// What every window of the program works with, made once by main() (and by a test's rig)
// and handed to each window as it is made: the link to the datalogger, the door to the
// operator, what is known of the datalogger, and the program's folder.
#pragma once

#include <QString>

class DataloggerModel;
class Dialogs;
class Link;

struct Services {
    Link& link;
    Dialogs& dialogs;
    DataloggerModel& datalogger;
    QString programFolder;  // settings files, the yearly files, the continuous readings
};
