// What every window of the program works with, made once by main() (and by a test's rig)
// and handed to each window as it is made: the link to the datalogger, the door to the
// operator, and what is known of the datalogger.
#pragma once

class DataloggerModel;
class Dialogs;
class Link;

struct Services {
    Link& link;
    Dialogs& dialogs;
    DataloggerModel& datalogger;
};
