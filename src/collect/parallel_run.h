// Stations on different ports, and internet stations, collected at the same time: one
// child process of the collector per port (the link layer holds one link per process),
// the stations of a port one after the other in it. The lines come back whole and are
// printed in the stations file's order.
#pragma once

#include "collect/station_run.h"
#include "collect/stations_file.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QTextStream;

// The stations (indexes into stations) in groups that must run one after the other:
// those on one port together, each internet station alone; groups and their stations in
// the file's order.
QList<QList<int>> portGroups(const QList<Station>& stations, const QList<int>& chosen);

// How a child hands a report line to the parent: its position in the child's list, a
// tab, and the line with its backslashes and line breaks escaped, so that it stays one
// line on the pipe.
QString framedLine(int position, const QString& line);

// How the stations of a parallel run ended, as their children's exit statuses tell.
struct ParallelOutcome {
    bool anyFailed = false;
    bool anyWarned = false;  // a child ended with the status of warnings only
};

// The status a child ends with when its stations were collected but some gave warnings.
constexpr int warningsOnlyStatus = 3;

// Runs each group in a child, at most jobs at once, and prints every station's line to
// out in the order of chosen. childArgs are the child's options and stations file; the
// group's station names are added. A child that ends before it reported a station
// leaves that station failed, its line made by lineFor.
ParallelOutcome runInParallel(const QList<Station>& stations, const QList<QList<int>>& groups, int jobs,
                              const QStringList& childArgs, const QString& childOption,
                              const std::function<QString(const Station&, const StationReport&)>& lineFor,
                              QTextStream& out);
