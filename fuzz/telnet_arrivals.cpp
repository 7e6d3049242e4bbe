// Fuzzes the telnet arrival parser: a stream fed whole must give the same data, answers
// and errors as the same stream cut into arrivals, and refuse each option once; a
// script of owner calls mixed with arrivals must keep the buffers within their bounds.
#include "link/telnet_parser.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "telnet parser: %s\n", what);
        std::abort();
    }
}

const char* const typeLists[] = {"", "VT100|ANSI", "A|B|C", "ONE"};

void checkBounds(const TelnetParser& p, qsizetype fed)
{
    check(p.pendingSize() < TelnetParser::SubnegotiationLimit, "kept tail too long");
    check(p.dataSize() <= fed, "more data than bytes fed");
    check(p.room() >= 0 && p.room() <= TelnetParser::DataLimit, "room out of range");
    check(p.echoState() >= 0 && p.echoState() <= 2, "echo state out of range");
}

// With nothing offered, every option is refused: one WONT or DONT per option and side,
// however often the host asks.
void checkEachRefusalOnce(const TelnetParser::Actions& actions)
{
    QList<QByteArray> seen;
    for (const auto& a : actions) {
        if (a.kind != TelnetParser::Action::Kind::Send || a.bytes.size() != 3)
            continue;
        check(!seen.contains(a.bytes), "an option refused twice");
        seen.append(a.bytes);
    }
}

// header: types, cut seed; then the stream.
void wholeAgainstCut(const uint8_t* in, size_t size)
{
    if (size < 2)
        return;
    const QString types = QString::fromLatin1(typeLists[in[0] % 4]);
    uint32_t seed = in[1] | 1u;
    const QByteArrayView stream(reinterpret_cast<const char*>(in + 2), qsizetype(size - 2));

    TelnetParser whole;
    whole.setTerminalTypes(types);
    const auto expected = whole.arrival(stream);
    checkBounds(whole, stream.size());

    TelnetParser cut;
    cut.setTerminalTypes(types);
    TelnetParser::Actions got;
    for (qsizetype at = 0; at < stream.size();) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype n = qMin<qsizetype>(1 + (seed >> 16) % 9, stream.size() - at);
        got += cut.arrival(stream.sliced(at, n));
        checkBounds(cut, at + n);
        at += n;
    }
    check(got == expected, "answers differ when the stream is cut");
    check(cut.takeData() == whole.takeData(), "data differs when the stream is cut");
    check(cut.pendingSize() == whole.pendingSize(), "kept tail differs when cut");
    if (!stream.contains(char(Telnet::IAC)))
        check(expected.isEmpty(), "answers to a stream without commands");
    if (types.isEmpty())
        checkEachRefusalOnce(expected);
}

// Each op byte: low 3 bits choose the call, the rest a length or argument.
void ownerScript(const uint8_t* in, size_t size)
{
    TelnetParser p;
    qsizetype fedSinceTake = 0;
    for (size_t i = 0; i < size;) {
        const uint8_t op = in[i++];
        const size_t arg = op >> 3;
        switch (op & 7) {
        case 0:
        case 1:
        case 2: {
            const size_t n = qMin(arg + 1, size - i);
            p.arrival(QByteArrayView(reinterpret_cast<const char*>(in + i), qsizetype(n)));
            fedSinceTake += qsizetype(n);
            i += n;
            break;
        }
        case 3:
            p.echo(arg & 1);
            break;
        case 4:
            p.takeData();
            fedSinceTake = p.pendingSize();
            break;
        case 5:
            p.setTerminalTypes(QString::fromLatin1(typeLists[arg % 4]));
            break;
        case 6:
            p.newSession();
            break;
        default:
            p.forgetTerminalType();
            (void)p.termType();
            break;
        }
        checkBounds(p, fedSinceTake);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] & 0x80)
        ownerScript(data + 1, size - 1);
    else
        wholeAgainstCut(data + 1, size - 1);
    return 0;
}
