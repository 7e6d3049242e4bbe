// What the windows that connect ask of the console, without knowing its pages: the reads
// that fill it after a connection, what else those reads bring for it to show, and the
// hand-over once the line is up. The console implements it; the start, modem and
// internet windows hold it.
#pragma once

#include <QString>

struct FixedReplies;
class QWidget;

class ConsoleDoor {
public:
    // The console's own reads, each as its Read button runs it.
    enum class Read {
        Channels, Clock, StartTime, Timer, Preheating, InternalParameters, Memory, Name,
        Gsm, Gprs, InternetSwitch,
    };
    virtual void read(Read what) = 0;

    // The answers to "U" (events counter) and "O" (acquisition) as they came.
    virtual void showEventsCounterField(const QString& field) = 0;
    virtual void showAcquisitionField(const QString& field) = 0;
    virtual void showFixedReplies(const FixedReplies& replies) = 0;

    // The analog (model 0) console; a remote connection gives it its own caption and a
    // caption of its own for the "Acquire" button.
    virtual void adaptForAnalogModel() = 0;
    virtual void presentAnalogModel(const QString& caption, const QString& acquireCaption) = 0;

    // Hides and disables the window that connected and shows the console in its place.
    virtual void showAfterConnection(QWidget* from) = 0;
    // Suggests the data file's name from the datalogger's name and today's date, the box
    // painted in colour (a BoxColour value).
    virtual void suggestDataFileName(int colour) = 0;
    // Both, after a connection that read the datalogger's name.
    void handOver(QWidget* from, int colour)
    {
        showAfterConnection(from);
        suggestDataFileName(colour);
    }

protected:
    ~ConsoleDoor() = default;
};
