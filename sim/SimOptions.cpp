#include "SimOptions.h"

#include <QCommandLineParser>
#include <QStringList>

#include "SimText.h"

namespace sim {

namespace {

const char kIntro[] =
    "Usage: kestrel-receiver-sim [options]\n"
    "\n"
    "Plays the receiver on a pseudo-terminal. It registers the device as the virtual port\n"
    "COM<n> (a symbolic link in $XDG_RUNTIME_DIR/kestrel-ports/, or /tmp/kestrel-ports-<uid>/\n"
    "when XDG_RUNTIME_DIR is unset), prints \"port COM<n> <device>\" when ready, answers\n"
    "every command line (ended by CR; LF is ignored) with lines ended by CR, and removes\n"
    "its link on SIGINT or SIGTERM. SIGUSR1 writes the --dump file (then prints\n"
    "\"dumped <file>\"). End of standard input does not stop it.\n"
    "\n"
    "Options:\n";

struct OptionHelp {
    const char* names;
    const char* text;
};

const OptionHelp kHelp[] = {
    {"--com N", "Register as COM<N> (default: the first free number from 100)."},
    {"--link PATH", "Also create a symbolic link PATH to the device."},
    {"--crlf", "End answer lines with CR LF instead of CR."},
    {"--region R", "Region: usa, japan, euro or 0..2 (default usa)."},
    {"--empty", "Start with an empty receiver (no channels, search banks or links)."},
    {"--full", "Start with all 40 x 50 channels, all search banks and groups holding data."},
    {"--load FILE", "Start with the memory in the JSON file (format: sim/README.md)."},
    {"--dump FILE", "Write the memory as JSON to FILE on exit and on SIGUSR1."},
    {"--log FILE", "Log every command (\"> MA0005\") and answer (\"< MX0005 ...\"), one per line."},
    {"--no-au", "Leave the optional AU field out of channel and search bank answers."},
    {"--ack TEXT", "Acknowledgement line (default: one blank; the receiver may also send \"20 \")."},
    {"--error-text TEXT", "Error answer line (default \"?\"; also \"30?\", \"50?\", \"60?\")."},
    {"--no-answer KEYS", "Never answer these command keys (comma-separated, EMPTY for the empty\n"
                         "command); the commands still take effect."},
    {"--error KEYS", "Refuse these command keys with the error answer, without effect."},
    {"--garbage RATE", "Chance 0..1 of a noise line in front of each answer line."},
    {"--delay-ms N", "Wait N ms before each answer."},
    {"--drop-every N", "Drop every N-th answer line."},
    {"--prefix XX", "Put two characters in front of every answer line that starts with a key."},
    {"--disconnect-after N", "Close the device after answering N commands (and remove the link)."},
    {"--seed N", "Seed of the noise generator (default 1)."},
    {"--help", "Show this text."},
};

bool ToInt(const QString& s, int min, int max, int& out) {
    bool ok = false;
    const int v = s.toInt(&ok);
    if (!ok || v < min || v > max) return false;
    out = v;
    return true;
}

std::set<std::string> Keys(const QString& s) {
    std::set<std::string> keys;
    for (const QString& k : s.split(',', Qt::SkipEmptyParts)) keys.insert(k.trimmed().toStdString());
    return keys;
}

}  // namespace

std::string HelpText() {
    std::string s = kIntro;
    for (const auto& h : kHelp) {
        std::string names = std::string("  ") + h.names;
        names.resize(std::max<std::size_t>(names.size() + 2, 26), ' ');
        std::string text = h.text;
        for (std::size_t p = 0; (p = text.find('\n', p)) != std::string::npos; p += 27)
            text.insert(p + 1, std::string(26, ' '));
        s += names + text + "\n";
    }
    return s;
}

bool ParseOptions(const std::vector<std::string>& args, SimOptions& o, bool& help, std::string& error) {
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QStringList valued = {"com", "link", "region", "load", "dump", "log", "ack", "error-text",
                                "no-answer", "error", "garbage", "delay-ms", "drop-every", "prefix",
                                "disconnect-after", "seed"};
    const QStringList flags = {"crlf", "empty", "full", "no-au", "help"};
    for (const QString& n : valued) p.addOption(QCommandLineOption(n, n, "value"));
    for (const QString& n : flags) p.addOption(QCommandLineOption(n));
    QStringList list = {"kestrel-receiver-sim"};
    for (const auto& a : args) list << QString::fromStdString(a);
    if (!p.parse(list)) {
        error = p.errorText().toStdString();
        return false;
    }
    if (!p.positionalArguments().isEmpty()) {
        error = "unexpected argument " + p.positionalArguments().first().toStdString();
        return false;
    }
    help = p.isSet("help");
    auto bad = [&](const char* what) {
        error = std::string("bad value for --") + what + ": " + p.value(what).toStdString();
        return false;
    };
    if (p.isSet("com") && !ToInt(p.value("com"), 1, 9999, o.com)) return bad("com");
    o.link = p.value("link").toStdString();
    o.crlf = p.isSet("crlf");
    if (p.isSet("region")) {
        const QString r = p.value("region").toLower();
        if (r == "usa") o.region = 0;
        else if (r == "japan") o.region = 1;
        else if (r == "euro") o.region = 2;
        else if (!ToInt(r, 0, 2, o.region)) return bad("region");
    }
    const int images = p.isSet("empty") + p.isSet("full") + p.isSet("load");
    if (images > 1) {
        error = "choose at most one of --empty, --full and --load";
        return false;
    }
    if (p.isSet("empty")) o.image = SimOptions::Image::Empty;
    if (p.isSet("full")) o.image = SimOptions::Image::Full;
    o.load = p.value("load").toStdString();
    o.dump = p.value("dump").toStdString();
    o.log = p.value("log").toStdString();
    o.receiver.auField = !p.isSet("no-au");
    if (p.isSet("ack")) o.receiver.ack = p.value("ack").toStdString();
    if (p.isSet("error-text")) o.receiver.error = p.value("error-text").toStdString();
    o.faults.noAnswer = Keys(p.value("no-answer"));
    o.faults.error = Keys(p.value("error"));
    if (p.isSet("garbage")) {
        bool ok = false;
        o.faults.garbageRate = p.value("garbage").toDouble(&ok);
        if (!ok || o.faults.garbageRate < 0 || o.faults.garbageRate > 1) return bad("garbage");
    }
    if (p.isSet("delay-ms") && !ToInt(p.value("delay-ms"), 0, 60000, o.delayMs)) return bad("delay-ms");
    if (p.isSet("drop-every") && !ToInt(p.value("drop-every"), 1, 1000000000, o.faults.dropEvery))
        return bad("drop-every");
    if (p.isSet("prefix")) {
        o.faults.prefix = p.value("prefix").toStdString();
        if (o.faults.prefix.size() != 2) return bad("prefix");
    }
    if (p.isSet("disconnect-after") && !ToInt(p.value("disconnect-after"), 1, 1000000000, o.disconnectAfter))
        return bad("disconnect-after");
    if (p.isSet("seed")) {
        bool ok = false;
        o.faults.seed = p.value("seed").toUInt(&ok);
        if (!ok) return bad("seed");
    }
    return true;
}

}  // namespace sim
