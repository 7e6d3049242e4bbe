// Fuzzes the reading of the address file the datalogger leaves on the FTP server: the
// first field is the file's text up to its first comma or line end; an address is given
// only from a field holding "OK" and is trimmed; a file the reader finds no problem with
// gives an address one can connect to (an IP address or a host name).
#include "data/address_file.h"
#include "support/fuzz_support.h"

#include <QHostAddress>

using Fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString first = AddressFile::firstField(content);
    check(QString::fromLatin1(content).startsWith(first), "the first field is not where the file starts");
    for (QChar stop : {QLatin1Char(','), QLatin1Char('\r'), QLatin1Char('\n')})
        check(!first.contains(stop), "the first field runs past its end");
    if (first.size() < content.size()) {
        const char stop = content[first.size()];
        check(stop == ',' || stop == '\r' || stop == '\n', "the first field stops before its end");
    }

    const QString host = AddressFile::address(content);
    check(host.isEmpty() || first.contains(QLatin1String("OK")), "an address from a field without OK");
    check(host == host.trimmed(), "an address with blanks around it");
    check(host.size() <= first.size(), "an address longer than its field");

    const QString problem = AddressFile::problem(content);
    if (problem.isEmpty()) {
        check(!host.isEmpty(), "no problem found with an empty address");
        for (QChar c : host)
            check(c.unicode() > ' ' && c.unicode() < 0x7f, "an address that passes holds a control character");
        // An IPv6 address may carry a scope after "%", which the address parser takes as
        // any text; the address before it holds what a host name or an address holds.
        for (QChar c : host.section(QLatin1Char('%'), 0, 0))
            check(c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char(':') || c == QLatin1Char('-'),
                  "an address that passes holds a character no host name has");
    }
    return 0;
}
